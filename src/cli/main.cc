#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandi.h"
#include "cli/uscita.h"
#include "format/testo_nomi.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  try {
    percorso::prepara_console();
    const std::vector<std::string> testi = percorso::argomenti_programma(argc, argv);
    const std::vector<std::string_view> argomenti(testi.begin(), testi.end());
    // Said from the thread that watches the wait, while the run itself stands still.
    const auto fs = percorso::file_system_reale([](const std::string& cartella) {
      std::cerr << "percorso: in attesa che un'altra esecuzione di percorso finisca di scrivere in "
                << percorso::testo_mostrabile(cartella) << '\n';
    });
    return percorso::esegui_comando(argomenti, std::cout, std::cerr, *fs);
  } catch (const std::bad_alloc&) {
    // Unwinding has removed the temporaries of the output set: a run replaces its
    // files only at its very end, after everything large has been allocated.
    std::cerr << "percorso: memoria insufficiente: nessun file e' stato sostituito\n";
    return percorso::uscita_interrotta;
  }
}
