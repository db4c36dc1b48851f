#include "shell/global_state.h"

namespace tvx {

GlobalState* g_state = nullptr;

void InitGlobalState() {
  if (!g_state) g_state = new GlobalState();
}

void ReleaseGlobalState() {
  GlobalState* state = g_state;
  if (!state) return;
  g_state = nullptr;
  // In the order the state was described: database first, chat root last.
  state->remarks.Close();
  state->instanceWindows.clear();
  state->currentChatWindow = nullptr;
  state->chatRoot.reset();
  delete state;
}

}  // namespace tvx
