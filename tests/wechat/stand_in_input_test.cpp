// The stand-in's message input: what Ctrl+V and Enter deliver reaches its log.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "wechat/stand_in_protocol.h"

namespace tvx {
namespace {

std::string ReadLog(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(64 * 1024, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

std::string WaitForLog(const std::wstring& path, const std::string& expected) {
  std::string log;
  for (int i = 0; i < 100 && (log = ReadLog(path)) != expected; ++i) Sleep(50);
  return log;
}

void Press(BYTE key, bool withControl) {
  if (withControl) keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  if (withControl) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

bool PutText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  const bool put = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!put) GlobalFree(block);
  CloseClipboard();
  return put;
}

bool PutBitmap(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const bool put = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  if (!put) DeleteObject(bitmap);
  CloseClipboard();
  return put;
}

TEST(StandInInput, PastedTextAndPictureAreSentOneLineEach) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring log = std::wstring(folder) + L"stand_in_input_" +
                           std::to_wstring(GetCurrentProcessId()) + L".log";
  DeleteFileW(log.c_str());
  standin::Process client;
  ASSERT_TRUE(client.Start(L"--account 张三 --chat 李四 --log \"" + log + L"\""));
  ASSERT_TRUE(SetForegroundWindow(client.Window()));
  Sleep(200);

  ASSERT_TRUE(PutText("你好\r\n第二行"));
  Press('V', true);
  Sleep(100);
  Press(VK_RETURN, false);
  EXPECT_EQ(WaitForLog(log, "你好\\n第二行\r\n"), "你好\\n第二行\r\n");

  ASSERT_TRUE(PutBitmap(30, 20));
  Press('V', true);
  Sleep(100);
  Press(VK_RETURN, false);
  const std::string both = "你好\\n第二行\r\nbitmap 30x20\r\n";
  EXPECT_EQ(WaitForLog(log, both), both);

  Press(VK_RETURN, false);  // nothing to send: no line
  Sleep(300);
  EXPECT_EQ(ReadLog(log), both);
  client.Stop();
  DeleteFileW(log.c_str());
}

}  // namespace
}  // namespace tvx
