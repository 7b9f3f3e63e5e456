#include "format/nomi_file.h"

#include <algorithm>

namespace percorso {
namespace {

constexpr std::string_view coda_testo_linea = "_linea.txt";
constexpr std::string_view coda_testo_treno = "-.txt";
constexpr std::string_view coda_piano = "_linea.dat";
constexpr std::string_view coda_punti = ".sim";
constexpr std::string_view coda_celle = ".dat";

// Windows keeps names without regard to case: there VALLE_LINEA.TXT is a line text
// and VALLE_2211-.TXT a train text of Valle.
#ifdef _WIN32
constexpr bool maiuscole_indifferenti = true;
#else
constexpr bool maiuscole_indifferenti = false;
#endif

char piegata(char c) {
  return maiuscole_indifferenti && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool stesse_lettere(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return piegata(x) == piegata(y);
         });
}

bool inizia_con(std::string_view s, std::string_view inizio) {
  return s.size() >= inizio.size() && stesse_lettere(s.substr(0, inizio.size()), inizio);
}

bool finisce_con(std::string_view s, std::string_view fine) {
  return s.size() >= fine.size() && stesse_lettere(s.substr(s.size() - fine.size()), fine);
}

std::string con_estensione(std::string_view file, std::string_view da, std::string_view a) {
  std::string s(file);
  if (file.ends_with(da)) s.resize(s.size() - da.size());
  return s + std::string(a);
}

// NOME_TRENO followed by coda.
std::string del_treno(const modello& m, std::string_view coda) {
  return m.nome_percorso + "_" + m.numero_treno + std::string(coda);
}

}  // namespace

std::string nome_testo_linea(const modello& m) {
  return m.nome_percorso + std::string(coda_testo_linea);
}
std::string nome_testo_treno(const modello& m) {
  return del_treno(m, coda_testo_treno);
}
std::string nome_note(const modello& m) {
  return del_treno(m, "_note.txt");
}
std::string nome_rallentamenti(const modello& m) {
  return del_treno(m, "_rallentamenti.txt");
}
std::string nome_scheda(const modello& m) {
  return del_treno(m, "_scheda_treno.txt");
}
std::string nome_file_piano(const modello& m) {
  return m.nome_percorso + std::string(coda_piano);
}
std::string nome_file_punti(const modello& m) {
  return del_treno(m, coda_punti);
}
std::string nome_file_celle(const modello& m) {
  return del_treno(m, coda_celle);
}

std::string nome_pagina(const modello& m) {
  return del_treno(m, ".html");
}

std::optional<std::string> nome_da_testo_linea(std::string_view base) {
  if (base.size() <= coda_testo_linea.size() || !finisce_con(base, coda_testo_linea))
    return std::nullopt;
  return std::string(base.substr(0, base.size() - coda_testo_linea.size()));
}

bool nome_di_testo_treno(std::string_view base) {
  return finisce_con(base, coda_testo_treno);
}

std::optional<std::string> treno_da_testo_treno(std::string_view base, std::string_view nome) {
  // NOME, '_', at least one character of TRENO, then the ending.
  const std::size_t prima = nome.size() + 1;
  if (base.size() <= prima + coda_testo_treno.size() || !inizia_con(base, nome) ||
      base[nome.size()] != '_' || !nome_di_testo_treno(base))
    return std::nullopt;
  return std::string(base.substr(prima, base.size() - prima - coda_testo_treno.size()));
}

std::optional<tipo_file> tipo_dal_nome(std::string_view file) {
  if (file.ends_with(coda_piano)) return tipo_file::piano;
  if (file.ends_with(coda_punti)) return tipo_file::punti;
  if (file.ends_with(coda_celle)) return tipo_file::celle;
  return std::nullopt;
}

std::string_view nome_tipo(tipo_file t) {
  switch (t) {
    case tipo_file::celle:
      return "di celle";
    case tipo_file::punti:
      return "dei punti";
    case tipo_file::piano:
      return "del tracciato";
  }
  return "";
}

std::string punti_accanto(std::string_view file_celle) {
  return con_estensione(file_celle, coda_celle, coda_punti);
}

std::string celle_accanto(std::string_view file_punti) {
  return con_estensione(file_punti, coda_punti, coda_celle);
}

std::string nome_piano_per(std::string_view base_celle,
                           const std::array<punto, numero_punti>* punti) {
  std::string nome;
  if (punti) nome = (*punti)[slot_percorso].nome;
  const bool nome_di_file = std::none_of(nome.begin(), nome.end(), [](char c) {
    return c == '/' || static_cast<unsigned char>(c) < 0x20;
  });
  if (nome.empty() || !nome_di_file) {
    // NOME_TRENO.dat: the train number follows the last underscore.
    std::string_view b = base_celle;
    if (b.ends_with(coda_celle)) b.remove_suffix(coda_celle.size());
    const auto trattino = b.rfind('_');
    nome = std::string(trattino == std::string_view::npos ? b : b.substr(0, trattino));
  }
  return nome + std::string(coda_piano);
}

}  // namespace percorso
