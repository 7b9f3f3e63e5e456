#include "cli/trascinati.h"

#include <algorithm>

#include "cli/uscita.h"
#include "format/nomi_file.h"
#include "format/testo_nomi.h"

namespace percorso {
namespace {

// A box holds no more: the rest is for check, in a console.
constexpr std::size_t rilievi_nel_riquadro = 10;

finestra_attesa::icona icona_di(const corsa_compile& c) {
  if (c.stato != uscita_pulita) return finestra_attesa::icona::errore;
  return c.messaggi.empty() ? finestra_attesa::icona::informazione : finestra_attesa::icona::avviso;
}

}  // namespace

std::optional<std::pair<std::string, std::string>> testi_trascinati(
    std::span<const std::string_view> a) {
  if (a.size() != 2) return std::nullopt;
  const auto linea = [](std::string_view p) { return nome_da_testo_linea(nome_base(p)); };
  const auto treno = [](std::string_view p) { return nome_di_testo_treno(nome_base(p)); };
  if (linea(a[0]) && treno(a[1])) return std::pair{std::string(a[0]), std::string(a[1])};
  if (treno(a[0]) && linea(a[1])) return std::pair{std::string(a[1]), std::string(a[0])};
  return std::nullopt;
}

std::string testo_del_riquadro(const corsa_compile& c) {
  std::string s = c.riassunto + "\n";
  const std::size_t n = std::min(c.messaggi.size(), rilievi_nel_riquadro);
  for (std::size_t i = 0; i < n; ++i) {
    messaggio m = c.messaggi[i];
    // The texts were dropped from their folder: their names say enough.
    m.file = std::string(nome_base(m.file));
    s.append("\n").append(testo_mostrabile(prima_riga(m))).append("\n");
    if (!m.riga_sorgente.empty())
      s.append("    ").append(nome_leggibile(m.riga_sorgente)).append("\n");
  }
  if (c.messaggi.size() > n)
    s.append("\ne altri ")
        .append(std::to_string(c.messaggi.size() - n))
        .append(": percorso check LINEA TRENO, in un prompt dei comandi, li mostra tutti\n");
  return s;
}

int compila_trascinati(const std::string& linea, const std::string& treno,
                       finestra_attesa& finestra, file_system& fs) {
  const corsa_compile c = compila_con_documenti(linea, treno, fs);
  finestra.messaggio(testo_del_riquadro(c), icona_di(c));
  return c.stato;
}

}  // namespace percorso
