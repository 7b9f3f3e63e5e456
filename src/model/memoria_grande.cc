#include "model/memoria_grande.h"

#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace percorso {
namespace {

constexpr std::size_t pagina_grande = std::size_t{2} << 20;

// From a quarter of a large page: one fault then costs less than the small pages'.
bool grande(std::size_t byte) {
  return byte >= pagina_grande / 4;
}

// Whole large pages: the advice then covers the block and nothing beside it.
std::size_t arrotonda(std::size_t byte) {
  return (byte + pagina_grande - 1) & ~(pagina_grande - 1);
}

}  // namespace

void* prendi_memoria_grande(std::size_t byte) {
  if (!grande(byte)) return ::operator new(byte);
  void* dati = ::operator new (arrotonda(byte), std::align_val_t{pagina_grande});
#ifdef MADV_HUGEPAGE
  // Only advice: without large pages the block works all the same.
  ::madvise(dati, arrotonda(byte), MADV_HUGEPAGE);
#endif
  return dati;
}

void rendi_memoria_grande(void* dati, std::size_t byte) noexcept {
  if (!grande(byte))
    ::operator delete(dati);
  else
    ::operator delete (dati, std::align_val_t{pagina_grande});
}

}  // namespace percorso
