#include "diagnostics/messaggi.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "diagnostics/estratto.h"
#include "diagnostics/json.h"
#include "diagnostics/righe_sorgenti.h"
#include "diagnostics/spiegazioni.h"
#include "format/chilometri.h"
#include "format/testo_nomi.h"
#include "sintassi/campo_alla_colonna.h"
#include "sintassi/constatazioni.h"

namespace percorso {
namespace {

std::string_view nome_fonte(fonte f, const nomi_sorgenti& nomi) {
  switch (f) {
    case fonte::linea:
      return nomi.linea;
    case fonte::treno:
      return nomi.treno;
    case fonte::completamento:
      return "completamento";
    default:
      return "percorso";
  }
}

// The line, or the excerpt of it around the caret, and the caret's column in it with
// the end of the field's underline.
void mostra_riga(std::string_view riga, messaggio& m) {
  if (riga.empty() || m.colonna < 1) return;
  const estratto_riga e = estratto_di(riga, m.colonna, m.colonna);
  m.riga_sorgente = e.testo;
  std::tie(m.colonna_segno, m.fine_segno) = e.segno(m.colonna, m.colonna_fine);
}

// Where a message stands: a text, its line, its first byte and the byte after its
// last (0: the field holding the first).
struct posto {
  fonte f;
  std::int32_t riga;
  std::int32_t colonna;
  std::int32_t colonna_fine = 0;
};

// A message at a place of a text, with its source line and the field there; nomina:
// the field's name too, from the keyword table.
messaggio in_luogo(const posto& p, bool nomina, const nomi_sorgenti& nomi,
                   const righe_sorgenti& righe) {
  messaggio m;
  m.fonte = p.f;
  m.file = nome_fonte(p.f, nomi);
  m.riga = p.riga;
  m.colonna = p.colonna;
  m.colonna_fine = p.colonna_fine;
  // The whole line holds the field; the message keeps only an excerpt of it.
  const std::string_view intera = righe.riga(p.f, p.riga);
  const auto c = intera.empty() ? std::nullopt : campo_alla_colonna(p.f, intera, p.colonna);
  // An empty field covers no byte: it keeps no end, as in the record.
  if (c && m.colonna_fine == 0 && static_cast<std::int32_t>(c->fine) + 1 > m.colonna)
    m.colonna_fine = static_cast<std::int32_t>(c->fine) + 1;
  if (c && c->campo != nullptr && nomina) {
    m.campo = c->campo->nome;
    m.unita = c->campo->unita;
  }
  mostra_riga(intera, m);
  return m;
}

messaggio da_rilievo(const rilievo& r, const nomi_sorgenti& nomi, const righe_sorgenti& righe,
                     const chilometrica& km) {
  messaggio m = in_luogo({r.fonte, r.riga, r.colonna}, true, nomi, righe);
  m.codice = r.codice;
  m.posizione = r.posizione;
  m.corpo = significato(r.codice);
  if (r.posizione) {
    m.corpo.append(" (");
    if (trovato_sulle_celle(r))
      m.corpo.append("cella ").append(std::to_string(r.cella)).append(", ");
    if (!km.con_riferimenti()) m.corpo.append("posizione ");
    m.corpo.append(km.luogo(*r.posizione)).append(")");
  }
  return m;
}

// A compiler's warning or a checker's finding; only the compiler's are named by the
// keyword table here, the checker names its own fields.
// The related places of a record, each with the name of its text's file.
std::vector<luogo_correlato> correlati_con_file(std::vector<luogo_correlato> c,
                                                const nomi_sorgenti& nomi) {
  for (luogo_correlato& l : c) l.file = nome_fonte(l.fonte, nomi);
  return c;
}

messaggio da_diagnosi(const diagnosi& d, bool del_compilatore, bool rigoroso,
                      const nomi_sorgenti& nomi, const righe_sorgenti& righe) {
  messaggio m =
      in_luogo({d.fonte, d.riga, d.colonna, d.colonna_fine}, del_compilatore, nomi, righe);
  m.avviso = !rigoroso || d.grado != livello::errore;
  m.nome = d.nome;
  m.correlati = correlati_con_file(d.correlati, nomi);
  m.sostituzione = d.sostituzione;
  if (!d.campo.empty()) {
    m.campo = d.campo;
    m.unita = d.unita;
  }
  m.corpo = nome_leggibile(d.messaggio);
  return m;
}

using luogo_di_riga = std::tuple<fonte, std::int32_t>;

// The lines the checker speaks of: single lines, and the runs of rows one finding tells.
struct righe_verificate {
  std::set<luogo_di_riga> righe;
  std::vector<std::tuple<fonte, std::int32_t, std::int32_t>> tratti;

  explicit righe_verificate(std::span<const diagnosi> verifica) {
    for (const diagnosi& s : verifica) {
      righe.insert({s.fonte, s.riga});
      if (s.riga_fine > s.riga) tratti.emplace_back(s.fonte, s.riga, s.riga_fine);
    }
  }

  // Compiler warnings where the checker speaks of the same line say less than it does.
  bool contiene(const diagnosi& a) const {
    if (righe.contains({a.fonte, a.riga})) return true;
    return std::any_of(tratti.begin(), tratti.end(), [&](const auto& t) {
      return std::get<0>(t) == a.fonte && std::get<1>(t) <= a.riga && a.riga <= std::get<2>(t);
    });
  }
};

using fatto = std::tuple<fonte, std::int32_t, std::int32_t>;  // text, line, code

// The checker's findings of faults that carry a compiler code, by where and which.
std::map<fatto, std::size_t> fatti_con_codice(std::span<const diagnosi> verifica) {
  std::map<fatto, std::size_t> fatti;
  for (std::size_t i = 0; i < verifica.size(); ++i) {
    const diagnosi& s = verifica[i];
    if (s.codice) fatti.emplace(fatto{s.fonte, s.riga, *s.codice}, i);
  }
  return fatti;
}

// One message of a run with the place it sorts by.
struct voce {
  fonte testo;
  std::int32_t riga, colonna;
  messaggio m;
  std::vector<luogo_correlato> luoghi;  // the other rows it speaks of
  bool dopo = false;                    // sorts right after the cause at its place
};

// Findings whose field the compiler reads as another number: a later error on the same
// row, or on a row it speaks of, may follow from them.
bool causa(const messaggio& m) {
  return m.nome == genere::non_numero.nome || m.nome == genere::separatore.nome ||
         m.nome == genere::due_numeri.nome;
}

// A compiler error that follows from a misread field says so, and is told after it.
void dopo_le_cause(std::vector<voce>& voci) {
  std::map<luogo_di_riga, std::size_t> cause;
  for (std::size_t i = 0; i < voci.size(); ++i)
    if (causa(voci[i].m)) cause.emplace(luogo_di_riga{voci[i].testo, voci[i].riga}, i);
  if (cause.empty()) return;
  for (voce& v : voci) {
    if (v.m.avviso || !v.m.codice || causa(v.m)) continue;
    auto c = cause.find({v.testo, v.riga});
    for (std::size_t k = 0; c == cause.end() && k < v.luoghi.size(); ++k)
      c = cause.find({v.luoghi[k].fonte, v.luoghi[k].riga});
    if (c == cause.end()) continue;
    const voce& origine = voci[c->second];
    v.m.corpo.append(" (segue da [")
        .append(origine.m.nome)
        .append("] a ")
        .append(luogo_di(origine.m))
        .append(")");
    std::tie(v.testo, v.riga, v.colonna, v.dopo) =
        std::tuple{origine.testo, origine.riga, origine.colonna, true};
  }
}

std::string plurale(std::size_t n, std::string_view uno, std::string_view molti) {
  return std::to_string(n) + " " + std::string(n == 1 ? uno : molti);
}

}  // namespace

std::vector<messaggio> messaggi_di(const modello& m, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   bool rigoroso, std::span<const diagnosi> verifica) {
  std::vector<voce> tutti;
  const righe_sorgenti righe(testi);
  // A compiler finding the checker explains too says what the checker found there,
  // once: "segnale su una cella gia' occupata ...: la cella 188 e' gia' occupata dalla
  // stazione CORNELLA, riga 21".
  auto fatti = fatti_con_codice(verifica);
  std::vector<bool> detta(verifica.size(), false);
  for (const rilievo& r : m.rilievi) {
    messaggio x = da_rilievo(r, nomi, righe, chilometrica(m.punti));
    if (const auto f = fatti.find({r.fonte, r.riga, r.codice}); f != fatti.end()) {
      const diagnosi& s = verifica[f->second];
      x.corpo.append(": ").append(nome_leggibile(s.messaggio));
      x.correlati = correlati_con_file(s.correlati, nomi);
      if (x.campo.empty() && x.colonna == s.colonna) {
        x.campo = s.campo;
        x.unita = s.unita;
      }
      detta[f->second] = true;
      fatti.erase(f);
    }
    tutti.push_back({r.fonte, r.riga, r.colonna, std::move(x), {}});
  }
  const righe_verificate verificate(verifica);
  for (const diagnosi& a : m.avvisi) {
    if (filtro.mostra(std::string(a.nome)) && !verificate.contiene(a))
      tutti.push_back(
          {a.fonte, a.riga, a.colonna, da_diagnosi(a, true, rigoroso, nomi, righe), a.correlati});
  }
  for (std::size_t i = 0; i < verifica.size(); ++i) {
    const diagnosi& s = verifica[i];
    if (filtro.mostra(std::string(s.nome)) && !detta[i])
      tutti.push_back(
          {s.fonte, s.riga, s.colonna, da_diagnosi(s, false, rigoroso, nomi, righe), s.correlati});
  }
  dopo_le_cause(tutti);
  // In the order of the texts, each consequence right after its cause.
  std::stable_sort(tutti.begin(), tutti.end(), [](const voce& a, const voce& b) {
    return std::tie(a.testo, a.riga, a.colonna, a.dopo) <
           std::tie(b.testo, b.riga, b.colonna, b.dopo);
  });
  std::vector<messaggio> elenco;
  elenco.reserve(tutti.size());
  for (voce& v : tutti) elenco.push_back(std::move(v.m));
  return elenco;
}

messaggio messaggio_di_arresto(std::string_view causa) {
  messaggio m;
  m.arresto = true;
  m.corpo = causa;
  return m;
}

std::string luogo_di(const messaggio& m) {
  if (m.arresto) return "percorso";
  std::string s(m.file);
  if (m.riga > 0) s.append(":").append(std::to_string(m.riga));
  if (m.riga > 0 && m.colonna > 0) s.append(":").append(std::to_string(m.colonna));
  return s;
}

std::string etichetta_di(const messaggio& m) {
  if (m.arresto) return "";
  if (m.nome.empty()) return "errore " + std::to_string(m.codice.value_or(0));
  return (m.avviso ? "avviso [" : "errore [") + m.nome + "]";
}

std::string prima_riga(const messaggio& m) {
  if (m.arresto) return "percorso: " + m.corpo;
  return luogo_di(m) + ": " + etichetta_di(m) + ": " + m.corpo;
}

namespace {

// On the terminal a text's findings of one kind stop after this many; the report, the
// page and the editor keep them all.
constexpr std::size_t mostrati_per_genere = 5;

using genere_nel_testo = std::pair<std::string, std::string>;  // file, name or code

genere_nel_testo genere_di(const messaggio& m) {
  return {m.file, m.nome.empty() ? std::to_string(m.codice.value_or(0)) : m.nome};
}

}  // namespace

void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& messaggi) {
  std::map<genere_nel_testo, std::size_t> quanti, visti;
  for (const messaggio& m : messaggi)
    if (!m.arresto) ++quanti[genere_di(m)];
  // One write for the lot: the terminal's stream is unbuffered.
  std::string s;
  for (const messaggio& m : messaggi) {
    if (!m.arresto) {
      const genere_nel_testo g = genere_di(m);
      const std::size_t n = ++visti[g];
      if (n > mostrati_per_genere + 1) continue;
      if (n == mostrati_per_genere + 1) {
        const std::size_t altri = quanti[g] - mostrati_per_genere;
        s.append(testo_mostrabile(
                     luogo_di(m) + ": " + etichetta_di(m) + ": e " +
                     (altri == 1 ? std::string("un altro") : "altri " + std::to_string(altri)) +
                     " come sopra in " + m.file +
                     ", da qui in poi: non mostrati (il rapporto JSON e la pagina li "
                     "mostrano tutti)"))
            .append(1, '\n');
        continue;
      }
    }
    s.append(testo_mostrabile(prima_riga(m))).append(1, '\n');
    if (m.riga_sorgente.empty() || m.colonna_segno < 1) continue;
    // One character for each byte of the line: the caret and its underline stand
    // under the whole field.
    s.append(nome_leggibile(m.riga_sorgente)).append(1, '\n');
    const std::size_t prima =
        std::min(static_cast<std::size_t>(m.colonna_segno) - 1, m.riga_sorgente.size());
    const auto sotto = static_cast<std::size_t>(std::max(m.fine_segno - m.colonna_segno - 1, 0));
    s.append(prima, ' ').append(1, '^').append(sotto, '~');
    if (!m.campo.empty()) {
      s.append(" campo '").append(m.campo).append("'");
      if (!m.unita.empty()) s.append(" (").append(m.unita).append(")");
    }
    s.append(1, '\n');
  }
  out << s;
}

std::string conteggio(const std::vector<messaggio>& messaggi) {
  const auto avvisi = static_cast<std::size_t>(
      std::count_if(messaggi.begin(), messaggi.end(), [](const messaggio& m) { return m.avviso; }));
  return plurale(messaggi.size() - avvisi, "errore", "errori") + ", " +
         plurale(avvisi, "avviso", "avvisi");
}

std::string json_messaggio(const messaggio& m) {
  auto se_noto = [](std::int32_t n) {
    return n > 0 ? std::optional<std::int64_t>(n) : std::nullopt;
  };
  json_oggetto j;
  j.testo("livello", m.avviso ? "avviso" : "errore").numero("codice", m.codice);
  if (!m.nome.empty())
    j.testo("nome", m.nome);
  else
    j.nullo("nome");
  j.numero("posizione", m.posizione);
  if (m.file.empty())
    j.nullo("file");
  else
    j.testo("file", m.file);
  j.numero("riga", se_noto(m.riga))
      .numero("colonna", se_noto(m.colonna))
      .numero("colonna_fine", se_noto(m.colonna_fine));
  if (m.campo.empty())
    j.nullo("campo").nullo("unita");
  else
    j.testo("campo", m.campo).testo("unita", m.unita);
  json_lista correlati;
  for (const luogo_correlato& l : m.correlati)
    correlati.aggiungi(json_oggetto()
                           .testo("file", l.file)
                           .numero("riga", se_noto(l.riga))
                           .testo("cosa", l.cosa)
                           .fine());
  return j.testo("testo", prima_riga(m)).grezzo("correlati", correlati.fine()).fine();
}

}  // namespace percorso
