#include "model/memoria_grande.h"

#include <cstring>
#include <mutex>
#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace percorso {
namespace {

constexpr std::size_t pagina_grande = std::size_t{2} << 20;

// Room before each block (and at a slab's start) for the slab it belongs to; it
// keeps blocks aligned to a cache line.
constexpr std::size_t intestazione = 64;

// From a quarter of a large page a block opens a slab of its own when the open one has
// no room: one fault then costs less than the small pages'. A smaller block shares
// the open slab's room, already faulted in, or else comes from the heap.
bool grande(std::size_t byte) {
  return byte >= pagina_grande / 4;
}

// Whole large pages: the advice then covers the slab and nothing beside it.
std::size_t arrotonda(std::size_t byte) {
  return (byte + pagina_grande - 1) & ~(pagina_grande - 1);
}

std::size_t con_intestazione(std::size_t byte) {
  return intestazione + ((byte + intestazione - 1) & ~(intestazione - 1));
}

// Whole large pages from which blocks are cut one after another while they fit: a
// line's two plan coordinates then share the faults, and the zeroing, of one page.
struct lastra {
  std::size_t byte = 0;   // the whole slab, this header included
  std::size_t usati = 0;  // from its start
  std::size_t vivi = 0;   // blocks not yet returned
};

std::mutex guardia;
lastra* aperta = nullptr;  // the slab new blocks are cut from, while they fit

lastra* nuova_lastra(std::size_t blocco) {
  const std::size_t byte = arrotonda(intestazione + blocco);
  void* dati = ::operator new (byte, std::align_val_t{pagina_grande});
#ifdef MADV_HUGEPAGE
  // Only advice: without large pages the slab works all the same.
  ::madvise(dati, byte, MADV_HUGEPAGE);
#endif
  return new (dati) lastra{byte, intestazione, 0};
}

// The block after its header, which names its slab (nullptr: from the heap).
void* segnato(std::byte* inizio, lastra* l) {
  std::memcpy(inizio, &l, sizeof l);
  return inizio + intestazione;
}

lastra* lastra_di(std::byte* inizio) {
  lastra* l = nullptr;
  std::memcpy(&l, inizio, sizeof l);
  return l;
}

}  // namespace

void* prendi_memoria_grande(std::size_t byte) {
  if (!lastre_condivise) return ::operator new(byte);
  const std::size_t blocco = con_intestazione(byte);
  {
    const std::lock_guard<std::mutex> chiuso(guardia);
    bool c_e_posto = aperta != nullptr && aperta->byte - aperta->usati >= blocco;
    if (!c_e_posto && grande(byte)) {
      aperta = nuova_lastra(blocco);
      c_e_posto = true;
    }
    if (c_e_posto) {
      std::byte* inizio = reinterpret_cast<std::byte*>(aperta) + aperta->usati;
      aperta->usati += blocco;
      ++aperta->vivi;
      return segnato(inizio, aperta);
    }
  }
  // A small block with no room beside the large ones: from the heap.
  return segnato(static_cast<std::byte*>(::operator new(blocco)), nullptr);
}

void rendi_memoria_grande(void* dati) noexcept {
  if (!lastre_condivise) return ::operator delete(dati);
  std::byte* inizio = static_cast<std::byte*>(dati) - intestazione;
  lastra* l = lastra_di(inizio);
  if (l == nullptr) return ::operator delete(inizio);
  const std::lock_guard<std::mutex> chiuso(guardia);
  if (--l->vivi > 0) return;
  // An empty slab goes back whole: memory stays bounded by the blocks in use.
  if (l == aperta) aperta = nullptr;
  l->~lastra();
  ::operator delete (static_cast<void*>(l), std::align_val_t{pagina_grande});
}

}  // namespace percorso
