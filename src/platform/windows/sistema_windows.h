// What the Windows side of the platform shares: names between the program's UTF-8
// and the system's UTF-16, paths as the wide file functions take them, and the
// system's reasons as text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/errore_file.h"

namespace percorso {

std::wstring larga(std::string_view utf8);
std::string stretta(std::wstring_view utf16);

// Absolute, with backslashes, behind \\?\ so that names past MAX_PATH work too.
std::wstring percorso_sistema(const std::string& percorso);

// The system's own words for a Windows error code, in UTF-8.
std::string motivo_sistema(DWORD codice);
errore_file errore_sistema(const std::string& percorso, DWORD codice);
// The C library's words for an errno code, the same as on Linux.
errore_file errore_c(const std::string& percorso, int codice);

// A failed primitive records its Windows error with the errno it reports, so the
// reason shown is the system's text rather than the C library's.
void registra_errore(DWORD codice);
void azzera_errore();
std::string motivo_errno(int codice);

// Which file a handle is: volume and index, the same for every name of it.
struct identita_file {
  std::uint64_t volume = 0;
  std::uint64_t indice = 0;
  auto operator<=>(const identita_file&) const = default;
};
bool identita_di(HANDLE h, identita_file& id);

// Whether the path names a directory.
bool e_cartella(const std::string& percorso);

}  // namespace percorso
