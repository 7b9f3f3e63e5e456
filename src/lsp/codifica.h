// The one conversion between the editor's texts and the program's. Texts are
// single-byte Windows-1252; editors send UTF-8 and count columns in UTF-16 units.
// Every Windows-1252 byte is one UTF-16 unit, and a character outside the code page
// becomes one placeholder byte per UTF-16 unit it takes, so a byte column of the
// converted text is the editor's column, exactly.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace percorso::lsp {

// Stands for one UTF-16 unit of a character the code page lacks: the ASCII
// substitute, a control byte, so the checker never takes it for a name's letter.
inline constexpr std::uint8_t byte_segnaposto = 0x1A;

// A character of the editor's text that the code page lacks, and where it stands.
struct carattere_estraneo {
  std::int32_t riga = 0;     // 0-based, as the editor counts
  std::int32_t colonna = 0;  // 0-based UTF-16 unit, also the byte of the converted text
  std::int32_t unita = 1;    // UTF-16 units it takes: 2 outside the basic plane
  char32_t codice = 0;
};

struct testo_convertito {
  std::vector<std::uint8_t> byte;
  std::vector<carattere_estraneo> estranei;
};

// The editor's UTF-8 text (valid UTF-8) as Windows-1252 bytes. The five bytes the code
// page leaves undefined come back from the C1 characters of the same number, as an
// editor that reads them by the rule for names (or as Latin-1) gives them.
testo_convertito da_utf8(std::string_view testo);

// Windows-1252 bytes as UTF-8, by the rule for names.
std::string a_utf8(std::string_view byte);

// Line riga (0-based) of a text without its line end (CR LF, LF or CR); empty past the end.
std::string_view riga_di(std::span<const std::uint8_t> byte, std::int32_t riga);

// The editor's position of a 1-based byte column of a line, and back.
inline std::int32_t carattere_di_colonna(std::int32_t colonna) {
  return colonna > 0 ? colonna - 1 : 0;
}
inline std::int32_t colonna_di_carattere(std::int32_t carattere) {
  return carattere + 1;
}

}  // namespace percorso::lsp
