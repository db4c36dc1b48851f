#pragma once
// The quick-reply list 超级列表框1 as the quick-reply commands use it: a report
// list view whose rows and columns count from 0 and whose texts are code page
// 936, whatever the machine's ANSI code page is. The wrapper does not own the
// window; it is as cheap to make as the handle it holds.
#include <windows.h>

#include <string_view>

#include "platform/text.h"

namespace tvx {

class ListView {
 public:
  explicit ListView(HWND window) : window_(window) {}
  HWND Handle() const { return window_; }

  // Inserts an empty row before index; -1, the row count or any index outside
  // the rows appends. The new row's index, or -1 when the control refuses.
  int InsertRow(int index) const;
  bool SetItemText(int row, int column, std::string_view text) const;
  // The text set at (row, column); empty for a cell that does not exist.
  Text ItemText(int row, int column) const;
  int RowCount() const;
  // Removes the row; the later rows move up. False when there is no such row.
  bool DeleteRow(int row) const;
  void DeleteAllRows() const;
  // Scrolls so that the row is fully visible.
  void EnsureVisible(int row) const;
  // The first selected row, or -1 when none is.
  int SelectedRow() const;
  // row >= 0 makes that row the only selected one and the focused one (nothing
  // happens when there is no such row); -1 clears the selection.
  void SetSelectedRow(int row) const;

 private:
  HWND window_;
};

}  // namespace tvx
