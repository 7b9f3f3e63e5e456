#include "app/sorveglia.h"

#include "platform/sorveglianza.h"

namespace percorso {

int ripeti_a_ogni_modifica(std::span<const std::string> file, const std::function<void()>& passo,
                           std::ostream& err) {
  // Watching starts before the first run, so a save during it is not missed.
  auto aperta = sorveglianza::apri(file);
  if (const auto* errore = std::get_if<errore_file>(&aperta)) {
    err << "percorso: impossibile sorvegliare " << errore->file << ": " << errore->motivo << '\n';
    return 3;
  }
  sorveglianza& s = *std::get<std::unique_ptr<sorveglianza>>(aperta);
  err << "percorso: sorveglio " << file.size() << " file; Ctrl-C per finire\n";
  for (;;) {
    passo();
    const auto evento = s.aspetta();
    for (const auto& a : s.avvisi()) {
      err << "percorso: la cartella " << a.cartella
          << (a.ritrovata ? " e' tornata: la sorveglio di nuovo\n"
                          : " non c'e' piu': la sorveglio di nuovo quando ricompare\n");
    }
    switch (evento) {
      case sorveglianza::evento::cambiato:
        continue;
      case sorveglianza::evento::interrotto:
        err << "percorso: fine della sorveglianza\n";
        return 0;
      case sorveglianza::evento::guasto:
        err << "percorso: la sorveglianza dei file si e' interrotta\n";
        return 3;
    }
  }
}

}  // namespace percorso
