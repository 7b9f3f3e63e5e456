#include "app/nomi_sul_disco.h"

#include "sintassi/constatazioni.h"

namespace percorso {

std::vector<messaggio> maiuscole_diverse(file_system& fs, std::span<const std::string> testi,
                                         const filtro_avvisi& filtro) {
  std::vector<messaggio> avvisi;
  if (!filtro.mostra(std::string(genere::maiuscole.nome))) return avvisi;
  for (const std::string& testo : testi) {
    const std::string scritto(nome_base(testo));
    const std::string registrato = fs.nome_registrato(testo);
    if (registrato == scritto) continue;
    messaggio m;
    m.avviso = true;
    m.nome = genere::maiuscole.nome;
    m.file = testo;
    m.corpo = "sul disco il file si chiama " + registrato + ": il nome resta come e' scritto, " +
              scritto + ", e cosi' va nei nomi dei file compilati";
    avvisi.push_back(std::move(m));
  }
  return avvisi;
}

}  // namespace percorso
