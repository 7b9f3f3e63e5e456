// The system calls the real disk goes through. Tests replace some of them to make
// the n-th call fail, as a full disk, a failing device or a lock table would. The
// commit, its journal and the checks of inputs and outputs are built on these
// primitives alone, so another system needs only to supply them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace percorso {

// What a name leads to on the disk: one file is one identity, whatever its names.
struct identita_file {
  enum class tipo { regolare, cartella, caratteri, blocchi, fifo, socket, collegamento, altro };
  std::uint64_t dispositivo = 0;
  std::uint64_t nodo = 0;
  tipo genere = tipo::altro;
  std::uint64_t dimensione = 0;  // bytes, for a regular file
  // When the file last changed, its bytes or its names: a file edited in place keeps
  // its identity but not this.
  std::int64_t cambiato = 0;

  bool stesso_file(const identita_file& o) const {
    return dispositivo == o.dispositivo && nodo == o.nodo;
  }
  bool stesso_stato(const identita_file& o) const {
    return stesso_file(o) && cambiato == o.cambiato;
  }
};

// How a run takes a directory's turn: alone, to write into it; beside other readers,
// to read it; or alone without waiting, failing with EWOULDBLOCK while another run
// holds it.
enum class modo_turno { scrittura, lettura, scrittura_se_libero };

struct chiamate_sistema {
  std::function<long(int fd, const void* dati, std::size_t n)> scrivi;
  std::function<long(int fd, void* dati, std::size_t n)> leggi;
  // Data of a finished file to the disk (its name is made durable separately).
  std::function<int(int fd)> sincronizza;
  std::function<int(const char* da, const char* a)> rinomina;
  // A rename onto a name that must still be free: EEXIST when a file took it meanwhile.
  std::function<int(const char* da, const char* a)> rinomina_esclusiva;
  // The turn on a directory's descriptor (what apri_turno opened), in the mode given.
  std::function<int(int fd, modo_turno modo)> blocca;
  // Swaps two existing names in one step; EINVAL or ENOSYS where the file system
  // cannot, ENOENT when one of them is missing.
  std::function<int(const char* a, const char* b)> scambia;
  // The names of a directory, by its descriptor, to the disk.
  std::function<int(int fd)> sincronizza_cartella;
  // The file a name leads to, links followed or not; -1 and errno when there is none.
  std::function<int(const char* percorso, bool segui, identita_file& id)> identifica;
};

// The system's own calls.
chiamate_sistema chiamate_reali();

}  // namespace percorso
