#include "platform/windows/sistema_windows.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace percorso {
namespace {

struct ultimo_errore {
  DWORD codice = 0;
  int numero = 0;
};
thread_local ultimo_errore ultimo;

int errno_di(DWORD codice) {
  switch (codice) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

}  // namespace

std::wstring larga(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string stretta(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), s.data(), n,
                        nullptr, nullptr);
  return s;
}

std::wstring percorso_sistema(const std::string& percorso) {
  const std::wstring nome = larga(percorso.empty() ? std::string(".") : percorso);
  if (nome.starts_with(L"\\\\?\\")) return nome;
  const DWORD n = ::GetFullPathNameW(nome.c_str(), 0, nullptr, nullptr);
  if (n == 0) return nome;
  std::wstring intero(n, L'\0');
  const DWORD scritti = ::GetFullPathNameW(nome.c_str(), n, intero.data(), nullptr);
  intero.resize(scritti);
  // A device (\\.\NUL) is named as it is.
  if (intero.starts_with(L"\\\\.\\")) return intero;
  if (intero.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + intero.substr(2);
  return L"\\\\?\\" + intero;
}

namespace {

// The Windows errors that have an Italian text of the program's own.
const char* motivo_italiano(DWORD codice) {
  switch (codice) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "il file e' aperto da un altro programma";
    case ERROR_DIRECTORY:
      return "non e' una cartella";
    default:
      return nullptr;
  }
}

}  // namespace

std::string motivo_sistema(DWORD codice) {
  if (const char* testo = motivo_italiano(codice)) return testo;
  const int numero = errno_di(codice);
  if (numero != EIO && numero != EBUSY) return motivo_comune(numero);
  wchar_t* testo = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
  std::wstring motivo = n != 0 ? std::wstring(testo, n) : std::wstring();
  ::LocalFree(testo);
  while (!motivo.empty() && (motivo.back() == L'\n' || motivo.back() == L'\r' ||
                             motivo.back() == L' ' || motivo.back() == L'.'))
    motivo.pop_back();
  if (motivo.empty()) return "errore di sistema " + std::to_string(codice) + " senza descrizione";
  return stretta(motivo);
}

errore_file errore_sistema(const std::string& percorso, DWORD codice) {
  return {percorso, motivo_sistema(codice)};
}

void registra_errore(DWORD codice) {
  ultimo = {codice, errno_di(codice)};
  errno = ultimo.numero;
}

void azzera_errore() {
  ultimo = {};
}

std::optional<DWORD> errore_registrato(int codice) {
  if (ultimo.codice != 0 && ultimo.numero == codice) return ultimo.codice;
  return std::nullopt;
}

bool scrivi_su(HANDLE h, std::string_view testo) {
  DWORD modo = 0;
  DWORD scritti = 0;
  if (!::GetConsoleMode(h, &modo)) {
    for (std::size_t fatto = 0; fatto < testo.size(); fatto += scritti) {
      const auto n = static_cast<DWORD>(std::min<std::size_t>(testo.size() - fatto, 1 << 30));
      if (!::WriteFile(h, testo.data() + fatto, n, &scritti, nullptr) || scritti == 0) return false;
    }
    return true;
  }
  const std::wstring caratteri = larga(testo);
  for (std::size_t fatto = 0; fatto < caratteri.size(); fatto += scritti) {
    // Older consoles take a bounded piece at a time.
    const auto n = static_cast<DWORD>(std::min<std::size_t>(caratteri.size() - fatto, 1 << 14));
    if (!::WriteConsoleW(h, caratteri.data() + fatto, n, &scritti, nullptr) || scritti == 0)
      return false;
  }
  return true;
}

bool e_cartella(const std::string& percorso) {
  const DWORD a = ::GetFileAttributesW(percorso_sistema(percorso).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace percorso

namespace percorso {

std::string motivo_di(int codice) {
  if (const auto registrato = errore_registrato(codice)) return motivo_sistema(*registrato);
  return motivo_comune(codice);
}

}  // namespace percorso
