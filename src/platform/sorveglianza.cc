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
#include <map>
#include <vector>

namespace percorso {

struct sorveglianza::stato {
  int inotify = -1;
  int segnali = -1;
  sigset_t maschera_precedente{};
  bool maschera_cambiata = false;
  std::map<int, std::vector<std::string>> nomi;  // watched directory: names of its files

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
        // A lost event or a lost directory may hide a change: count them as one.
        if (e->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
          pertinente = true;
          continue;
        }
        const auto d = nomi.find(e->wd);
        if (d == nomi.end() || e->len == 0) continue;
        const std::string_view nome(e->name);
        pertinente |= std::find(d->second.begin(), d->second.end(), nome) != d->second.end();
      }
    }
  }
};

namespace {

constexpr std::uint32_t eventi_cercati = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                         IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;

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
    const std::filesystem::path p(f);
    const std::string cartella = p.has_parent_path() ? p.parent_path().string() : ".";
    const int wd = ::inotify_add_watch(s->inotify, cartella.c_str(), eventi_cercati);
    if (wd < 0) return guasto(cartella);
    s->nomi[wd].push_back(p.filename().string());
  }
  sigset_t segnali;
  sigemptyset(&segnali);
  sigaddset(&segnali, SIGINT);
  sigaddset(&segnali, SIGTERM);
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

}  // namespace percorso
