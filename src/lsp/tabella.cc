#include "lsp/tabella.h"

#include <algorithm>

#include "app/spiega.h"
#include "format/chilometri.h"
#include "lsp/codifica.h"
#include "sintassi/cammino.h"
#include "sintassi/campo_alla_colonna.h"
#include "sintassi/sezioni.h"

namespace percorso::lsp {
namespace {

std::string letto_dal_compilatore(const campo_sotto& c) {
  if (c.campo->tipo == larghezza::testo) return "il testo '" + a_utf8(c.scritto) + "'";
  const double v = valore_numero(c.scritto);
  std::string n = std::to_string(v);
  n.erase(n.find_last_not_of('0') + 1);
  if (!n.empty() && n.back() == '.') n.pop_back();
  return "il numero " + n + (e_numero(c.scritto) ? "" : " (non e' un numero: legge 0)");
}

// The example row with each field after the keyword as a tab stop: "curvas4, ${1:2296}, ...".
std::string frammento_di(std::string_view esempio) {
  std::string s;
  int n = 0;
  std::size_t i = 0;
  const auto virgola = esempio.find(',');
  if (virgola == std::string_view::npos) return std::string(esempio);
  s.append(esempio.substr(0, virgola + 1));
  i = virgola + 1;
  while (i < esempio.size()) {
    const char c = esempio[i];
    if (c == ' ' || c == ',') {
      s.push_back(c);
      ++i;
      continue;
    }
    auto fine = esempio.find_first_of(" ,", i);
    if (fine == std::string_view::npos) fine = esempio.size();
    std::string campo(esempio.substr(i, fine - i));
    for (const char x : {'$', '}', '\\'})
      for (auto p = campo.find(x); p != std::string::npos; p = campo.find(x, p + 2))
        campo.insert(p, 1, '\\');
    s.append("${").append(std::to_string(++n)).append(":").append(campo).append("}");
    i = fine;
  }
  return s;
}

bool della_zona(const parola_chiave& k, zona z) {
  return (z == zona::intestazione && k.dove == parte::intestazione) ||
         (z == zona::corpo && k.dove == parte::corpo) ||
         (z == zona::treno && k.dove == parte::treno);
}

simbolo::tipo tipo_di(chiave k) {
  switch (k) {
    case chiave::stazione:
      return simbolo::tipo::stazione;
    case chiave::segnale:
      return simbolo::tipo::segnale;
    default:
      return simbolo::tipo::rallentamento;
  }
}

// The bytes of the line that starts at inizio, its line end left out.
std::int32_t lunghezza_riga(std::span<const std::uint8_t> byte, std::size_t inizio) {
  std::size_t fine = inizio;
  while (fine < byte.size() && byte[fine] != '\n' && byte[fine] != '\r') ++fine;
  return static_cast<std::int32_t>(fine - inizio);
}

// A station, signal or slowdown row as the compiler read it: its position, and for a
// station the name that ends the row.
simbolo simbolo_di_riga(const campo_chiave& c, const parola_chiave& k, const campi_riga& f) {
  simbolo s{tipo_di(k.id), std::string(k.nome), {}, c.campo.riga, 0};
  std::optional<double> posizione;
  for (std::size_t i = 0; i < f.letti && i < k.campi.size(); ++i) {
    if (f.campi[i].seguente) break;
    if (k.campi[i].tipo != larghezza::testo)
      posizione = posizione.value_or(f.campi[i].numero);
    else if (k.campi[i].uso == ruolo::nome)
      s.nome = a_utf8(f.campi[i].testo);
  }
  const auto metri = static_cast<std::int64_t>(posizione.value_or(0));
  s.dettaglio = "km " + testo_progressiva(metri) + " (" + std::to_string(metri) + " m)";
  if (k.id != chiave::stazione) s.nome.append(" ").append(testo_progressiva(metri));
  return s;
}

// Walks the text as the compiler reads it: vedi gets each field in a keyword's place
// with each keyword of its part that takes it and that keyword's row (or nothing for
// a field no keyword takes), and stops the walk by answering false.
template <class F>
void cammina(fonte testo, std::span<const std::uint8_t> byte, F&& vedi) {
  cammino_righe w(byte, testo == fonte::linea);
  while (const auto c = w.prossima()) {
    bool presa = false;
    if (c->tipo == voce::chiave) {
      for (const parola_chiave& k : parole_chiave()) {
        if (k.dove != c->dove || !corrisponde(k, c->campo.testo)) continue;
        presa = true;
        campi_riga f;
        w.campi(k, f);
        if (!vedi(*c, &k, &f)) return;
      }
    }
    if (!presa && !vedi(*c, nullptr, nullptr)) return;
  }
}

}  // namespace

std::vector<simbolo> simboli(fonte testo, std::span<const std::uint8_t> byte) {
  std::vector<simbolo> tutti;
  cammina(testo, byte, [&](const campo_chiave& c, const parola_chiave* k, const campi_riga* f) {
    const std::int32_t lunghezza = lunghezza_riga(byte, c.campo.inizio_riga);
    if (c.tipo == voce::generale ||
        (c.tipo == voce::chiave && k == nullptr && intestazione_di_sezione(c.campo.testo)))
      tutti.push_back({simbolo::tipo::sezione, a_utf8(c.campo.testo), {}, c.campo.riga, lunghezza});
    if (k == nullptr ||
        (k->id != chiave::stazione && k->id != chiave::segnale && k->id != chiave::rallentamento))
      return true;
    simbolo s = simbolo_di_riga(c, *k, *f);
    s.lunghezza = lunghezza;
    tutti.push_back(std::move(s));
    return true;
  });
  return tutti;
}

std::optional<campo_sotto> campo_alla_posizione(fonte testo, std::string_view riga,
                                                std::int32_t colonna) {
  const auto c = campo_alla_colonna(testo, riga, colonna);
  if (!c || c->chiave == nullptr) return std::nullopt;
  const std::size_t numero =
      c->campo == nullptr ? 0 : static_cast<std::size_t>(c->campo - c->chiave->campi.data()) + 1;
  return campo_sotto{c->chiave,
                     c->campo,
                     numero,
                     static_cast<std::int32_t>(c->inizio) + 1,
                     static_cast<std::int32_t>(c->fine) + 1,
                     riga.substr(c->inizio, c->fine - c->inizio)};
}

std::string descrizione(const campo_sotto& c) {
  if (c.campo == nullptr) return scheda_parola(*c.parola);
  std::string s = "campo " + std::to_string(c.numero) + " della riga '" +
                  std::string(c.parola->nome) + "'\n" + scheda_campo(*c.parola, c.numero - 1);
  return s.append("\nIl compilatore legge qui ").append(letto_dal_compilatore(c)).append(".\n");
}

zona zona_della_riga(fonte testo, std::span<const std::uint8_t> byte, std::int32_t riga) {
  zona z = zona::prima_di_generale;
  cammina(testo, byte, [&](const campo_chiave& c, const parola_chiave*, const campi_riga*) {
    if (c.campo.riga >= riga) return false;
    if (c.tipo == voce::prima_di_generale) return true;
    z = c.dove == parte::treno ? zona::treno
        : c.dove == parte::corpo || (c.tipo == voce::chiave && c.dove == parte::intestazione &&
                                     intestazione_di_sezione(c.campo.testo))
            ? zona::corpo
            : zona::intestazione;
    return true;
  });
  return z;
}

namespace {

// A section header of the text, or only "[generale]" before it.
void sezioni_della_zona(std::vector<proposta>& p, fonte testo, zona z) {
  for (const sezione_testo& h : sezioni_testi()) {
    if (h.della_linea != (testo == fonte::linea) ||
        (h.nome == generale) != (z == zona::prima_di_generale))
      continue;
    const std::string dettaglio =
        h.nome == generale ? "inizio della parte letta dal compilatore" : "intestazione di sezione";
    p.push_back({std::string(h.nome), dettaglio + ", " + std::string(h.obbligo),
                 std::string(h.nome), true,
                 std::string(h.contenuto) + ".\nSenza: " + std::string(h.senza) + "."});
  }
}

}  // namespace

std::vector<proposta> proposte(fonte testo, zona z) {
  std::vector<proposta> p;
  for (const parola_chiave& k : parole_chiave()) {
    if (!della_zona(k, z)) continue;
    p.push_back({std::string(k.nome), std::string(k.significato), frammento_di(k.esempio), false,
                 scheda_parola(k)});
  }
  sezioni_della_zona(p, testo, z);
  return p;
}

}  // namespace percorso::lsp
