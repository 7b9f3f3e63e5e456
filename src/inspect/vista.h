// What inspect shows of a file, described once: values with the text that shows
// them, grouped in sections. One renderer writes it as text, another as JSON, so
// the two always carry the same facts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace percorso {

// A value: nothing, a whole number, a real, a text, a truth, a list or an object.
// Its text is how the text output shows it; by default the value itself.
class nodo_vista {
 public:
  static nodo_vista nullo(std::string testo = "");
  static nodo_vista intero(std::int64_t v, std::string testo = "");
  static nodo_vista reale(double v, std::string testo);
  static nodo_vista testo_di(std::string_view v);
  static nodo_vista vero(bool v, std::string testo = "");
  static nodo_vista lista();
  static nodo_vista oggetto(std::string testo = "");

  // Adds a member to an object, or an element to a list.
  nodo_vista& con(std::string chiave, nodo_vista valore);
  nodo_vista& aggiungi(nodo_vista valore);
  nodo_vista& con_testo(std::string testo);

  // The member named chiave, or nothing.
  const nodo_vista* membro(std::string_view chiave) const;
  std::string testo() const;
  std::string json() const;

 private:
  enum class tipo { nullo, intero, reale, testo, vero, lista, oggetto };
  tipo t_ = tipo::nullo;
  std::int64_t intero_ = 0;
  double reale_ = 0;
  std::string stringa_;
  std::optional<std::string> testo_;
  std::vector<std::pair<std::string, nodo_vista>> membri_;  // a list's elements have no key
};

// A list of whole numbers.
nodo_vista interi_vista(std::initializer_list<std::int64_t> v);

// A column of a table: its heading and width in the text, and what it shows of a row.
struct colonna_vista {
  std::string intestazione;
  int larghezza = 0;  // negative: left-aligned
  std::function<std::string(const nodo_vista& riga)> testo;
  int spazi = 1;  // blanks before it, unless it is the first
};
// A column that shows one member of the row.
colonna_vista colonna_di(std::string chiave, std::string intestazione, int larghezza,
                         int spazi = 1);

// A labelled value: "  etichetta: testo" in the text, "chiave": value in JSON.
struct voce_vista {
  std::string chiave;
  std::string etichetta;
  nodo_vista valore;
};

// A part of what is shown: labelled values, or a table of rows.
struct sezione_vista {
  std::string chiave{};  // its member in JSON
  std::string titolo{};  // its heading in the text
  std::vector<voce_vista> voci{};
  std::vector<colonna_vista> colonne{};  // a table when not empty; rows are objects
  std::vector<nodo_vista> righe{};
  int larghezza_etichette = 0;  // aligns the values of voci; 0 writes "etichetta: valore"
  bool facoltativa = false;     // a table the text leaves out when it has no rows
};

// All that is shown of one file.
struct vista {
  std::string file{};
  std::string tipo{};              // "celle", "punti", "piano"
  std::string sommario{};          // the first text line, after the file name
  std::vector<voce_vista> dati{};  // shown in the summary: JSON members only
  std::vector<voce_vista> voci{};  // under the summary
  std::vector<sezione_vista> sezioni{};
};

void scrivi_vista(std::ostream& out, const vista& d);
std::string vista_in_json(const vista& d);

}  // namespace percorso
