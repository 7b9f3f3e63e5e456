// The run without arguments started without a console of its own to speak through
// (a double-click on Windows) shows a small window while it works and a message box
// when it fails, instead of writing to standard error.
#pragma once

#include <memory>
#include <string>

namespace percorso {

class finestra_attesa {
 public:
  virtual ~finestra_attesa() = default;
  // A modal box with an OK button, the text and nothing else; returns when it is closed.
  virtual void messaggio(const std::string& testo) = 0;
};

// The window that asks the user to wait, shown and painted once; none when the
// program has a console (or a terminal, a pipe, a file) to write to.
std::unique_ptr<finestra_attesa> apri_finestra_attesa();

}  // namespace percorso
