// The quick-reply file on disk and the list built from it.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/scoped_win.h"
#include "platform/wide.h"
#include "replies/list_view.h"
#include "replies/quick_replies.h"

namespace tvx {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The new content goes to a file of its own beside the old one, reaches the
// disk, and only then takes the old file's place in one step. A save that fails
// at any point, or a crash in the middle, leaves the old file as it was, and a
// failed save removes its half-written file.
bool ReplaceFileContent(std::string_view filePath, std::string_view bytes) {
  const std::wstring path = SystemPath(filePath);
  if (path.empty()) return false;
  // A file marked read-only keeps its content, as a write into it would fail.
  // Replacing would not ask: the system's rename does not refuse it everywhere.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return false;
  const std::wstring temporary = SystemPath(Text(filePath) + ".tmp");
  UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) != 0;
  const bool closed = CloseHandle(file.release()) != 0;
  if (!closed || !written ||
      !MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

// Drawing is held back while the rows go in, so a long file loads in one paint.
// Only a visible list: turning redrawing back on also shows a window.
class RedrawPause {
 public:
  explicit RedrawPause(HWND window)
      : window_(window), paused_((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0) {
    if (paused_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    if (!paused_) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
  bool paused_;
};

}  // namespace

Text QuickReplyPath() { return RunDirectory() + Text(kReplyFileSuffix); }

void EnsureQuickReplyFile() { EnsureQuickReplyFileAt(QuickReplyPath()); }

void EnsureQuickReplyFileAt(std::string_view path) {
  if (!FileExists(path)) EnsureFile(path, 0);
}

void LoadQuickReplies(HWND listView) { LoadQuickRepliesFrom(QuickReplyPath(), listView); }

void LoadQuickRepliesFrom(std::string_view path, HWND listView) {
  // Read-only, sharing read and write: others may use the file meanwhile.
  const FileNumber file = FileOpen(path, 1, 1);
  const Text content = FileReadText(file);
  FileClose(file);
  const std::vector<QuickReply> rows = ParseQuickReplies(content);

  const ListView list(listView);
  {
    const RedrawPause pause(listView);
    list.DeleteAllRows();
    SendMessageW(listView, LVM_SETITEMCOUNT, rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int row = list.InsertRow(static_cast<int>(i));
      list.SetItemText(row, 0, ToText(static_cast<std::int32_t>(i + 1)));
      list.SetItemText(row, 1, rows[i].text);
      list.SetItemText(row, 2, rows[i].picture);
    }
  }
  list.SetSelectedRow(0);
}

void SaveQuickReplies(HWND listView) { SaveQuickRepliesTo(QuickReplyPath(), listView); }

bool SaveQuickRepliesTo(std::string_view path, HWND listView) {
  const ListView list(listView);
  const int count = list.RowCount();
  std::vector<QuickReply> rows;
  rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int row = 0; row < count; ++row) rows.push_back({list.ItemText(row, 1), list.ItemText(row, 2)});
  const bool saved = ReplaceFileContent(path, SerializeQuickReplies(rows));
  LoadQuickRepliesFrom(path, listView);
  return saved;
}

}  // namespace tvx
