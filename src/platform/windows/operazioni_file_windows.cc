#include <aclapi.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/operazioni_file.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

// Held for the whole turn, alone to write and shared among readers; its name is no
// temporary's, so it is never cleared as debris.
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

// Whether the SID is the process's user, or the owner it gives the files it makes
// (the Administrators group for an elevated process).
bool del_processo(PSID sid) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  bool uguale = false;
  for (const TOKEN_INFORMATION_CLASS classe : {TokenUser, TokenOwner}) {
    DWORD n = 0;
    ::GetTokenInformation(token, classe, nullptr, 0, &n);
    std::vector<std::uint8_t> dati(n);
    if (n == 0 || !::GetTokenInformation(token, classe, dati.data(), n, &n)) continue;
    const PSID suo = classe == TokenUser ? reinterpret_cast<TOKEN_USER*>(dati.data())->User.Sid
                                         : reinterpret_cast<TOKEN_OWNER*>(dati.data())->Owner;
    uguale = uguale || ::EqualSid(sid, suo);
  }
  ::CloseHandle(token);
  return uguale;
}

// Whether the file of the handle (opened with READ_CONTROL) belongs to this user, or,
// when anche_sistema, to the system. A volume that keeps no owners (FAT) has every
// file as the user's.
bool proprio(HANDLE h, bool anche_sistema) {
  DWORD flag = 0;
  if (::GetVolumeInformationByHandleW(h, nullptr, 0, nullptr, nullptr, &flag, nullptr, 0) &&
      !(flag & FILE_PERSISTENT_ACLS))
    return true;
  PSID proprietario = nullptr;
  PSECURITY_DESCRIPTOR descrittore = nullptr;
  if (::GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &proprietario, nullptr,
                        nullptr, nullptr, &descrittore) != ERROR_SUCCESS)
    return false;
  const bool suo =
      proprietario != nullptr &&
      (del_processo(proprietario) ||
       (anche_sistema && (::IsWellKnownSid(proprietario, WinLocalSystemSid) ||
                          ::IsWellKnownSid(proprietario, WinBuiltinAdministratorsSid))));
  ::LocalFree(descrittore);
  return suo;
}

}  // namespace

int crea_esclusivo(const std::string& nome) {
  azzera_errore();
  // The name itself, were it a link: CREATE_NEW then finds it there.
  return descrittore(::CreateFileW(percorso_sistema(nome).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
}

// The lock file: held with no sharing to write into the directory, shared among
// readers to read it; waited for while another run holds it, unless the mode says
// not to.
int apri_turno(const std::string& cartella, modo_turno modo) {
  azzera_errore();
  const std::wstring nome = percorso_sistema(unisci(cartella, std::string(nome_blocco)));
  const bool lettura = modo == modo_turno::lettura;
  for (;;) {
    const HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_READ | (lettura ? 0 : GENERIC_WRITE),
                                   lettura ? FILE_SHARE_READ : 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
      return descrittore(h);
    if (modo == modo_turno::scrittura_se_libero) {
      registra_errore(ERROR_SHARING_VIOLATION);
      errno = EWOULDBLOCK;
      return -1;
    }
    ::Sleep(20);
  }
}

int apri_proprio(const std::string& nome, const identita_file& atteso, std::string& motivo) {
  azzera_errore();
  const HANDLE h = ::CreateFileW(percorso_sistema(nome).c_str(), GENERIC_READ | READ_CONTROL,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return descrittore(h);
  BY_HANDLE_FILE_INFORMATION info{};
  constexpr DWORD non_file = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  const bool stesso =
      ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
      !(info.dwFileAttributes & non_file) && info.dwVolumeSerialNumber == atteso.dispositivo &&
      ((std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow) == atteso.nodo;
  if (!stesso)
    motivo = "e' cambiato mentre lo si apriva";
  else if (!proprio(h, false))
    motivo = "appartiene a un altro utente";
  else
    return descrittore(h);
  ::CloseHandle(h);
  errno = EPERM;
  return -1;
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

bool collegamento_fidato(const std::string& collegamento) {
  const HANDLE h =
      ::CreateFileW(percorso_sistema(collegamento).c_str(), READ_CONTROL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool fidato = proprio(h, true);
  ::CloseHandle(h);
  return fidato;
}

// Windows keeps no links to what processes hold open.
bool nel_sistema_dei_processi(const std::string&) {
  return false;
}

// The system resolves the whole chain: the final name of what the link leads to.
std::optional<std::string> segui_collegamento(const std::string& collegamento) {
  azzera_errore();
  const HANDLE h = ::CreateFileW(percorso_sistema(collegamento).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    registra_errore(::GetLastError());
    return std::nullopt;
  }
  std::wstring nome(MAX_PATH, L'\0');
  DWORD n =
      ::GetFinalPathNameByHandleW(h, nome.data(), static_cast<DWORD>(nome.size()), VOLUME_NAME_DOS);
  if (n >= nome.size()) {
    nome.resize(n + 1);
    n = ::GetFinalPathNameByHandleW(h, nome.data(), static_cast<DWORD>(nome.size()),
                                    VOLUME_NAME_DOS);
  }
  const DWORD codice = ::GetLastError();
  ::CloseHandle(h);
  if (n == 0 || n >= nome.size()) {
    registra_errore(codice);
    return std::nullopt;
  }
  nome.resize(n);
  if (nome.starts_with(L"\\\\?\\UNC\\")) return "\\\\" + stretta(nome.substr(8));
  if (nome.starts_with(L"\\\\?\\")) return stretta(nome.substr(4));
  return stretta(nome);
}

}  // namespace percorso
