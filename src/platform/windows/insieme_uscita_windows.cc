#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <string_view>
#include <utility>

#include "platform/file_system.h"
#include "platform/insieme_uscita.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

constexpr std::string_view prefisso_temporaneo = ".percorso-";
constexpr std::size_t lunghezza_temporaneo = prefisso_temporaneo.size() + 6;
// Held with no sharing for the whole turn; its name is no temporary's, so it is never
// cleared as debris.
constexpr std::string_view nome_blocco = ".percorso-lock";
// How long a target another program holds open is waited for before the set stops.
constexpr auto attesa_bersaglio = std::chrono::seconds(2);

std::string apribile(const std::string& cartella) {
  return cartella.empty() ? "." : cartella;
}

// One directory held through its lock file, known by the directory's identity.
struct cartella {
  HANDLE blocco = INVALID_HANDLE_VALUE;
  int fd_blocco = -1;
  identita_file id;
  std::string nome;
};

struct membro {
  std::string percorso;
  std::string temporaneo;
  int fd = -1;
  bool rinominato = false;
};

bool identita_cartella(const std::string& nome, identita_file& id) {
  const HANDLE h = ::CreateFileW(percorso_sistema(nome).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = identita_di(h, id);
  ::CloseHandle(h);
  return ok;
}

// The lock file, opened with no sharing: waits while another run holds it.
HANDLE prendi_blocco(const std::string& cartella) {
  const std::wstring nome = percorso_sistema(unisci(cartella, std::string(nome_blocco)));
  for (;;) {
    const HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION) return h;
    ::Sleep(20);
  }
}

// Removes the temporaries that runs killed while they held the lock left behind.
void rimuovi_residui(const std::string& cartella) {
  const std::wstring modello = percorso_sistema(unisci(cartella, ".percorso-*"));
  WIN32_FIND_DATAW f;
  const HANDLE h = ::FindFirstFileW(modello.c_str(), &f);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string nome = stretta(f.cFileName);
    if (nome.size() != lunghezza_temporaneo || (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      continue;
    ::DeleteFileW(percorso_sistema(unisci(cartella, nome)).c_str());
  } while (::FindNextFileW(h, &f));
  ::FindClose(h);
}

// A new temporary beside the target, opened for writing by this run alone.
HANDLE crea_temporaneo(const std::string& percorso, std::string& nome) {
  static std::mt19937 generatore{std::random_device{}()};
  constexpr std::string_view cifre = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (;;) {
    std::string coda(6, ' ');
    for (char& c : coda) c = cifre[generatore() % cifre.size()];
    nome = unisci(cartella_di(percorso), std::string(prefisso_temporaneo) + coda);
    const HANDLE h = ::CreateFileW(percorso_sistema(nome).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return h;
  }
}

// Waits briefly while another program holds the target open so that it could not
// be replaced; the reason when it stays held or cannot be replaced.
std::optional<DWORD> bersaglio_libero(const std::string& percorso) {
  const auto fine = std::chrono::steady_clock::now() + attesa_bersaglio;
  for (;;) {
    const HANDLE h = ::CreateFileW(percorso_sistema(percorso).c_str(), DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      ::CloseHandle(h);
      return std::nullopt;
    }
    const DWORD codice = ::GetLastError();
    if (codice == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (codice != ERROR_SHARING_VIOLATION || std::chrono::steady_clock::now() > fine) return codice;
    ::Sleep(50);
  }
}

class insieme_disco final : public insieme_uscita {
 public:
  insieme_disco(chiamate_sistema c, std::vector<std::string> cartelle)
      : c_(std::move(c)), dichiarate_(std::move(cartelle)) {}

  ~insieme_disco() override {
    rimuovi_temporanei();
    for (const cartella& d : cartelle_) ::_close(d.fd_blocco);
  }

  std::optional<errore_file> apri(const std::string& percorso) override {
    if (guasto_) return guasto_;
    prendi_turno();
    if (auto e = controlla_cartella(percorso)) return fallisci(*e);
    if (e_cartella(percorso)) return fallisci(errore_c(percorso, EISDIR));
    membro m{percorso, {}};
    const HANDLE h = crea_temporaneo(percorso, m.temporaneo);
    if (h == INVALID_HANDLE_VALUE) return fallisci(errore_sistema(percorso, ::GetLastError()));
    m.fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
    membri_.push_back(std::move(m));
    return std::nullopt;
  }

  std::optional<errore_file> scrivi(std::span<const std::uint8_t> pezzo) override {
    if (guasto_) return guasto_;
    membro& m = membri_.back();
    if (auto e = scrivi_tutto(m.fd, pezzo)) return fallisci({m.percorso, motivo_errno(*e)});
    return std::nullopt;
  }

  std::optional<errore_file> conferma() override {
    if (guasto_) return guasto_;
    // The data must be on the disk before a name points at it.
    for (membro& m : membri_) {
      if (c_.sincronizza(m.fd) != 0) return fallisci({m.percorso, motivo_errno(errno)});
      ::_close(std::exchange(m.fd, -1));
    }
    // The last checks that can still refuse the whole set: after them only renames.
    for (const membro& m : membri_) {
      if (e_cartella(m.percorso)) return fallisci(errore_c(m.percorso, EISDIR));
      if (const auto codice = bersaglio_libero(m.percorso))
        return fallisci(errore_sistema(m.percorso, *codice));
    }
    for (membro& m : membri_) {
      if (c_.rinomina(m.temporaneo.c_str(), m.percorso.c_str()) != 0)
        return fallisci({m.percorso, motivo_errno(errno)});
      m.rinominato = true;
    }
    membri_.clear();
    return std::nullopt;
  }

  std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                std::span<const std::uint8_t> dati) override {
    if (guasto_) return guasto_;
    prendi_turno();
    if (auto e = controlla_cartella(percorso)) return e;
    std::string nome;
    const HANDLE h = crea_temporaneo(percorso, nome);
    if (h == INVALID_HANDLE_VALUE) return errore_sistema(percorso, ::GetLastError());
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), 0);
    auto errore = scrivi_tutto(fd, dati);
    ::_close(fd);
    if (!errore && c_.rinomina(nome.c_str(), percorso.c_str()) != 0) errore = errno;
    if (!errore) return std::nullopt;
    ::DeleteFileW(percorso_sistema(nome).c_str());
    return errore_file{percorso, motivo_errno(*errore)};
  }

 private:
  // Takes every declared directory's lock file, in the order of the directories'
  // identities, and clears the debris of killed runs. A directory that cannot be
  // locked is left out: a file put into it fails with the system's reason.
  void prendi_turno() {
    if (turno_preso_) return;
    turno_preso_ = true;
    for (const std::string& nome : dichiarate_) {
      cartella d{INVALID_HANDLE_VALUE, -1, {}, apribile(nome)};
      if (!identita_cartella(d.nome, d.id) || gia_tenuta(d.id)) continue;
      cartelle_.push_back(d);
    }
    std::sort(cartelle_.begin(), cartelle_.end(),
              [](const cartella& a, const cartella& b) { return a.id < b.id; });
    for (cartella& d : cartelle_) {
      d.blocco = prendi_blocco(d.nome);
      if (d.blocco == INVALID_HANDLE_VALUE) {
        codice_blocco_ = ::GetLastError();
        continue;
      }
      d.fd_blocco = ::_open_osfhandle(reinterpret_cast<intptr_t>(d.blocco), 0);
      if (c_.blocca(d.fd_blocco) != 0) {
        motivo_blocco_ = motivo_errno(errno);
        ::_close(std::exchange(d.fd_blocco, -1));
        continue;
      }
      rimuovi_residui(d.nome);
    }
    std::erase_if(cartelle_, [](const cartella& d) { return d.fd_blocco < 0; });
  }

  bool gia_tenuta(const identita_file& id) const {
    return std::any_of(cartelle_.begin(), cartelle_.end(),
                       [&](const cartella& d) { return d.id == id; });
  }

  // Whether the file's directory is one this set holds; the reason when it is not.
  std::optional<errore_file> controlla_cartella(const std::string& percorso) const {
    const std::string nome = apribile(cartella_di(percorso));
    identita_file id;
    if (!identita_cartella(nome, id)) return errore_sistema(percorso, ::GetLastError());
    if (!e_cartella(nome)) return errore_c(percorso, ENOTDIR);
    if (gia_tenuta(id)) return std::nullopt;
    if (!motivo_blocco_.empty()) return errore_file{percorso, motivo_blocco_};
    return errore_sistema(percorso, codice_blocco_ != 0 ? codice_blocco_ : ERROR_LOCK_VIOLATION);
  }

  // Writes every byte; the errno when it cannot.
  std::optional<int> scrivi_tutto(int fd, std::span<const std::uint8_t> dati) {
    std::size_t scritti = 0;
    while (scritti < dati.size()) {
      const long n = c_.scrivi(fd, dati.data() + scritti, dati.size() - scritti);
      if (n < 0) return errno;
      if (n == 0) return ENOSPC;
      scritti += static_cast<std::size_t>(n);
    }
    return std::nullopt;
  }

  std::optional<errore_file> fallisci(errore_file e) {
    rimuovi_temporanei();
    guasto_ = std::move(e);
    return guasto_;
  }

  void rimuovi_temporanei() {
    for (membro& m : membri_) {
      if (m.fd >= 0) ::_close(std::exchange(m.fd, -1));
      if (!m.rinominato) ::DeleteFileW(percorso_sistema(m.temporaneo).c_str());
    }
    membri_.clear();
  }

  chiamate_sistema c_;
  std::vector<std::string> dichiarate_;
  bool turno_preso_ = false;
  std::vector<cartella> cartelle_;
  std::vector<membro> membri_;
  std::optional<errore_file> guasto_;
  DWORD codice_blocco_ = 0;
  std::string motivo_blocco_;
};

}  // namespace

std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 std::vector<std::string> cartelle) {
  return std::make_unique<insieme_disco>(std::move(chiamate), std::move(cartelle));
}

}  // namespace percorso
