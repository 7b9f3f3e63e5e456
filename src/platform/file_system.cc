#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>

namespace percorso {
namespace {

// A large text's buffer is taken in large pages, as one request: page by page, the
// faults of the first touch cost more than the copy itself.
void prepara(void* dati, std::size_t n) {
  constexpr std::uintptr_t pagina = 4096;
  const auto da = (reinterpret_cast<std::uintptr_t>(dati) + pagina - 1) & ~(pagina - 1);
  const auto a = (reinterpret_cast<std::uintptr_t>(dati) + n) & ~(pagina - 1);
  if (a <= da) return;
  ::madvise(reinterpret_cast<void*>(da), a - da, MADV_HUGEPAGE);
}

class disco final : public disco_di_sistema {
 public:
  using disco_di_sistema::disco_di_sistema;

  bool esiste(const std::string& percorso) override {
    struct stat st {};
    return ::stat(percorso.c_str(), &st) == 0;
  }

  lettura leggi(const std::string& percorso) override {
    lettura r;
    // Opening without waiting: a FIFO would otherwise block until a writer comes.
    const int fd = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      r.errore = errore_da(percorso, errno);
      return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0)
      r.errore = errore_da(percorso, errno);
    else if (!S_ISREG(st.st_mode))
      r.errore = errore_file{percorso, motivo_non_regolare(genere(percorso))};
    else if (static_cast<std::uintmax_t>(st.st_size) > massimo_lettura)
      r.errore = oltre_il_massimo(percorso);
    else if (const auto codice = leggi_tutto(fd, static_cast<std::size_t>(st.st_size), r.dati))
      r.errore = errore_da(percorso, *codice);
    ::close(fd);
    // A failed read gives no data: half a text would compile as if it were whole.
    if (r.errore) r.dati = {};
    return r;
  }

  std::optional<errore_file> elimina(const std::string& percorso) override {
    if (::unlink(percorso.c_str()) != 0 && errno != ENOENT) return errore_da(percorso, errno);
    return std::nullopt;
  }

  std::optional<errore_file> elimina_cartella_vuota(const std::string& percorso) override {
    if (::rmdir(percorso.c_str()) != 0) return errore_da(percorso, errno);
    return std::nullopt;
  }

  std::optional<errore_file> crea_cartella(const std::string& percorso) override {
    std::error_code ec;
    std::filesystem::create_directories(percorso, ec);
    if (ec) return errore_da(percorso, ec.value());
    return std::nullopt;
  }

  std::optional<errore_file> prova_scrittura(const std::string& percorso) override {
    struct stat st {};
    if (percorso.empty()) return errore_da(percorso, ENOENT);
    if (::stat(percorso.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      return errore_da(percorso, EISDIR);
    // The nearest directory that exists must let a file be made in it.
    std::string cartella = cartella_di(percorso);
    while (!cartella.empty() && ::stat(cartella.c_str(), &st) != 0 && errno == ENOENT)
      cartella = cartella_di(cartella);
    const char* dove = cartella.empty() ? "." : cartella.c_str();
    if (::stat(dove, &st) != 0) return errore_da(percorso, errno);
    if (!S_ISDIR(st.st_mode)) return errore_da(percorso, ENOTDIR);
    if (::access(dove, W_OK | X_OK) != 0) return errore_da(percorso, errno);
    return std::nullopt;
  }

  std::vector<std::string> elenca(const std::string& cartella) override {
    std::vector<std::string> nomi;
    std::error_code ec;
    for (std::filesystem::directory_iterator i(cartella.empty() ? "." : cartella, ec), fine;
         !ec && i != fine; i.increment(ec)) {
      if (i->is_regular_file(ec)) nomi.push_back(i->path().filename().string());
    }
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

  std::optional<std::int64_t> versione_cartella(const std::string& cartella) override {
    struct stat st {};
    timespec ora{};
    if (::stat(cartella.empty() ? "." : cartella.c_str(), &st) != 0 ||
        ::clock_gettime(CLOCK_REALTIME, &ora) != 0)
      return std::nullopt;
    const auto in_ns = [](const timespec& t) {
      return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    };
    const std::int64_t cambiata = in_ns(st.st_mtim);
    if (in_ns(ora) - cambiata < nanosecondi_cambio_recente) return std::nullopt;
    return cambiata;
  }

  // A name is its bytes here: no other spelling leads to the same file.
  std::string nome_registrato(const std::string& percorso) override {
    return std::string(nome_base(percorso));
  }

 private:
  // The kind of a file that is not a regular one, as the seam names it.
  identita_file::tipo genere(const std::string& percorso) {
    identita_file id;
    c_.identifica(percorso.c_str(), true, id);
    return id.genere;
  }

  // Reads to the end into dati, reserved once from the file's size and filled
  // through a small block: the text is neither zeroed first nor copied as it grows.
  // A file that grows while it is read is still bounded. The system's reason when
  // it fails.
  std::optional<int> leggi_tutto(int fd, std::size_t attesi, std::vector<std::uint8_t>& dati) {
    dati.reserve(attesi);
    prepara(dati.data(), dati.capacity());
    // Left unzeroed, and no larger than the file and the read that finds its end.
    const std::size_t dimensione = std::clamp<std::size_t>(attesi + 1, 4096, std::size_t{1} << 18);
    const auto blocco = std::make_unique_for_overwrite<std::uint8_t[]>(dimensione);
    for (;;) {
      const long n = c_.leggi(fd, blocco.get(), dimensione);
      if (n == 0) return std::nullopt;
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (dati.size() + static_cast<std::size_t>(n) > massimo_lettura) return EFBIG;
      dati.insert(dati.end(), blocco.get(), blocco.get() + n);
    }
  }
};

}  // namespace

std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate, avviso_turno avviso) {
  return std::make_unique<disco>(std::move(chiamate), std::move(avviso));
}

std::optional<std::string> cartella_programma() {
  std::error_code ec;
  const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  return eseguibile.parent_path().string();
}

}  // namespace percorso
