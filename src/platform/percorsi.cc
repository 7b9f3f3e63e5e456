#include <algorithm>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {
namespace {

// Windows takes both separators and writes its own; elsewhere '\' is a name's byte.
#ifdef _WIN32
constexpr std::string_view separatori = "/\\";
constexpr char separatore = '\\';
#else
constexpr std::string_view separatori = "/";
constexpr char separatore = '/';
#endif

// A byte of a path as the system compares it: on Windows every separator is one,
// and letters have no case.
char come_confrontato(char c) {
  if (separatori.size() == 1) return c;
  if (c == '/') return separatore;
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string unisci(const std::string& cartella, const std::string& nome) {
  if (cartella.empty()) return nome;
  if (separatori.find(cartella.back()) != std::string_view::npos) return cartella + nome;
  return cartella + separatore + nome;
}

std::string cartella_di(std::string_view percorso) {
  const auto barra = percorso.find_last_of(separatori);
  if (barra == std::string_view::npos) return {};
  // The root keeps its separator: "/", or a drive's "C:\".
  const bool radice = barra == 0 || percorso[barra - 1] == ':';
  return std::string(percorso.substr(0, radice ? barra + 1 : barra));
}

std::string_view nome_base(std::string_view percorso) {
  const auto barra = percorso.find_last_of(separatori);
  return barra == std::string_view::npos ? percorso : percorso.substr(barra + 1);
}

bool stesso_percorso(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return come_confrontato(x) == come_confrontato(y);
         });
}

}  // namespace percorso
