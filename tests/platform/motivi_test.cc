// The system's reasons an author meets most are said in Italian, the others as the
// system words them.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/errore_file.h"
#include "platform/file_system.h"
#include "support/cartella_temporanea.h"
#ifdef _WIN32
#include "platform/windows/sistema_windows.h"
#endif

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
#ifdef EDQUOT
      {EDQUOT, "quota del disco esaurita"},
#endif
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

#ifdef _WIN32
// Windows' own codes for the same events get the same Italian texts; the rest are
// the system's words, never a bare number.
TEST(Motivi, TheWindowsCodesOfTheCommonReasonsAreInItalian) {
  struct caso {
    DWORD codice;
    const char* motivo;
  };
  const caso casi[] = {
      {ERROR_FILE_NOT_FOUND, "file o cartella inesistente"},
      {ERROR_PATH_NOT_FOUND, "file o cartella inesistente"},
      {ERROR_ACCESS_DENIED, "permesso negato"},
      {ERROR_DISK_FULL, "spazio esaurito sul disco"},
      {ERROR_HANDLE_DISK_FULL, "spazio esaurito sul disco"},
      {ERROR_WRITE_PROTECT, "file system in sola lettura"},
      {ERROR_DIRECTORY, "non e' una cartella"},
      {ERROR_ALREADY_EXISTS, "esiste gia'"},
      {ERROR_FILE_EXISTS, "esiste gia'"},
      {ERROR_FILENAME_EXCED_RANGE, "nome troppo lungo"},
      {ERROR_SHARING_VIOLATION, "il file e' aperto da un altro programma"},
  };
  for (const auto& c : casi) EXPECT_EQ(motivo_sistema(c.codice), c.motivo) << c.codice;
  EXPECT_FALSE(motivo_sistema(ERROR_INVALID_HANDLE).empty());
  EXPECT_EQ(motivo_sistema(ERROR_INVALID_HANDLE).find("6"), std::string::npos);
}
#endif

}  // namespace
}  // namespace percorso
