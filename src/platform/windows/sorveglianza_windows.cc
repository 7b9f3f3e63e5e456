#include <algorithm>
#include <cwctype>
#include <map>
#include <vector>

#include "platform/sorveglianza.h"
#include "platform/windows/sistema_windows.h"

namespace percorso {
namespace {

// Set by Ctrl-C, Ctrl-Break or the console closing; the watch ends at its next wait.
HANDLE evento_interruzione = nullptr;

BOOL WINAPI alla_interruzione(DWORD tipo) {
  if (tipo != CTRL_C_EVENT && tipo != CTRL_BREAK_EVENT && tipo != CTRL_CLOSE_EVENT) return FALSE;
  ::SetEvent(evento_interruzione);
  return TRUE;
}

std::wstring minuscolo(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

constexpr DWORD cambi_cercati = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION;

}  // namespace

// One watched directory: its handle, the read in flight and the names of its files.
struct cartella_sorvegliata {
  HANDLE cartella = INVALID_HANDLE_VALUE;
  OVERLAPPED attesa{};
  alignas(DWORD) char buffer[16384];
  std::vector<std::wstring> nomi;  // lower case: Windows names ignore case

  ~cartella_sorvegliata() {
    if (cartella != INVALID_HANDLE_VALUE) {
      ::CancelIoEx(cartella, &attesa);
      DWORD n = 0;
      ::GetOverlappedResult(cartella, &attesa, &n, TRUE);
      ::CloseHandle(cartella);
    }
    if (attesa.hEvent) ::CloseHandle(attesa.hEvent);
  }

  bool avvia() {
    return ::ReadDirectoryChangesW(cartella, buffer, sizeof buffer, FALSE, cambi_cercati, nullptr,
                                   &attesa, nullptr);
  }

  // The changes the finished read brought; true when one concerns a watched file.
  bool leggi_cambi() {
    DWORD n = 0;
    if (!::GetOverlappedResult(cartella, &attesa, &n, FALSE)) return true;
    // Nothing in the buffer: the system lost the changes, which may hide one.
    if (n == 0) return true;
    bool pertinente = false;
    for (DWORD i = 0;;) {
      const auto* c = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + i);
      const std::wstring nome =
          minuscolo(std::wstring(c->FileName, c->FileNameLength / sizeof(wchar_t)));
      pertinente |= std::find(nomi.begin(), nomi.end(), nome) != nomi.end();
      if (c->NextEntryOffset == 0) break;
      i += c->NextEntryOffset;
    }
    return pertinente;
  }
};

struct sorveglianza::stato {
  std::vector<std::unique_ptr<cartella_sorvegliata>> cartelle;
  bool gestore = false;

  ~stato() {
    if (gestore) ::SetConsoleCtrlHandler(alla_interruzione, FALSE);
    cartelle.clear();
  }
};

sorveglianza::sorveglianza(std::unique_ptr<stato> s) : s_(std::move(s)) {}
sorveglianza::~sorveglianza() = default;

std::variant<std::unique_ptr<sorveglianza>, errore_file> sorveglianza::apri(
    std::span<const std::string> file) {
  auto s = std::make_unique<stato>();
  std::map<std::wstring, cartella_sorvegliata*> per_nome;
  for (const std::string& f : file) {
    const std::string cartella = cartella_di(f).empty() ? "." : cartella_di(f);
    const std::wstring chiave = minuscolo(percorso_sistema(cartella));
    auto& d = per_nome[chiave];
    if (d == nullptr) {
      auto nuova = std::make_unique<cartella_sorvegliata>();
      nuova->cartella =
          ::CreateFileW(percorso_sistema(cartella).c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
      if (nuova->cartella == INVALID_HANDLE_VALUE)
        return errore_sistema(cartella, ::GetLastError());
      nuova->attesa.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (!nuova->avvia()) return errore_sistema(cartella, ::GetLastError());
      d = nuova.get();
      s->cartelle.push_back(std::move(nuova));
    }
    d->nomi.push_back(minuscolo(larga(nome_base(f))));
  }
  if (evento_interruzione == nullptr)
    evento_interruzione = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ::ResetEvent(evento_interruzione);
  if (!::SetConsoleCtrlHandler(alla_interruzione, TRUE))
    return errore_sistema("Ctrl-C", ::GetLastError());
  s->gestore = true;
  return std::unique_ptr<sorveglianza>(new sorveglianza(std::move(s)));
}

sorveglianza::evento sorveglianza::aspetta(std::chrono::milliseconds quiete) {
  using orologio = std::chrono::steady_clock;
  // A file written without pause still ends the wait after a while.
  const auto attesa_massima = quiete * 10;
  std::optional<orologio::time_point> primo_cambio;
  std::vector<HANDLE> eventi{evento_interruzione};
  for (const auto& d : s_->cartelle) eventi.push_back(d->attesa.hEvent);
  for (;;) {
    DWORD attesa = INFINITE;
    if (primo_cambio) {
      const auto resta = std::chrono::ceil<std::chrono::milliseconds>(
          *primo_cambio + attesa_massima - orologio::now());
      if (resta.count() <= 0) return evento::cambiato;
      attesa = static_cast<DWORD>(std::min(resta, quiete).count());
    }
    const DWORD esito =
        ::WaitForMultipleObjects(static_cast<DWORD>(eventi.size()), eventi.data(), FALSE, attesa);
    if (esito == WAIT_TIMEOUT) return evento::cambiato;
    if (esito == WAIT_OBJECT_0) return evento::interrotto;
    if (esito < WAIT_OBJECT_0 + 1 || esito >= WAIT_OBJECT_0 + eventi.size()) return evento::guasto;
    cartella_sorvegliata& d = *s_->cartelle[esito - WAIT_OBJECT_0 - 1];
    if (d.leggi_cambi() && !primo_cambio) primo_cambio = orologio::now();
    ::ResetEvent(d.attesa.hEvent);
    if (!d.avvia()) return evento::guasto;
  }
}

}  // namespace percorso

namespace percorso {

// The Windows watch does not follow a folder deleted and made again: it reports no
// loss, and ends as a failed watch if the folder's handle stops telling.
std::vector<sorveglianza::avviso> sorveglianza::avvisi() {
  return {};
}

}  // namespace percorso
