#include "platform/windows/sistema_windows.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace percorso {
namespace {

struct errore_registrato {
  DWORD codice = 0;
  int numero = 0;
};
thread_local errore_registrato ultimo;

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
  if (intero.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + intero.substr(2);
  return L"\\\\?\\" + intero;
}

std::string motivo_sistema(DWORD codice) {
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

errore_file errore_c(const std::string& percorso, int codice) {
  return {percorso, std::strerror(codice)};
}

void registra_errore(DWORD codice) {
  ultimo = {codice, errno_di(codice)};
  errno = ultimo.numero;
}

void azzera_errore() {
  ultimo = {};
}

std::string motivo_errno(int codice) {
  if (ultimo.codice != 0 && ultimo.numero == codice) return motivo_sistema(ultimo.codice);
  return std::strerror(codice);
}

bool identita_di(HANDLE h, identita_file& id) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.indice = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}

bool e_cartella(const std::string& percorso) {
  const DWORD a = ::GetFileAttributesW(percorso_sistema(percorso).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace percorso
