// The row walk: what each field in a keyword's place is, in which part, and the
// fields of a row with their byte ranges, lines and the line they come from.
#include "sintassi/cammino.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sintassi/campo_alla_colonna.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

std::string nome_voce(voce v) {
  switch (v) {
    case voce::prima_di_generale:
      return "prima";
    case voce::generale:
      return "generale";
    case voce::trattino:
      return "trattino";
    case voce::chiave:
      return "chiave";
    case voce::ultimo:
      return "ultimo";
    case voce::fine_dopo_trattino:
      return "fine-dopo-trattino";
  }
  return "?";
}

// "tipo:testo@riga:colonna" for every field in a keyword's place; rows are not read.
std::vector<std::string> voci(const std::string& testo, bool della_linea) {
  cammino_righe w(prova::byte(testo), della_linea);
  std::vector<std::string> v;
  while (const auto k = w.prossima())
    v.push_back(nome_voce(k->tipo) + ":" + std::string(k->campo.testo) + "@" +
                std::to_string(k->campo.riga) + ":" + std::to_string(k->campo.colonna));
  return v;
}

struct caso_voci {
  const char* nome;
  std::string testo;
  bool della_linea;
  std::vector<std::string> attese;
};

void PrintTo(const caso_voci& c, std::ostream* os) {
  *os << c.nome;
}

class Voci : public ::testing::TestWithParam<caso_voci> {};

TEST_P(Voci, AsTheCompilerReadsThem) {
  EXPECT_EQ(voci(GetParam().testo, GetParam().della_linea), GetParam().attese);
}

INSTANTIATE_TEST_SUITE_P(
    Cammino, Voci,
    ::testing::Values(
        caso_voci{
            "before_generale_and_last_field",
            "x\n[generale]\nfoo\n[fine]",
            true,
            {"prima:x@1:1", "generale:[generale]@2:1", "chiave:foo@3:1", "ultimo:[fine]@4:1"}},
        caso_voci{"generale_as_last_field_is_not_found",
                  "x\n[generale]",
                  false,
                  {"prima:x@1:1", "ultimo:[generale]@2:1"}},
        // In the body two hyphen fields are skipped, the third is taken as it stands.
        caso_voci{"body_skips_two_hyphens",
                  "[generale]\n[p]\na-1\nb-2\nc-3\n[fine]",
                  true,
                  {"generale:[generale]@1:1", "chiave:[p]@2:1", "trattino:a-1@3:1",
                   "trattino:b-2@4:1", "chiave:c-3@5:1", "ultimo:[fine]@6:1"}},
        // The header reads a hyphen field's replacement without asking for the end.
        caso_voci{"header_replacement_may_be_last",
                  "[generale]\na-1\nx",
                  true,
                  {"generale:[generale]@1:1", "trattino:a-1@2:1", "chiave:x@3:1"}},
        caso_voci{"header_ends_after_hyphen",
                  "[generale]\na-1\nb-2",
                  true,
                  {"generale:[generale]@1:1", "trattino:a-1@2:1", "trattino:b-2@3:1",
                   "fine-dopo-trattino:b-2@3:1"}},
        // A run of empty fields reads as its last one, and ends a run of
        // hyphen fields as one empty field does.
        caso_voci{"empty_run_reads_as_its_last",
                  "[generale]\n[p]\na-1\n,,\n  \n\r\nb-2\nc-3\nd-4\n[fine]",
                  true,
                  {"generale:[generale]@1:1", "chiave:[p]@2:1", "trattino:a-1@3:1", "chiave:@6:1",
                   "trattino:b-2@7:1", "trattino:c-3@8:1", "chiave:d-4@9:1", "ultimo:[fine]@10:1"}},
        // The last field of the text stays the last, empty or not.
        caso_voci{"empty_run_to_the_end",
                  "[generale]\n[p]\n\n,\n",
                  false,
                  {"generale:[generale]@1:1", "chiave:[p]@2:1", "chiave:@4:1", "ultimo:@4:2"}},
        caso_voci{"blanks_after_an_empty_run",
                  "[generale]\n,\n  ",
                  false,
                  {"generale:[generale]@1:1", "chiave:@2:2", "ultimo:@3:3"}}));

TEST(Cammino, ARowsFieldsWithRangesAndTheLineTheyComeFrom) {
  const std::string t =
      "[generale]\r\nlunghezza percorso,  1200\r\n[p]\r\npendenza, 50\r\n7, x\r\n";
  cammino_righe w(prova::byte(t), true);
  ASSERT_EQ(w.prossima()->tipo, voce::generale);
  const auto k = w.prossima();
  ASSERT_EQ(k->tipo, voce::chiave);
  EXPECT_EQ(k->dove, parte::intestazione);
  EXPECT_EQ(k->campo.inizio, 12u);
  EXPECT_EQ(k->campo.fine, 30u);
  campi_riga r;
  w.campi(parola(chiave::lunghezza), r);
  ASSERT_EQ(r.letti, 1u);
  EXPECT_EQ(r.campi[0].testo, "1200");
  EXPECT_EQ(t.substr(r.campi[0].inizio, r.campi[0].fine - r.campi[0].inizio), "1200");
  EXPECT_EQ(r.campi[0].numero, 1200);
  EXPECT_EQ(r.campi[0].colonna, 22);
  EXPECT_FALSE(r.campi[0].seguente);

  EXPECT_EQ(w.prossima()->campo.testo, "[p]");
  EXPECT_EQ(w.attuale(), parte::corpo);
  EXPECT_EQ(w.prossima()->dove, parte::corpo);
  // A short row takes the next line's first field.
  campi_riga p;
  w.campi(parola(chiave::pendenza), p);
  ASSERT_EQ(p.letti, 2u);
  EXPECT_FALSE(p.campi[0].seguente);
  EXPECT_TRUE(p.campi[1].seguente);
  EXPECT_EQ(p.campi[1].riga, 5);
  // Read again from its line, as its author sees it.
  w.riparti_dalla_riga(p.campi[1]);
  const auto di_nuovo = w.prossima();
  EXPECT_EQ(di_nuovo->campo.testo, "7");
  EXPECT_EQ(di_nuovo->campo.riga, 5);
}

TEST(Cammino, RowPastTheEndKeepsWhereTheReaderStood) {
  const std::string t = "[generale]\n[p]\nsegnale, 100, 1\n";
  cammino_righe w(prova::byte(t), false);
  w.prossima();
  w.prossima();
  ASSERT_EQ(w.prossima()->campo.testo, "segnale");
  campi_riga r;
  w.campi(parola(chiave::segnale), r);
  EXPECT_EQ(r.letti, 2u);
  EXPECT_EQ(r.riga_ultimo, 3);
  EXPECT_EQ(r.colonna_ultimo, 15);
}

struct caso_colonna {
  const char* nome;
  std::int32_t colonna;
  std::string atteso;  // "chiave", a field's name, or "" for nothing
};

void PrintTo(const caso_colonna& c, std::ostream* os) {
  *os << c.nome;
}

class Colonne : public ::testing::TestWithParam<caso_colonna> {};

// "segnale,    2150,   1, 4"
TEST_P(Colonne, AnyColumnInsideAField) {
  const auto c = campo_alla_colonna(fonte::treno, "segnale,    2150,   1, 4", GetParam().colonna);
  std::string nome;
  if (c) nome = c->campo == nullptr ? "chiave" : std::string(c->campo->nome);
  EXPECT_EQ(nome, GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Cammino, Colonne,
    ::testing::Values(caso_colonna{"keyword_start", 1, "chiave"},
                      caso_colonna{"keyword_inside", 7, "chiave"}, caso_colonna{"comma", 8, ""},
                      caso_colonna{"blank", 10, ""}, caso_colonna{"field_start", 13, "posizione"},
                      caso_colonna{"field_end", 16, "posizione"},
                      caso_colonna{"after_field", 17, ""}, caso_colonna{"next_field", 21, "sx"},
                      caso_colonna{"past_the_line", 40, ""}, caso_colonna{"column_zero", 0, ""}));

TEST(Cammino, FieldRangeInTheLine) {
  const auto c = campo_alla_colonna(fonte::treno, "segnale,    2150,   1", 14);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->inizio, 12u);
  EXPECT_EQ(c->fine, 16u);
  EXPECT_EQ(c->chiave->id, chiave::segnale);
  EXPECT_FALSE(campo_alla_colonna(fonte::linea, "segnale,    2150,   1", 14));
}

}  // namespace
}  // namespace percorso
