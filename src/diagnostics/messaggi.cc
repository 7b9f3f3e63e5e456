#include "diagnostics/messaggi.h"

#include <utility>

#include "diagnostics/json.h"
#include "diagnostics/righe_sorgenti.h"
#include "diagnostics/spiegazioni.h"

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

std::string luogo_testo(std::string_view file, std::int32_t riga) {
  std::string s(file);
  if (riga > 0) s.append(":").append(std::to_string(riga));
  return s;
}

messaggio da_rilievo(const rilievo& r, const nomi_sorgenti& nomi, const righe_sorgenti& righe) {
  messaggio m;
  m.codice = r.codice;
  m.posizione = r.posizione;
  m.file = nome_fonte(r.fonte, nomi);
  m.riga = r.riga;
  m.colonna = r.colonna;
  m.testo = luogo_testo(m.file, r.riga);
  m.testo.append(": errore ").append(std::to_string(r.codice)).append(": ");
  m.testo.append(significato(r.codice));
  if (r.posizione) {
    m.testo.append(" (");
    if (r.fonte == fonte::completamento)
      m.testo.append("cella ").append(std::to_string(*r.posizione / 50)).append(", ");
    m.testo.append("posizione ").append(std::to_string(*r.posizione)).append(" m)");
  }
  m.riga_sorgente = righe.riga(r.fonte, r.riga);
  return m;
}

messaggio da_avviso(const avviso& a, const nomi_sorgenti& nomi, const righe_sorgenti& righe) {
  messaggio m;
  m.avviso = true;
  m.nome = a.nome;
  m.file = nome_fonte(a.fonte, nomi);
  m.riga = a.riga;
  m.colonna = a.colonna;
  m.testo = luogo_testo(m.file, a.riga);
  m.testo.append(": avviso [").append(a.nome).append("]: ").append(a.messaggio);
  m.riga_sorgente = righe.riga(a.fonte, a.riga);
  return m;
}

std::string plurale(std::size_t n, std::string_view uno, std::string_view molti) {
  return std::to_string(n) + " " + std::string(n == 1 ? uno : molti);
}

}  // namespace

std::span<const std::string_view> nomi_avvisi() {
  static constexpr std::string_view nomi[] = {
      "chiave-sconosciuta", "numeri-in-piu",     "fuori-sezione",        "trattino",
      "profilo-indietro",   "curve-sovrapposte", "stazione-senza-celle", nome_avviso_documento,
  };
  return nomi;
}

std::vector<messaggio> messaggi_di(const modello& m, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro) {
  std::vector<messaggio> tutti;
  const righe_sorgenti righe(testi);
  for (const rilievo& r : m.rilievi) tutti.push_back(da_rilievo(r, nomi, righe));
  for (const avviso& a : m.avvisi) {
    if (filtro.mostra(a.nome)) tutti.push_back(da_avviso(a, nomi, righe));
  }
  return tutti;
}

messaggio messaggio_di_arresto(std::string_view causa,
                               std::optional<std::int32_t> errore_programma) {
  messaggio m;
  m.codice = errore_programma;
  m.testo = errore_programma ? std::string(causa) : "percorso: " + std::string(causa);
  return m;
}

void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& messaggi) {
  std::size_t errori = 0, avvisi = 0;
  for (const messaggio& m : messaggi) {
    out << m.testo << '\n';
    if (m.avviso)
      ++avvisi;
    else
      ++errori;
    if (m.riga_sorgente.empty() || m.colonna < 1) continue;
    out << m.riga_sorgente << '\n';
    // Keep tabs under tabs so the caret lines up however the terminal shows them.
    std::string segno;
    for (std::int32_t i = 0;
         i + 1 < m.colonna && static_cast<std::size_t>(i) < m.riga_sorgente.size(); ++i)
      segno += m.riga_sorgente[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    out << segno << "^\n";
  }
  if (errori + avvisi > 0)
    out << plurale(errori, "errore", "errori") << ", " << plurale(avvisi, "avviso", "avvisi")
        << '\n';
}

std::string json_messaggio(const messaggio& m) {
  auto se_noto = [](std::int32_t n) {
    return n > 0 ? std::optional<std::int64_t>(n) : std::nullopt;
  };
  json_oggetto j;
  j.testo("livello", m.avviso ? "avviso" : "errore").numero("codice", m.codice);
  if (m.avviso)
    j.testo("nome", m.nome);
  else
    j.nullo("nome");
  j.numero("posizione", m.posizione);
  if (m.file.empty())
    j.nullo("file");
  else
    j.testo("file", m.file);
  return j.numero("riga", se_noto(m.riga))
      .numero("colonna", se_noto(m.colonna))
      .testo("testo", m.testo)
      .fine();
}

}  // namespace percorso
