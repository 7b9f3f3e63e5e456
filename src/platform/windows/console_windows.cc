#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/console.h"

// shellapi.h needs the types of windows.h, which this header brings, before it.
#include "platform/windows/sistema_windows.h"
// clang-format off
#include <shellapi.h>
// clang-format on

namespace percorso {

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

void prepara_console() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace percorso
