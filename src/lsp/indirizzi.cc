#include "lsp/indirizzi.h"

namespace percorso::lsp {
namespace {

int cifra_esadecimale(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool non_riservato(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

// Whether p holds a drive letter and ':' at i ("C:").
bool lettera_di_unita(std::string_view p, std::size_t i) {
  const auto lettera = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  return p.size() > i + 1 && lettera(p[i]) && p[i + 1] == ':';
}

}  // namespace

std::optional<std::string> percorso_di_uri(std::string_view uri) {
  constexpr std::string_view schema = "file://";
  if (uri.substr(0, schema.size()) != schema) return std::nullopt;
  uri.remove_prefix(schema.size());
  // An authority before the path ("file://localhost/...") names this machine.
  const auto barra = uri.find('/');
  if (barra == std::string_view::npos) return std::nullopt;
  uri.remove_prefix(barra);
  std::string p;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    const int alta = i + 2 < uri.size() && uri[i] == '%' ? cifra_esadecimale(uri[i + 1]) : -1;
    const int bassa = alta >= 0 ? cifra_esadecimale(uri[i + 2]) : -1;
    if (bassa >= 0) {
      p.push_back(static_cast<char>(alta * 16 + bassa));
      i += 2;
    } else {
      p.push_back(uri[i]);
    }
  }
  // "/C:/dir" names a Windows drive: the path is "C:/dir".
  if (lettera_di_unita(p, 1)) p.erase(0, 1);
  return p;
}

std::string uri_di_percorso(std::string_view percorso) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  std::string u = lettera_di_unita(percorso, 0) ? "file:///" : "file://";
  for (std::size_t i = 0; i < percorso.size(); ++i) {
    const char c = percorso[i] == '\\' ? '/' : percorso[i];
    if (non_riservato(c) || (i == 1 && c == ':' && lettera_di_unita(percorso, 0))) {
      u.push_back(c);
      continue;
    }
    const auto b = static_cast<unsigned char>(c);
    u.append({'%', cifre[b >> 4], cifre[b & 15]});
  }
  return u;
}

}  // namespace percorso::lsp
