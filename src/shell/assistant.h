#pragma once
// The program's handlers of the main window's events: start-up, shutdown and the
// remark box. Events whose handlers belong to subsystems still to come reach the
// MainWindowEvents defaults, which do nothing; each joins here as an override.
#include "shell/main_window.h"

namespace tvx {

// The start-up sequence, run once the window and all its controls exist.
void OnMainWindowCreated(MainWindow& window);
// The shutdown sequence: closes the remark database and ends the process with
// exit code 0 (the exit routine then releases the global state). Does not return.
[[noreturn]] void OnMainWindowDestroying(MainWindow& window);

// 编辑框_好友昵称 changed: 编辑框_备注 shows that nickname's remark, or nothing.
void LookUpRemark(MainWindow& window);
// 按钮1: stores 编辑框_备注's text for 编辑框_好友昵称's nickname and shows the
// outcome in 透明标签1 for kSaveFeedbackMs, window events running meanwhile.
void SaveRemark(MainWindow& window);

class Assistant : public MainWindowEvents {
 public:
  void OnCreated(MainWindow& window) override;
  void OnDestroying(MainWindow& window) override;
  void OnTextChanged(MainWindow& window, ControlId edit) override;
  void OnClicked(MainWindow& window, ControlId button) override;
  // Still to join, each with its subsystem:
  //   OnComboItemSelected (组合框1), OnDoubleClicked (标签4), the tray command
  //   重新载入 and OnTick (时钟1): instance discovery and selection, the docking
  //   tick and the chat tracking;
  //   OnClicked (按钮_新增), OnFocusChanged (编辑框_图片), the picture drop and the
  //   list menu's commands: the quick-reply editing commands;
  //   OnListDoubleClicked: sending a quick reply into the chat.
};

}  // namespace tvx
