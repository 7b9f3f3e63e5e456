// File names of a scenario, built from its name and train number.
#pragma once

#include <string>

#include "model/modello.h"

namespace percorso {

inline std::string nome_testo_linea(const modello& m) {
  return m.nome_percorso + "_linea.txt";
}
inline std::string nome_testo_treno(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + "-.txt";
}
inline std::string nome_note(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + "_note.txt";
}
inline std::string nome_rallentamenti(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + "_rallentamenti.txt";
}
inline std::string nome_scheda(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + "_scheda_treno.txt";
}
inline std::string nome_file_piano(const modello& m) {
  return m.nome_percorso + "_linea.dat";
}
inline std::string nome_file_punti(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + ".sim";
}
inline std::string nome_file_celle(const modello& m) {
  return m.nome_percorso + "_" + m.numero_treno + ".dat";
}

}  // namespace percorso
