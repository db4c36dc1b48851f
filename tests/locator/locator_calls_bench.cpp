// How many accessibility calls the chat client serves for one tick's work and
// for one account-name read: reading only what each step needs, against a
// full snapshot of every child tested and of the target. Run under the bed:
//   tests/bed/bed.sh <build>/bin/locator_calls_bench.exe
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string_view>

#include "locator/locator_path.h"
#include "locator/msaa_element.h"
#include "locator/snapshot.h"
#include "locator/window_rect.h"
#include "wechat/stand_in_protocol.h"

namespace {

struct Reading {
  long long calls = 0;
  tvx::Text name;
  bool found = false;
};

// Walk path from the window element, then read the target's name.
Reading Measure(HWND client, const tvx::AccElement& root, std::string_view path,
                tvx::ReadMode mode) {
  Reading reading;
  tvx::standin::ResetCallCount(client);
  tvx::MsaaElement target;
  reading.found = tvx::LocateElement(root, path, target, mode);
  if (reading.found) {
    reading.name = mode == tvx::ReadMode::kFull ? tvx::SnapshotElement(target).name
                                                : tvx::SnapshotName(target);
  }
  reading.calls = tvx::standin::CallCount(client);
  return reading;
}

}  // namespace

int main() {
  if (FAILED(OleInitialize(nullptr))) return 3;
  int rc = 0;
  {
    tvx::standin::Process client;
    if (!client.Start(L"--account 张三 --chat 李四")) {
      std::printf("WeChat.exe did not start\n");
      return 2;
    }
    tvx::MsaaElement root;
    if (!root.FromWindow(tvx::HandleOf(client.Window()))) {
      std::printf("no window object\n");
      return 2;
    }
    std::printf("%-22s %10s %10s %8s  %s\n", "work", "literal", "needed", "ratio", "same result");
    const struct {
      const char* label;
      std::string_view path;
    } works[] = {{"tick (chat title)", tvx::kChatTitlePath},
                 {"account name read", tvx::kAccountNamePath}};
    for (const auto& work : works) {
      const Reading full = Measure(client.Window(), root, work.path, tvx::ReadMode::kFull);
      const Reading needed = Measure(client.Window(), root, work.path, tvx::ReadMode::kNeeded);
      const bool same = full.found == needed.found && full.name == needed.name;
      if (!same || !needed.found) rc = 1;
      std::printf("%-22s %10lld %10lld %8.2f  %s\n", work.label, full.calls, needed.calls,
                  full.calls ? static_cast<double>(needed.calls) / full.calls : 0.0,
                  same ? "yes" : "NO");
    }
    // The same tick with no chat open: the walk fails in both readings.
    tvx::standin::CloseChat(client.Window());
    const Reading full = Measure(client.Window(), root, tvx::kChatTitlePath, tvx::ReadMode::kFull);
    const Reading needed =
        Measure(client.Window(), root, tvx::kChatTitlePath, tvx::ReadMode::kNeeded);
    if (full.found || needed.found) rc = 1;
    std::printf("%-22s %10lld %10lld %8.2f  %s\n", "tick, no chat open", full.calls, needed.calls,
                full.calls ? static_cast<double>(needed.calls) / full.calls : 0.0,
                full.found == needed.found ? "yes" : "NO");
  }
  OleUninitialize();
  return rc;
}
