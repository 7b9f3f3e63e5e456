// The author's checker: a table of broken texts, each with the place and the kind
// of finding it must give; the embedded texts; the cap on findings of one name.
#include "checker/verifica.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/nomi_sul_disco.h"
#include "checker/stato.h"
#include "documents/scheda_treno.h"
#include "sintassi/constatazioni.h"
#include "support/file_system_guasto.h"
#include "support/testi_sorgente.h"
#include "writers/nuovo_scenario.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

using prova::linea;
using prova::treno;

// "L:4:11" or "T:2:1": the text, line and column of a finding.
std::string luogo(const diagnosi& c) {
  return std::string(c.fonte == fonte::linea ? "L" : "T") + ":" + std::to_string(c.riga) + ":" +
         std::to_string(c.colonna);
}

std::string elenco(const std::vector<diagnosi>& tutte) {
  std::ostringstream s;
  for (const diagnosi& c : tutte)
    s << "\n  " << luogo(c) << " " << (c.grado == livello::errore ? "errore" : "avviso") << " ["
      << c.nome << "] " << c.messaggio;
  return s.str();
}

// The checker's findings for two texts, with the compiler's findings for the same texts.
std::vector<diagnosi> verifica_di(const std::string& l, const std::string& t) {
  const modello m = prova::compila(l, t, 1);
  return verifica(prova::testi(l, t), m.rilievi);
}

std::string linea_1000(std::initializer_list<std::string_view> corpo = {},
                       std::initializer_list<std::string_view> intestazione = {}) {
  return linea(1000, corpo, intestazione);
}

std::string stazione(std::int32_t p, std::string_view resto) {
  return "stazione, " + std::to_string(p) + ", " + std::string(resto);
}

struct caso {
  const char* nome;
  std::string linea;
  std::string treno;
  const char* dove;
  std::string_view constatazione;
  livello grado;
  const char* nel_messaggio = "";
};

void PrintTo(const caso& c, std::ostream* os) {
  *os << c.nome;
}

class TestiRotti : public ::testing::TestWithParam<caso> {};

TEST_P(TestiRotti, GiveTheirFindingAtTheirPlace) {
  const caso& c = GetParam();
  const auto tutte = verifica_di(c.linea, c.treno);
  const auto trovata = std::find_if(tutte.begin(), tutte.end(), [&](const diagnosi& x) {
    return luogo(x) == c.dove && x.nome == c.constatazione;
  });
  ASSERT_NE(trovata, tutte.end()) << c.dove << " [" << c.constatazione
                                  << "] not in:" << elenco(tutte);
  EXPECT_EQ(trovata->grado, c.grado) << trovata->messaggio;
  EXPECT_NE(trovata->messaggio.find(c.nel_messaggio), std::string::npos) << trovata->messaggio;
  // A range, when given, covers at least one byte: an empty field has none.
  for (const diagnosi& x : tutte)
    EXPECT_TRUE(x.colonna_fine == 0 || x.colonna_fine > x.colonna) << luogo(x) << " " << x.nome;
}

// Line description lines: 1 [generale], 2 length, header lines, [pendenze], body.
// Train description lines: 1 [generale], then the rows.
const std::string fermata = "12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0, 0, 0, ";
const std::string senza_orario = "25, 200, 0,0,0, 0,0,0, 0,0,0, 0, ";

// A line of 1000 m with n boards, one a cell apart.
std::string con_cartelli(int n) {
  std::string corpo;
  for (int i = 1; i <= n; ++i)
    corpo += "cartello_indicatore, " + std::to_string(50 * i) + ", B\r\n";
  return linea(1000, {corpo});
}

const caso casi[] = {
    // What the format accepts but an author rarely means.
    caso{"overlapping_curves", linea_1000({"curva3d, 100, 300", "curva3d, 200, 100"}), treno(),
         "L:5:10", "curve-sovrapposte", livello::avviso},
    caso{"empty_mountain_stretch", linea_1000({"montagna, 100, 120, 1"}), treno(), "L:4:16",
         "tratto-vuoto", livello::avviso},
    caso{"signal_near_the_start", linea_1000(), treno({"segnale, 100, 1,4,1,0,0,1,3,1,0,0"}),
         "T:2:10", "segnale-vicino-inizio", livello::avviso},
    // A row before the first cell replaces the value in force before it fills a cell.
    caso{"speed_row_in_km", linea_1000(), treno({"velocita, 0, 60", "velocita, 12, 100"}), "T:3:11",
         "valore-sostituito", livello::errore,
         "prende il posto di 60 della riga 2 (0 m), che cosi' non arriva in nessuna cella, e vale "
         "dall'inizio; se intendevi 12 km, scrivi 12000"},
    caso{"second_block_of_gradients",
         linea_1000({"pendenza, 0, 0", "pendenza, 500, 3", "pendenza, 0, 5", "pendenza, 600, 2"}),
         treno(), "L:6:11", "valore-sostituito", livello::errore,
         "il suo valore 5 prende il posto di 3 della riga 5 (500 m), che cosi' non arriva in "
         "nessuna cella, e vale da 500 m"},
    caso{"slowdown_near_the_start", linea_1000(), treno({"rallentamento, 1000, 30, 200, 0,0,0"}),
         "T:2:16", "rallentamento-senza-avviso", livello::avviso},
    caso{"station_at_the_start", linea_1000(), treno({stazione(0, fermata + "A")}), "T:2:11",
         "stazione-all-inizio", livello::errore},
    caso{"point_table_full", con_cartelli(78), treno({stazione(500, fermata + "A")}), "T:2:11",
         "tabella-piena", livello::errore},
    // Numbers that are not numbers, and what the compiler reads instead.
    caso{"letter_in_number", linea_1000(), treno({"velocita, 12O0, 50"}), "T:2:11", "non-numero",
         livello::errore, "legge 0"},
    caso{"range_as_number", linea_1000({"pendenza, 300, 90-100"}), treno(), "L:4:16", "non-numero",
         livello::errore, "intervallo"},
    caso{"decimal_comma", linea_1000(), treno({"aderenza, 0, 2,5"}), "T:2:16", "numeri-in-piu",
         livello::avviso, "virgola decimale"},
    caso{"decimal_point", linea_1000(), treno({"aderenza, 0, 2.5"}), "T:2:14", "decimale",
         livello::avviso, "legge 2"},
    caso{"tab_before_digits", linea_1000(), treno({"sabbia,\t200"}), "T:2:8", "separatore",
         livello::errore, "tabulazione"},
    caso{"semicolon_in_keyword", linea_1000(), treno({"sabbia; 200", "vetture, 3"}), "T:2:7",
         "separatore", livello::errore},
    caso{"number_too_wide", linea_1000(), treno({"sabbia, 40000"}), "T:2:9", "fuori-larghezza",
         livello::errore, "16 bit"},
    caso{"empty_number", linea_1000({"pendenza, , 3"}), treno(), "L:4:11", "non-numero",
         livello::errore, "campo vuoto"},
    // Rows with too few or too many fields.
    caso{"station_without_name", linea_1000(),
         treno({stazione(0, senza_orario + "0, 0, 0"), "sabbia, 5"}), "T:2:54", "campi-mancanti",
         livello::errore, "dalla riga 3"},
    caso{"signal_one_number_short", linea_1000(),
         treno({"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0", "sabbia, 5"}), "T:2:41",
         "campi-mancanti", livello::errore, "ne manca 1 ('tempo')"},
    caso{"row_cut_by_the_end", linea_1000(), "[generale]\r\nx\r\nsabbia", "T:3:1", "ultima-riga",
         livello::avviso},
    // A row may go on on the next line, unless that line starts a row of its own.
    caso{"row_continued_on_the_next_line", linea_1000(),
         treno({"stazione, 1000, 12, 200, 0,0,0, 0,0,0", "  0,0,0, 0, 15, 10, 0, NORD"}), "T:3:3",
         "riga-continuata", livello::avviso, "'parametro_3', 'parametro_4'"},
    caso{"short_row_swallows_a_comment", linea_1000(),
         treno({"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0", "# orari estivi", "sabbia, 5"}),
         "T:2:41", "campi-mancanti", livello::errore, "prende '#' dalla riga 3"},
    caso{"blank_line_inside_a_continued_row", linea_1000(),
         treno({"segnale, 1000, 1, 4", "", " 1, 0, 0, 1, 3, 1, 0, 0"}), "T:3:1", "non-numero",
         livello::errore, "campo vuoto"},
    caso{"row_continued_twice", linea_1000(),
         treno({"stazione, 1000, 12, 200", "0,0,0, 0,0,0", "0,0,0, 0, 15, 10, 0, NORD"}), "T:4:1",
         "riga-continuata", livello::avviso, "della riga 2"},
    // A run of rows the compiler ignores for one cause is told once.
    caso{"header_not_closed",
         linea(1000, {}, {"curvad5, 100, 100", "curvas4, 300, 100", "curvad3, 500, 100"}), treno(),
         "L:3:1", "fuori-sezione", livello::errore,
         "fino alla riga 6, e il compilatore ignora le 3 righe del corpo che contiene, fino alla "
         "riga 5"},
    caso{"rows_before_generale", linea_1000(), "velocita, 0, 50\r\nsabbia, 3\r\n" + treno(),
         "T:1:1", "prima-di-generale", livello::avviso,
         "'velocita' e un'altra riga, fino alla riga 2"},
    caso{"row_short_at_the_end", linea_1000(), "[generale]\r\nsegnale, 1000, 1", "T:2:17",
         "campi-mancanti", livello::errore, "finisce"},
    caso{"too_many_fields", linea_1000({"pendenza, 300, 2, 7"}), treno(), "L:4:19", "numeri-in-piu",
         livello::avviso},
    caso{"name_with_comma", linea_1000(), treno({stazione(1000, fermata + "CASTEL, NUOVO")}),
         "T:2:67", "campi-in-piu", livello::avviso, "virgole"},
    // Keywords that match nothing, or match in the wrong place.
    caso{"typo", linea_1000({"pendeza, 300, -3"}), treno(), "L:4:1", "chiave-sconosciuta",
         livello::errore, "forse 'pendenza'"},
    caso{"half_a_keyword", linea_1000({}, {"lunghezza, 900"}), treno(), "L:3:1",
         "chiave-sconosciuta", livello::errore, "forse 'lunghezza percorso'"},
    caso{"exact_case", linea_1000({}, {"Progressiva chilometrica uno, 0, 0, 0"}), treno(), "L:3:1",
         "chiave-sconosciuta", livello::errore, "'progressiva chilometrica uno'"},
    caso{"no_keyword_near", linea_1000({"zzzzzz"}), treno(), "L:4:1", "chiave-sconosciuta",
         livello::avviso},
    caso{"train_keyword_in_line", linea_1000({"sabbia, 5"}), treno(), "L:4:1", "fuori-sezione",
         livello::errore, "vale nella descrizione del treno"},
    caso{"body_keyword_in_header", linea_1000({}, {"pendenza, 0, 0"}), treno(), "L:3:1",
         "fuori-sezione", livello::errore, "del corpo della linea, ma nessun campo di sezione"},
    caso{"two_keywords_in_one_field", linea_1000(), treno({"velocita aderenza, 0, 50"}), "T:2:1",
         "piu-chiavi", livello::errore},
    caso{"hyphen_skips_row", linea_1000({"-pendenza, 300, 2"}), treno(), "L:4:1", "trattino",
         livello::avviso},
    // Values a simulator cannot use.
    caso{"position_beyond_line", linea_1000({"pendenza, 1500, 0"}), treno(), "L:4:11",
         "oltre-linea", livello::errore, "1000 m"},
    caso{"curve_ends_beyond_line", linea_1000({"curvad4, 900, 300"}), treno(), "L:4:15",
         "oltre-linea", livello::errore, "finisce a 1200 m"},
    caso{"negative_position", linea_1000({"pendenza, -50, 0"}), treno(), "L:4:11",
         "fuori-intervallo", livello::errore, "negativa"},
    caso{"hour_out_of_range", linea_1000(), treno({"orologio, 25, 7, 0"}), "T:2:11",
         "fuori-intervallo", livello::errore, "da 0 a 23"},
    caso{"station_minutes_out_of_range", linea_1000(),
         treno({stazione(1000, "12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 15, 70, 0, A")}), "T:2:54",
         "fuori-intervallo", livello::errore},
    caso{"timetable_backwards_skipping_untimed", linea_1000(),
         treno({stazione(0, "25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 15, 40, 0, PRIMA"),
                stazione(1000, senza_orario + "0, 0, 0, SENZA"),
                stazione(2000, "25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 15, 30, 0, TERZA")}),
         "T:4:50", "orario-indietro", livello::errore, "15:40:00 della stazione PRIMA, riga 2"},
    caso{"speed_out_of_range", linea_1000(), treno({"velocita, 0, 1300"}), "T:2:14",
         "fuori-intervallo", livello::errore},
    caso{"speed_not_multiple_of_5", linea_1000(), treno({"velocita, 0, 62"}), "T:2:14",
         "non-multiplo", livello::avviso, "60 km/h"},
    caso{"signal_kind_out_of_range", linea_1000(),
         treno({"segnale, 1000, 5, 4, 1, 0, 0, 1, 3, 1, 0, 0"}), "T:2:16", "fuori-intervallo",
         livello::errore},
    caso{"station_position_not_multiple", linea_1000(), treno({stazione(1025, fermata + "A")}),
         "T:2:11", "non-multiplo", livello::errore},
    caso{"name_outside_ascii", linea_1000(), treno({stazione(1000, fermata + "CORNELL\xC3\x80")}),
         "T:2:66", "caratteri", livello::errore, "0xC3"},
    caso{"name_too_long", linea_1000(), treno({stazione(1000, fermata + std::string(30, 'N'))}),
         "T:2:59", "troppo-lungo", livello::avviso, "27"},
    caso{"board_text_with_control_byte", linea_1000({"cartello_indicatore, 1000, (a\x1b[2J)"}),
         treno(), "L:4:30", "caratteri", livello::errore, "0x1B"},
    // Whole texts.
    caso{"empty_train", linea_1000(), "", "T:1:1", "testo-vuoto", livello::errore},
    caso{"train_without_generale", linea_1000(), "sabbia, 5\r\n[fine]\r\n", "T:1:1",
         "senza-generale", livello::errore},
    caso{"line_without_generale", "lunghezza percorso, 1000\r\n", treno(), "L:1:1",
         "senza-generale", livello::errore},
    caso{"line_without_length", "[generale]\r\nsfondo uno, 0\r\n[curve]\r\n", treno(), "L:1:1",
         "senza-lunghezza", livello::errore},
    // Two features in one cell, naming both.
    caso{"signal_on_board", linea_1000({"cartello_indicatore, 1000, (x)"}),
         treno({"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}), "T:2:10", "cella-occupata",
         livello::errore,
         "cella 21 e' gia' occupata dal cartello '(x)', riga 4 della "
         "descrizione della linea"},
    caso{"signal_on_station", linea_1000(),
         treno(
             {stazione(1000, fermata + "CORNELLA"), "segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}),
         "T:3:10", "cella-occupata", livello::errore,
         "la cella 21 e' gia' occupata dalla stazione CORNELLA, riga 2"},
    caso{"station_over_signal", linea_1000(),
         treno(
             {"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0", stazione(1000, fermata + "CORNELLA")}),
         "T:3:11", "cella-occupata", livello::errore, "prende il posto del segnale, riga 2"},
    caso{"slowdown_warning_on_signal", linea_1000(),
         treno({"segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0",
                "rallentamento, 2200, 60, 100, 0, 0, 60"}),
         "T:3:16", "cella-occupata", livello::errore, "dal segnale, riga 2"},
    // The first cell carries the line's check values: the compiler stops without a place.
    caso{"board_in_the_first_cell", linea_1000({"cartello_indicatore, 20, (x)"}), treno(), "L:4:22",
         "cella-di-controllo", livello::errore, "presa dal cartello '(x)'"},
    caso{"speed_point_in_the_first_cell", linea_1000(), treno({"abbattimento, 60, 30"}), "T:2:15",
         "cella-di-controllo", livello::errore, "presa dal punto di velocita'"},
    caso{"stations_too_close", linea_1000(),
         treno({stazione(1000, fermata + "A"), stazione(1400, fermata + "B")}), "T:3:11",
         "stazioni-vicine", livello::errore, "fine di A (1100 m, riga 2)"},
    caso{"curve_without_class", linea_1000({"curvad, 100, 100"}), treno(), "L:4:1", "classe-curva",
         livello::errore},
    caso{"repetition_without_4_or_9", linea_1000({}, {"ripetizione segnali, 50, 50"}), treno(),
         "L:3:1", "codici-ripetizione", livello::errore},
    // Where the compiler stops reading, and the checker goes on.
    caso{"stop_of_the_line_text", linea_1000({"pendenza, 7901, 0", "pendenza, 1200, 0"}), treno(),
         "L:4:11", "resto-non-compilato", livello::avviso, "errore 15"},
    caso{"findings_after_the_stop", linea_1000({"pendenza, 7901, 0", "pendenza, 1200, 0"}), treno(),
         "L:5:11", "oltre-linea", livello::errore},
    caso{"train_not_compiled_after_a_line_stop", linea_1000({"curvad, 100, 100"}),
         treno({"sabbia, 5"}), "T:1:1", "resto-non-compilato", livello::avviso,
         "riga 4 della descrizione della linea"},
    // Keywords: what was meant, and whether a row is lost.
    caso{"curve_typo_keeps_hand_and_class", linea_1000({"curvda3, 100, 100"}), treno(), "L:4:1",
         "chiave-sconosciuta", livello::errore, "forse 'curvad3'"},
    caso{"curve_typo_left_hand", linea_1000({"cruvas4, 100, 100"}), treno(), "L:4:1",
         "chiave-sconosciuta", livello::errore, "forse 'curvas4'"},
    caso{"one_test_word_of_two", linea_1000(), treno({"percentuale massa, 110"}), "T:2:1",
         "chiave-sconosciuta", livello::errore, "forse 'percentuale massa frenata'"},
    caso{"test_word_among_others", linea_1000({}, {"lunghezza della linea, 900"}), treno(), "L:3:1",
         "chiave-sconosciuta", livello::errore, "forse 'lunghezza percorso'"},
    caso{"unknown_keyword_with_numbers", linea_1000({"zzzzzz, 1"}), treno(), "L:4:1",
         "chiave-sconosciuta", livello::errore, "la riga va persa"},
    caso{"hyphen_for_underscore", linea_1000({"cartello-indicatore, 500, (X)"}), treno(), "L:4:1",
         "trattino-chiave", livello::errore, "scrivi 'cartello_indicatore'"},
    caso{"hyphen_in_a_name_after_its_comma", linea_1000(),
         treno({stazione(1000, fermata + "CASTEL, VAL-STAZIONE")}), "T:2:67", "trattino",
         livello::avviso},
    caso{"number_glued_to_keyword", linea_1000({"curvas3 1200, 400", "pendenza, 0, 0"}), treno(),
         "L:4:1", "virgola-mancante", livello::errore, "classe 1"},
    caso{"number_glued_to_unknown_keyword", linea_1000(), treno({"sabia 200"}), "T:2:1",
         "chiave-sconosciuta", livello::errore, "forse 'sabbia, 200'"},
    // What the compiler reads from a field, said plainly.
    caso{"two_numbers_shift_the_row", linea_1000(), treno({"velocita, 1500 80, 100"}), "T:2:11",
         "due-numeri", livello::errore, "80 come 'velocita'"},
    caso{"blanks_alone_between_numbers", linea_1000(), treno({"orologio, 8 0 0 0"}), "T:2:17",
         "numeri-in-piu", livello::avviso},
    caso{"two_numbers_lose_the_second", linea_1000(), treno({"sabbia, 200 5"}), "T:2:9",
         "due-numeri", livello::errore, "5 resta in piu'"},
    caso{"letter_l_for_one", linea_1000(), treno({"velocita, l500, 50"}), "T:2:11", "non-numero",
         livello::errore, "forse 1500?"},
    caso{"typographic_minus",
         linea_1000({"pendenza, 300, \xE2\x88\x92"
                     "3"}),
         treno(), "L:4:16", "non-numero", livello::errore, "U+2212 (segno meno tipografico"},
    caso{"en_dash_of_windows_1252",
         linea_1000({"pendenza, 300, \x96"
                     "3"}),
         treno(), "L:4:16", "non-numero", livello::errore,
         "U+2013 (trattino medio, byte 0x96) non e' ASCII: scrivi "
         "'-'; forse -3?"},
    caso{"no_break_space_before_a_number", linea_1000(),
         treno({"sabbia,\xA0"
                "200"}),
         "T:2:8", "non-numero", livello::errore,
         "U+00A0 (spazio non separabile, byte 0xA0) non e' ASCII: "
         "scrivi ' '; forse 200?"},
    caso{"curly_quotes_on_a_board",
         linea_1000({"cartello_indicatore, 500, \xE2\x80\x9CX\xE2\x80\x9D"}), treno(), "L:4:27",
         "caratteri", livello::errore, "U+201C (virgolette curve"},
    caso{"accented_letter_with_its_ascii", linea_1000(),
         treno({stazione(1000, fermata + "CITT\xC3\x80")}), "T:2:63", "caratteri", livello::errore,
         "U+00C0 (A accentata, byte 0xC3 0x80) nel testo: il simulatore mostra solo caratteri "
         "ASCII stampabili a 7 bit; scrivi A'"},
    caso{"utf8_text", linea_1000(), treno({stazione(1000, fermata + "CITT\xC3\x80")}), "T:2:63",
         "utf-8", livello::avviso, "salvalo come Windows-1252"},
    // Comments, which the format has not.
    caso{"comment_read_as_a_row", linea_1000({"// pendenza vecchia", "pendenza, 300, 2"}), treno(),
         "L:4:1", "commento", livello::errore, "la legge come riga 'pendenza'"},
    caso{"comment_ignored", linea_1000(), treno({"# orari estivi", "sabbia, 5"}), "T:2:1",
         "commento", livello::avviso, "la ignora"},
    caso{"comment_with_a_hyphen", linea_1000(), treno({"# --- segnali ---", "sabbia, 5"}), "T:2:1",
         "commento", livello::avviso, "la salta"},
};

INSTANTIATE_TEST_SUITE_P(Verifica, TestiRotti, ::testing::ValuesIn(casi),
                         [](const auto& info) { return std::string(info.param.nome); });

// The table of findings both ways: every name the compiler and the checker give on
// the cases is in it, and every entry is given by some case (a document's finding by
// a station name longer than its cell, compile's warning of a name typed in another
// case by a disk that keeps it otherwise).
TEST(Verifica, TheTableOfFindingsIsWhatTheCasesGive) {
  std::set<std::string> dati;
  for (const caso& c : casi) {
    const modello m = prova::compila(c.linea, c.treno, 1);
    for (const diagnosi& a : m.avvisi) dati.insert(std::string(a.nome));
    for (const diagnosi& x : verifica(prova::testi(c.linea, c.treno), m.rilievi))
      dati.insert(std::string(x.nome));
  }
  const std::string lungo(40, 'N');
  const modello m = prova::compila(linea_1000(), treno({stazione(500, fermata + lungo)}), 1);
  if (!scheda_treno(m).avvisi.empty()) dati.insert(std::string(genere::documento.nome));
  const auto reale = file_system_reale();
  prova::file_system_guasto fs(*reale);
  const std::string scritto[] = {"valle_linea.txt"};
  fs.registra_nome(scritto[0], "Valle_linea.txt");
  for (const messaggio& x : maiuscole_diverse(fs, scritto, {})) dati.insert(x.nome);
  std::set<std::string> tabella;
  for (const genere_constatazione* g : generi_constatazioni()) tabella.insert(std::string(g->nome));
  for (const std::string& n : dati) EXPECT_TRUE(tabella.contains(n)) << n << " is not in the table";
  for (const std::string& n : tabella) EXPECT_TRUE(dati.contains(n)) << "no case gives " << n;
}

std::string testo_di(std::span<const std::string_view> righe) {
  const auto byte = testo_crlf(righe);
  return {byte.begin(), byte.end()};
}

TEST(Verifica, EmbeddedTextsGiveNoError) {
  const auto tutte = verifica_di(testo_di(righe_linea()), testo_di(righe_treno()));
  std::vector<diagnosi> errori;
  std::copy_if(tutte.begin(), tutte.end(), std::back_inserter(errori),
               [](const diagnosi& c) { return c.grado == livello::errore; });
  EXPECT_TRUE(errori.empty()) << elenco(errori);
}

// The cells the checker claims hold the same origins the compiler records for the
// features it places: both read the rows alike.
TEST(Verifica, CellsHoldTheOriginsTheCompilerRecords) {
  const std::string l = testo_di(righe_linea()), t = testo_di(righe_treno());
  const modello m = prova::compila(l, t, 1);
  ASSERT_EQ(m.codice_errore, 0);
  controllo::verifica_in_corso v;
  controllo::leggi_linea(v, prova::byte(l));
  controllo::leggi_treno(v, prova::byte(t));
  std::map<std::pair<fonte, std::int32_t>, origine> viste;
  for (const controllo::cella_vista& c : v.celle)
    if (c.da) viste.emplace(std::pair{c.da->fonte, c.da->riga}, *c.da);
  std::size_t confrontate = 0;
  for (const origine& o : m.origini) {
    const auto vista = viste.find({o.fonte, o.riga});
    if (vista == viste.end()) continue;  // mountain-side stretches and kind-25 stations
    ++confrontate;
    const origine& c = vista->second;
    EXPECT_EQ(std::tie(c.elemento, c.colonna, c.inizio, c.fine, c.valore),
              std::tie(o.elemento, o.colonna, o.inizio, o.fine, o.valore))
        << "row " << o.riga;
  }
  EXPECT_EQ(confrontate, viste.size());
  EXPECT_GT(confrontate, 30u);
}

// A mountain-side stretch is called empty exactly when the compiler marks no cell of
// it; ends of x.5 cells after the 1 m taken off round to even.
TEST(Verifica, AStretchIsEmptyExactlyWhenTheCompilerMarksNoCell) {
  for (const int fine : {1000, 1024, 1025, 1026, 1049, 1050, 1074, 1075, 1125}) {
    const std::string riga = "montagna, 1000, " + std::to_string(fine) + ", 1";
    const std::string l = linea_1000({riga});
    const modello m = prova::compila(l, treno(), 1);
    const bool segnata =
        std::any_of(m.celle.begin(), m.celle.end(), [](const cella& c) { return c.montagna != 0; });
    const auto tutte = verifica_di(l, treno());
    const bool vuoto = std::any_of(tutte.begin(), tutte.end(),
                                   [](const diagnosi& c) { return c.nome == "tratto-vuoto"; });
    EXPECT_NE(segnata, vuoto) << riga;
  }
}

// A row continued on the next line is legal: the continuation is named once, and its
// numbers are not read again as rows.
TEST(Verifica, AContinuedRowGivesNoErrorAndCompilesAsOnOneLine) {
  const std::string riga = "stazione, 1000, 12, 200, 0,0,0, 0,0,0";
  const std::string resto = "0,0,0, 0, 15, 10, 0, NORD";
  const std::string continuata = treno({riga, "   " + resto});
  const auto tutte = verifica_di(linea_1000(), continuata);
  ASSERT_EQ(tutte.size(), 1u) << elenco(tutte);
  EXPECT_EQ(tutte[0].nome, "riga-continuata");
  const modello a = prova::compila(linea_1000(), continuata, 1);
  const modello b = prova::compila(linea_1000(), treno({riga + ", " + resto}), 1);
  EXPECT_EQ(a.punti, b.punti);
  EXPECT_EQ(a.codice_errore, 0);
}

std::vector<diagnosi> errori_di(const std::vector<diagnosi>& tutte) {
  std::vector<diagnosi> errori;
  std::copy_if(tutte.begin(), tutte.end(), std::back_inserter(errori),
               [](const diagnosi& c) { return c.grado == livello::errore; });
  return errori;
}

// Texts the format accepts as meant, however unusual their writing: no error.
TEST(Verifica, LegalButUnusualTextsGiveNoError) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::pair<const char*, std::pair<std::string, std::string>> testi[] = {
      {"extra_spaces", {linea_1000({"pendenza ,   300 ,   2   "}), treno({"sabbia ,  5  "})}},
      {"trailing_comma", {linea_1000({"pendenza, 300, 2,"}), treno({"sabbia, 5,"})}},
      {"custom_section_header", {linea_1000({"[mie pendenze]", "pendenza, 300, 2"}), treno()}},
      {"lf_only",
       {prova::righe(
            {"[generale]", "lunghezza percorso, 1000", "[pendenze]", "pendenza, 300, 2", "[fine]"},
            "\n"),
        prova::righe({"[generale]", "sabbia, 5", "[fine]"}, "\n")}},
      {"mixed_line_ends",
       {"[generale]\nlunghezza percorso, 1000\r\n[pendenze]\rpendenza, 300, 2\n[fine]\r\n",
        "[generale]\r\nsabbia, 5\n[fine]\n"}},
      {"byte_order_mark", {bom + linea_1000({"pendenza, 300, 2"}), bom + treno({"sabbia, 5"})}},
      {"station_without_a_time",
       {linea_1000(), treno({stazione(1000, senza_orario + "0, 0, 0, SENZA ORARIO")})}},
      {"timetable_across_midnight",
       {linea(3000), treno({stazione(1000, "25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 23, 50, 0, SERA"),
                            stazione(2000, "25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0, 10, 0, NOTTE")})}},
      {"blanks_between_the_numbers_of_a_whole_row",
       {linea_1000({"pendenza, 300 2"}), treno({"orologio, 8 0 0", "velocita, 0    60"})}},
      {"class_and_codes_apart_from_the_keyword",
       {linea_1000({"curvad 3, 100, 100"}, {"ripetizione segnali 4, 0, 0"}), treno()}},
      {"row_set_aside_by_a_leading_hyphen", {linea_1000({"-pendenza, 300, 2"}), treno()}},
      {"a_second_kilometric_reference_with_its_flag",
       {linea(3000, {"pendenza, 300, 2"},
              {"progressiva chilometrica uno, 0, 12000, 0",
               "progressiva chilometrica due, 1500, 20000, 1"}),
        treno()}},
      {"row_continued_on_the_next_line",
       {linea_1000(),
        treno({"stazione, 1000, 12, 200, 0,0,0, 0,0,0", "   0,0,0, 0, 15, 10, 0, N"})}},
  };
  for (const auto& [nome, t] : testi) {
    const auto errori = errori_di(verifica_di(t.first, t.second));
    EXPECT_TRUE(errori.empty()) << nome << elenco(errori);
  }
  modello m;
  m.nome_percorso = std::string("Val_Chiara");
  m.numero_treno = std::string("2211");
  const auto nuovi = testi_nuovo_scenario(m);
  const auto errori = errori_di(verifica_di(testo_di(nuovi[0].righe), testo_di(nuovi[1].righe)));
  EXPECT_TRUE(errori.empty()) << "new's texts" << elenco(errori);
}

// A UTF-8 text is said to be one once, however many characters show it; a
// byte-order mark alone does not make it one.
TEST(Verifica, AUtf8TextIsSaidOnce) {
  const std::string bom = "\xEF\xBB\xBF";
  const auto quanti = [](const std::string& l, const std::string& t) {
    const auto tutte = verifica_di(l, t);
    return std::count_if(tutte.begin(), tutte.end(),
                         [](const diagnosi& c) { return c.nome == genere::utf8.nome; });
  };
  const std::string due_nomi =
      treno({stazione(1000, fermata + "CITT\xC3\x80"), stazione(2000, fermata + "PERCH\xC3\x89")});
  EXPECT_EQ(quanti(linea(3000), bom + due_nomi), 1);
  EXPECT_EQ(quanti(bom + linea(3000), treno()), 0);
  // The same letters in Windows-1252: no UTF-8 to tell.
  EXPECT_EQ(quanti(linea(3000), treno({stazione(1000, fermata + "CITT\xC0"),
                                       stazione(2000, fermata + "PERCH\xC9")})),
            0);
}

// A run of ignored rows told once: a hundred of them give one finding, and past the
// cap of its name the run words no other finding.
TEST(Verifica, AnUnclosedHeaderIsOneFindingEvenPastTheCap) {
  std::vector<std::string> corpo(150, "curvad5, 100, 100");
  std::string intestazione;
  for (const std::string& r : corpo) intestazione += r + "\r\n";
  const auto conta_nome = [](const std::vector<diagnosi>& t, std::string_view n) {
    return std::count_if(t.begin(), t.end(), [&](const diagnosi& c) { return c.nome == n; });
  };
  const std::string coda = "[pendenze]\r\npendenza, 300x, 0\r\n[fine]\r\n";
  const auto una =
      verifica_di("[generale]\r\nlunghezza percorso, 1000\r\n" + intestazione + coda, treno());
  EXPECT_EQ(conta_nome(una, "fuori-sezione"), 1) << elenco(una);

  std::string treno_in_testa;
  for (int i = 0; i < 100; ++i) treno_in_testa += "sabbia, 5\r\n";
  const auto oltre = verifica_di(
      "[generale]\r\nlunghezza percorso, 1000\r\n" + treno_in_testa + intestazione + coda, treno());
  const auto non_numero = std::find_if(oltre.begin(), oltre.end(),
                                       [](const diagnosi& c) { return c.nome == "non-numero"; });
  ASSERT_NE(non_numero, oltre.end()) << elenco(oltre);
  EXPECT_NE(non_numero->messaggio.find("'300x'"), std::string::npos) << non_numero->messaggio;
}

TEST(Verifica, FindingsOfOneNameStopAtAHundred) {
  std::string corpo;
  for (int i = 0; i < 1000; ++i) corpo += "pendenza, x, 0\r\n";
  const auto tutte = verifica_di(linea_1000() + corpo, treno());
  EXPECT_EQ(std::count_if(tutte.begin(), tutte.end(),
                          [](const diagnosi& c) { return c.nome == "non-numero"; }),
            100);
}

}  // namespace
}  // namespace percorso
