#include "platform/giornale.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <random>

#include "platform/file_system.h"
#include "platform/operazioni_file.h"

namespace percorso {
namespace {

constexpr std::string_view intestazione = "percorso-giornale 2 ";
constexpr std::string_view chiusura = "fine\n";
// In a pair, for a name that held no file.
constexpr std::string_view libero = "nessuno\n";
constexpr std::string_view prefisso_temporaneo = ".percorso-";
constexpr std::size_t lunghezza_temporaneo = prefisso_temporaneo.size() + 6;
// The characters a temporary's name draws at random; the first of them are its run's
// mark, recorded in the journal's first line.
constexpr std::string_view cifre = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t lunghezza_segno = 3;

std::string casuali(std::size_t n) {
  static std::mt19937_64 generatore{std::random_device{}()};
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(cifre[generatore() % cifre.size()]);
  return s;
}

void aggiungi_nome(std::string& s, std::string_view nome) {
  s.append(std::to_string(nome.size())).append(":").append(nome);
}

// Reads the fields of a journal one after the other. Once a field is wrong every read
// gives nothing; corto tells a text that ended in the field from one that says
// something else there.
class lettore {
 public:
  explicit lettore(std::string_view t) : t_(t) {}

  bool inizia(std::string_view p) const { return ok_ && t_.starts_with(p); }
  bool salta(std::string_view atteso) {
    if (!ok_) return false;
    const std::size_t n = std::min(atteso.size(), t_.size());
    if (t_.substr(0, n) != atteso.substr(0, n)) return ferma(false);
    if (n < atteso.size()) return ferma(true);
    t_.remove_prefix(n);
    return true;
  }
  template <typename T>
  T numero(char fine) {
    T n{};
    if (!ok_) return n;
    const auto r = std::from_chars(t_.data(), t_.data() + t_.size(), n);
    // Digits, or a sign alone, up to the end: the number may go on past the cut.
    if (r.ptr == t_.data() + t_.size() || t_ == "-")
      ferma(r.ec == std::errc() || t_.empty() || t_ == "-");
    else if (r.ec != std::errc() || *r.ptr != fine)
      ferma(false);
    else
      t_.remove_prefix(static_cast<std::size_t>(r.ptr - t_.data()) + 1);
    return n;
  }
  // A name inside the directory only: a damaged journal never reaches elsewhere.
  std::string nome() {
    const auto n = numero<std::size_t>(':');
    if (!ok_) return {};
    if (n > t_.size()) {
      ferma(true);
      return {};
    }
    std::string s(t_.substr(0, n));
    t_.remove_prefix(n);
    if (n == 0 || nome_base(s) != s || s == "." || s == "..") ferma(false);
    return s;
  }
  // The text up to fine, which is consumed too.
  std::string_view fino_a(char fine) {
    const auto dove = ok_ ? t_.find(fine) : std::string_view::npos;
    if (dove == std::string_view::npos) {
      if (ok_) ferma(true);
      return {};
    }
    const std::string_view s = t_.substr(0, dove);
    t_.remove_prefix(dove + 1);
    return s;
  }
  bool ok() const { return ok_; }
  bool corto() const { return corto_; }
  bool finito() const { return t_.empty(); }

 private:
  bool ferma(bool corto) {
    ok_ = false;
    corto_ = corto;
    return false;
  }

  std::string_view t_;
  bool ok_ = true;
  bool corto_ = false;
};

// A pair: the new file, the two names, and what the name held.
coppia leggi_coppia(lettore& l) {
  coppia p;
  l.salta("c ");
  p.nuovo.dispositivo = l.numero<std::uint64_t>(' ');
  p.nuovo.nodo = l.numero<std::uint64_t>(' ');
  p.temporaneo = l.nome();
  l.salta(" ");
  p.bersaglio = l.nome();
  l.salta(" ");
  if (l.inizia("n")) {
    l.salta(libero);
    return p;
  }
  identita_file prima;
  prima.dispositivo = l.numero<std::uint64_t>(' ');
  prima.nodo = l.numero<std::uint64_t>(' ');
  prima.cambiato = l.numero<std::int64_t>('\n');
  p.prima = prima;
  return p;
}

// Whether a name is one of the temporaries of the run whose mark is given.
bool temporaneo_della_corsa(std::string_view nome, std::string_view segno) {
  return nome_temporaneo(nome) && nome.substr(prefisso_temporaneo.size(), segno.size()) == segno;
}

// Whether a pair names only what a commit of this program can name: a temporary of
// its run, and an output that is neither a temporary nor the journal.
bool coppia_ammessa(const coppia& p, std::string_view segno) {
  return temporaneo_della_corsa(p.temporaneo, segno) && !nome_temporaneo(p.bersaglio) &&
         p.bersaglio != nome_giornale;
}

// Whether the name, not followed, leads to the file identified.
bool contiene(const chiamate_sistema& c, const std::string& percorso, const identita_file& id) {
  const auto qui = contenuto(c, percorso);
  return qui && qui->stesso_file(id);
}

errore_file non_fidato(const std::string& giornale, const std::string& perche) {
  return {giornale, perche +
                        ": non e' un giornale lasciato da questo utente in questa cartella, e non "
                        "e' usato; controllalo, eliminalo e rilancia"};
}

errore_file cambiato(const std::string& file, const std::string& giornale) {
  return {file, "e' cambiato dopo che una corsa interrotta aveva cominciato a sostituirlo (" +
                    giornale +
                    "): nessun file e' stato toccato; per tenere i file come sono elimina il "
                    "giornale e i file .percorso- che nomina, e rilancia"};
}

// The text of the journal at percorso, read only when it is a regular file of this
// user no larger than a journal; nothing when there is none.
std::optional<errore_file> leggi_fidato(const chiamate_sistema& c, const std::string& percorso,
                                        std::optional<std::string>& testo) {
  identita_file id;
  if (c.identifica(percorso.c_str(), false, id) != 0)
    return errno == ENOENT ? std::nullopt : std::optional(errore_da(percorso, errno));
  using t = identita_file::tipo;
  if (id.genere != t::regolare)
    return non_fidato(percorso, id.genere == t::collegamento ? "e' un collegamento simbolico"
                                                             : motivo_non_regolare(id.genere));
  const std::string grande = "e' troppo grande per un giornale";
  if (id.dimensione > giornale_massimo) return non_fidato(percorso, grande);
  std::string motivo;
  const int fd = apri_proprio(percorso, id, motivo);
  if (fd < 0) return non_fidato(percorso, motivo.empty() ? motivo_di(errno) : motivo);
  std::string letto(giornale_massimo + 1, '\0');
  std::size_t n = 0;
  for (long r = 1; r != 0 && n < letto.size();) {
    r = c.leggi(fd, letto.data() + n, letto.size() - n);
    if (r < 0 && errno != EINTR) {
      const int codice = errno;
      chiudi(fd);
      return errore_da(percorso, codice);
    }
    n += static_cast<std::size_t>(std::max(r, 0L));
  }
  chiudi(fd);
  if (n > giornale_massimo) return non_fidato(percorso, grande);
  letto.resize(n);
  testo = std::move(letto);
  return std::nullopt;
}

// Does the pairs not yet done; every pair is looked at first, so that a file changed
// since the kill stops the whole of it before anything moves.
std::optional<errore_file> rifai(const chiamate_sistema& c, const std::string& cartella,
                                 const std::vector<coppia>& coppie, const std::string& giornale) {
  std::vector<const coppia*> da_fare;
  for (const coppia& p : coppie) {
    const std::string bersaglio = unisci(cartella, p.bersaglio);
    if (contiene(c, bersaglio, p.nuovo)) continue;
    const std::string temporaneo = unisci(cartella, p.temporaneo);
    if (!contiene(c, temporaneo, p.nuovo)) return cambiato(temporaneo, giornale);
    if (!come_prima(c, bersaglio, p.prima)) return cambiato(bersaglio, giornale);
    da_fare.push_back(&p);
  }
  for (const coppia* p : da_fare) {
    const std::string bersaglio = unisci(cartella, p->bersaglio);
    int codice = 0;
    if (!sposta(c, unisci(cartella, p->temporaneo), bersaglio, p->prima.has_value(), codice))
      return errore_da(bersaglio, codice);
  }
  return std::nullopt;
}

// A temporary the journal names: a file or a link, removed by its name alone.
void rimuovi_residuo(const chiamate_sistema& c, const std::string& percorso) {
  using t = identita_file::tipo;
  const auto qui = contenuto(c, percorso);
  if (qui && (qui->genere == t::regolare || qui->genere == t::collegamento)) rimuovi(percorso);
}

}  // namespace

std::string segno_nuovo() {
  return casuali(lunghezza_segno);
}

std::string nome_temporaneo_nuovo(std::string_view segno) {
  return std::string(prefisso_temporaneo) + std::string(segno) +
         casuali(lunghezza_temporaneo - prefisso_temporaneo.size() - segno.size());
}

std::string inizio_giornale(const identita_file& cartella, std::string_view segno) {
  return std::string(intestazione) + std::to_string(cartella.dispositivo) + " " +
         std::to_string(cartella.nodo) + " " + std::string(segno) + "\n";
}

std::string riga_temporaneo(std::string_view nome) {
  std::string s = "t ";
  aggiungi_nome(s, nome);
  return s.append("\n");
}

std::string fine_giornale(std::span<const coppia> coppie) {
  std::string s;
  for (const coppia& p : coppie) {
    s.append("c ").append(std::to_string(p.nuovo.dispositivo)).append(" ");
    s.append(std::to_string(p.nuovo.nodo)).append(" ");
    aggiungi_nome(s, p.temporaneo);
    s.append(" ");
    aggiungi_nome(s, p.bersaglio);
    if (!p.prima) {
      s.append(" ").append(libero);
      continue;
    }
    s.append(" ").append(std::to_string(p.prima->dispositivo)).append(" ");
    s.append(std::to_string(p.prima->nodo)).append(" ");
    s.append(std::to_string(p.prima->cambiato)).append("\n");
  }
  return s.append(chiusura);
}

std::optional<giornale> leggi_giornale(std::string_view testo, const identita_file& cartella) {
  lettore l(testo);
  giornale g;
  l.salta(intestazione);
  const auto dispositivo = l.numero<std::uint64_t>(' ');
  const auto nodo = l.numero<std::uint64_t>(' ');
  const std::string segno(l.fino_a('\n'));
  // Cut short in its first line: it names nothing yet.
  if (!l.ok()) return l.corto() ? std::optional(g) : std::nullopt;
  const bool di_una_corsa =
      segno.size() == lunghezza_segno && segno.find_first_not_of(cifre) == std::string::npos;
  if (dispositivo != cartella.dispositivo || nodo != cartella.nodo || !di_una_corsa)
    return std::nullopt;
  std::vector<coppia> coppie;
  while (l.ok() && !l.finito()) {
    if (l.inizia("t")) {
      l.salta("t ");
      std::string nome = l.nome();
      l.salta("\n");
      if (l.ok() && !temporaneo_della_corsa(nome, segno)) return std::nullopt;
      if (l.ok()) g.temporanei.push_back(std::move(nome));
    } else if (l.inizia("c")) {
      coppia p = leggi_coppia(l);
      if (l.ok() && !coppia_ammessa(p, segno)) return std::nullopt;
      if (!l.ok()) break;
      g.temporanei.push_back(p.temporaneo);
      coppie.push_back(std::move(p));
    } else if (l.salta(chiusura)) {
      if (!l.finito()) return std::nullopt;
      g.coppie = std::move(coppie);
    }
  }
  if (!l.ok() && !l.corto()) return std::nullopt;
  return g;
}

std::optional<identita_file> contenuto(const chiamate_sistema& c, const std::string& percorso) {
  identita_file id;
  if (c.identifica(percorso.c_str(), false, id) != 0) return std::nullopt;
  return id;
}

bool come_prima(const chiamate_sistema& c, const std::string& percorso,
                const std::optional<identita_file>& prima) {
  const auto ora = contenuto(c, percorso);
  return ora && prima ? ora->stesso_stato(*prima) : !ora && !prima;
}

std::optional<spostamento> sposta(const chiamate_sistema& c, const std::string& temporaneo,
                                  const std::string& bersaglio, bool occupato, int& codice) {
  // An exchange frees no blocks while the names change: the window a kill can fall
  // into stays as short as the system allows. A name found free is taken only free.
  if (occupato && c.scambia(temporaneo.c_str(), bersaglio.c_str()) == 0)
    return spostamento::scambiato;
  const bool senza_scambio = occupato && (errno == EINVAL || errno == ENOSYS);
  if (occupato && !senza_scambio && errno != ENOENT) {
    codice = errno;
    return std::nullopt;
  }
  const auto rinomina = senza_scambio ? c.rinomina : c.rinomina_esclusiva;
  if (rinomina(temporaneo.c_str(), bersaglio.c_str()) == 0) return spostamento::rinominato;
  codice = errno;
  return std::nullopt;
}

std::optional<errore_file> completa_giornale(const chiamate_sistema& c, const std::string& cartella,
                                             int fd, const identita_file& id) {
  const std::string percorso = unisci(cartella, std::string(nome_giornale));
  std::optional<std::string> testo;
  if (auto e = leggi_fidato(c, percorso, testo)) return e;
  if (!testo) return std::nullopt;
  const auto g = leggi_giornale(*testo, id);
  if (!g) return non_fidato(percorso, "il suo contenuto non e' quello di un giornale");
  if (g->coppie) {
    if (auto e = rifai(c, cartella, *g->coppie, percorso)) return e;
    c.sincronizza_cartella(fd);
  }
  for (const std::string& t : g->temporanei) rimuovi_residuo(c, unisci(cartella, t));
  rimuovi(percorso);
  return std::nullopt;
}

std::optional<errore_file> giornale_lasciato(const chiamate_sistema& c,
                                             const std::string& cartella) {
  const std::string percorso = unisci(cartella, std::string(nome_giornale));
  if (!contenuto(c, percorso)) return std::nullopt;
  return errore_file{percorso,
                     "una corsa interrotta ha lasciato a meta' la sostituzione dei file di "
                     "questa cartella, che possono essere in parte vecchi e in parte nuovi: la "
                     "prossima corsa che vi scrive la completa"};
}

bool nome_temporaneo(std::string_view nome) {
  return nome.size() == lunghezza_temporaneo && nome.starts_with(prefisso_temporaneo);
}

}  // namespace percorso
