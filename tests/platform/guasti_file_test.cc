// Faults of the real disk: a failed write, sync, rename or read never leaves a
// partial or temporary file, and never touches the file that was there before.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(GuastiDisco, OnlyOnLinux) {
  GTEST_SKIP() << "directory permissions, immutable flags and FIFOs";
}
#else
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"

namespace percorso {
namespace {

using prova::disco_guasto;
using prova::istantanea;

std::vector<std::uint8_t> contenuto(std::size_t n) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return v;
}

// Makes a directory unwritable even for root (the immutable flag), or with its
// mode for other users; undone at the end.
class cartella_bloccata {
 public:
  explicit cartella_bloccata(const std::string& cartella) : cartella_(cartella) {
    if (::geteuid() != 0) {
      bloccata_ = ::chmod(cartella.c_str(), 0555) == 0;
      modo_ = true;
      return;
    }
    const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int flag = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flag) == 0) {
      flag |= FS_IMMUTABLE_FL;
      bloccata_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flag) == 0;
    }
    ::close(fd);
  }
  ~cartella_bloccata() {
    if (!bloccata_) return;
    if (modo_) {
      ::chmod(cartella_.c_str(), 0755);
      return;
    }
    const int fd = ::open(cartella_.c_str(), O_RDONLY | O_DIRECTORY);
    int flag = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flag) == 0) {
      flag &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd, FS_IOC_SETFLAGS, &flag);
    }
    ::close(fd);
  }
  bool bloccata() const { return bloccata_; }

 private:
  std::string cartella_;
  bool bloccata_ = false;
  bool modo_ = false;
};

// One file replaced alone, as a set of one: a failure leaves the earlier file as it was.
std::optional<errore_file> sostituisci(file_system& fs, const std::string& file,
                                       std::span<const std::uint8_t> dati) {
  const auto uno = fs.insieme({.scritte = {cartella_di(file)}});
  if (auto e = uno->aggiungi(file, dati)) return e;
  return uno->conferma();
}

struct caso_guasto {
  const char* nome;
  void (*prepara)(disco_guasto&);
  std::string motivo;
};

TEST(GuastiDisco, AFailedReplacementKeepsTheEarlierFileAndLeavesNoTemporary) {
  const caso_guasto casi[] = {
      {"first write fails", [](disco_guasto& d) { d.scrittura_fallita = 1; }, motivo_di(EIO)},
      {"disk full after 1000 bytes", [](disco_guasto& d) { d.spazio = 1000; }, motivo_di(ENOSPC)},
      {"disk full on the last byte", [](disco_guasto& d) { d.spazio = 99999; }, motivo_di(ENOSPC)},
      {"writes make no progress", [](disco_guasto& d) { d.scrittura_nulla = true; },
       motivo_di(ENOSPC)},
      {"sync fails", [](disco_guasto& d) { d.sincronizzazione_fallita = 1; }, motivo_di(EIO)},
      {"exchange fails", [](disco_guasto& d) { d.scambio_fallito = 1; }, motivo_di(EIO)},
      {"rename fails where names cannot be exchanged",
       [](disco_guasto& d) {
         d.scambio_assente = true;
         d.rinomina_fallita = 1;
       },
       motivo_di(EIO)},
      {"directory lock fails", [](disco_guasto& d) { d.blocco_fallito = 1; }, motivo_di(EIO)},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea dir;
    const std::string file = dir.file("Prova_1.dat");
    scrivi_file(file, "contenuto della corsa precedente");
    const auto prima = istantanea(dir.percorso());

    disco_guasto guasti;
    c.prepara(guasti);
    const auto fs = file_system_reale(guasti.chiamate());
    const auto errore = sostituisci(*fs, file, contenuto(100000));

    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, file);
    EXPECT_EQ(errore->motivo, c.motivo);
    EXPECT_EQ(istantanea(dir.percorso()), prima);
  }
}

TEST(GuastiDisco, ATargetThatCannotBeWrittenIsReportedWithTheSystemReason) {
  struct caso {
    const char* nome;
    std::string relativo;  // the target, inside the scratch directory
    std::string motivo;
  };
  const caso casi[] = {
      {"target is a directory", "Prova_1.sim", motivo_di(EISDIR)},
      {"directory is a file", "testo.txt/Prova_1.dat", motivo_di(ENOTDIR)},
      {"directory is missing", "manca/Prova_1.dat", motivo_di(ENOENT)},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea dir;
    std::filesystem::create_directory(dir.percorso() / "Prova_1.sim");
    scrivi_file(dir.file("Prova_1.sim/dentro"), "resta");
    scrivi_file(dir.file("testo.txt"), "un testo");
    const auto prima = istantanea(dir.percorso());

    const auto fs = file_system_reale();
    const auto errore = sostituisci(*fs, dir.file(c.relativo), contenuto(10));
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, dir.file(c.relativo));
    EXPECT_EQ(errore->motivo, c.motivo);
    EXPECT_EQ(istantanea(dir.percorso()), prima);
    EXPECT_EQ(leggi_file(dir.file("Prova_1.sim/dentro")),
              (std::vector<std::uint8_t>{'r', 'e', 's', 't', 'a'}));
  }
}

TEST(GuastiDisco, ADirectoryThatCannotBeWrittenKeepsItsFiles) {
  cartella_temporanea dir;
  scrivi_file(dir.file("Prova_1.dat"), "precedente");
  const auto prima = istantanea(dir.percorso());
  cartella_bloccata blocco(dir.percorso().string());
  if (!blocco.bloccata()) GTEST_SKIP() << "the directory cannot be made unwritable here";

  const auto fs = file_system_reale();
  for (const char* nome : {"Prova_1.dat", "Nuovo.dat"}) {
    const auto errore = sostituisci(*fs, dir.file(nome), contenuto(10));
    ASSERT_TRUE(errore.has_value()) << nome;
    EXPECT_EQ(errore->file, dir.file(nome));
    EXPECT_FALSE(errore->motivo.empty());
  }
  EXPECT_EQ(istantanea(dir.percorso()), prima);
}

TEST(GuastiDisco, AFailedReadGivesTheReasonAndNoHalfText) {
  cartella_temporanea dir;
  const std::string file = dir.file("Prova_linea.txt");
  const auto testo = contenuto(200000);  // more than one read
  scrivi_file(file, std::string(testo.begin(), testo.end()));

  disco_guasto guasti;
  guasti.lettura_fallita = 2;
  const auto fs = file_system_reale(guasti.chiamate());
  const lettura l = fs->leggi(file);
  ASSERT_TRUE(l.errore.has_value());
  EXPECT_EQ(l.errore->file, file);
  EXPECT_EQ(l.errore->motivo, motivo_di(EIO));
  EXPECT_TRUE(l.dati.empty());
  EXPECT_EQ(leggi_file(file), testo);
}

// Only a whole regular file is read; anything else is refused at once, a FIFO
// without a writer included (opening it the usual way would wait for ever).
TEST(GuastiDisco, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
  cartella_temporanea dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo.txt").c_str(), 0600), 0);
  // Sparse: one byte over the bound, refused from its size before any read.
  const int fd = ::open(dir.file("grande.txt").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(massimo_lettura) + 1), 0);
  ::close(fd);
  const auto fs = file_system_reale();
  struct caso {
    std::string file;
    std::string motivo;
  };
  const caso casi[] = {
      {dir.file("fifo.txt"), "non e' un file regolare ma una FIFO"},
      {"/dev/zero", "non e' un file regolare ma un dispositivo"},
      {dir.percorso().string(), motivo_di(EISDIR)},
      {dir.file("manca.txt"), motivo_di(ENOENT)},
      {dir.file("grande.txt"), "file troppo grande: il programma legge file fino a 256 MiB"},
  };
  for (const auto& c : casi) {
    const lettura l = fs->leggi(c.file);
    ASSERT_TRUE(l.errore.has_value()) << c.file;
    EXPECT_EQ(l.errore->file, c.file);
    EXPECT_EQ(l.errore->motivo, c.motivo);
    EXPECT_TRUE(l.dati.empty());
  }
}

TEST(GuastiDisco, AReplacementWithALongNameNeedsNoLongerTemporaryName) {
  cartella_temporanea dir;
  const std::string nome(250, 'n');  // the name limit is 255 bytes
  const auto fs = file_system_reale();
  EXPECT_FALSE(sostituisci(*fs, dir.file(nome), contenuto(10)).has_value());
  EXPECT_EQ(leggi_file(dir.file(nome)), contenuto(10));
  EXPECT_EQ(dir.elenco(), std::vector<std::string>{nome});
}

}  // namespace
}  // namespace percorso
#endif
