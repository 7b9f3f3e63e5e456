#include <fcntl.h>
#include <io.h>

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

// The standard stream's buffer over its handle, and the buffer it had before, given
// back at the end: the library flushes the stream after every static object is gone.
class flusso_windows {
 public:
  flusso_windows(std::ostream& flusso, DWORD quale)
      : flusso_(flusso),
        handle_(::GetStdHandle(quale)),
        buffer_([this](std::string_view t) { return scrivi_su(handle_, t); }),
        prima_(flusso.rdbuf(&buffer_)) {}
  ~flusso_windows() {
    flusso_.flush();
    flusso_.rdbuf(prima_);
  }

 private:
  std::ostream& flusso_;
  HANDLE handle_;
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
