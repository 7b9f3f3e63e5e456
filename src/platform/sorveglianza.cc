#include "platform/sorveglianza.h"

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace percorso {
namespace {

constexpr std::uint32_t eventi_cercati = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                         IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;
// Above a folder that is gone: something created or moved in may be the way back.
constexpr std::uint32_t eventi_ritorno = IN_CREATE | IN_MOVED_TO | IN_MASK_ADD;

// A watched folder and the names of the watched files in it. While the folder is
// gone, the nearest folder above it that exists is watched instead.
struct cartella_sorvegliata {
  std::string percorso;
  std::vector<std::string> nomi;
  int wd = -1;        // -1 while the folder is gone
  int wd_sopra = -1;  // the folder above, while this one is gone
};

// The folders and names to watch for the file: where it is, and where a link points.
void aggiungi_file(std::vector<cartella_sorvegliata>& cartelle, const std::filesystem::path& p) {
  const std::string cartella = p.has_parent_path() ? p.parent_path().string() : ".";
  auto c = std::find_if(cartelle.begin(), cartelle.end(),
                        [&](const cartella_sorvegliata& x) { return x.percorso == cartella; });
  if (c == cartelle.end()) c = cartelle.insert(cartelle.end(), {cartella, {}});
  c->nomi.push_back(p.filename().string());
}

}  // namespace

struct sorveglianza::stato {
  int inotify = -1;
  int segnali = -1;
  sigset_t maschera_precedente{};
  bool maschera_cambiata = false;
  std::vector<cartella_sorvegliata> cartelle;
  std::vector<avviso> avvisi;

  ~stato() {
    if (inotify >= 0) ::close(inotify);
    if (segnali >= 0) {
      // A signal still pending would end the process as soon as it is unblocked.
      signalfd_siginfo si;
      while (::read(segnali, &si, sizeof si) == sizeof si) {
      }
      ::close(segnali);
    }
    if (maschera_cambiata) ::pthread_sigmask(SIG_SETMASK, &maschera_precedente, nullptr);
  }

  // The folder is gone: watch the nearest folder above it that exists, and say so once.
  void perdi(cartella_sorvegliata& c) {
    if (c.wd >= 0) ::inotify_rm_watch(inotify, c.wd);
    c.wd = -1;
    if (!sorveglia_sopra(c)) return;
    avvisi.push_back({c.percorso, false});
  }

  // Watches the nearest existing folder above c; false when it is already watched so.
  bool sorveglia_sopra(cartella_sorvegliata& c) {
    std::filesystem::path sopra = std::filesystem::absolute(c.percorso).parent_path();
    for (;;) {
      const int wd = ::inotify_add_watch(inotify, sopra.c_str(), eventi_ritorno);
      if (wd >= 0 || !sopra.has_relative_path()) {
        const bool nuovo = c.wd_sopra < 0;
        c.wd_sopra = wd;
        return nuovo;
      }
      sopra = sopra.parent_path();
    }
  }

  // Something appeared above a folder that is gone: the folder may be back.
  bool ritrova(cartella_sorvegliata& c) {
    c.wd = ::inotify_add_watch(inotify, c.percorso.c_str(), eventi_cercati);
    if (c.wd < 0) {
      sorveglia_sopra(c);
      return false;
    }
    c.wd_sopra = -1;
    avvisi.push_back({c.percorso, true});
    return true;
  }

  // What one event means for the folders; true when a watched file may have changed.
  bool applica(const inotify_event& e) {
    bool pertinente = false;
    for (cartella_sorvegliata& c : cartelle) {
      if (c.wd >= 0 && e.wd == c.wd) {
        if (e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
          perdi(c);
          pertinente = true;
        } else if (e.len > 0) {
          const std::string_view nome(e.name);
          pertinente |= std::find(c.nomi.begin(), c.nomi.end(), nome) != c.nomi.end();
        }
      } else if (c.wd < 0 && e.wd == c.wd_sopra) {
        pertinente |= ritrova(c);
      }
    }
    return pertinente;
  }

  // Reads the pending events; true when one concerns a watched file.
  bool leggi_eventi() {
    alignas(inotify_event) char buffer[16384];
    bool pertinente = false;
    for (;;) {
      const ssize_t n = ::read(inotify, buffer, sizeof buffer);
      if (n <= 0) return pertinente;
      for (ssize_t i = 0; i < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buffer + i);
        i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        // A lost event may hide a change: count it as one.
        if (e->mask & IN_Q_OVERFLOW) {
          pertinente = true;
          continue;
        }
        pertinente |= applica(*e);
      }
    }
  }
};

namespace {

errore_file guasto(const std::string& file) {
  return errore_da(file, errno);
}

}  // namespace

sorveglianza::sorveglianza(std::unique_ptr<stato> s) : s_(std::move(s)) {}
sorveglianza::~sorveglianza() = default;

std::variant<std::unique_ptr<sorveglianza>, errore_file> sorveglianza::apri(
    std::span<const std::string> file) {
  auto s = std::make_unique<stato>();
  s->inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (s->inotify < 0) return guasto("inotify");
  for (const std::string& f : file) {
    aggiungi_file(s->cartelle, f);
    // A text given as a link changes where the link points, in that folder.
    std::error_code ec;
    if (std::filesystem::is_symlink(f, ec)) {
      const auto meta = std::filesystem::weakly_canonical(f, ec);
      if (!ec) aggiungi_file(s->cartelle, meta);
    }
  }
  for (cartella_sorvegliata& c : s->cartelle) {
    c.wd = ::inotify_add_watch(s->inotify, c.percorso.c_str(), eventi_cercati);
    if (c.wd < 0) return guasto(c.percorso);
  }
  sigset_t segnali;
  sigemptyset(&segnali);
  sigaddset(&segnali, SIGINT);
  sigaddset(&segnali, SIGTERM);
  sigaddset(&segnali, SIGHUP);
  if (::pthread_sigmask(SIG_BLOCK, &segnali, &s->maschera_precedente) != 0)
    return guasto("segnali");
  s->maschera_cambiata = true;
  s->segnali = ::signalfd(-1, &segnali, SFD_NONBLOCK | SFD_CLOEXEC);
  if (s->segnali < 0) return guasto("segnali");
  return std::unique_ptr<sorveglianza>(new sorveglianza(std::move(s)));
}

sorveglianza::evento sorveglianza::aspetta(std::chrono::milliseconds quiete) {
  using orologio = std::chrono::steady_clock;
  // A file written without pause still ends the wait after a while.
  const auto attesa_massima = quiete * 10;
  std::optional<orologio::time_point> primo_cambio;
  for (;;) {
    int attesa = -1;
    if (primo_cambio) {
      const auto resta = std::chrono::ceil<std::chrono::milliseconds>(
          *primo_cambio + attesa_massima - orologio::now());
      if (resta.count() <= 0) return evento::cambiato;
      attesa = static_cast<int>(std::min(resta, quiete).count());
    }
    pollfd attese[2] = {{s_->segnali, POLLIN, 0}, {s_->inotify, POLLIN, 0}};
    const int n = ::poll(attese, 2, attesa);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return evento::guasto;
    if (attese[0].revents & POLLIN) {
      signalfd_siginfo si;
      if (::read(s_->segnali, &si, sizeof si) == sizeof si) return evento::interrotto;
    }
    if (n == 0) return evento::cambiato;
    if ((attese[1].revents & POLLIN) && s_->leggi_eventi() && !primo_cambio)
      primo_cambio = orologio::now();
    if (attese[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return evento::guasto;
  }
}

std::vector<sorveglianza::avviso> sorveglianza::avvisi() {
  return std::exchange(s_->avvisi, {});
}

}  // namespace percorso
