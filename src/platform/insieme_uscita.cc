#include "platform/insieme_uscita.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/destinazione.h"
#include "platform/file_system.h"
#include "platform/giornale.h"
#include "platform/operazioni_file.h"

namespace percorso {
namespace {

// How long a directory not declared for writing is waited for while another run
// holds it: that run may be waiting for one of this run's directories.
constexpr auto attesa_cartella_tarda = std::chrono::seconds(2);

// A directory as the system takes it.
std::string apribile(std::string cartella) {
  return cartella.empty() ? std::string(".") : cartella;
}

std::span<const std::uint8_t> byte_di(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// One directory of the run, known by its identity: two spellings of it are one lock.
struct cartella {
  std::string nome;
  identita_file id;
  int fd = -1;           // locked while open
  bool scritta = false;  // files of the run go into it; otherwise it is only read
  int giornale = -1;     // this run's journal there, from its first temporary
  std::string segno;     // the mark of the run's temporaries there
  bool usata = false;    // a file of the set takes its name in it
};

// A file of the set: a temporary beside its target, or a device or FIFO written
// directly, whose bytes wait in memory until the commit.
struct membro {
  std::string percorso;   // as the run names it
  std::string bersaglio;  // the name replaced, or the node written to
  std::string temporaneo;
  std::size_t cartella = 0;
  int fd = -1;
  bool diretto = false;
  identita_file::tipo genere = identita_file::tipo::regolare;
  std::vector<std::uint8_t> byte;      // a direct file's content
  std::optional<identita_file> prima;  // what the target held when the file was begun
  identita_file nuovo;
  std::optional<spostamento> spostato;
};

// Writes every byte; the system's reason when it cannot.
std::optional<int> scrivi_tutto(const chiamate_sistema& c, int fd,
                                std::span<const std::uint8_t> dati) {
  std::size_t scritti = 0;
  while (scritti < dati.size()) {
    const long n = c.scrivi(fd, dati.data() + scritti, dati.size() - scritti);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    // No progress at all would loop for ever; the system reports it as a full disk.
    if (n == 0) return ENOSPC;
    scritti += static_cast<std::size_t>(n);
  }
  return std::nullopt;
}

// A FIFO whose reader has gone must fail the write, not end the process.
std::optional<int> scrivi_diretto(const chiamate_sistema& c, const membro& m) {
  return senza_sigpipe([&] { return scrivi_tutto(c, m.fd, m.byte); });
}

class insieme_disco final : public insieme_uscita {
 public:
  insieme_disco(chiamate_sistema c, cartelle_corsa cartelle, avviso_turno avviso)
      : c_(std::move(c)), dichiarate_(std::move(cartelle)), avviso_(std::move(avviso)) {}

  ~insieme_disco() override {
    rimuovi_temporanei();
    rimuovi_giornali();
    for (const cartella& d : cartelle_) {
      if (d.fd >= 0) chiudi(d.fd);
    }
  }

  std::optional<errore_file> prendi_turno() override {
    if (turno_preso_) return guasto_;
    turno_preso_ = true;
    dichiara(dichiarate_.scritte, true);
    dichiara(dichiarate_.lette, false);
    std::sort(cartelle_.begin(), cartelle_.end(), [](const cartella& a, const cartella& b) {
      return std::pair(a.id.dispositivo, a.id.nodo) < std::pair(b.id.dispositivo, b.id.nodo);
    });
    for (cartella& d : cartelle_) {
      // Opened in this order too: where opening is what waits, as for a lock file,
      // two runs still take their turns in one order.
      if (!blocca(d, d.scritta ? modo_turno::scrittura : modo_turno::lettura)) {
        errno_blocco_ = errno;
        continue;
      }
      if (auto e = dopo_il_turno(d)) return fallisci(std::move(*e));
    }
    return std::nullopt;
  }

  std::vector<errore_file> giornali_lasciati() const override { return lasciati_; }

  void ingresso(const std::string& percorso) override { ingressi_.push_back(percorso); }

  std::optional<errore_file> apri(const std::string& percorso) override {
    if (auto e = prendi_turno()) return e;
    if (guasto_) return guasto_;
    avvia_scrittura_corrente();
    const destinazione d = destinazione_di(c_, percorso);
    if (d.come == destinazione::modo::rifiutato) return fallisci(errore_file{percorso, d.motivo});
    membro m;
    m.percorso = percorso;
    m.bersaglio = d.percorso;
    m.genere = d.genere;
    m.diretto = d.come == destinazione::modo::diretto;
    if (!m.diretto) {
      if (auto e = cartella_scritta(m)) return fallisci(std::move(*e));
      m.prima = contenuto(c_, m.bersaglio);
    }
    if (auto e = gia_in_uso(m)) return fallisci(std::move(*e));
    if (auto e = m.diretto ? apri_diretto_di(m) : crea_temporaneo(m))
      return fallisci(std::move(*e));
    membri_.push_back(std::move(m));
    return std::nullopt;
  }

  std::optional<errore_file> scrivi(std::span<const std::uint8_t> pezzo) override {
    if (guasto_) return guasto_;
    membro& m = membri_.back();
    if (m.diretto) {
      m.byte.insert(m.byte.end(), pezzo.begin(), pezzo.end());
      return std::nullopt;
    }
    if (auto e = scrivi_tutto(c_, m.fd, pezzo)) return fallisci(errore_da(m.percorso, *e));
    return std::nullopt;
  }

  std::optional<errore_file> conferma() override {
    if (auto e = prendi_turno()) return e;
    if (guasto_) return guasto_;
    if (auto e = prepara_conferma()) return fallisci(std::move(*e));
    // The journals first: from the first name taken, a run killed here is finished
    // by the next run into the directory.
    for (cartella& d : cartelle_) {
      if (!d.usata) continue;
      if (auto e = scrivi_giornale(d)) return fallisci(std::move(*e));
    }
    std::optional<errore_file> errore;
    for (membro& m : membri_) {
      if (m.diretto) continue;
      int codice = 0;
      m.spostato = sposta(c_, m.temporaneo, m.bersaglio, m.prima.has_value(), codice);
      if (!m.spostato) {
        errore = errore_da(m.percorso, codice);
        break;
      }
    }
    // Makes the new names durable; a failure here changes nothing on disk.
    for (const cartella& d : cartelle_) {
      if (d.usata) c_.sincronizza_cartella(d.fd);
    }
    const bool iniziata = std::any_of(membri_.begin(), membri_.end(),
                                      [](const membro& m) { return m.spostato.has_value(); });
    if (errore && iniziata) {
      // The journals and the temporaries stay: the next run completes the set.
      giornali_tenuti_ = true;
      for (membro& m : membri_) chiudi_membro(m);
      membri_.clear();
      rimuovi_giornali();
      guasto_ = errore;
      return errore;
    }
    if (errore) return fallisci(std::move(*errore));
    // The earlier files, exchanged out of their names, go last, and the journals that
    // name them after them.
    rimuovi_temporanei();
    rimuovi_giornali();
    return std::nullopt;
  }

  std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                std::span<const std::uint8_t> dati) override {
    if (auto e = prendi_turno()) return e;
    if (guasto_) return guasto_;
    membro t;
    t.percorso = t.bersaglio = percorso;
    if (auto e = cartella_scritta(t)) return e;
    if (auto e = crea_temporaneo(t)) return e;
    auto errore = scrivi_tutto(c_, t.fd, dati);
    if (chiudi(t.fd) != 0 && !errore) errore = errno;
    if (!errore && c_.rinomina(t.temporaneo.c_str(), percorso.c_str()) != 0) errore = errno;
    if (!errore) return std::nullopt;
    rimuovi(t.temporaneo);
    return errore_da(percorso, *errore);
  }

 private:
  // The declared directories that exist, each once, written into if any declaration
  // says so.
  void dichiara(const std::vector<std::string>& nomi, bool scritta) {
    for (const std::string& nome : nomi) {
      cartella d;
      d.nome = apribile(nome);
      d.scritta = scritta;
      if (c_.identifica(d.nome.c_str(), true, d.id) != 0) continue;
      if (const auto i = indice(d.id))
        cartelle_[*i].scritta = cartelle_[*i].scritta || scritta;
      else
        cartelle_.push_back(d);
    }
  }

  std::optional<std::size_t> indice(const identita_file& id) const {
    for (std::size_t i = 0; i < cartelle_.size(); ++i) {
      if (cartelle_[i].id.stesso_file(id)) return i;
    }
    return std::nullopt;
  }

  // Opens and locks d in the mode given; false, with errno, when it cannot.
  bool blocca(cartella& d, modo_turno modo) {
    // Another run's turn is waited for; after a second the user is told whose folder.
    const attesa_turno attesa(avviso_, d.nome);
    d.fd = apri_turno(d.nome, modo);
    if (d.fd < 0) return false;
    int esito = 0;
    do {
      esito = c_.blocca(d.fd, modo);
    } while (esito != 0 && errno == EINTR);
    if (esito == 0) return true;
    const int codice = errno;
    chiudi(std::exchange(d.fd, -1));
    errno = codice;
    return false;
  }

  // What killed runs left in d, now locked: completed where the run writes, reported
  // where it only reads.
  std::optional<errore_file> dopo_il_turno(cartella& d) {
    if (d.scritta) return completa_giornale(c_, d.nome, d.fd, d.id);
    if (auto g = giornale_lasciato(c_, d.nome)) lasciati_.push_back(std::move(*g));
    return std::nullopt;
  }

  // The directory the member's target lies in, locked for writing: a directory not
  // declared, where an output's link leads, or one declared only to be read, is taken
  // now if it is free within a short wait.
  std::optional<errore_file> cartella_scritta(membro& m) {
    cartella d;
    d.nome = apribile(cartella_di(m.bersaglio));
    d.scritta = true;
    if (c_.identifica(d.nome.c_str(), true, d.id) != 0) return errore_da(m.percorso, errno);
    if (d.id.genere != identita_file::tipo::cartella) return errore_da(m.percorso, ENOTDIR);
    const auto i = indice(d.id);
    if (i && cartelle_[*i].scritta) {
      m.cartella = *i;
      if (cartelle_[*i].fd >= 0) return std::nullopt;
      // Declared, but its lock could not be taken: the directory is not the run's.
      return errore_da(m.percorso, errno_blocco_ != 0 ? errno_blocco_ : ENOLCK);
    }
    // A directory only read gives up its shared turn to take it alone.
    if (i && cartelle_[*i].fd >= 0) chiudi(std::exchange(cartelle_[*i].fd, -1));
    if (!blocca_presto(d)) {
      if (errno == EWOULDBLOCK)
        return errore_file{m.percorso, "la sua cartella e' occupata da un'altra corsa: riprova"};
      return errore_da(m.percorso, errno);
    }
    m.cartella = i.value_or(cartelle_.size());
    if (i)
      cartelle_[*i] = d;
    else
      cartelle_.push_back(d);
    return dopo_il_turno(cartelle_[m.cartella]);
  }

  // Takes d alone, retrying for a short while another run holds it.
  bool blocca_presto(cartella& d) {
    const auto fine = std::chrono::steady_clock::now() + attesa_cartella_tarda;
    while (!blocca(d, modo_turno::scrittura_se_libero)) {
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > fine) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  // Why the member cannot be a file of the set: it is a file the run reads, or
  // another file of the set.
  std::optional<errore_file> gia_in_uso(const membro& m) const {
    identita_file id;
    if (c_.identifica(m.bersaglio.c_str(), true, id) == 0) {
      for (const std::string& ingresso : ingressi_) {
        identita_file letto;
        if (c_.identifica(ingresso.c_str(), true, letto) == 0 && letto.stesso_file(id))
          return uscita_letta(m.percorso, ingresso);
      }
    }
    for (const membro& altro : membri_) {
      const bool stesso_nome = !m.diretto && !altro.diretto && altro.cartella == m.cartella &&
                               nome_base(altro.bersaglio) == nome_base(m.bersaglio);
      const bool stesso_file = altro.prima && m.prima && altro.prima->stesso_file(*m.prima);
      if (stesso_nome || stesso_file)
        return errore_file{m.percorso,
                           "e' lo stesso file di " + altro.percorso + ", che questa corsa scrive"};
    }
    return std::nullopt;
  }

  // The journal of d, made with its first line at the first temporary there; the
  // errno value when it cannot be.
  std::optional<int> apri_giornale(cartella& d) {
    if (d.giornale >= 0) return std::nullopt;
    const std::string nome = unisci(d.nome, std::string(nome_giornale));
    d.giornale = crea_esclusivo(nome);
    if (d.giornale < 0) return errno;
    d.segno = segno_nuovo();
    const auto codice = scrivi_tutto(c_, d.giornale, byte_di(inizio_giornale(d.id, d.segno)));
    if (!codice) return std::nullopt;
    chiudi(std::exchange(d.giornale, -1));
    rimuovi(nome);
    return codice;
  }

  // The member's temporary, named in its directory's journal before it is made, so
  // that a run killed at any moment leaves nothing the journal does not name. What
  // fails is told at the member, the journal being the run's own: only a name the
  // journal cannot take is told as the journal's.
  std::optional<errore_file> crea_temporaneo(membro& m) {
    cartella& d = cartelle_[m.cartella];
    if (const auto codice = apri_giornale(d)) {
      if (*codice == EEXIST) return errore_da(unisci(d.nome, std::string(nome_giornale)), EEXIST);
      return errore_da(m.percorso, *codice);
    }
    for (;;) {
      // A short name beside the target, whatever the target's length.
      m.temporaneo = unisci(cartella_di(m.bersaglio), nome_temporaneo_nuovo(d.segno));
      const std::string riga = riga_temporaneo(nome_base(m.temporaneo));
      if (const auto codice = scrivi_tutto(c_, d.giornale, byte_di(riga)))
        return errore_da(m.percorso, *codice);
      m.fd = crea_esclusivo(m.temporaneo);
      if (m.fd >= 0) return std::nullopt;
      if (errno != EEXIST) return errore_da(m.percorso, errno);
    }
  }

  std::optional<errore_file> apri_diretto_di(membro& m) const {
    std::string motivo;
    m.fd = apri_diretto(m.bersaglio, m.genere, motivo);
    if (m.fd >= 0) return std::nullopt;
    return errore_file{m.percorso, motivo.empty() ? motivo_di(errno) : motivo};
  }

  // Everything that can still refuse the whole set: every file on the disk, every
  // target still as it was when its file was begun, the direct files written.
  std::optional<errore_file> prepara_conferma() {
    avvia_scrittura_corrente();
    // The data must be on the disk before a name points at it, or a crash could leave
    // an empty file where the earlier one was.
    for (membro& m : membri_) {
      if (m.diretto) continue;
      if (c_.sincronizza(m.fd) != 0) return errore_da(m.percorso, errno);
      if (chiudi(std::exchange(m.fd, -1)) != 0) return errore_da(m.percorso, errno);
      if (c_.identifica(m.temporaneo.c_str(), false, m.nuovo) != 0)
        return errore_da(m.percorso, errno);
      cartelle_[m.cartella].usata = true;
    }
    // A file another program saved under a target meanwhile is not replaced.
    for (const membro& m : membri_) {
      if (!m.diretto && !come_prima(c_, m.bersaglio, m.prima))
        return errore_file{m.percorso,
                           "e' cambiato durante la corsa (un altro programma lo ha scritto): non "
                           "e' stato sostituito"};
    }
    // A target another program holds open stops the set before anything is replaced.
    for (const membro& m : membri_) {
      if (m.diretto) continue;
      if (const auto codice = bersaglio_libero(m.bersaglio)) return errore_da(m.percorso, *codice);
    }
    for (const membro& m : membri_) {
      if (!m.diretto) continue;
      if (auto e = scrivi_diretto(c_, m)) return errore_da(m.percorso, *e);
    }
    return std::nullopt;
  }

  // The pairs going into d added to its journal, on the disk with its name.
  std::optional<errore_file> scrivi_giornale(const cartella& d) {
    std::vector<coppia> coppie;
    for (const membro& m : membri_) {
      if (m.diretto || &cartelle_[m.cartella] != &d) continue;
      coppie.push_back({std::string(nome_base(m.temporaneo)), std::string(nome_base(m.bersaglio)),
                        m.nuovo, m.prima});
    }
    auto errore = scrivi_tutto(c_, d.giornale, byte_di(fine_giornale(coppie)));
    if (!errore && c_.sincronizza(d.giornale) != 0) errore = errno;
    if (!errore && c_.sincronizza_cartella(d.fd) != 0) errore = errno;
    if (!errore) return std::nullopt;
    return errore_da(unisci(d.nome, std::string(nome_giornale)), *errore);
  }

  // The file being written is complete: its write-back starts now, while the next
  // ones are written, so the flushes of conferma find little left to do.
  void avvia_scrittura_corrente() {
    if (membri_.empty() || membri_.back().fd < 0 || membri_.back().diretto) return;
    avvia_scrittura(membri_.back().fd);
  }

  std::optional<errore_file> fallisci(errore_file e) {
    rimuovi_temporanei();
    rimuovi_giornali();
    guasto_ = std::move(e);
    return guasto_;
  }

  // Closes this run's journals; removes them unless a set left mixed needs them.
  void rimuovi_giornali() {
    for (cartella& d : cartelle_) {
      if (d.giornale < 0) continue;
      chiudi(std::exchange(d.giornale, -1));
      if (!giornali_tenuti_) rimuovi(unisci(d.nome, std::string(nome_giornale)));
    }
  }

  static void chiudi_membro(membro& m) {
    if (m.fd >= 0) chiudi(std::exchange(m.fd, -1));
  }

  // Removes the new files not committed, and the earlier ones exchanged out.
  void rimuovi_temporanei() {
    for (membro& m : membri_) {
      chiudi_membro(m);
      if (!m.diretto && m.spostato != spostamento::rinominato) rimuovi(m.temporaneo);
    }
    membri_.clear();
  }

  chiamate_sistema c_;
  cartelle_corsa dichiarate_;
  bool turno_preso_ = false;
  std::vector<cartella> cartelle_;
  std::vector<membro> membri_;
  std::vector<std::string> ingressi_;
  std::vector<errore_file> lasciati_;
  std::optional<errore_file> guasto_;
  bool giornali_tenuti_ = false;
  int errno_blocco_ = 0;
  avviso_turno avviso_;
};

}  // namespace

std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 cartelle_corsa cartelle,
                                                 avviso_turno avviso) {
  return std::make_unique<insieme_disco>(std::move(chiamate), std::move(cartelle),
                                         std::move(avviso));
}

errore_file uscita_letta(const std::string& uscita, const std::string& ingresso) {
  return {uscita, "e' lo stesso file di " + ingresso + ", che questa corsa legge"};
}

}  // namespace percorso
