#include <io.h>

#include <algorithm>
#include <climits>

#include "platform/chiamate_sistema.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

HANDLE handle_di(int fd) {
  return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

unsigned int al_piu_int(std::size_t n) {
  return static_cast<unsigned int>(std::min<std::size_t>(n, INT_MAX));
}

// A scanner or an indexer opens a new file for a moment: a replace it blocks is
// tried again for a short while before it counts as a failure.
bool momentaneo(DWORD codice) {
  return codice == ERROR_SHARING_VIOLATION || codice == ERROR_LOCK_VIOLATION ||
         codice == ERROR_ACCESS_DENIED;
}

int sostituisci_nome(const char* da, const char* a) {
  azzera_errore();
  const std::wstring sorgente = percorso_sistema(da);
  const std::wstring destinazione = percorso_sistema(a);
  DWORD codice = 0;
  for (int prova = 0; prova < 20; ++prova) {
    if (::MoveFileExW(sorgente.c_str(), destinazione.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return 0;
    codice = ::GetLastError();
    if (!momentaneo(codice)) break;
    ::Sleep(50);
  }
  registra_errore(codice);
  return -1;
}

}  // namespace

chiamate_sistema chiamate_reali() {
  return {
      [](int fd, const void* dati, std::size_t n) -> long {
        return ::_write(fd, dati, al_piu_int(n));
      },
      [](int fd, void* dati, std::size_t n) -> long { return ::_read(fd, dati, al_piu_int(n)); },
      [](int fd) {
        azzera_errore();
        if (::FlushFileBuffers(handle_di(fd))) return 0;
        registra_errore(::GetLastError());
        return -1;
      },
      sostituisci_nome,
      // The lock file is already held with no sharing; the byte lock makes the
      // turn visible to a tool that only looks at locks.
      [](int fd) {
        azzera_errore();
        OVERLAPPED o{};
        if (::LockFileEx(handle_di(fd), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &o)) return 0;
        registra_errore(::GetLastError());
        return -1;
      },
  };
}

}  // namespace percorso
