#include "platform/events.h"

#include <shellapi.h>

#include "platform/wide.h"

namespace tvx {

std::int32_t ShowMessageBox(std::string_view text, std::int32_t buttonCode, std::string_view caption,
                            HWND owner) {
  auto style = static_cast<UINT>(buttonCode);
  if ((style & MB_SYSTEMMODAL) == 0) style |= MB_TASKMODAL;
  // A stale owner would make the box fail silently; the user should still see it.
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  const Bytes wideText = TextToWide(text);
  const Bytes wideCaption = TextToWide(caption);
  switch (MessageBoxW(owner, WidePointer(wideText), WidePointer(wideCaption), style)) {
    case IDOK: return kAnswerOk;
    case IDABORT: return kAnswerAbort;
    case IDRETRY:
    case IDTRYAGAIN: return kAnswerRetry;
    case IDIGNORE:
    case IDCONTINUE: return kAnswerIgnore;
    case IDYES: return kAnswerYes;
    case IDNO: return kAnswerNo;
    default: return kAnswerCancel;  // Cancel, closed, or no box at all
  }
}

void ProcessEvents() {
  // A window that never validates its paint, or a handler that posts itself again,
  // keeps the queue from ever running empty; the cap keeps the caller from hanging.
  constexpr int kMaxMessagesPerCall = 10000;
  MSG msg;
  for (int handled = 0; handled < kMaxMessagesPerCall; ++handled) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) || msg.message == WM_QUIT) return;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {  // it overtook the message seen first: leave it waiting
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SleepMs(std::int32_t ms) { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

void DelayProcessingEvents(std::int32_t ms) {
  if (ms <= 0) return;
  const DWORD t0 = GetTickCount();
  const auto span = static_cast<DWORD>(ms);
  for (;;) {
    ProcessEvents();
    ProcessEvents();
    // Elapsed time in unsigned arithmetic stays right when the tick count wraps.
    if (GetTickCount() - t0 > span) return;
    ProcessEvents();
    ProcessEvents();
  }
}

void ShellOpenFile(std::string_view path) {
  const Bytes widePath = TextToWide(path);
  if (widePath.empty()) return;
  ShellExecuteW(nullptr, L"open", WidePointer(widePath), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tvx
