// The framing: whole messages are taken, and whatever is malformed costs that message
// alone: its body is skipped where its Content-Length is known, otherwise reading takes
// up at the next "Content-Length:".
#include "lsp/trama.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace percorso::lsp {
namespace {

using tipo = letto::tipo;

struct caso {
  const char* nome;
  std::string ingresso;
  std::vector<tipo> attesi;  // what each read gives, the last one the end
  std::string ultimo_corpo;  // the body of the last message read, when there is one
};

std::string messaggio(std::string_view corpo) {
  return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + std::string(corpo);
}

TEST(Trama, OgniIngressoSiLeggeFinoAllaFine) {
  const std::string dopo = messaggio("{\"b\":2}");
  const std::vector<caso> casi = {
      {"uno", messaggio("{}"), {tipo::corpo, tipo::fine}, "{}"},
      {"due di fila", messaggio("{}") + dopo, {tipo::corpo, tipo::corpo, tipo::fine}, "{\"b\":2}"},
      {"nome in minuscole, spazi, LF soli, altra riga",
       "content-length:   7 \nContent-Type: x\n\n{\"b\":2}",
       {tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"senza Content-Length",
       "Content-Type: x\r\n\r\n" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"lunghezza non numero",
       "Content-Length: 1x\r\n\r\n" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"riga senza due punti",
       "Content-Length 5\r\n\r\n" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"riga troppo lunga",
       std::string(5000, 'x') + "\r\n\r\n" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"oltre il massimo",
       "Content-Length: " + std::to_string(corpo_massimo + 1) + "\r\n\r\n",
       {tipo::malformato, tipo::fine},
       ""},
      {"2^40 byte annunciati non inghiottono il resto",
       "Content-Length: 1099511627776\r\n\r\n{\"a\":1}" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"corpo piu' lungo del suo Content-Length",
       "Content-Length: 2\r\n\r\n{\"a\":1}" + dopo,
       {tipo::corpo, tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"riga rotta dopo un Content-Length: il corpo si salta",
       "Content-Length: 7\r\n{rotta\r\n\r\n{\"a\":1}" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"byte qualsiasi prima di un messaggio",
       std::string("\x00\xff garbage: {[\n\n", 16) + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"Content-Length in minuscole dopo un'intestazione senza",
       "X: 1\r\n\r\n{}content-length: 7\r\n\r\n{\"b\":2}",
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"coda di un corpo attaccata all'intestazione seguente",
       "Content-Length: 2\r\n\r\n{}:3]}" + dopo,
       {tipo::corpo, tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"un campo che inghiotte l'intestazione seguente",
       "X: 1" + dopo,
       {tipo::malformato, tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"nome con spazi prima dei due punti",
       "Content-Length : 7\r\n\r\n{\"b\":2}",
       {tipo::corpo, tipo::fine},
       "{\"b\":2}"},
      {"corpo interrotto", "Content-Length: 10\r\n\r\n{}", {tipo::malformato, tipo::fine}, ""},
      {"intestazione interrotta", "Content-Length: 10\r\n", {tipo::malformato, tipo::fine}, ""},
      {"vuoto", "", {tipo::fine}, ""},
  };
  for (const caso& c : casi) {
    std::istringstream in(c.ingresso);
    lettore_messaggi lettore(in);
    std::string ultimo;
    for (const tipo t : c.attesi) {
      const letto l = lettore.prossimo();
      EXPECT_EQ(l.esito, t) << c.nome;
      if (l.esito == tipo::corpo) ultimo = l.corpo;
      if (l.esito == tipo::malformato) {
        EXPECT_FALSE(l.corpo.empty()) << c.nome;
      }
    }
    EXPECT_EQ(ultimo, c.ultimo_corpo) << c.nome;
  }
}

TEST(Trama, LaScritturaSiRilegge) {
  std::stringstream s;
  scrivi_messaggio(s, "{\"città\":1}");
  EXPECT_EQ(s.str().substr(0, 20), "Content-Length: 12\r\n");
  EXPECT_EQ(lettore_messaggi(s).prossimo().corpo, "{\"città\":1}");
}

}  // namespace
}  // namespace percorso::lsp
