#pragma once
// The process-wide state the subsystems share. It is built once, before the main
// window exists, and destroyed once when the program ends, however it ends
// (ReleaseGlobalState is the program's exit routine). No other code creates or
// frees these; the subsystems only use them, on the GUI thread.
#include <windows.h>

#include <vector>

#include "locator/element.h"
#include "remarks/remark_store.h"

namespace tvx {

struct GlobalState {
  // The remark database with its table 信息: the connection, the cursor and the
  // column definitions in one. Closed until start-up opens it.
  RemarkStore remarks;
  // The main windows of the client instances, in the order of 组合框1's items.
  std::vector<HWND> instanceWindows;
  // The bound client main window; null before an instance is selected.
  HWND currentChatWindow = nullptr;
  // The accessible element the chat tracking starts from; empty until an
  // instance is selected. Destroying it releases its COM references.
  ElementPtr chatRoot;
};

// Null before InitGlobalState and after ReleaseGlobalState.
extern GlobalState* g_state;

// Builds the globals; a second call changes nothing.
void InitGlobalState();
// Destroys them: the remark store (closing an open database first), the instance
// list, then the chat root with its COM references. A second call changes nothing.
void ReleaseGlobalState();

}  // namespace tvx
