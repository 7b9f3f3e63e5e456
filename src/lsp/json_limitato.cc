#include "lsp/json_limitato.h"

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

// Why the building stopped.
struct oltre_i_limiti {
  std::string perche;
};

// Prices each value as the parser builds it, and stops the building at the first
// bound crossed: nesting is refused before the nested value is built, memory before
// the value that would pass the bound. The parser walks the text without recursion.
class conto {
 public:
  explicit conto(std::size_t bilancio, std::size_t misura) : bilancio_(bilancio), misura_(misura) {}

  bool operator()(int profondita, json::parse_event_t evento, json& v) {
    using e = json::parse_event_t;
    const auto d = static_cast<std::size_t>(profondita);
    if (evento == e::object_start || evento == e::array_start) {
      if (d >= annidamento_massimo)
        throw oltre_i_limiti{"messaggio annidato oltre i " + std::to_string(annidamento_massimo) +
                             " livelli ammessi"};
      posto(d);
      stima_ += evento == e::array_start ? per_array : per_oggetto;
      in_array_.resize(d);
      in_array_.push_back(evento == e::array_start);
    } else if (evento == e::key) {
      stima_ += per_membro + testo_a_parte(v.get_ref<const std::string&>());
    } else if (evento == e::value) {
      posto(d);
      if (v.is_string()) stima_ += per_stringa + testo_a_parte(v.get_ref<const std::string&>());
    }
    if (stima_ > bilancio_)
      throw oltre_i_limiti{"messaggio di " + std::to_string(misura_) +
                           " byte i cui valori in memoria passerebbero i " +
                           std::to_string(bilancio_) + " byte ammessi (" +
                           std::to_string(fattore_memoria) + " volte la sua misura, piu' 1 MiB)"};
    return true;
  }

 private:
  // The slot a value takes in its parent, d containers deep.
  void posto(std::size_t d) {
    stima_ += d == 0 ? sizeof(json) : in_array_[d - 1] ? per_elemento : 0;
  }

  std::size_t bilancio_, misura_;
  std::size_t stima_ = 0;
  std::vector<bool> in_array_;  // the kind of each open container, by depth
};

// The id at the top of a message not built: its values inside others are skipped.
json id_di(const std::string& corpo) {
  const auto in_cima = [](int profondita, json::parse_event_t evento, json&) {
    return profondita == 0 || (profondita == 1 && (evento == json::parse_event_t::key ||
                                                   evento == json::parse_event_t::value));
  };
  const json cima = json::parse(corpo, in_cima, false);
  const auto id = cima.is_object() ? cima.find("id") : cima.end();
  if (id == cima.end() || !(id->is_number_integer() || id->is_string())) return nullptr;
  return *id;
}

}  // namespace

json_letto leggi_json(const std::string& corpo) {
  json_letto l;
  try {
    l.valore =
        json::parse(corpo, conto(fattore_memoria * corpo.size() + memoria_di_base, corpo.size()));
  } catch (const json::parse_error& e) {
    l.errore = std::string("messaggio non JSON: ") + e.what();
    l.codice = errore_sintassi;
  } catch (const oltre_i_limiti& e) {
    l.errore = e.perche;
    l.codice = richiesta_non_valida;
    l.id = id_di(corpo);
  }
  return l;
}

}  // namespace percorso::lsp
