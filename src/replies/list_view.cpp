// The list view speaks UTF-16 (LVM_*W) and every text crosses through code page
// 936 explicitly. The A messages would convert through the machine's ANSI code
// page instead, which is 936 only on a Chinese system, and a reply would then
// change its bytes on another one.
#include "replies/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/wide.h"

namespace tvx {
namespace {

std::wstring Wide(std::string_view text) {
  const Bytes units = TextToWide(text);
  if (units.size() < 2) return std::wstring();
  return std::wstring(reinterpret_cast<const wchar_t*>(units.data()), units.size() / 2 - 1);
}


// A cell's text is never longer than this many UTF-16 units: beyond it a read
// stops growing its buffer rather than ask for ever more memory.
constexpr std::size_t kLongestText = std::size_t{1} << 26;

}  // namespace

int ListView::InsertRow(int index) const {
  const int count = RowCount();
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = (index < 0 || index > count) ? count : index;
  item.pszText = const_cast<wchar_t*>(L"");
  return static_cast<int>(
      SendMessageW(window_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetItemText(int row, int column, std::string_view text) const {
  if (row < 0 || column < 0 || row >= RowCount()) return false;
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  return SendMessageW(window_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item)) != 0;
}

Text ListView::ItemText(int row, int column) const {
  if (row < 0 || column < 0 || row >= RowCount()) return Text();
  // The message copies at most the buffer's size less one and answers how many
  // units it copied; a full buffer may mean a longer text, so grow and ask again.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto copied = static_cast<std::size_t>(SendMessageW(
        window_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size() || buffer.size() >= kLongestText) {
      buffer.back() = L'\0';
      return WideToText(std::wstring_view(buffer.data(), std::min(copied, buffer.size() - 1)));
    }
    buffer.assign(buffer.size() * 4, L'\0');
  }
}

int ListView::RowCount() const {
  return static_cast<int>(SendMessageW(window_, LVM_GETITEMCOUNT, 0, 0));
}

bool ListView::DeleteRow(int row) const {
  if (row < 0) return false;
  return SendMessageW(window_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0) != 0;
}

void ListView::DeleteAllRows() const { SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0); }

void ListView::EnsureVisible(int row) const {
  if (row < 0) return;
  SendMessageW(window_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int ListView::SelectedRow() const {
  return static_cast<int>(
      SendMessageW(window_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListView::SetSelectedRow(int row) const {
  if (row < -1 || row >= RowCount()) return;
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  clear.state = 0;
  SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (row == -1) return;
  LVITEMW select{};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(window_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
  SendMessageW(window_, LVM_SETSELECTIONMARK, 0, row);
}

}  // namespace tvx
