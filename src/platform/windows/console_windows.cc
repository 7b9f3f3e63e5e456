#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "platform/console.h"
#include "platform/uscita_intera.h"

// shellapi.h needs the types of windows.h, which this header brings, before it.
#include "platform/windows/sistema_windows.h"
// clang-format off
#include <shellapi.h>
// clang-format on

namespace percorso {
namespace {

// One write of the program to a standard handle: to a console its characters, as
// UTF-16; to a file or a pipe its bytes as they are.
bool scrivi_su(HANDLE h, bool console, std::string_view testo) {
  if (!console) {
    DWORD scritti = 0;
    for (std::size_t fatto = 0; fatto < testo.size(); fatto += scritti) {
      const auto n = static_cast<DWORD>(std::min<std::size_t>(testo.size() - fatto, 1 << 30));
      if (!::WriteFile(h, testo.data() + fatto, n, &scritti, nullptr) || scritti == 0) return false;
    }
    return true;
  }
  const std::wstring caratteri = larga(testo);
  DWORD scritti = 0;
  for (std::size_t fatto = 0; fatto < caratteri.size(); fatto += scritti) {
    // Older consoles take a bounded piece at a time.
    const auto n = static_cast<DWORD>(std::min<std::size_t>(caratteri.size() - fatto, 1 << 14));
    if (!::WriteConsoleW(h, caratteri.data() + fatto, n, &scritti, nullptr) || scritti == 0)
      return false;
  }
  return true;
}

// The standard stream's buffer over its handle, and the buffer it had before, given
// back at the end: the library flushes the stream after every static object is gone.
class flusso_windows {
 public:
  flusso_windows(std::ostream& flusso, DWORD quale)
      : flusso_(flusso),
        handle_(::GetStdHandle(quale)),
        console_(::GetConsoleMode(handle_, &modo_) != 0),
        buffer_([this](std::string_view t) { return scrivi_su(handle_, console_, t); }),
        prima_(flusso.rdbuf(&buffer_)) {}
  ~flusso_windows() {
    flusso_.flush();
    flusso_.rdbuf(prima_);
  }

 private:
  std::ostream& flusso_;
  HANDLE handle_;
  DWORD modo_ = 0;
  bool console_;
  uscita_intera buffer_;
  std::streambuf* prima_;
};

}  // namespace

// The command line as the system keeps it, in UTF-16: argv would have passed through
// the ANSI code page and lost every name outside it.
std::vector<std::string> argomenti_programma(int, char**) {
  int n = 0;
  wchar_t** argomenti = ::CommandLineToArgvW(::GetCommandLineW(), &n);
  std::vector<std::string> testi;
  for (int i = 1; i < n; ++i) testi.push_back(stretta(argomenti[i]));
  ::LocalFree(argomenti);
  return testi;
}

// The C library would hand a console one byte at a time, each turned into a
// character on its own: an accented letter showed as two boxes, and a long output
// crawled. Standard output and error write whole pieces by the system's own calls.
void prepara_console() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::_setmode(::_fileno(stdin), _O_BINARY);
  static flusso_windows uscita(std::cout, STD_OUTPUT_HANDLE);
  static flusso_windows errori(std::cerr, STD_ERROR_HANDLE);
}

}  // namespace percorso
