// What the Windows side of the platform shares: names between the program's UTF-8
// and the system's UTF-16, paths as the wide file functions take them, and the
// system's reasons as text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/errore_file.h"

namespace percorso {

std::wstring larga(std::string_view utf8);
std::string stretta(std::wstring_view utf16);

// Absolute, with backslashes, behind \\?\ so that names past MAX_PATH work too.
std::wstring percorso_sistema(const std::string& percorso);

// The reason for a Windows error code: the program's Italian text for the common
// ones, the same as on Linux, the system's own words (UTF-8) for the rest.
std::string motivo_sistema(DWORD codice);
errore_file errore_sistema(const std::string& percorso, DWORD codice);

// A failed primitive records its Windows error with the errno it reports, so that
// motivo_di gives the reason for the Windows error rather than the errno's.
void registra_errore(DWORD codice);
void azzera_errore();
// The recorded Windows error, when it is the one behind this errno value.
std::optional<DWORD> errore_registrato(int codice);

// One write of the program to a standard handle: to a console its characters, as
// UTF-16; to a file or a pipe its bytes as they are. False when it fails.
bool scrivi_su(HANDLE h, std::string_view testo);

// Whether the path names a directory.
bool e_cartella(const std::string& percorso);

}  // namespace percorso
