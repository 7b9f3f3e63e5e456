// A run that waits for another's turn on a directory says so, once a second has gone
// by, so that its user knows it is not stuck; a turn that comes sooner says nothing.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace percorso {

// Told, with the directory's name, when a run has waited a second for its turn there.
using avviso_turno = std::function<void(const std::string& cartella)>;

// Watches the wait for one directory's turn, from its making to its end.
class attesa_turno {
 public:
  attesa_turno(const avviso_turno& avviso, const std::string& cartella);
  // The turn came, or could not be had: the watch ends.
  ~attesa_turno();

  attesa_turno(const attesa_turno&) = delete;
  attesa_turno& operator=(const attesa_turno&) = delete;

 private:
  std::mutex m_;
  std::condition_variable finita_;
  bool fine_ = false;
  std::thread sentinella_;
};

}  // namespace percorso
