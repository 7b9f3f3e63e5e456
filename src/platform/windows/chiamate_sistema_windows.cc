#include <io.h>

#include <algorithm>
#include <cerrno>
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

// A rename that returns once it is on the disk; over an existing name only when
// sostituisce.
int rinomina_scritta(const char* da, const char* a, bool sostituisce) {
  azzera_errore();
  const std::wstring sorgente = percorso_sistema(da);
  const std::wstring destinazione = percorso_sistema(a);
  const DWORD modo = MOVEFILE_WRITE_THROUGH | (sostituisce ? MOVEFILE_REPLACE_EXISTING : 0);
  DWORD codice = 0;
  for (int prova = 0; prova < 20; ++prova) {
    if (::MoveFileExW(sorgente.c_str(), destinazione.c_str(), modo)) return 0;
    codice = ::GetLastError();
    if (!momentaneo(codice)) break;
    ::Sleep(50);
  }
  registra_errore(codice);
  return -1;
}

int sostituisci_nome(const char* da, const char* a) {
  return rinomina_scritta(da, a, true);
}

int rinomina_esclusiva(const char* da, const char* a) {
  return rinomina_scritta(da, a, false);
}

// The byte lock on the lock file, which apri_turno already holds in the turn's
// sharing: it makes the turn visible to a tool that only looks at locks.
int blocca(int fd, modo_turno modo) {
  azzera_errore();
  OVERLAPPED o{};
  const DWORD flag = modo == modo_turno::lettura ? 0
                     : modo == modo_turno::scrittura
                         ? LOCKFILE_EXCLUSIVE_LOCK
                         : LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY;
  if (::LockFileEx(handle_di(fd), flag, 0, 1, 0, &o)) return 0;
  const DWORD codice = ::GetLastError();
  registra_errore(codice);
  if (codice == ERROR_LOCK_VIOLATION && modo == modo_turno::scrittura_se_libero)
    errno = EWOULDBLOCK;
  return -1;
}

// Windows cannot swap two names in one step: the commit renames.
int scambia(const char*, const char*) {
  errno = ENOSYS;
  return -1;
}

// A rename with MOVEFILE_WRITE_THROUGH returns once it is on the disk, and NTFS logs
// its names itself: there is nothing left to flush for a directory.
int sincronizza_cartella(int) {
  return 0;
}

identita_file::tipo genere_di(HANDLE h, const BY_HANDLE_FILE_INFORMATION& info, bool segui) {
  using t = identita_file::tipo;
  switch (::GetFileType(h)) {
    case FILE_TYPE_CHAR:
      return t::caratteri;
    case FILE_TYPE_PIPE:
      return t::fifo;
    case FILE_TYPE_DISK:
      break;
    default:
      return t::altro;
  }
  if (!segui && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return t::collegamento;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return t::cartella;
  return t::regolare;
}

// The volume's serial number and the file's index: the same for every name of a file.
int identifica(const char* percorso, bool segui, identita_file& id) {
  azzera_errore();
  const DWORD modo = FILE_FLAG_BACKUP_SEMANTICS | (segui ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE h = ::CreateFileW(percorso_sistema(percorso).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, modo, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    registra_errore(::GetLastError());
    return -1;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool disco = ::GetFileType(h) == FILE_TYPE_DISK;
  if (disco && !::GetFileInformationByHandle(h, &info)) {
    registra_errore(::GetLastError());
    ::CloseHandle(h);
    return -1;
  }
  id.dispositivo = info.dwVolumeSerialNumber;
  id.nodo = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  id.genere = genere_di(h, info, segui);
  id.dimensione = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  id.cambiato =
      static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                info.ftLastWriteTime.dwLowDateTime);
  ::CloseHandle(h);
  return 0;
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
      rinomina_esclusiva,
      blocca,
      scambia,
      sincronizza_cartella,
      identifica,
  };
}

}  // namespace percorso
