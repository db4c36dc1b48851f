#include "platform/files.h"

#include <limits>
#include <utility>
#include <vector>

#include "platform/scoped_win.h"
#include "platform/wide.h"

namespace tvx {
namespace {

struct OpenFile {
  FileNumber number;
  UniqueHandle handle;
};

// The files FileOpen handed out. Only the GUI thread uses them.
struct FileTable {
  std::vector<OpenFile> files;
  FileNumber lastNumber = 0;

  HANDLE Find(FileNumber number) const {
    if (number <= 0) return nullptr;
    for (const auto& f : files) {
      if (f.number == number) return f.handle.get();
    }
    return nullptr;
  }
  FileNumber Add(UniqueHandle handle) {
    do {  // never 0, never a number still open
      lastNumber = lastNumber == std::numeric_limits<FileNumber>::max() ? 1 : lastNumber + 1;
    } while (Find(lastNumber) != nullptr);
    files.push_back({lastNumber, std::move(handle)});
    return lastNumber;
  }
  void Remove(FileNumber number) {
    for (auto it = files.begin(); it != files.end(); ++it) {
      if (it->number == number) {
        files.erase(it);
        return;
      }
    }
  }
};

FileTable& Files() {
  static FileTable table;
  return table;
}

bool GetPosition(HANDLE h, LONGLONG& position) {
  LARGE_INTEGER zero{}, now{};
  if (!SetFilePointerEx(h, zero, &now, FILE_CURRENT)) return false;
  position = now.QuadPart;
  return true;
}

bool SetPosition(HANDLE h, LONGLONG position) {
  LARGE_INTEGER to{};
  to.QuadPart = position;
  return SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAll(HANDLE h, const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(h, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

// Reads up to size bytes; the block holds what could be read.
Bytes ReadUpTo(HANDLE h, std::size_t size) {
  Bytes block(size);
  std::size_t got = 0;
  while (got < size) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(size - got);
    if (!ReadFile(h, block.data() + got, want, &n, nullptr) || n == 0) break;
    got += n;
  }
  block.resize(got);
  return block;
}

HANDLE OpenForSharing(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Text RunDirectory() {
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (n == 0) return Text();
    if (n < module.size()) {
      module.resize(n);
      break;
    }
    if (module.size() >= 32768) return Text();
    module.resize(module.size() * 2);
  }
  const std::size_t slash = module.rfind(L'\\');
  return slash == std::wstring::npos ? Text() : WideToText(std::wstring_view(module).substr(0, slash));
}

bool FileExists(std::string_view path) {
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return false;
  WIN32_FIND_DATAW data;
  UniqueFindHandle found(FindFirstFileW(wide.c_str(), &data));
  return static_cast<bool>(found);
}

bool FileDelete(std::string_view path) {
  const std::wstring wide = SystemPath(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != FALSE;
}

Bytes ReadWholeFile(std::string_view path) {
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return Bytes();
  UniqueHandle file(OpenForSharing(wide, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  if (!file) return Bytes();
  LARGE_INTEGER size{};
  // A byte block holds at most 2 GiB - 1; a larger file reads as empty.
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      size.QuadPart > std::numeric_limits<std::int32_t>::max()) {
    return Bytes();
  }
  return ReadUpTo(file.get(), static_cast<std::size_t>(size.QuadPart));
}

bool WriteWholeFileBlocks(std::string_view path, std::span<const Bytes* const> blocks) {
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return false;
  // OPEN_ALWAYS and cutting, rather than CREATE_ALWAYS, so a hidden or read-only
  // attribute the user set is kept (or refuses the write) instead of failing oddly.
  UniqueHandle file(OpenForSharing(wide, GENERIC_WRITE, 0, OPEN_ALWAYS));
  if (!file || !SetEndOfFile(file.get())) return false;
  for (const Bytes* block : blocks) {
    if (block == nullptr || block->empty()) continue;
    if (!WriteAll(file.get(), block->data(), block->size())) return false;
  }
  return true;
}

FileNumber FileOpen(std::string_view path, std::int32_t openMode, std::int32_t sharingMode) {
  static constexpr struct {
    DWORD access;
    DWORD disposition;
    bool cut;
  } kOpenModes[] = {
      {GENERIC_READ, OPEN_EXISTING, false},
      {GENERIC_WRITE, OPEN_EXISTING, false},
      {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, false},
      {GENERIC_WRITE, OPEN_ALWAYS, true},
      {GENERIC_WRITE, OPEN_ALWAYS, false},
      {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, false},
  };
  static constexpr DWORD kSharingModes[] = {
      FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE, FILE_SHARE_READ, 0};
  if (openMode < 1 || openMode > 6 || sharingMode < 1 || sharingMode > 4) return 0;
  const std::wstring wide = SystemPath(path);
  if (wide.empty()) return 0;
  const auto& mode = kOpenModes[openMode - 1];
  UniqueHandle file(OpenForSharing(wide, mode.access, kSharingModes[sharingMode - 1], mode.disposition));
  if (!file) return 0;
  if (mode.cut && !SetEndOfFile(file.get())) return 0;
  return Files().Add(std::move(file));
}

void FileClose(FileNumber file) { Files().Remove(file); }

bool FileSeekToEnd(FileNumber file) {
  const HANDLE h = Files().Find(file);
  if (h == nullptr) return false;
  LARGE_INTEGER zero{};
  return SetFilePointerEx(h, zero, nullptr, FILE_END) != FALSE;
}

namespace {

Text ReadText(HANDLE h, LONGLONG count) {
  LONGLONG start = 0;
  LARGE_INTEGER size{};
  if (!GetPosition(h, start) || !GetFileSizeEx(h, &size)) return Text();
  // Never more than the file still holds, so a huge count allocates nothing extra.
  LONGLONG left = size.QuadPart - start;
  if (count >= 0 && count < left) left = count;
  if (left <= 0) return Text();
  if (left > std::numeric_limits<std::int32_t>::max()) left = std::numeric_limits<std::int32_t>::max();
  const Bytes block = ReadUpTo(h, static_cast<std::size_t>(left));
  std::size_t end = 0;
  while (end < block.size()) {
    const std::uint8_t b = block[end];
    if (b == 0x00 || b == 0x1A) break;
    if (b >= 0x80 && end + 1 < block.size()) {
      if (block[end + 1] == 0x00) break;  // ends before the pair's first byte
      end += 2;
    } else {
      end += 1;
    }
  }
  if (end < block.size()) SetPosition(h, start + static_cast<LONGLONG>(end));
  return Text(reinterpret_cast<const char*>(block.data()), end);
}

}  // namespace

Text FileReadText(FileNumber file) {
  const HANDLE h = Files().Find(file);
  return h == nullptr ? Text() : ReadText(h, -1);
}

Text FileReadText(FileNumber file, std::int32_t count) {
  if (count < 1) return Text();
  const HANDLE h = Files().Find(file);
  return h == nullptr ? Text() : ReadText(h, count);
}

bool FileWriteBytes(FileNumber file, std::string_view bytes) {
  const HANDLE h = Files().Find(file);
  if (h == nullptr) return false;
  LONGLONG before = 0;
  LARGE_INTEGER sizeBefore{};
  if (!GetPosition(h, before) || !GetFileSizeEx(h, &sizeBefore)) return false;
  if (WriteAll(h, bytes.data(), bytes.size())) return true;
  // A half-written line would corrupt the file: take back what grew, then the position.
  LARGE_INTEGER sizeNow{};
  if (GetFileSizeEx(h, &sizeNow) && sizeNow.QuadPart > sizeBefore.QuadPart &&
      SetPosition(h, sizeBefore.QuadPart)) {
    SetEndOfFile(h);
  }
  SetPosition(h, before);
  return false;
}

}  // namespace tvx
