#include <fcntl.h>
#include <io.h>

#include <algorithm>
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

  // Listed by the system's wide calls: a narrow name passes through the ANSI code page,
  // which has no letter for many a folder's name.
  std::vector<std::string> elenca(const std::string& cartella) override {
    std::vector<std::string> nomi;
    WIN32_FIND_DATAW voce;
    const HANDLE h =
        ::FindFirstFileExW((percorso_sistema(cartella) + L"\\*").c_str(), FindExInfoBasic, &voce,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) return nomi;
    do {
      if (!(voce.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        nomi.push_back(stretta(voce.cFileName));
    } while (::FindNextFileW(h, &voce));
    ::FindClose(h);
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

  std::optional<std::int64_t> versione_cartella(const std::string& cartella) override {
    WIN32_FILE_ATTRIBUTE_DATA dati;
    if (!::GetFileAttributesExW(percorso_sistema(cartella).c_str(), GetFileExInfoStandard, &dati))
      return std::nullopt;
    FILETIME ora;
    ::GetSystemTimeAsFileTime(&ora);
    // FILETIME counts hundreds of nanoseconds.
    const auto in_ns = [](const FILETIME& t) {
      return static_cast<std::int64_t>((std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) *
             100;
    };
    const std::int64_t cambiata = in_ns(dati.ftLastWriteTime);
    if (in_ns(ora) - cambiata < nanosecondi_cambio_recente) return std::nullopt;
    return cambiata;
  }

  // The directory's entry for the name, as the system spells it.
  std::string nome_registrato(const std::string& percorso) override {
    std::string dato(nome_base(percorso));
    // A '*' or '?' would be taken as a pattern: no file has it in its name.
    if (dato.find_first_of("*?") != std::string::npos) return dato;
    WIN32_FIND_DATAW voce;
    const HANDLE h = ::FindFirstFileW(percorso_sistema(percorso).c_str(), &voce);
    if (h == INVALID_HANDLE_VALUE) return dato;
    ::FindClose(h);
    return stretta(voce.cFileName);
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

std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate, avviso_turno avviso) {
  return std::make_unique<disco>(std::move(chiamate), std::move(avviso));
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
