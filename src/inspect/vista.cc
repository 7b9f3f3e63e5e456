#include "inspect/vista.h"

#include <cstdio>

#include "diagnostics/json.h"

namespace percorso {
namespace {

std::string allinea(std::string s, int larghezza) {
  const auto n = static_cast<std::size_t>(larghezza < 0 ? -larghezza : larghezza);
  // Width counts characters: UTF-8 continuation bytes take no room.
  std::size_t caratteri = 0;
  for (const char c : s) caratteri += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (caratteri >= n) return s;
  const std::string spazi(n - caratteri, ' ');
  return larghezza < 0 ? s + spazi : spazi + s;
}

void scrivi_voci(std::ostream& out, const std::vector<voce_vista>& voci, int larghezza) {
  for (const voce_vista& v : voci) {
    if (larghezza > 0)
      out << "  " << allinea(v.etichetta, -larghezza) << ' ' << v.valore.testo() << '\n';
    else
      out << "  " << v.etichetta << ": " << v.valore.testo() << '\n';
  }
}

void scrivi_tabella(std::ostream& out, const sezione_vista& s) {
  auto riga = [&](auto&& cella) {
    std::string r = "  ";
    for (std::size_t k = 0; k < s.colonne.size(); ++k) {
      if (k > 0) r += std::string(static_cast<std::size_t>(s.colonne[k].spazi), ' ');
      r += allinea(cella(s.colonne[k]), s.colonne[k].larghezza);
    }
    while (!r.empty() && r.back() == ' ') r.pop_back();
    out << r << '\n';
  };
  riga([](const colonna_vista& c) { return c.intestazione; });
  for (const nodo_vista& n : s.righe) riga([&](const colonna_vista& c) { return c.testo(n); });
}

void aggiungi_voci(json_oggetto& o, const std::vector<voce_vista>& voci) {
  for (const voce_vista& v : voci) o.grezzo(v.chiave, v.valore.json());
}

}  // namespace

nodo_vista nodo_vista::nullo(std::string testo) {
  nodo_vista n;
  if (!testo.empty()) n.testo_ = std::move(testo);
  return n;
}

nodo_vista nodo_vista::intero(std::int64_t v, std::string testo) {
  nodo_vista n;
  n.t_ = tipo::intero;
  n.intero_ = v;
  if (!testo.empty()) n.testo_ = std::move(testo);
  return n;
}

nodo_vista nodo_vista::reale(double v, std::string testo) {
  nodo_vista n;
  n.t_ = tipo::reale;
  n.reale_ = v;
  n.testo_ = std::move(testo);
  return n;
}

nodo_vista nodo_vista::testo_di(std::string_view v) {
  nodo_vista n;
  n.t_ = tipo::testo;
  n.stringa_ = v;
  return n;
}

nodo_vista nodo_vista::vero(bool v, std::string testo) {
  nodo_vista n;
  n.t_ = tipo::vero;
  n.intero_ = v ? 1 : 0;
  if (!testo.empty()) n.testo_ = std::move(testo);
  return n;
}

nodo_vista nodo_vista::lista() {
  nodo_vista n;
  n.t_ = tipo::lista;
  return n;
}

nodo_vista nodo_vista::oggetto(std::string testo) {
  nodo_vista n;
  n.t_ = tipo::oggetto;
  n.testo_ = std::move(testo);
  return n;
}

nodo_vista& nodo_vista::con(std::string chiave, nodo_vista valore) {
  membri_.emplace_back(std::move(chiave), std::move(valore));
  return *this;
}

nodo_vista& nodo_vista::aggiungi(nodo_vista valore) {
  membri_.emplace_back(std::string(), std::move(valore));
  return *this;
}

nodo_vista& nodo_vista::con_testo(std::string testo) {
  testo_ = std::move(testo);
  return *this;
}

const nodo_vista* nodo_vista::membro(std::string_view chiave) const {
  for (const auto& [k, v] : membri_)
    if (k == chiave) return &v;
  return nullptr;
}

std::string nodo_vista::testo() const {
  if (testo_) return *testo_;
  switch (t_) {
    case tipo::nullo:
      return "";
    case tipo::intero:
      return std::to_string(intero_);
    case tipo::reale:
      return json_reale(reale_);
    case tipo::testo:
      return stringa_;
    case tipo::vero:
      return intero_ != 0 ? "si'" : "no";
    case tipo::lista: {
      std::string s;
      for (const auto& [k, v] : membri_) {
        if (!s.empty()) s += ' ';
        s += v.testo();
      }
      return s;
    }
    case tipo::oggetto:
      return "";
  }
  return "";
}

std::string nodo_vista::json() const {
  switch (t_) {
    case tipo::nullo:
      return "null";
    case tipo::intero:
      return std::to_string(intero_);
    case tipo::reale:
      return json_reale(reale_);
    case tipo::testo:
      return json_testo(stringa_);
    case tipo::vero:
      return intero_ != 0 ? "true" : "false";
    case tipo::lista: {
      json_lista l;
      for (const auto& [k, v] : membri_) l.aggiungi(v.json());
      return l.fine();
    }
    case tipo::oggetto: {
      json_oggetto o;
      for (const auto& [k, v] : membri_) o.grezzo(k, v.json());
      return o.fine();
    }
  }
  return "null";
}

nodo_vista interi_vista(std::initializer_list<std::int64_t> v) {
  nodo_vista l = nodo_vista::lista();
  for (const auto n : v) l.aggiungi(nodo_vista::intero(n));
  return l;
}

colonna_vista colonna_di(std::string chiave, std::string intestazione, int larghezza, int spazi) {
  return {std::move(intestazione), larghezza,
          [chiave = std::move(chiave)](const nodo_vista& riga) {
            const nodo_vista* m = riga.membro(chiave);
            return m ? m->testo() : std::string();
          },
          spazi};
}

void scrivi_vista(std::ostream& out, const vista& d) {
  out << d.file << ": " << d.sommario << '\n';
  scrivi_voci(out, d.voci, 0);
  for (const sezione_vista& s : d.sezioni) {
    if (s.facoltativa && s.righe.empty()) continue;
    out << '\n' << s.titolo << ":\n";
    if (s.colonne.empty())
      scrivi_voci(out, s.voci, s.larghezza_etichette);
    else
      scrivi_tabella(out, s);
  }
}

std::string vista_in_json(const vista& d) {
  json_oggetto o;
  o.testo("file", d.file).testo("tipo", d.tipo);
  aggiungi_voci(o, d.dati);
  aggiungi_voci(o, d.voci);
  for (const sezione_vista& s : d.sezioni) {
    if (s.colonne.empty()) {
      json_oggetto membri;
      aggiungi_voci(membri, s.voci);
      o.grezzo(s.chiave, membri.fine());
    } else {
      json_lista righe;
      for (const nodo_vista& n : s.righe) righe.aggiungi(n.json());
      o.grezzo(s.chiave, righe.fine());
    }
  }
  return o.fine();
}

}  // namespace percorso
