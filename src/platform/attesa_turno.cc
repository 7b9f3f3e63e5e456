#include "platform/attesa_turno.h"

#include <chrono>

namespace percorso {
namespace {

constexpr auto prima_di_dirlo = std::chrono::seconds(1);

}  // namespace

attesa_turno::attesa_turno(const avviso_turno& avviso, const std::string& cartella) {
  if (!avviso) return;
  sentinella_ = std::thread([this, avviso, cartella] {
    std::unique_lock<std::mutex> l(m_);
    if (!finita_.wait_for(l, prima_di_dirlo, [this] { return fine_; })) avviso(cartella);
  });
}

attesa_turno::~attesa_turno() {
  if (!sentinella_.joinable()) return;
  {
    const std::lock_guard<std::mutex> l(m_);
    fine_ = true;
  }
  finita_.notify_one();
  sentinella_.join();
}

}  // namespace percorso
