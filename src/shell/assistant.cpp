#include "shell/assistant.h"

#include <cstdlib>

#include "platform/events.h"
#include "platform/files.h"
#include "remarks/remark_store.h"
#include "replies/quick_replies.h"
#include "shell/global_state.h"

namespace tvx {

void OnMainWindowCreated(MainWindow& window) {
  // 1. The drop target 拖放对象1 is bound to 编辑框_图片 by the quick-reply editing
  //    commands, which handle its drops; until they join, the box takes no drops.
  // 2.
  window.ShowTrayIcon();
  // 3.
  window.SetText(ControlId::透明标签1, "");
  // 4. Opens or creates Corvessa.db with table 信息; a failure leaves the store
  //    unbound, so lookups find nothing and saves report "保存失败".
  g_state->remarks.Open(RunDirectory() + kRemarkDatabaseSuffix);
  // 5.
  EnsureQuickReplyFile();
  // 6. Discovering the client instances and selecting the first one (which binds
  //    the system to it and starts 时钟1) joins with the instance discovery;
  //    until then 组合框1 stays empty and 时钟1 stopped.
  // 7.
  LoadQuickReplies(window.Control(ControlId::超级列表框1));
}

void OnMainWindowDestroying(MainWindow& window) {
  g_state->remarks.Close();
  std::exit(0);
}

void LookUpRemark(MainWindow& window) {
  window.SetText(ControlId::编辑框_备注,
                 g_state->remarks.LookUp(window.GetText(ControlId::编辑框_好友昵称)));
}

void SaveRemark(MainWindow& window) {
  const bool saved = g_state->remarks.Save(window.GetText(ControlId::编辑框_好友昵称),
                                           window.GetText(ControlId::编辑框_备注));
  if (saved) {
    window.SetVisible(ControlId::透明标签1, true);
    window.SetText(ControlId::透明标签1, kRemarkSavedText);
  } else {
    window.SetText(ControlId::透明标签1, kRemarkSaveFailedText);
    window.SetVisible(ControlId::透明标签1, true);
  }
  // Window events keep running, a second click on 按钮1 included: it runs its
  // own save to the end before this one hides the label.
  DelayProcessingEvents(kSaveFeedbackMs);
  window.SetVisible(ControlId::透明标签1, false);
}

void Assistant::OnCreated(MainWindow& window) { OnMainWindowCreated(window); }

void Assistant::OnDestroying(MainWindow& window) { OnMainWindowDestroying(window); }

void Assistant::OnTextChanged(MainWindow& window, ControlId edit) {
  if (edit == ControlId::编辑框_好友昵称) LookUpRemark(window);
}

void Assistant::OnClicked(MainWindow& window, ControlId button) {
  if (button == ControlId::按钮1) SaveRemark(window);
}

}  // namespace tvx
