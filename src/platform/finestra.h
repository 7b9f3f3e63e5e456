// A run started without a console of its own to speak through (a double-click on
// Windows, or texts dropped on the program) shows a small window while it works and a
// message box to end with, instead of writing to standard error.
#pragma once

#include <memory>
#include <string>

namespace percorso {

class finestra_attesa {
 public:
  // nessuna: the run without arguments' box, as the program it replaces showed it.
  enum class icona { nessuna, informazione, avviso, errore };

  virtual ~finestra_attesa() = default;
  // Closes the window and shows a modal box with an OK button, the icon and the text;
  // returns when it is closed.
  virtual void messaggio(const std::string& testo, icona i) = 0;
};

// The window that asks the user to wait, shown and painted once; none when the
// program has a console (or a terminal, a pipe, a file) to write to.
std::unique_ptr<finestra_attesa> apri_finestra_attesa();

}  // namespace percorso
