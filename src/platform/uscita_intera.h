// The buffer of a standard stream that hands the system whole pieces. What the program
// writes waits until a flush, a full buffer or the end, and then goes in one write; a
// UTF-8 character cut at the buffer's end waits there for its other bytes, so that a
// console that turns each write into characters never gets half of one.
#pragma once

#include <array>
#include <functional>
#include <streambuf>
#include <string_view>

namespace percorso {

class uscita_intera final : public std::streambuf {
 public:
  // scrivi makes one write of the system; false when it fails.
  explicit uscita_intera(std::function<bool(std::string_view)> scrivi);
  ~uscita_intera() override;

  uscita_intera(const uscita_intera&) = delete;
  uscita_intera& operator=(const uscita_intera&) = delete;

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes what the buffer holds up to its last whole character; false when it fails.
  bool svuota();

  std::function<bool(std::string_view)> scrivi_;
  std::array<char, 1 << 16> spazio_{};
};

}  // namespace percorso
