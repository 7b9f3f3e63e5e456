// The system's reasons an author meets most are said in Italian, the others as the
// system words them.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/errore_file.h"
#include "platform/file_system.h"
#include "support/cartella_temporanea.h"

namespace percorso {
namespace {

TEST(Motivi, TheCommonReasonsAreInItalian) {
  struct caso {
    int codice;
    const char* motivo;
  };
  const caso casi[] = {
      {ENOENT, "file o cartella inesistente"},
      {EACCES, "permesso negato"},
      {EPERM, "permesso negato"},
      {ENOSPC, "spazio esaurito sul disco"},
      {EDQUOT, "quota del disco esaurita"},
      {EROFS, "file system in sola lettura"},
      {EISDIR, "e' una cartella"},
      {ENOTDIR, "non e' una cartella"},
      {EEXIST, "esiste gia'"},
      {EMLINK, "troppi collegamenti"},
      {ELOOP, "troppi collegamenti simbolici"},
      {ENAMETOOLONG, "nome troppo lungo"},
  };
  for (const auto& c : casi) EXPECT_EQ(motivo_di(c.codice), c.motivo) << c.codice;
  EXPECT_EQ(motivo_di(EIO), std::strerror(EIO));
}

TEST(Motivi, AMissingFileIsToldInItalian) {
  cartella_temporanea dir;
  const auto l = file_system_reale()->leggi(dir.file("manca.txt"));
  ASSERT_TRUE(l.errore.has_value());
  EXPECT_EQ(l.errore->motivo, "file o cartella inesistente");
}

}  // namespace
}  // namespace percorso
