// The floor: the least durable work that puts given bytes into given names the way
// the program's commit does. Maps the files named on the command line (from the page
// cache, so no copy and no zeroing of its own), writes each into a temporary beside
// its name in DIR, starting its write-back once it is written, flushes each, writes
// and flushes DIR's journal and DIR, exchanges (or renames) each into its name,
// flushes DIR, and removes the journal and the earlier files. The journal's text and
// the exchange are the platform's own. A run of the program is compared with this.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/chiamate_sistema.h"
#include "platform/giornale.h"

namespace {

using percorso::coppia;
using percorso::identita_file;

[[noreturn]] void fallisci(const std::string& cosa) {
  std::perror(cosa.c_str());
  std::exit(1);
}

std::string nome_base(const std::string& percorso) {
  const auto barra = percorso.rfind('/');
  return barra == std::string::npos ? percorso : percorso.substr(barra + 1);
}

void scrivi_tutto(int fd, const char* dati, std::size_t n, const std::string& nome) {
  for (std::size_t scritti = 0; scritti < n;) {
    const ssize_t fatti = ::write(fd, dati + scritti, n - scritti);
    if (fatti <= 0) fallisci(nome);
    scritti += static_cast<std::size_t>(fatti);
  }
}

struct file {
  std::string nome, temporaneo;
  int fd = -1;
  identita_file nuovo;
  std::optional<percorso::spostamento> spostato;
};

// The file's bytes into a new temporary in cartella, its write-back started.
file scrivi_temporaneo(const std::string& cartella, const char* sorgente) {
  file f;
  f.nome = cartella + "/" + nome_base(sorgente);
  f.temporaneo = cartella + "/.percorso-XXXXXX";
  const int in = ::open(sorgente, O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0) fallisci(sorgente);
  const auto n = static_cast<std::size_t>(st.st_size);
  void* mappa = n == 0 ? nullptr : ::mmap(nullptr, n, PROT_READ, MAP_SHARED, in, 0);
  if (mappa == MAP_FAILED) fallisci(sorgente);
  ::close(in);
  f.fd = ::mkostemp(f.temporaneo.data(), O_CLOEXEC);
  if (f.fd < 0 || ::fchmod(f.fd, 0644) != 0) fallisci(f.temporaneo);
  scrivi_tutto(f.fd, static_cast<const char*>(mappa), n, f.temporaneo);
  if (mappa != nullptr) ::munmap(mappa, n);
  ::sync_file_range(f.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  return f;
}

// DIR's journal of the pairs, on the disk with its name.
void scrivi_giornale(const std::string& cartella, int fd_cartella, const std::vector<file>& tutti,
                     const percorso::chiamate_sistema& c) {
  std::vector<coppia> coppie;
  for (const file& f : tutti)
    coppie.push_back({nome_base(f.temporaneo), nome_base(f.nome), f.nuovo});
  const std::string testo = percorso::testo_giornale(coppie);
  const std::string nome = cartella + "/" + std::string(percorso::nome_giornale);
  const int fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) fallisci(nome);
  scrivi_tutto(fd, testo.data(), testo.size(), nome);
  if (c.sincronizza(fd) != 0 || ::close(fd) != 0) fallisci(nome);
  if (c.sincronizza_cartella(fd_cartella) != 0) fallisci(cartella);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: pavimento DIR FILE...\n");
    return 2;
  }
  const std::string cartella = argv[1];
  const percorso::chiamate_sistema c = percorso::chiamate_reali();
  std::vector<file> tutti;
  for (int i = 2; i < argc; ++i) tutti.push_back(scrivi_temporaneo(cartella, argv[i]));
  for (file& f : tutti) {
    struct stat st {};
    if (c.sincronizza(f.fd) != 0 || ::fstat(f.fd, &st) != 0 || ::close(f.fd) != 0)
      fallisci(f.temporaneo);
    f.nuovo = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
               identita_file::tipo::regolare, static_cast<std::uint64_t>(st.st_size)};
  }
  const int fd_cartella = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_cartella < 0) fallisci(cartella);
  scrivi_giornale(cartella, fd_cartella, tutti, c);
  for (file& f : tutti) {
    int codice = 0;
    f.spostato = percorso::sposta(c, f.temporaneo, f.nome, codice);
    if (!f.spostato) fallisci(f.nome);
  }
  if (c.sincronizza_cartella(fd_cartella) != 0) fallisci(cartella);
  ::unlink((cartella + "/" + std::string(percorso::nome_giornale)).c_str());
  for (const file& f : tutti) {
    if (f.spostato == percorso::spostamento::scambiato) ::unlink(f.temporaneo.c_str());
  }
  ::close(fd_cartella);
  return 0;
}
