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
class nodo {
 public:
  static nodo nullo(std::string testo = "");
  static nodo intero(std::int64_t v, std::string testo = "");
  static nodo reale(double v, std::string testo);
  static nodo testo_di(std::string_view v);
  static nodo vero(bool v, std::string testo = "");
  static nodo lista();
  static nodo oggetto(std::string testo = "");

  // Adds a member to an object, or an element to a list.
  nodo& con(std::string chiave, nodo valore);
  nodo& aggiungi(nodo valore);
  nodo& con_testo(std::string testo);

  // The member named chiave, or nothing.
  const nodo* membro(std::string_view chiave) const;
  std::string testo() const;
  std::string json() const;

 private:
  enum class tipo { nullo, intero, reale, testo, vero, lista, oggetto };
  tipo t_ = tipo::nullo;
  std::int64_t intero_ = 0;
  double reale_ = 0;
  std::string stringa_;
  std::optional<std::string> testo_;
  std::vector<std::pair<std::string, nodo>> membri_;  // a list's elements have no key
};

// A list of whole numbers.
nodo interi(std::initializer_list<std::int64_t> v);

// A column of a table: its heading and width in the text, and what it shows of a row.
struct colonna {
  std::string intestazione;
  int larghezza = 0;  // negative: left-aligned
  std::function<std::string(const nodo& riga)> testo;
  int spazi = 1;  // blanks before it, unless it is the first
};
// A column that shows one member of the row.
colonna colonna_di(std::string chiave, std::string intestazione, int larghezza, int spazi = 1);

// A labelled value: "  etichetta: testo" in the text, "chiave": value in JSON.
struct voce {
  std::string chiave;
  std::string etichetta;
  nodo valore;
};

// A part of what is shown: labelled values, or a table of rows.
struct sezione {
  std::string chiave{};  // its member in JSON
  std::string titolo{};  // its heading in the text
  std::vector<voce> voci{};
  std::vector<colonna> colonne{};  // a table when not empty; rows are objects
  std::vector<nodo> righe{};
  int larghezza_etichette = 0;  // aligns the values of voci; 0 writes "etichetta: valore"
  bool facoltativa = false;     // a table the text leaves out when it has no rows
};

// All that is shown of one file.
struct documento {
  std::string file{};
  std::string tipo{};        // "celle", "punti", "piano"
  std::string sommario{};    // the first text line, after the file name
  std::vector<voce> dati{};  // shown in the summary: JSON members only
  std::vector<voce> voci{};  // under the summary
  std::vector<sezione> sezioni{};
};

void scrivi_testo(std::ostream& out, const documento& d);
std::string in_json(const documento& d);

}  // namespace percorso
