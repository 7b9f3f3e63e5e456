// The source format described once: every keyword of the two texts, the part it
// belongs to, the test that recognises it, its fields in order and an example row.
// The compiler's rule tables, the checker and explain read this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace percorso {

// Where a keyword is recognised.
enum class parte : std::uint8_t {
  intestazione,  // line description, from "[generale]" to the first section header
  corpo,         // line description, the rest
  treno,         // train description, after "[generale]"
};

// The variable a field is read into.
enum class larghezza : std::uint8_t { s32, s16, u8, testo };

// What the checker tests a field against besides its range.
enum class ruolo : std::uint8_t {
  valore,
  posizione,   // metres from the start of the line, within it
  estensione,  // metres from the row's position: position + this lies within the line
  fine,        // metres from the start of the line, the end of what the row's position starts
  ore,         // hours, minutes and seconds of a time of day
  minuti,
  secondi,
  nome,  // a name or board text shown by the simulator
};

// A value, or a run of values, with a meaning of its own.
struct valore_campo {
  std::int64_t da, a;            // the values it stands for, first match wins
  std::string_view valori;       // as explain writes them: "5, 6", "25 e oltre"
  std::string_view significato;  // "non specificato" where the format does not say
};

struct campo_formato {
  std::string_view nome;
  larghezza tipo;
  std::string_view unita;  // empty when the value has none
  // The values a simulator can use; for a text, its length (0 = no limit).
  std::int64_t minimo;
  std::int64_t massimo;
  std::int32_t multiplo;  // values must be multiples of it (1: any)
  ruolo uso;
  // What the value means, "non specificato" for what the format leaves to the simulator.
  std::string_view significato;
  // Where the compiler puts the value (which cell or point field), what replaces it.
  std::string_view compilatore;
  // What the compiler does with a value at or past the limits.
  std::string_view ai_limiti;
  std::span<const valore_campo> valori = {};  // values with a meaning of their own
};

// The entry of valori that stands for v, or nullptr.
const valore_campo* valore_di(std::span<const valore_campo> valori, std::int64_t v);

// Every keyword, in the order in which the compiler tests them within a part.
enum class chiave : std::uint8_t {
  lunghezza,
  progressiva_tre,
  progressiva_due,
  progressiva_uno,
  sfondo_uno,
  sfondo_due,
  sfondo_tre,
  ripetizione,
  pendenza,
  curva,
  montagna,
  indicatori,
  cartello,
  massa,
  vetture,
  velocita,
  aderenza,
  orologio,
  sabbia,
  segnale,
  rallentamento,
  abbattimento,
  stazione,
};

struct parola_chiave {
  chiave id;
  std::string_view nome;  // how explain and the messages call it
  parte dove;
  // The keyword field must contain each non-empty piece ("any case": lower-case pieces
  // compared without case).
  std::string_view pezzo_1;
  std::string_view pezzo_2;
  bool maiuscole_contano;
  std::span<const campo_formato> campi;
  std::string_view significato;
  std::string_view esempio;
  // The values the keyword field itself carries (a curve's class).
  std::span<const valore_campo> valori_chiave = {};
};

// Every keyword of both texts.
std::span<const parola_chiave> parole_chiave();

const parola_chiave& parola(chiave k);

// The keyword named nome (as in explain), or nullptr.
const parola_chiave* parola_di_nome(std::string_view nome);

// Whether the keyword field passes the keyword's test.
bool corrisponde(const parola_chiave& k, std::string_view campo);

// The characters a text holds, a bit each (A to Z as a to z, others may share a bit):
// a field holds a keyword's pieces only if its print holds theirs, so one print of a
// field spares the tests of most keywords.
std::uint64_t impronta(std::string_view testo);
// The print of each keyword's pieces, by chiave.
inline constexpr std::size_t numero_parole = static_cast<std::size_t>(chiave::stazione) + 1;
extern const std::array<std::uint64_t, numero_parole> impronte_pezzi;

// Every keyword holds a letter: a field whose print has none (a number, a blank
// field) passes no keyword's test.
inline constexpr std::uint64_t impronta_lettere = (std::uint64_t{1} << 26) - 1;
inline bool puo_essere_chiave(std::uint64_t impronta_campo) {
  return (impronta_campo & impronta_lettere) != 0;
}

// corrisponde, for a field of print impronta_campo.
inline bool corrisponde(chiave k, std::string_view campo, std::uint64_t impronta_campo) {
  const std::uint64_t pezzi = impronte_pezzi[static_cast<std::size_t>(k)];
  return (pezzi & ~impronta_campo) == 0 && corrisponde(parola(k), campo);
}
inline bool corrisponde(const parola_chiave& k, std::string_view campo,
                        std::uint64_t impronta_campo) {
  return corrisponde(k.id, campo, impronta_campo);
}

// c in lower case when it is one of A to Z: the keyword tests know no other letters.
char minuscola(char c);

// Whether the field contains the piece, ignoring the case of A to Z; piece in lower case.
bool contiene_senza_maiuscole(std::string_view campo, std::string_view pezzo);

// Whether a field is a section header: it holds both "[" and "]".
bool intestazione_di_sezione(std::string_view campo);

// The field that opens the part read by the compiler in both texts.
inline constexpr std::string_view generale = "[generale]";

// Lowest and highest value of a field's width (for a text: 0 and 0).
std::int64_t minimo_larghezza(larghezza l);
std::int64_t massimo_larghezza(larghezza l);

// "da 0 a 255", or "da 0 in su" up to the largest 32-bit value.
std::string da_a(std::int64_t minimo, std::int64_t massimo);

// "intero a 32 bit", "testo", ... for explain and the messages.
std::string_view nome_larghezza(larghezza l);

// "intestazione della linea", "corpo della linea", "descrizione del treno".
std::string_view nome_parte(parte p);
// "nel corpo della linea": where a row of the part stands, in a sentence.
std::string_view nella_parte(parte p);

}  // namespace percorso
