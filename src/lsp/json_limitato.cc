#include "lsp/json_limitato.h"

#include <algorithm>
#include <vector>

#include "lsp/protocollo.h"

namespace percorso::lsp {
namespace {

// What the JSON library allocates, rounded up with the allocator's own bytes: an
// array and an object, the slot of an array's element (its buffer grows by doubling,
// the old one held while the new one fills), an object's member, a string, and the
// text of a string or key too long to be kept inside it.
constexpr std::size_t per_array = 32;
constexpr std::size_t per_oggetto = 64;
constexpr std::size_t per_elemento = 48;
constexpr std::size_t per_membro = 96;
constexpr std::size_t per_stringa = 48;
constexpr std::size_t stringa_interna = 15;

std::size_t testo_a_parte(const std::string& s) {
  return s.size() > stringa_interna ? s.size() + 32 : 0;
}

// Counts depth and memory as the parser walks the text; stops only at a fault of
// syntax, so that the id after an over-deep part is still found.
class misura final : public nlohmann::json_sax<json> {
 public:
  bool null() override { return valore(); }
  bool boolean(bool) override { return valore(); }
  bool number_integer(number_integer_t n) override { return valore(n); }
  bool number_unsigned(number_unsigned_t n) override { return valore(n); }
  bool number_float(number_float_t, const string_t&) override { return valore(); }
  bool string(string_t& s) override {
    stima += per_stringa + testo_a_parte(s);
    return valore(s);
  }
  bool binary(binary_t&) override { return valore(); }
  bool start_object(std::size_t) override { return apri(false); }
  bool start_array(std::size_t) override { return apri(true); }
  bool end_object() override { return chiudi(); }
  bool end_array() override { return chiudi(); }
  bool key(string_t& k) override {
    stima += per_membro + testo_a_parte(k);
    chiave_id_ = profondita == 1 && k == "id";
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    errore = std::string("messaggio non JSON: ") + e.what();
    return false;
  }

  std::size_t profondita = 0, massima = 0, stima = 0;
  json id;
  std::string errore;

 private:
  // The slot a value takes in its parent; an id at the top of the message is kept.
  bool valore(const json& v = nullptr) {
    if (chiave_id_ && (v.is_number_integer() || v.is_string())) id = v;
    chiave_id_ = false;
    stima += profondita == 0 ? sizeof(json) : in_array() ? per_elemento : 0;
    return true;
  }
  bool apri(bool array) {
    valore();
    stima += array ? per_array : per_oggetto;
    // The kinds of the open containers as far as the bound: beyond it the message is
    // refused, and depth alone is counted.
    if (profondita <= annidamento_massimo) genitori_.push_back(array);
    massima = std::max(massima, ++profondita);
    return true;
  }
  bool chiudi() {
    if (genitori_.size() == profondita) genitori_.pop_back();
    --profondita;
    return true;
  }
  bool in_array() const {
    return genitori_.size() == profondita && !genitori_.empty() && genitori_.back();
  }

  bool chiave_id_ = false;
  std::vector<bool> genitori_;
};

}  // namespace

json_letto leggi_json(const std::string& corpo) {
  json_letto l;
  misura m;
  json::sax_parse(corpo, &m);
  l.id = m.id;
  if (!m.errore.empty()) {
    l.errore = m.errore;
    l.codice = errore_sintassi;
    l.id = nullptr;
  } else if (m.massima > annidamento_massimo) {
    l.errore = "messaggio annidato su " + std::to_string(m.massima) + " livelli, oltre i " +
               std::to_string(annidamento_massimo) + " ammessi";
    l.codice = richiesta_non_valida;
  } else if (m.stima > fattore_memoria * corpo.size() + memoria_di_base) {
    l.errore = "messaggio di " + std::to_string(corpo.size()) + " byte che in memoria ne " +
               "prenderebbe " + std::to_string(m.stima) + ", oltre " +
               std::to_string(fattore_memoria) + " volte la sua misura";
    l.codice = richiesta_non_valida;
  } else {
    l.valore = json::parse(corpo);
  }
  return l;
}

}  // namespace percorso::lsp
