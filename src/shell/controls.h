#pragma once
// The ids of the main window's controls, menu items and tray icon. Every control
// is a child window whose GetDlgItem id is its ControlId, so code and test
// programs (which drive the real Tovanix.exe from outside) find it by id:
//   GetDlgItem(mainWindow, tvx::Id(tvx::ControlId::编辑框_好友昵称))
// The controls drawn inside a group box are children of the main window too,
// placed at the group box's offset; their places stay defined relative to the
// group box (shell/layout.h).
// Portable: no <windows.h>, so core code and tests can name the ids.

namespace tvx {

// The main window: caption "Tovanix", window class "Pelovara".
inline constexpr const wchar_t* kMainWindowClass = L"Pelovara";
inline constexpr const wchar_t* kMainWindowCaption = L"Tovanix";

enum class ControlId : int {
  // Upper group box: the instance choice, the docking side, the remark of the open chat.
  分组框1 = 1001,          // group box, no caption
  标签3 = 1002,            // label "当前微信："
  组合框1 = 1003,          // drop-down list of the client instances (by account name)
  标签4 = 1004,            // label "←←多开可切换"; a double-click rediscovers the instances
  标签5 = 1005,            // label "点击↑↑刷新微信"
  标签1 = 1006,            // label "好友微信："
  编辑框_好友昵称 = 1007,  // single-line edit: the open chat's nickname (red text)
  单选框_左 = 1008,        // radio "左侧吸附": dock on the client's left
  单选框_右 = 1009,        // radio "右侧吸附": dock on the client's right (checked at start)
  标签2 = 1010,            // label "信息需要自己手动备注,记得[保存]噢"
  编辑框_备注 = 1011,      // multi-line edit: the remark of the open chat
  透明标签1 = 1012,        // transparent label: the save feedback ("已保存" / "保存失败")
  按钮1 = 1013,            // button "保存": saves the remark

  // Lower group box: the quick replies.
  分组框2 = 1014,          // group box "快捷回复"
  编辑框1 = 1015,          // multi-line edit: the text of a new or edited reply
  按钮_新增 = 1016,        // button "新增" (caption changes while a reply is edited)
  编辑框_图片 = 1017,      // single-line edit: the picture path or its hint (orange text)
  超级列表框1 = 1018,      // report list view: 序号, 内容, 图片
};

// The popup menus' items: the WM_COMMAND ids they send to the main window.
enum class MenuCommand : int {
  // 菜单: right click on 超级列表框1. Separators sit between every two items.
  刷新 = 2001,
  删除 = 2002,
  编辑 = 2003,
  清空内容 = 2004,
  打开文件 = 2005,
  // 托盘菜单: right click on the tray icon.
  重新载入 = 2101,
};

// The tray icon's uID in NOTIFYICONDATA.
inline constexpr unsigned kTrayIconId = 1;

constexpr int Id(ControlId id) { return static_cast<int>(id); }
constexpr int Id(MenuCommand command) { return static_cast<int>(command); }

}  // namespace tvx
