#include "platform/insieme_uscita.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/file_system.h"
#include "platform/giornale.h"
#include "platform/operazioni_file.h"

namespace percorso {
namespace {

constexpr std::string_view modello_temporaneo = ".percorso-XXXXXX";

// A directory as the system takes it.
std::string apribile(std::string cartella) {
  return cartella.empty() ? std::string(".") : cartella;
}

// A short name beside the target: target name plus suffix could pass the name limit.
std::string nome_temporaneo_di(const std::string& percorso) {
  return unisci(cartella_di(percorso), std::string(modello_temporaneo));
}

// One locked directory, known by its identity: two spellings of it are one lock.
struct cartella {
  std::string nome;
  int fd = -1;
  identita_file id;
  bool usata = false;  // a file of the set takes its name in it
};

// A file of the set: a temporary beside its name, or a device or FIFO written
// directly, whose bytes wait in memory until the commit.
struct membro {
  std::string percorso;
  std::string temporaneo;
  std::size_t cartella = 0;
  int fd = -1;
  bool diretto = false;
  std::vector<std::uint8_t> byte;  // a direct file's content
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
  insieme_disco(chiamate_sistema c, std::vector<std::string> cartelle, avviso_turno avviso)
      : c_(std::move(c)), dichiarate_(std::move(cartelle)), avviso_(std::move(avviso)) {}

  ~insieme_disco() override {
    rimuovi_temporanei();
    for (const cartella& d : cartelle_) chiudi(d.fd);
  }

  std::optional<errore_file> apri(const std::string& percorso) override {
    if (guasto_) return guasto_;
    prendi_turno();
    avvia_scrittura_corrente();
    identita_file id;
    // What is there already decides: a regular file or nothing is replaced whole,
    // a character device or a FIFO is written to, anything else is left alone.
    if (c_.identifica(percorso.c_str(), true, id) == 0 &&
        id.genere != identita_file::tipo::regolare)
      return apri_speciale(percorso, id.genere);
    const auto indice = cartella_bloccata_di(percorso);
    if (!indice) return fallisci(errore_file{percorso, motivo_cartella_});
    membro m;
    m.percorso = percorso;
    m.temporaneo = nome_temporaneo_di(percorso);
    m.cartella = *indice;
    m.fd = crea_temporaneo(m.temporaneo);
    if (m.fd < 0) return fallisci(errore_da(percorso, errno));
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
      m.spostato = sposta(c_, m.temporaneo, m.percorso, codice);
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
      for (membro& m : membri_) chiudi_membro(m);
      membri_.clear();
      guasto_ = errore;
      return errore;
    }
    rimuovi_giornali();
    if (errore) return fallisci(std::move(*errore));
    // The earlier files, exchanged out of their names, go last.
    rimuovi_temporanei();
    return std::nullopt;
  }

  std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                std::span<const std::uint8_t> dati) override {
    if (guasto_) return guasto_;
    prendi_turno();
    if (!cartella_bloccata_di(percorso)) return errore_file{percorso, motivo_cartella_};
    std::string nome = nome_temporaneo_di(percorso);
    const int fd = crea_temporaneo(nome);
    if (fd < 0) return errore_da(percorso, errno);
    auto errore = scrivi_tutto(c_, fd, dati);
    if (chiudi(fd) != 0 && !errore) errore = errno;
    if (!errore && c_.rinomina(nome.c_str(), percorso.c_str()) != 0) errore = errno;
    if (!errore) return std::nullopt;
    rimuovi(nome);
    return errore_da(percorso, *errore);
  }

 private:
  std::optional<errore_file> apri_speciale(const std::string& percorso, identita_file::tipo g) {
    using t = identita_file::tipo;
    if (g != t::caratteri && g != t::fifo)
      return fallisci(errore_file{percorso, motivo_non_regolare(g)});
    std::string motivo;
    const int fd = apri_diretto(percorso, g, motivo);
    if (fd < 0) return fallisci(errore_file{percorso, motivo.empty() ? motivo_di(errno) : motivo});
    membro m;
    m.percorso = percorso;
    m.fd = fd;
    m.diretto = true;
    membri_.push_back(std::move(m));
    return std::nullopt;
  }

  // Everything that can still refuse the whole set: every file on the disk, every
  // name still free for it, the direct files written.
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
    for (const membro& m : membri_) {
      identita_file id;
      if (!m.diretto && c_.identifica(m.percorso.c_str(), true, id) == 0 &&
          id.genere != identita_file::tipo::regolare)
        return errore_file{m.percorso, motivo_non_regolare(id.genere)};
    }
    // A target another program holds open stops the set before anything is replaced.
    for (const membro& m : membri_) {
      if (m.diretto) continue;
      if (const auto codice = bersaglio_libero(m.percorso)) return errore_da(m.percorso, *codice);
    }
    for (const membro& m : membri_) {
      if (!m.diretto) continue;
      if (auto e = scrivi_diretto(c_, m)) return errore_da(m.percorso, *e);
    }
    return std::nullopt;
  }

  // The journal of the pairs going into d, on the disk with its name.
  std::optional<errore_file> scrivi_giornale(const cartella& d) {
    std::vector<coppia> coppie;
    for (std::size_t i = 0; i < membri_.size(); ++i) {
      const membro& m = membri_[i];
      if (m.diretto || &cartelle_[m.cartella] != &d) continue;
      coppie.push_back(
          {std::string(nome_base(m.temporaneo)), std::string(nome_base(m.percorso)), m.nuovo});
    }
    const std::string testo = testo_giornale(coppie);
    const std::string nome = unisci(d.nome, std::string(nome_giornale));
    const int fd = crea_file(nome);
    if (fd < 0) return errore_da(nome, errno);
    auto errore =
        scrivi_tutto(c_, fd, {reinterpret_cast<const std::uint8_t*>(testo.data()), testo.size()});
    if (!errore && c_.sincronizza(fd) != 0) errore = errno;
    if (chiudi(fd) != 0 && !errore) errore = errno;
    if (!errore && c_.sincronizza_cartella(d.fd) != 0) errore = errno;
    if (!errore) return std::nullopt;
    rimuovi(nome);
    return errore_da(nome, *errore);
  }

  // Opens and locks every declared directory, in the order of their identities,
  // completes the commit a killed run left there and clears its debris. A directory
  // that cannot be opened is left out: a file put into it fails with the system's
  // reason.
  void prendi_turno() {
    if (turno_preso_) return;
    turno_preso_ = true;
    for (const std::string& nome : dichiarate_) {
      cartella d;
      d.nome = apribile(nome);
      if (c_.identifica(d.nome.c_str(), true, d.id) != 0 || gia_tenuta(d.id)) continue;
      cartelle_.push_back(d);
    }
    std::sort(cartelle_.begin(), cartelle_.end(), [](const cartella& a, const cartella& b) {
      return std::pair(a.id.dispositivo, a.id.nodo) < std::pair(b.id.dispositivo, b.id.nodo);
    });
    for (cartella& d : cartelle_) {
      if (!blocca_cartella(d)) continue;
      completa_giornale(c_, d.nome, d.fd);
      rimuovi_residui(c_, d.nome);
    }
    std::erase_if(cartelle_, [](const cartella& d) { return d.fd < 0; });
  }

  // Opens d and takes its lock, waiting while another run holds it and saying so after
  // a second; false, with the system's reason kept, when it cannot be had.
  bool blocca_cartella(cartella& d) {
    const attesa_turno attesa(avviso_, d.nome);
    // Opened in this order too: where opening is what waits, as for a lock file,
    // two runs still take their turns in one order.
    d.fd = apri_turno(d.nome);
    if (d.fd < 0) {
      motivo_blocco_ = motivo_di(errno);
      return false;
    }
    int esito = 0;
    do {
      esito = c_.blocca(d.fd);
    } while (esito != 0 && errno == EINTR);
    if (esito == 0) return true;
    // Without the lock the directory is not ours to write into.
    motivo_blocco_ = motivo_di(errno);
    chiudi(std::exchange(d.fd, -1));
    return false;
  }

  bool gia_tenuta(const identita_file& id) const {
    return std::any_of(cartelle_.begin(), cartelle_.end(),
                       [&](const cartella& d) { return d.id.stesso_file(id); });
  }

  // The locked directory a file goes into; nothing (motivo_cartella_ set) when its
  // directory cannot be opened or was not locked.
  std::optional<std::size_t> cartella_bloccata_di(const std::string& percorso) {
    const std::string nome = apribile(cartella_di(percorso));
    identita_file id;
    if (c_.identifica(nome.c_str(), true, id) != 0) {
      motivo_cartella_ = motivo_di(errno);
      return std::nullopt;
    }
    if (id.genere != identita_file::tipo::cartella) {
      motivo_cartella_ = motivo_di(ENOTDIR);
      return std::nullopt;
    }
    for (std::size_t i = 0; i < cartelle_.size(); ++i) {
      if (cartelle_[i].id.stesso_file(id)) return i;
    }
    motivo_cartella_ = motivo_blocco_.empty() ? motivo_di(ENOLCK) : motivo_blocco_;
    return std::nullopt;
  }

  // The file being written is complete: its write-back starts now, while the next
  // ones are written, so the flushes of conferma find little left to do.
  void avvia_scrittura_corrente() {
    if (membri_.empty() || membri_.back().fd < 0 || membri_.back().diretto) return;
    avvia_scrittura(membri_.back().fd);
  }

  std::optional<errore_file> fallisci(errore_file e) {
    rimuovi_temporanei();
    guasto_ = std::move(e);
    return guasto_;
  }

  void rimuovi_giornali() {
    for (const cartella& d : cartelle_) {
      if (d.usata) rimuovi(unisci(d.nome, std::string(nome_giornale)));
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
  std::vector<std::string> dichiarate_;
  bool turno_preso_ = false;
  std::vector<cartella> cartelle_;
  std::vector<membro> membri_;
  std::optional<errore_file> guasto_;
  avviso_turno avviso_;
  std::string motivo_cartella_;
  std::string motivo_blocco_;  // why a declared directory could not be locked
};

}  // namespace

std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 std::vector<std::string> cartelle,
                                                 avviso_turno avviso) {
  return std::make_unique<insieme_disco>(std::move(chiamate), std::move(cartelle),
                                         std::move(avviso));
}

}  // namespace percorso
