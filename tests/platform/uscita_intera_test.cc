// A standard stream hands the system whole pieces: one write for what waited, and
// never half a UTF-8 character, which a console would show as boxes.
#include "platform/uscita_intera.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/windows/sistema_windows.h"
#endif

namespace percorso {
namespace {

struct scritture {
  std::vector<std::string> fatte;
  std::unique_ptr<uscita_intera> buffer =
      std::make_unique<uscita_intera>([this](std::string_view t) {
        fatte.emplace_back(t);
        return true;
      });
  std::ostream flusso{buffer.get()};
};

TEST(UscitaIntera, WritesWholePiecesAndNeverHalfACharacter) {
  const std::string lungo = std::string((1 << 16) - 1, 'a') + "\xc3\xa0" + "z";
  struct caso {
    const char* nome;
    std::vector<std::string> pezzi;  // written one by one, "|" flushes
    std::vector<std::string> attese;
  };
  const caso casi[] = {
      {"byte per byte, one write at the flush",
       {"C", "i", "t", "t", "\xc3", "\xa0", "|"},
       {"Citt\xc3\xa0"}},
      {"a flush inside a character waits for its end",
       {"Citt\xc3", "|", "\xa0\n", "|"},
       {"Citt", "\xc3\xa0\n"}},
      {"a full buffer cut inside a character",
       {lungo, "|"},
       {lungo.substr(0, (1 << 16) - 1), "\xc3\xa0z"}},
      {"four bytes cut after three", {"\xf0\x9f\x9a", "|", "\x82", "|"}, {"\xf0\x9f\x9a\x82"}},
      {"what is left goes at the end", {"fine"}, {"fine"}},
      {"nothing written, nothing to write", {"|"}, {}},
  };
  for (const caso& c : casi) {
    auto s = std::make_unique<scritture>();
    for (const std::string& p : c.pezzi) {
      if (p == "|")
        s->flusso.flush();
      else
        s->flusso << p;
    }
    s->buffer.reset();
    EXPECT_EQ(s->fatte, c.attese) << c.nome;
  }
}

TEST(UscitaIntera, AFailedWriteFailsTheStream) {
  uscita_intera buffer([](std::string_view) { return false; });
  std::ostream flusso(&buffer);
  flusso << "testo" << std::flush;
  EXPECT_TRUE(flusso.bad());
}

// A screen of the console, read back: each byte flushed alone, the letters still
// arrive whole, where one byte a write showed each as two boxes.
TEST(UscitaIntera, OnAWindowsConsoleEveryCharacterArrivesWhole) {
#ifndef _WIN32
  GTEST_SKIP() << "a console that turns each write into characters is Windows'";
#else
  // The test program's console, or one of its own when it has none.
  const bool propria = ::AllocConsole();
  const HANDLE h =
      ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  DWORD modo = 0;
  if (h == INVALID_HANDLE_VALUE || !::GetConsoleMode(h, &modo)) {
    if (propria) ::FreeConsole();
    // Run again in a terminal, PERCORSO_CONSOLE set, the test must find its console.
    if (std::getenv("PERCORSO_CONSOLE") != nullptr) FAIL() << "nessuna console";
    GTEST_SKIP() << "Wine outside a terminal gives a console that takes no writes; make "
                    "test-windows runs this test again in a terminal, under script";
  }
  {
    uscita_intera buffer([h](std::string_view t) { return scrivi_su(h, t); });
    std::ostream flusso(&buffer);
    for (const char c : std::string_view("Citt\xc3\xa0 \xe2\x82\xac 5")) flusso << c << std::flush;
  }
  std::wstring letto(9, L' ');
  DWORD n = 0;
  EXPECT_TRUE(::ReadConsoleOutputCharacterW(h, letto.data(), 9, COORD{0, 0}, &n));
  EXPECT_EQ(letto, L"Citt\u00e0 \u20ac 5");
  ::CloseHandle(h);
  if (propria) ::FreeConsole();
#endif
}

}  // namespace
}  // namespace percorso
