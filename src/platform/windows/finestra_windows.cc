#include <utility>

#include "platform/finestra.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

constexpr wchar_t classe[] = L"percorso_attesa";

// The program's console was made for it alone (a double-click on a console
// program), or it has none at all: nobody would read standard error.
bool senza_console_propria() {
  DWORD processi[2];
  const DWORD n = ::GetConsoleProcessList(processi, 2);
  const HANDLE errori = ::GetStdHandle(STD_ERROR_HANDLE);
  if (n == 0) return errori == nullptr || errori == INVALID_HANDLE_VALUE;
  return n == 1 && ::GetFileType(errori) == FILE_TYPE_CHAR;
}

// Twips to pixels at the screen's resolution.
int pixel(int twip, int punti_pollice) {
  return ::MulDiv(twip, punti_pollice, 1440);
}

class finestra_windows final : public finestra_attesa {
 public:
  finestra_windows() {
    WNDCLASSW c{};
    c.lpfnWndProc = ::DefWindowProcW;
    c.hInstance = ::GetModuleHandleW(nullptr);
    c.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = classe;
    ::RegisterClassW(&c);
    const HDC schermo = ::GetDC(nullptr);
    const int ppp = ::GetDeviceCaps(schermo, LOGPIXELSY);
    ::ReleaseDC(nullptr, schermo);
    // The client area is 4200 x 2688 twips; the label sits 960 twips in, 2652 x 792.
    RECT r{0, 0, pixel(4200, ppp), pixel(2688, ppp)};
    const DWORD stile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    ::AdjustWindowRect(&r, stile, FALSE);
    finestra_ =
        ::CreateWindowW(classe, L"percorso", stile, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, c.hInstance, nullptr);
    if (finestra_ == nullptr) return;
    carattere_ = ::CreateFontW(-pixel(24 * 20, ppp), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
    const HWND etichetta = ::CreateWindowW(
        L"STATIC", L"Attendere", WS_CHILD | WS_VISIBLE, pixel(960, ppp), pixel(960, ppp),
        pixel(2652, ppp), pixel(792, ppp), finestra_, nullptr, c.hInstance, nullptr);
    ::SendMessageW(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere_), TRUE);
    ::ShowWindow(finestra_, SW_SHOWNORMAL);
    // Painted once now: the run keeps the thread busy until its end.
    ::UpdateWindow(finestra_);
    for (MSG m; ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&m);
  }

  ~finestra_windows() override {
    if (finestra_ != nullptr) ::DestroyWindow(finestra_);
    if (carattere_ != nullptr) ::DeleteObject(carattere_);
  }

  // The window asked to wait: with the box it has nothing left to say.
  void messaggio(const std::string& testo, icona i) override {
    if (finestra_ != nullptr) ::DestroyWindow(std::exchange(finestra_, nullptr));
    const UINT stile = i == icona::errore         ? MB_ICONERROR
                       : i == icona::avviso       ? MB_ICONWARNING
                       : i == icona::informazione ? MB_ICONINFORMATION
                                                  : 0;
    ::MessageBoxW(nullptr, larga(testo).c_str(), L"percorso", MB_OK | stile | MB_SETFOREGROUND);
  }

 private:
  HWND finestra_ = nullptr;
  HFONT carattere_ = nullptr;
};

}  // namespace

std::unique_ptr<finestra_attesa> apri_finestra_attesa() {
  if (!senza_console_propria()) return nullptr;
  // The console made for a double-click would stay empty beside the window.
  ::FreeConsole();
  return std::make_unique<finestra_windows>();
}

}  // namespace percorso
