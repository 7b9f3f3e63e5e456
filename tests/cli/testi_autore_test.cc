// new and sources: texts to start from, never written over an author's own.
#include "cli/testi_autore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

// Every file under the directory, by relative name, with its bytes.
std::map<std::string, std::vector<std::uint8_t>> contenuto(const std::filesystem::path& dir) {
  std::map<std::string, std::vector<std::uint8_t>> c;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.is_regular_file() && !file_di_blocco(e.path()))
      c[std::filesystem::relative(e.path(), dir).string()] = leggi_file(e.path().string());
  return c;
}

TEST(New, TextsCompileCleanForAnyNamesInADirectoryItCreates) {
  const std::pair<std::string, std::string> nomi[] = {
      {"Prova", "42"}, {"Val_Chiara", "2211"}, {"x", "IC 7"}};
  for (const auto& [nome, treno] : nomi) {
    cartella_temporanea dir;
    const std::string sotto = dir.file("a/b");
    const risposta r = esegui({"new", nome, treno, sotto});
    ASSERT_EQ(r.stato, 0) << r.err;
    const std::string linea = unisci(sotto, nome + "_linea.txt");
    const std::string testo_treno = unisci(sotto, nome + "_" + treno + "-.txt");
    EXPECT_NE(r.out.find("scritto " + linea), std::string::npos) << r.out;
    const risposta c = esegui({"compile", linea, testo_treno, "--documents"});
    EXPECT_EQ(c.stato, 0) << nome;
    // Nothing but the closing line: three binaries and two documents.
    EXPECT_EQ(c.err, "0 errori, 0 avvisi; scritti 5 file in " + sotto + "\n") << nome;
    EXPECT_TRUE(std::filesystem::exists(sotto + "/" + nome + "_" + treno + "_scheda_treno.txt"));
  }
}

TEST(New, NamesThatWouldLeaveTheDirectoryAreWrongUsage) {
  cartella_temporanea dir;
  const std::vector<std::string> casi[] = {
      {"new"},
      {"new", "Prova"},
      {"new", "../fuori", "1", dir.file("d")},
      {"new", "Prova", "a/b", dir.file("d")},
      {"new", "Prova", "..", dir.file("d")},
      {"new", "", "1", dir.file("d")},
      {"new", "Prova", "1", dir.file("d"), "altro"},
      {"new", "Prova", "1", dir.file("d"), "--bogus"},
  };
  for (const auto& a : casi) {
    const risposta r = esegui(a);
    EXPECT_EQ(r.stato, 2) << a.size() << ": " << r.err;
  }
  EXPECT_TRUE(dir.elenco().empty());
}

// A name given on the command line never takes files out of their folder nor holds a
// character Windows refuses (':' would make a stream of the file there), on every
// system, and the usage error shows it as it can be read: no raw control byte reaches
// the terminal.
TEST(Nomi, AreRefusedWithAReasonAndShownReadably) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Prova", "1", dir.percorso().string()}).stato, 0);
  const std::string linea = dir.file("Prova_linea.txt"), treno = dir.file("Prova_1-.txt");
  struct caso {
    std::vector<std::string> argomenti;
    std::string messaggio;
  };
  const caso casi[] = {
      {{"compile", linea, treno, "--nome", "../../X"},
       "nome non valido: '../../X': i file uscirebbero dalla loro cartella"},
      {{"page", linea, treno, "--treno", "a/b"}, "nome non valido: 'a/b': i file uscirebbero"},
      {{"new", "a\x1b[31mb", "1", dir.file("d")},
       "nome non valido: 'a\\x1b[31mb': niente caratteri di controllo"},
      {{"new", "Prova", "a\x7f", dir.file("d")},
       "nome non valido: 'a\\x7f': niente caratteri di controllo"},
      {{"new", "Val:le", "1", dir.file("d")},
       "nome non valido: 'Val:le': Windows non ammette < > : \" | ? * in un nome di file"},
      {{"new", "Prova", "1*", dir.file("d")}, "nome non valido: '1*': Windows non ammette"},
      {{"compile", linea, treno, "--nome", "a?b"}, "nome non valido: 'a?b': Windows non ammette"},
      {{"compile", linea, treno, "--treno", "<1>"}, "nome non valido: '<1>': Windows non ammette"},
      {{"page", linea, treno, "--nome", "a|b"}, "nome non valido: 'a|b': Windows non ammette"},
      {{"page", linea, treno, "--treno", "\"1\""}, "nome non valido: '\"1\"': Windows non ammette"},
  };
  const auto prima = dir.elenco();
  for (const caso& c : casi) {
    SCOPED_TRACE(c.messaggio);
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 2) << r.err;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(r.err.find('\x7f'), std::string::npos);
  }
  EXPECT_EQ(dir.elenco(), prima);
}

// One existing file, edited by its author, among the files a command writes.
struct caso_sovrascrittura {
  std::vector<std::string> argomenti;  // the directory goes last
  std::string file;
};

TEST(NewESources, LeaveExistingFilesByteIntactWithoutForce) {
  const caso_sovrascrittura casi[] = {
      {{"new", "Prova", "42"}, "Prova_linea.txt"},
      {{"new", "Prova", "42"}, "Prova_42-.txt"},
      {{"sources"}, "Varmena_Ostrana_917-.txt"},
      {{"sources"}, "Varmena_Ostrana_917_note.txt"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.file);
    cartella_temporanea dir;
    scrivi_file(dir.file(c.file), "il mio testo\r\n");
    auto a = c.argomenti;
    a.push_back(dir.percorso().string());
    const auto prima = contenuto(dir.percorso());

    const risposta r = esegui(a);
    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find(dir.file(c.file)), std::string::npos) << r.err;
    EXPECT_EQ(contenuto(dir.percorso()), prima) << "nothing written";

    a.push_back("--force");
    EXPECT_EQ(esegui(a).stato, 0);
    const auto dopo = contenuto(dir.percorso());
    EXPECT_NE(dopo.at(c.file), prima.at(c.file));
    EXPECT_GT(dopo.size(), 1u);
  }
}

TEST(NewESources, AFileAlreadyLikeItsTextIsLeftAsItIs) {
  cartella_temporanea dir;
  const std::string cartella = dir.file("nuova");
  ASSERT_EQ(esegui({"sources", cartella}).stato, 0);
  struct stat prima {};
  const std::string note = unisci(cartella, "Varmena_Ostrana_917_note.txt");
  ASSERT_EQ(::stat(note.c_str(), &prima), 0);
  const risposta r = esegui({"sources", cartella});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("invariato " + note), std::string::npos) << r.out;
  struct stat dopo {};
  ASSERT_EQ(::stat(note.c_str(), &dopo), 0);
  EXPECT_EQ(dopo.st_ino, prima.st_ino) << "replaced, not left";

  // new refuses an existing file even when it is equal to its text.
  ASSERT_EQ(esegui({"new", "Prova", "1", cartella}).stato, 0);
  EXPECT_EQ(esegui({"new", "Prova", "1", cartella}).stato, 3);
}

TEST(CompileDocuments, SameBinariesWithAndWithoutAndTheDocumentsBesideThem) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Prova", "42", dir.percorso().string()}).stato, 0);
  const std::string linea = dir.file("Prova_linea.txt"), treno = dir.file("Prova_42-.txt");
  std::filesystem::create_directory(dir.file("senza"));
  std::filesystem::create_directory(dir.file("con_documenti"));
  ASSERT_EQ(esegui({"compile", linea, treno, "-o", dir.file("senza")}).stato, 0);
  ASSERT_EQ(esegui({"compile", linea, treno, "-o", dir.file("con_documenti"), "--documents"}).stato,
            0);
  const auto senza = contenuto(dir.file("senza")), con = contenuto(dir.file("con_documenti"));
  EXPECT_EQ(senza.size(), 3u);
  for (const auto& [nome, byte] : senza) EXPECT_EQ(con.at(nome), byte) << nome;
  EXPECT_EQ(con.size(), 5u);
  const auto scheda = con.at("Prova_42_scheda_treno.txt");
  EXPECT_EQ(std::string(scheda.end() - 4, scheda.end()), "\r\n\r\n");
  EXPECT_TRUE(con.contains("Prova_42_rallentamenti.txt"));
}

TEST(CompileDocuments, ADocumentThatCannotBeWrittenStopsTheRunAndIsNamed) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Prova", "42", dir.percorso().string()}).stato, 0);
  std::filesystem::create_directory(dir.file("Prova_42_rallentamenti.txt"));
  const risposta r =
      esegui({"compile", dir.file("Prova_linea.txt"), dir.file("Prova_42-.txt"), "--documents"});
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find("impossibile scrivere " + dir.file("Prova_42_rallentamenti.txt")),
            std::string::npos)
      << r.err;
}

TEST(CompileDocuments, ACutNameIsAWarningNamingTheDocumentLine) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Prova", "42", dir.percorso().string()}).stato, 0);
  // A 31-character name in place of the first station's.
  const auto byte = leggi_file(dir.file("Prova_42-.txt"));
  std::string treno(byte.begin(), byte.end());
  treno.replace(treno.find("CAPOLINEA NORD"), 14, "CAPOLINEA NORD DI VALLE AZZURRA");
  scrivi_file(dir.file("Prova_42-.txt"), treno);
  const std::vector<std::string> a = {"compile", dir.file("Prova_linea.txt"),
                                      dir.file("Prova_42-.txt"), "--documents"};
  const risposta r = esegui(a);
  EXPECT_EQ(r.stato, 0);
  EXPECT_NE(r.err.find(dir.file("Prova_42_scheda_treno.txt") +
                       ":18: avviso [documento]: 'CAPOLINEA NORD DI VALLE AZZURRA'"),
            std::string::npos)
      << r.err;
  auto con_werror = a;
  con_werror.push_back("--werror");
  EXPECT_EQ(esegui(con_werror).stato, 1);
  con_werror.push_back("--no-warn=documento");
  // The checker points at the same name in the train text.
  con_werror.push_back("--no-warn=troppo-lungo");
  EXPECT_EQ(esegui(con_werror).stato, 0);
}

}  // namespace
}  // namespace percorso
