#include "decompile/controlli.h"

#include <string>

#include "format/codici.h"
#include "format/formato.h"
#include "placement/prese.h"

namespace percorso {
namespace {

// A cell's values before the build wrote the header into cell 1.
cella prima_dell_intestazione(std::span<const cella> celle, std::size_t i) {
  cella c = celle[i];
  if (i == cella_di_controllo) c.dato_1 = c.dato_2 = 0;
  return c;
}

// Whether the values are those a row gives an event: a stop cell keeps what it covered.
bool valori_possibili(const cella& c, bool di_fermata) {
  if (c.tempo_segnale != 0 && c.evento != evento::segnale && c.evento != evento::fermata)
    return false;
  const bool senza_altri = c.dato_2 == 0 && c.dato_3 == 0 && c.dato_4 == 0;
  switch (c.evento) {
    case evento::nessuno:
    case evento::montagna:
    case evento::punto_senza_velocita:
      return c.dato_1 == 0 && senza_altri;
    case evento::punto_velocita:
    case evento::cartello:
      return senza_altri;
    case evento::fermata:
      return di_fermata;
    case evento::segnale:
    case evento::fine_rallentamento:
    case evento::inizio_rallentamento:
    case evento::avviso_rallentamento:
    case evento::preavviso:
    case evento::indicatori:
      return true;
    default:
      return false;
  }
}

}  // namespace

problemi intestazione_della_cella_1(std::span<const cella> celle, std::string_view numero_treno,
                                    std::string_view nome_percorso) {
  const cella& c = celle[cella_di_controllo];
  if (c.dato_1 == valore_cella_1 && c.dato_2 == codice_gara_og(numero_treno, nome_percorso))
    return {};
  return {{tipo_file::celle,
           "cella 1: i valori d'intestazione non sono quelli che il compilatore scrive per "
           "questi nomi"}};
}

problemi valori_senza_riga(std::span<const cella> celle, const std::vector<fermata>& fermate,
                           const std::array<punto, numero_punti>& punti) {
  problemi r;
  std::vector<bool> di_fermata(celle.size(), false);
  for (const fermata& f : fermate) di_fermata[static_cast<std::size_t>(f.cella)] = true;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella c = prima_dell_intestazione(celle, i);
    if (!valori_possibili(c, di_fermata[i]))
      r.push_back({tipo_file::celle, "cella " + std::to_string(i) +
                                         ": valori che nessuna riga da' all'evento " +
                                         std::to_string(c.evento)});
  }
  if (!(punti[0] == punto{}))
    r.push_back({tipo_file::punti, "voce 0: una voce che nessuna riga scrive"});
  return r;
}

problemi senza_treno(std::span<const cella> celle, const std::array<punto, numero_punti>& punti,
                     bool stazioni) {
  bool treno = stazioni;
  for (const cella& c : celle) {
    const auto e = c.evento;
    treno = treno || c.velocita != 0 || c.aderenza != 0 ||
            (e != evento::nessuno && e != evento::montagna && e != evento::indicatori &&
             e != evento::cartello);
  }
  const punto& p84 = punti[slot_treno];
  const punto& p86 = punti[slot_ripetizione];
  treno = treno || p84.valore_1 != 0 || p84.valore_3 != 0 || p86.parametro_1 != 0 ||
          p86.parametro_3 != 0 || p86.parametro_4 != 0 || p86.parametro_5 != 0;
  if (!treno) return {};
  return {{tipo_file::celle,
           "valori del testo del treno, che la compilazione fermata nella linea non legge"}};
}

problemi senza_corpo(std::span<const cella> celle, const std::array<punto, numero_punti>& punti) {
  problemi r;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    if (!(prima_dell_intestazione(celle, i) == cella{})) {
      r.push_back({tipo_file::celle,
                   "cella " + std::to_string(i) +
                       ": valori che la compilazione fermata nell'intestazione non scrive"});
      break;
    }
  }
  for (int k = 0; k <= primo_slot_cartelli; ++k)
    if (!(punti[static_cast<std::size_t>(k)] == punto{}))
      r.push_back({tipo_file::punti,
                   "voce " + std::to_string(k) +
                       ": una voce che la compilazione fermata nell'intestazione non scrive"});
  return r;
}

}  // namespace percorso
