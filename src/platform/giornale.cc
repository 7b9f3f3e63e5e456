#include "platform/giornale.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"
#include "platform/operazioni_file.h"

namespace percorso {
namespace {

constexpr std::string_view intestazione = "percorso-giornale 1\n";
constexpr std::string_view chiusura = "fine\n";
constexpr std::string_view prefisso_temporaneo = ".percorso-";
constexpr std::size_t lunghezza_temporaneo = prefisso_temporaneo.size() + 6;

void aggiungi_nome(std::string& s, std::string_view nome) {
  s.append(std::to_string(nome.size())).append(":").append(nome);
}

// Reads the fields of a journal one after the other; once a field is wrong every
// read gives nothing.
class lettore {
 public:
  explicit lettore(std::string_view t) : t_(t) {}

  bool salta(std::string_view atteso) {
    if (!ok_ || !t_.starts_with(atteso)) return ok_ = false;
    t_.remove_prefix(atteso.size());
    return true;
  }
  std::uint64_t numero(char fine) {
    std::uint64_t n = 0;
    const auto r = std::from_chars(t_.data(), t_.data() + t_.size(), n);
    if (!ok_ || r.ec != std::errc() || r.ptr == t_.data() + t_.size() || *r.ptr != fine)
      ok_ = false;
    else
      t_.remove_prefix(static_cast<std::size_t>(r.ptr - t_.data()) + 1);
    return n;
  }
  std::string nome() {
    const std::uint64_t n = numero(':');
    if (!ok_ || n == 0 || n > t_.size()) {
      ok_ = false;
      return {};
    }
    std::string s(t_.substr(0, n));
    t_.remove_prefix(n);
    // A name inside the directory only: a damaged journal never reaches elsewhere.
    if (nome_base(s) != s || s == "." || s == "..") ok_ = false;
    return s;
  }
  bool ok() const { return ok_; }
  bool finito() const { return t_.empty(); }

 private:
  std::string_view t_;
  bool ok_ = true;
};

bool fatto(const chiamate_sistema& c, const std::string& percorso, const identita_file& nuovo) {
  identita_file id;
  return c.identifica(percorso.c_str(), false, id) == 0 && id.stesso_file(nuovo);
}

}  // namespace

std::string testo_giornale(std::span<const coppia> coppie) {
  std::string s(intestazione);
  for (const coppia& p : coppie) {
    s.append(std::to_string(p.nuovo.dispositivo)).append(" ");
    s.append(std::to_string(p.nuovo.nodo)).append(" ");
    aggiungi_nome(s, p.temporaneo);
    s.append(" ");
    aggiungi_nome(s, p.bersaglio);
    s.append("\n");
  }
  return s.append(chiusura);
}

std::optional<std::vector<coppia>> leggi_giornale(std::string_view testo) {
  lettore l(testo);
  if (!l.salta(intestazione)) return std::nullopt;
  std::vector<coppia> coppie;
  for (;;) {
    lettore resto = l;
    if (resto.salta(chiusura) && resto.finito()) return coppie;
    coppia p;
    p.nuovo.dispositivo = l.numero(' ');
    p.nuovo.nodo = l.numero(' ');
    p.temporaneo = l.nome();
    l.salta(" ");
    p.bersaglio = l.nome();
    l.salta("\n");
    if (!l.ok() || !nome_temporaneo(p.temporaneo)) return std::nullopt;
    coppie.push_back(std::move(p));
  }
}

std::optional<spostamento> sposta(const chiamate_sistema& c, const std::string& temporaneo,
                                  const std::string& bersaglio, int& codice) {
  // An exchange frees no blocks while the names change: the window a kill can fall
  // into stays as short as the system allows.
  if (c.scambia(temporaneo.c_str(), bersaglio.c_str()) == 0) return spostamento::scambiato;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOENT) {
    codice = errno;
    return std::nullopt;
  }
  if (c.rinomina(temporaneo.c_str(), bersaglio.c_str()) == 0) return spostamento::rinominato;
  codice = errno;
  return std::nullopt;
}

void completa_giornale(const chiamate_sistema& c, const std::string& cartella, int fd) {
  const std::string percorso = unisci(cartella, std::string(nome_giornale));
  // Only a regular file is ours: a FIFO of that name would keep the run waiting.
  identita_file id;
  if (c.identifica(percorso.c_str(), false, id) != 0 || id.genere != identita_file::tipo::regolare)
    return;
  std::ifstream in(percorso_fs(percorso), std::ios::binary);
  if (!in) return;
  const std::string testo{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  in.close();
  // A journal cut short was never flushed whole, so no pair of it had begun.
  if (const auto coppie = leggi_giornale(testo)) {
    for (const coppia& p : *coppie) {
      const std::string temporaneo = unisci(cartella, p.temporaneo);
      const std::string bersaglio = unisci(cartella, p.bersaglio);
      int codice = 0;
      if (!fatto(c, bersaglio, p.nuovo) && fatto(c, temporaneo, p.nuovo))
        sposta(c, temporaneo, bersaglio, codice);
    }
    c.sincronizza_cartella(fd);
  }
  std::error_code ec;
  std::filesystem::remove(percorso_fs(percorso), ec);
}

void rimuovi_residui(const chiamate_sistema& c, const std::string& cartella) {
  std::error_code ec;
  for (std::filesystem::directory_iterator i(percorso_fs(cartella.empty() ? "." : cartella), ec),
       fine;
       !ec && i != fine; i.increment(ec)) {
    const std::u8string u8 = i->path().filename().u8string();
    const std::string nome(u8.begin(), u8.end());
    if (!nome_temporaneo(nome)) continue;
    identita_file id;
    const std::string percorso = unisci(cartella, nome);
    if (c.identifica(percorso.c_str(), false, id) != 0) continue;
    using t = identita_file::tipo;
    std::error_code ignorato;
    if (id.genere == t::regolare || id.genere == t::collegamento)
      std::filesystem::remove(percorso_fs(percorso), ignorato);
  }
}

bool nome_temporaneo(std::string_view nome) {
  return nome.size() == lunghezza_temporaneo && nome.starts_with(prefisso_temporaneo);
}

}  // namespace percorso
