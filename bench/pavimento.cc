// The floor: the fastest durable way to put given bytes into given names. Reads the
// files named on the command line, then writes each into a temporary beside its
// name in DIR, starts the write-back of all, flushes each, renames each, and
// flushes DIR once. A run of the program is compared with this process.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void fallisci(const std::string& cosa) {
  std::perror(cosa.c_str());
  std::exit(1);
}

std::string nome_base(const std::string& percorso) {
  const auto barra = percorso.rfind('/');
  return barra == std::string::npos ? percorso : percorso.substr(barra + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: pavimento DIR FILE...\n");
    return 2;
  }
  const std::string cartella = argv[1];
  struct file {
    std::string nome, temporaneo;
    std::vector<char> byte;
    int fd = -1;
  };
  std::vector<file> tutti;
  for (int i = 2; i < argc; ++i) {
    const int fd = ::open(argv[i], O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) fallisci(argv[i]);
    file f{cartella + "/" + nome_base(argv[i]), cartella + "/.percorso-XXXXXX",
           std::vector<char>(static_cast<std::size_t>(st.st_size))};
    for (std::size_t letti = 0; letti < f.byte.size();) {
      const ssize_t n = ::read(fd, f.byte.data() + letti, f.byte.size() - letti);
      if (n <= 0) fallisci(argv[i]);
      letti += static_cast<std::size_t>(n);
    }
    ::close(fd);
    tutti.push_back(std::move(f));
  }
  for (file& f : tutti) {
    f.fd = ::mkostemp(f.temporaneo.data(), O_CLOEXEC);
    if (f.fd < 0) fallisci(f.temporaneo);
    for (std::size_t scritti = 0; scritti < f.byte.size();) {
      const ssize_t n = ::write(f.fd, f.byte.data() + scritti, f.byte.size() - scritti);
      if (n <= 0) fallisci(f.temporaneo);
      scritti += static_cast<std::size_t>(n);
    }
  }
  for (const file& f : tutti) ::sync_file_range(f.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  for (const file& f : tutti) {
    if (::fdatasync(f.fd) != 0 || ::close(f.fd) != 0) fallisci(f.temporaneo);
  }
  for (const file& f : tutti) {
    if (::rename(f.temporaneo.c_str(), f.nome.c_str()) != 0) fallisci(f.nome);
  }
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) fallisci(cartella);
  ::close(fd);
  return 0;
}
