// Fault injection for the file layer, as storage engines test theirs: a wrapper
// that fails the n-th operation of a kind, and system calls for the real disk
// that fail the n-th call or fill the disk after a number of bytes.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/cartella_temporanea.h"

namespace percorso::prova {

enum class operazione { lettura, scrittura, eliminazione, creazione, elencazione };

// Passes every call to the file system below, except the chosen one, which fails
// with the given system reason and touches nothing. A write is a file of an output
// set (or a transient one) begun.
class file_system_guasto final : public file_system {
 public:
  explicit file_system_guasto(file_system& sotto) : sotto_(sotto) {}

  // The n-th (from 1) operation of this kind fails with errno code.
  void guasta(operazione op, int n, int codice = EIO) {
    guasto_ = op;
    numero_ = n;
    codice_ = codice;
  }
  int conta(operazione op) const { return conteggi_[static_cast<int>(op)]; }
  // The system keeps the file's name in another case, as Windows may.
  void registra_nome(const std::string& percorso, std::string nome) {
    registrati_[percorso] = std::move(nome);
  }

  bool esiste(const std::string& percorso) override { return sotto_.esiste(percorso); }
  std::optional<identita_file> identita(const std::string& percorso) override {
    return sotto_.identita(percorso);
  }
  lettura leggi(const std::string& percorso) override {
    if (fallisce(operazione::lettura)) return {{}, errore(percorso)};
    return sotto_.leggi(percorso);
  }
  std::unique_ptr<insieme_uscita> insieme(cartelle_corsa cartelle) override {
    return std::make_unique<insieme_guasto>(*this, sotto_.insieme(std::move(cartelle)));
  }
  std::optional<errore_file> elimina(const std::string& percorso) override {
    if (fallisce(operazione::eliminazione)) return errore(percorso);
    return sotto_.elimina(percorso);
  }
  std::optional<errore_file> elimina_cartella_vuota(const std::string& percorso) override {
    return sotto_.elimina_cartella_vuota(percorso);
  }
  std::optional<errore_file> crea_cartella(const std::string& percorso) override {
    if (fallisce(operazione::creazione)) return errore(percorso);
    return sotto_.crea_cartella(percorso);
  }
  std::optional<errore_file> prova_scrittura(const std::string& percorso) override {
    return sotto_.prova_scrittura(percorso);
  }
  // A listing that fails is an empty one, as the real disk's.
  std::vector<std::string> elenca(const std::string& cartella) override {
    if (fallisce(operazione::elencazione)) return {};
    return sotto_.elenca(cartella);
  }
  std::optional<std::int64_t> versione_cartella(const std::string& cartella) override {
    return sotto_.versione_cartella(cartella);
  }
  std::string nome_registrato(const std::string& percorso) override {
    const auto r = registrati_.find(percorso);
    return r != registrati_.end() ? r->second : sotto_.nome_registrato(percorso);
  }

 private:
  class insieme_guasto final : public insieme_uscita {
   public:
    insieme_guasto(file_system_guasto& fs, std::unique_ptr<insieme_uscita> sotto)
        : fs_(fs), sotto_(std::move(sotto)) {}
    std::optional<errore_file> prendi_turno() override { return sotto_->prendi_turno(); }
    std::vector<errore_file> giornali_lasciati() const override {
      return sotto_->giornali_lasciati();
    }
    void ingresso(const std::string& percorso) override { sotto_->ingresso(percorso); }
    std::optional<errore_file> apri(const std::string& percorso) override {
      if (fs_.fallisce(operazione::scrittura)) return fs_.errore(percorso);
      return sotto_->apri(percorso);
    }
    std::optional<errore_file> scrivi(std::span<const std::uint8_t> pezzo) override {
      return sotto_->scrivi(pezzo);
    }
    std::optional<errore_file> conferma() override { return sotto_->conferma(); }
    std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                  std::span<const std::uint8_t> dati) override {
      if (fs_.fallisce(operazione::scrittura)) return fs_.errore(percorso);
      return sotto_->scrivi_transitorio(percorso, dati);
    }

   private:
    file_system_guasto& fs_;
    std::unique_ptr<insieme_uscita> sotto_;
  };

  bool fallisce(operazione op) {
    const int n = ++conteggi_[static_cast<int>(op)];
    return guasto_ == op && n == numero_;
  }
  errore_file errore(const std::string& percorso) const { return errore_da(percorso, codice_); }

  file_system& sotto_;
  std::optional<operazione> guasto_;
  int numero_ = 0;
  int codice_ = EIO;
  int conteggi_[5] = {};
  std::map<std::string, std::string> registrati_;
};

// System calls of the real disk with faults. The object must outlive the file
// system built on its calls.
class disco_guasto {
 public:
  int scrittura_fallita = 0;         // the n-th write fails with codice
  int lettura_fallita = 0;           // the n-th read fails with codice
  int sincronizzazione_fallita = 0;  // the n-th fsync fails with codice
  int rinomina_fallita = 0;          // the n-th rename fails with codice
  int blocco_fallito = 0;            // the n-th directory lock fails with codice
  int scambio_fallito = 0;           // the n-th exchange of two names fails with codice
  // The n-th exchange ends the process, as a kill between two exchanges would.
  int scambio_ucciso = 0;
  // The n-th write ends the process, as a kill while the files are written would.
  int scrittura_uccisa = 0;
  bool scambio_assente = false;  // the file system cannot exchange: EINVAL, as tmpfs once did
  int codice = EIO;
  // Bytes the disk still takes: a write that passes it is cut short, the next one
  // fails with ENOSPC.
  std::size_t spazio = std::numeric_limits<std::size_t>::max();
  // Whether a write may report 0 bytes written without an error.
  bool scrittura_nulla = false;

  // Writes and the bytes they took, journals' too: where the n-th write or the
  // disk's end falls is measured, not counted by hand.
  int scritture() const { return scritture_; }
  std::size_t byte_scritti() const { return byte_scritti_; }
  // Flushes of files and journals, and of directories.
  int sincronizzazioni() const { return sincronizzazioni_; }
  int sincronizzazioni_cartelle() const { return sincronizzazioni_cartelle_; }

  chiamate_sistema chiamate() {
    const chiamate_sistema reali = chiamate_reali();
    chiamate_sistema c = reali;
    c.scrivi = [this, reali](int fd, const void* dati, std::size_t n) -> long {
      if (++scritture_ == scrittura_uccisa) ::_exit(9);
      if (scritture_ == scrittura_fallita) return fallisci(codice);
      if (scrittura_nulla) return 0;
      if (spazio == 0) return fallisci(ENOSPC);
      const long scritti = reali.scrivi(fd, dati, std::min(n, spazio));
      if (scritti > 0) spazio -= static_cast<std::size_t>(scritti);
      if (scritti > 0) byte_scritti_ += static_cast<std::size_t>(scritti);
      return scritti;
    };
    c.leggi = [this, reali](int fd, void* dati, std::size_t n) -> long {
      if (++letture_ == lettura_fallita) return fallisci(codice);
      return reali.leggi(fd, dati, n);
    };
    c.sincronizza = [this, reali](int fd) -> int {
      if (++sincronizzazioni_ == sincronizzazione_fallita)
        return static_cast<int>(fallisci(codice));
      return reali.sincronizza(fd);
    };
    c.rinomina = [this, reali](const char* da, const char* a) -> int {
      if (++rinomine_ == rinomina_fallita) return static_cast<int>(fallisci(codice));
      return reali.rinomina(da, a);
    };
    c.blocca = [this, reali](int fd, modo_turno modo) -> int {
      if (++blocchi_ == blocco_fallito) return static_cast<int>(fallisci(codice));
      return reali.blocca(fd, modo);
    };
    c.scambia = [this, reali](const char* a, const char* b) -> int {
      if (scambio_assente) return static_cast<int>(fallisci(EINVAL));
      if (++scambi_ == scambio_ucciso) ::_exit(9);
      if (scambi_ == scambio_fallito) return static_cast<int>(fallisci(codice));
      return reali.scambia(a, b);
    };
    c.sincronizza_cartella = [this, reali](int fd) -> int {
      ++sincronizzazioni_cartelle_;
      return reali.sincronizza_cartella(fd);
    };
    return c;
  }

 private:
  static long fallisci(int e) {
    errno = e;
    return -1;
  }

  int scritture_ = 0, letture_ = 0, sincronizzazioni_ = 0, rinomine_ = 0, blocchi_ = 0, scambi_ = 0,
      sincronizzazioni_cartelle_ = 0;
  std::size_t byte_scritti_ = 0;
};

// Every file directly inside a directory, hidden ones too, with its bytes.
inline std::map<std::string, std::string> istantanea(const std::filesystem::path& cartella) {
  std::map<std::string, std::string> file;
  for (const auto& e : std::filesystem::directory_iterator(cartella)) {
    if (file_di_blocco(e.path())) continue;
    std::string contenuto;
    if (e.is_regular_file()) {
      std::ifstream in(e.path(), std::ios::binary);
      contenuto.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
      contenuto = "<cartella>";
    }
    file.emplace(e.path().filename().string(), std::move(contenuto));
  }
  return file;
}

}  // namespace percorso::prova
