#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/cartelle.h"
#include "platform/file_system.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

// Why a name that is not a file on a disk is refused.
std::string motivo_non_regolare(DWORD tipo) {
  const char* cosa = tipo == FILE_TYPE_PIPE   ? "una pipe"
                     : tipo == FILE_TYPE_CHAR ? "un dispositivo"
                                              : "un file speciale";
  return std::string("non e' un file regolare ma ") + cosa;
}

class disco final : public disco_di_sistema {
 public:
  using disco_di_sistema::disco_di_sistema;

  bool esiste(const std::string& percorso) override {
    return ::GetFileAttributesW(percorso_sistema(percorso).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  lettura leggi(const std::string& percorso) override {
    lettura r;
    if (e_cartella(percorso)) {
      r.errore = errore_da(percorso, EISDIR);
      return r;
    }
    // Others may go on reading and writing it: a text open in an editor is still read.
    const HANDLE h = ::CreateFileW(percorso_sistema(percorso).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      r.errore = errore_sistema(percorso, ::GetLastError());
      return r;
    }
    LARGE_INTEGER dimensione{};
    const DWORD tipo = ::GetFileType(h);
    if (tipo != FILE_TYPE_DISK) {
      r.errore = errore_file{percorso, motivo_non_regolare(tipo)};
    } else if (!::GetFileSizeEx(h, &dimensione)) {
      r.errore = errore_sistema(percorso, ::GetLastError());
    } else if (static_cast<std::uint64_t>(dimensione.QuadPart) > massimo_lettura) {
      r.errore = oltre_il_massimo(percorso);
    } else {
      const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY);
      r.errore = leggi_tutto(fd, percorso, static_cast<std::size_t>(dimensione.QuadPart), r.dati);
      ::_close(fd);
      if (r.errore) r.dati = {};
      return r;
    }
    ::CloseHandle(h);
    return r;
  }

  std::optional<errore_file> elimina(const std::string& percorso) override {
    if (::DeleteFileW(percorso_sistema(percorso).c_str())) return std::nullopt;
    const DWORD codice = ::GetLastError();
    if (codice == ERROR_FILE_NOT_FOUND || codice == ERROR_PATH_NOT_FOUND) return std::nullopt;
    return errore_sistema(percorso, codice);
  }

  std::optional<errore_file> elimina_cartella_vuota(const std::string& percorso) override {
    // The lock file the output set left is no file of the directory's own; one that
    // another run holds stays, and so does the directory.
    ::DeleteFileW(percorso_sistema(unisci(percorso, ".percorso-lock")).c_str());
    if (::RemoveDirectoryW(percorso_sistema(percorso).c_str())) return std::nullopt;
    return errore_sistema(percorso, ::GetLastError());
  }

  std::optional<errore_file> crea_cartella(const std::string& percorso) override {
    return percorso::crea_cartella(percorso);
  }

  std::optional<errore_file> prova_scrittura(const std::string& percorso) override {
    if (percorso.empty()) return errore_sistema(percorso, ERROR_PATH_NOT_FOUND);
    if (e_cartella(percorso)) return errore_da(percorso, EISDIR);
    // The nearest directory that exists must be a directory.
    std::string cartella = cartella_di(percorso);
    DWORD attributi = INVALID_FILE_ATTRIBUTES;
    for (;;) {
      attributi = ::GetFileAttributesW(percorso_sistema(cartella).c_str());
      const DWORD codice = ::GetLastError();
      if (attributi != INVALID_FILE_ATTRIBUTES || cartella.empty()) break;
      if (codice != ERROR_FILE_NOT_FOUND && codice != ERROR_PATH_NOT_FOUND)
        return errore_sistema(percorso, codice);
      const std::string sopra = cartella_di(cartella);
      if (sopra == cartella) break;
      cartella = sopra;
    }
    if (attributi == INVALID_FILE_ATTRIBUTES) return errore_sistema(percorso, ::GetLastError());
    if (!(attributi & FILE_ATTRIBUTE_DIRECTORY)) return errore_da(percorso, ENOTDIR);
    return std::nullopt;
  }

 private:
  // The whole file through the injected reads, reserved once from its size and
  // bounded if it grows meanwhile.
  std::optional<errore_file> leggi_tutto(int fd, const std::string& percorso, std::size_t attesi,
                                         std::vector<std::uint8_t>& dati) {
    dati.reserve(attesi);
    std::vector<std::uint8_t> blocco(std::size_t{1} << 18);
    for (long n = 0; (n = c_.leggi(fd, blocco.data(), blocco.size())) != 0;) {
      if (n < 0) return errore_da(percorso, errno);
      if (dati.size() + static_cast<std::size_t>(n) > massimo_lettura)
        return oltre_il_massimo(percorso);
      dati.insert(dati.end(), blocco.begin(), blocco.begin() + n);
    }
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate) {
  return std::make_unique<disco>(std::move(chiamate));
}

std::optional<std::string> cartella_programma() {
  std::wstring nome(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
    if (n == 0) return std::nullopt;
    if (n < nome.size()) {
      nome.resize(n);
      break;
    }
    nome.resize(nome.size() * 2);
  }
  if (nome.starts_with(L"\\\\?\\")) nome.erase(0, 4);
  return cartella_di(stretta(nome));
}

}  // namespace percorso
