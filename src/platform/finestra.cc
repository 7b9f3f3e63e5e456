#include "platform/finestra.h"

namespace percorso {

// Started from a terminal or by another program: standard error is where it speaks.
std::unique_ptr<finestra_attesa> apri_finestra_attesa() {
  return nullptr;
}

}  // namespace percorso
