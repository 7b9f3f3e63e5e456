// Watch mode: do the work again each time either source text is saved.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>

namespace percorso {

// Runs passo once, then again after every change of one of the files, until SIGINT,
// SIGTERM or SIGHUP. passo prints its own one-line summary. The status is 0 at a clean end,
// 3 when the files cannot be watched.
int ripeti_a_ogni_modifica(std::span<const std::string> file, const std::function<void()>& passo,
                           std::ostream& err);

}  // namespace percorso
