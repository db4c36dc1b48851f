#pragma once
// Message boxes, pumping window events, waits, and opening a file in its program.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/text.h"

namespace tvx {

inline constexpr std::string_view kMessageBoxCaption = "信息：";

// Answer codes of ShowMessageBox.
enum MessageAnswer : std::int32_t {
  kAnswerOk = 0,
  kAnswerCancel = 1,  // also the box closed, or no box could be shown
  kAnswerAbort = 2,
  kAnswerRetry = 3,
  kAnswerIgnore = 4,
  kAnswerYes = 5,
  kAnswerNo = 6,
};

// buttonCode is the Windows message-box style; the box is task-modal unless the
// system-modal bit (0x1000) is set. An owner that is no window is ignored.
std::int32_t ShowMessageBox(std::string_view text, std::int32_t buttonCode = 0,
                            std::string_view caption = kMessageBoxCaption, HWND owner = nullptr);
// Handles the calling thread's waiting window events and returns when none is left,
// leaving WM_QUIT in the queue. Never waits for a message.
void ProcessEvents();
// Blocks the thread; no window event is handled meanwhile. Negative counts as 0.
void SleepMs(std::int32_t ms);
// Keeps handling window events until more than ms milliseconds have passed.
void DelayProcessingEvents(std::int32_t ms);
void ShellOpenFile(std::string_view path);

}  // namespace tvx
