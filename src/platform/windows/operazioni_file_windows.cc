#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <string_view>

#include "platform/file_system.h"
#include "platform/operazioni_file.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

// Held with no sharing for the whole turn; its name is no temporary's, so it is never
// cleared as debris.
constexpr std::string_view nome_blocco = ".percorso-lock";
// How long a target another program holds open is waited for before the set stops.
constexpr auto attesa_bersaglio = std::chrono::seconds(2);

int descrittore(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE) {
    registra_errore(::GetLastError());
    return -1;
  }
  return ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
}

HANDLE crea(const std::string& nome, DWORD come) {
  return ::CreateFileW(percorso_sistema(nome).c_str(), GENERIC_WRITE, 0, nullptr, come,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int crea_temporaneo(std::string& nome) {
  static std::mt19937 generatore{std::random_device{}()};
  constexpr std::string_view cifre = "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::size_t coda = nome.size() - 6;
  azzera_errore();
  for (;;) {
    for (std::size_t i = coda; i < nome.size(); ++i) nome[i] = cifre[generatore() % cifre.size()];
    const HANDLE h = crea(nome, CREATE_NEW);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return descrittore(h);
  }
}

int crea_file(const std::string& nome) {
  azzera_errore();
  return descrittore(crea(nome, CREATE_ALWAYS));
}

// The lock file, opened with no sharing: waits while another run holds it.
int apri_turno(const std::string& cartella) {
  azzera_errore();
  const std::wstring nome = percorso_sistema(unisci(cartella, std::string(nome_blocco)));
  for (;;) {
    const HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
      return descrittore(h);
    ::Sleep(20);
  }
}

// A device (NUL, a port) or a named pipe, written as it is.
int apri_diretto(const std::string& percorso, identita_file::tipo, std::string&) {
  azzera_errore();
  return descrittore(::CreateFileW(percorso_sistema(percorso).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

int chiudi(int fd) {
  return ::_close(fd);
}

void rimuovi(const std::string& nome) {
  ::DeleteFileW(percorso_sistema(nome).c_str());
}

// Windows has no write-back to start ahead: the flush does it all.
void avvia_scrittura(int) {}

// A scanner or the simulator itself may hold the target open, so that it cannot be
// replaced: waited for briefly, then the set stops before any file is replaced.
std::optional<int> bersaglio_libero(const std::string& percorso) {
  const auto fine = std::chrono::steady_clock::now() + attesa_bersaglio;
  azzera_errore();
  for (;;) {
    const HANDLE h = ::CreateFileW(percorso_sistema(percorso).c_str(), DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      ::CloseHandle(h);
      return std::nullopt;
    }
    const DWORD codice = ::GetLastError();
    if (codice == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (codice != ERROR_SHARING_VIOLATION || std::chrono::steady_clock::now() > fine) {
      registra_errore(codice);
      return errno;
    }
    ::Sleep(50);
  }
}

// Windows has no SIGPIPE: a write to a pipe nobody reads fails by itself.
std::optional<int> senza_sigpipe(const std::function<std::optional<int>()>& scrittura) {
  return scrittura();
}

}  // namespace percorso
