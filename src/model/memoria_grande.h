// Memory for the tables of one value a metre: a 1000000 m line's plan is 16 MB, and
// taken page by page the faults of its first touch cost more than computing it. A
// block that large is cut from slabs of whole large pages, the system asked for them;
// later blocks that fit share the slab, small ones too (a buffer used beside the
// plan). Safe to use from several threads.
#pragma once

#include <cstddef>

namespace percorso {

// Under the address sanitizer every block stands alone, so that a write past one's
// end is caught rather than landing in its neighbour.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool lastre_condivise = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool lastre_condivise = false;
#else
inline constexpr bool lastre_condivise = true;
#endif
#else
inline constexpr bool lastre_condivise = true;
#endif

void* prendi_memoria_grande(std::size_t byte);
void rendi_memoria_grande(void* dati) noexcept;

template <class T>
struct memoria_grande {
  using value_type = T;

  memoria_grande() = default;
  template <class U>
  memoria_grande(const memoria_grande<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(prendi_memoria_grande(n * sizeof(T))); }
  void deallocate(T* dati, std::size_t) noexcept { rendi_memoria_grande(dati); }

  template <class U>
  bool operator==(const memoria_grande<U>&) const noexcept {
    return true;
  }
};

}  // namespace percorso
