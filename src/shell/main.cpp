// Program entry of Tovanix.exe.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/wide.h"
#include "shell/assistant.h"
#include "shell/global_state.h"

namespace {

void ReleaseAtExit() { tvx::ReleaseGlobalState(); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  // Relative paths resolve against the program's own folder.
  OleInitialize(nullptr);
  SetCurrentDirectoryW(tvx::SystemPath(tvx::RunDirectory()).c_str());

  tvx::InitGlobalState();
  std::atexit(ReleaseAtExit);

  // Locals of the entry: the process ends inside the window's destruction, and
  // nothing may destroy the window a second time on the way out.
  tvx::Assistant assistant;
  tvx::MainWindow window;
  if (!window.Create(instance, assistant)) return 1;
  window.Show(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  tvx::RunMessageLoop();
  return 0;
}
