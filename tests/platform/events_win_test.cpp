// Message boxes and event pumping. Every box is answered by a helper thread that
// finds it by its caption among this process's windows: no test waits for a person.
#include "platform/events.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/wide.h"

namespace tvx {
namespace {

struct BoxSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t className[32] = {}, caption[128] = {};
  GetClassNameW(hwnd, className, 32);
  GetWindowTextW(hwnd, caption, 128);
  if (pid == GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
      search->caption == caption && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Presses button id (or closes the box when id is 0) on the box with this caption.
class BoxAnswerer {
 public:
  BoxAnswerer(std::string_view caption, int id)
      : caption_(WidePointer(TextToWide(caption))), thread_([this, id] { Run(id); }) {}
  ~BoxAnswerer() { thread_.join(); }
  bool answered() const { return answered_; }

 private:
  void Run(int id) {
    for (int i = 0; i < 1000; ++i) {  // up to 10 s
      BoxSearch search{caption_};
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        Sleep(50);  // let the box finish showing itself
        if (id == 0) {
          PostMessageW(search.found, WM_CLOSE, 0, 0);
        } else {
          PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(search.found, id)));
        }
        answered_ = true;
        return;
      }
      Sleep(10);
    }
  }
  std::wstring caption_;
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

TEST(ShowMessageBox, AnswerCodes) {
  const struct {
    std::int32_t buttons;
    int press;  // a button id, or 0 to close the box
    std::int32_t answer;
  } cases[] = {
      {MB_OK, IDOK, kAnswerOk},
      {MB_OKCANCEL, IDOK, kAnswerOk},
      {MB_OKCANCEL, IDCANCEL, kAnswerCancel},
      {MB_OKCANCEL, 0, kAnswerCancel},
      {MB_ABORTRETRYIGNORE, IDABORT, kAnswerAbort},
      {MB_ABORTRETRYIGNORE, IDRETRY, kAnswerRetry},
      {MB_ABORTRETRYIGNORE, IDIGNORE, kAnswerIgnore},
      {MB_YESNOCANCEL, IDYES, kAnswerYes},
      {MB_YESNOCANCEL, 0, kAnswerCancel},
      {MB_YESNO | MB_ICONQUESTION, IDNO, kAnswerNo},
      {MB_RETRYCANCEL | MB_SYSTEMMODAL, IDRETRY, kAnswerRetry},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.buttons << " " << c.press);
    const Text caption = "测试 " + ToText(c.buttons) + " " + ToText(c.press);
    BoxAnswerer answerer(caption, c.press);
    EXPECT_EQ(ShowMessageBox("确定要清空吗？", c.buttons, caption), c.answer);
    EXPECT_TRUE(answerer.answered());
  }
}

TEST(ShowMessageBox, DefaultCaptionAndStaleOwner) {
  {
    BoxAnswerer answerer("信息：", IDOK);
    EXPECT_EQ(ShowMessageBox("保存失败"), kAnswerOk);
    EXPECT_TRUE(answerer.answered());
  }
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  BoxAnswerer answerer("stale owner", IDOK);
  EXPECT_EQ(ShowMessageBox("", MB_OKCANCEL, "stale owner", gone), kAnswerOk);
  EXPECT_TRUE(answerer.answered());
}

// A message-only window that counts what reaches it.
class Counter {
 public:
  static constexpr UINT kPing = WM_APP + 1;
  static constexpr UINT kRepost = WM_APP + 2;  // posts itself again each time
  static constexpr UINT_PTR kTimerId = 7;

  Counter() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TovanixEventsTest";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, this);
  }
  ~Counter() {
    DestroyWindow(hwnd_);
    Drain();
  }
  HWND hwnd() const { return hwnd_; }
  int pings = 0, reposts = 0, ticks = 0;

  // Empties the queue without dispatching, WM_QUIT included.
  static void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Counter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
      if (message == kPing) ++self->pings;
      if (message == kRepost) {
        ++self->reposts;
        PostMessageW(hwnd, kRepost, 0, 0);
      }
      if (message == WM_TIMER && wParam == kTimerId) ++self->ticks;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_ = nullptr;
};

TEST(ProcessEvents, HandlesWaitingEventsAndLeavesQuit) {
  Counter counter;
  ASSERT_NE(counter.hwnd(), nullptr);
  ProcessEvents();  // nothing waiting: returns at once
  for (int i = 0; i < 3; ++i) PostMessageW(counter.hwnd(), Counter::kPing, 0, 0);
  ProcessEvents();
  EXPECT_EQ(counter.pings, 3);

  PostQuitMessage(5);
  PostMessageW(counter.hwnd(), Counter::kPing, 0, 0);
  ProcessEvents();
  EXPECT_EQ(counter.pings, 4);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 5u);
}

TEST(ProcessEvents, ReturnsWhenTheQueueNeverEmpties) {
  Counter counter;
  PostMessageW(counter.hwnd(), Counter::kRepost, 0, 0);
  ProcessEvents();
  EXPECT_GT(counter.reposts, 0);
}

TEST(Waits, SleepHandlesNothing) {
  Counter counter;
  PostMessageW(counter.hwnd(), Counter::kPing, 0, 0);
  SleepMs(20);
  SleepMs(-5);
  EXPECT_EQ(counter.pings, 0);
  DelayProcessingEvents(0);
  DelayProcessingEvents(-10);
  EXPECT_EQ(counter.pings, 0);  // returned at once, before any event
  ProcessEvents();
  EXPECT_EQ(counter.pings, 1);
}

TEST(Waits, DelayHandlesEventsMeanwhile) {
  Counter counter;
  ASSERT_NE(SetTimer(counter.hwnd(), Counter::kTimerId, 20, nullptr), 0u);
  PostMessageW(counter.hwnd(), Counter::kPing, 0, 0);
  const DWORD t0 = GetTickCount();
  DelayProcessingEvents(300);
  EXPECT_GT(GetTickCount() - t0, 300u);
  KillTimer(counter.hwnd(), Counter::kTimerId);
  EXPECT_EQ(counter.pings, 1);
  EXPECT_GT(counter.ticks, 0);
}

TEST(ShellOpenFile, EmptyPathDoesNothing) { ShellOpenFile(""); }

}  // namespace
}  // namespace tvx
