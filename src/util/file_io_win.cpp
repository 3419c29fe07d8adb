#include "util/file_io_win.h"

#include <windows.h>

#include <new>

#include "util/scoped_win.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

// Scanners and indexers hold files open briefly; a replace refused for sharing is tried
// again for about this long before giving up.
constexpr int kReplaceAttempts = 6;
constexpr DWORD kReplaceRetryMs = 10;

// What MoveFileEx reports while another program holds the target open: access denied
// as well as the sharing and lock violations.
bool IsTargetHeldOpen(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// A path is UTF-8; one that is not names no file.
bool WidePath(const char* path, std::wstring* wide) {
  return path != nullptr && WideOfUtf8Strict(path, wide);
}

bool AbsolutePath(const std::wstring& path, std::wstring* absolute) {
  std::wstring buffer;
  DWORD size = 0;
  // The current folder may change between the calls: asked again until the path fits.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, size > 0 ? buffer.data() : nullptr,
                                            nullptr);
    if (length == 0) return false;
    if (length < size) {
      buffer.resize(length);
      *absolute = std::move(buffer);
      return true;
    }
    size = length;
    buffer.assign(size, L'\0');
  }
  return false;
}

std::uint64_t Join(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

}  // namespace

bool WriteAll(void* file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::string ReplacementTempPath(const std::string& absolute_path) {
  return absolute_path + ".tmp";
}

std::optional<FileStamp> StampOfOpenFile(void* file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileStamp{Join(info.nFileSizeHigh, info.nFileSizeLow),
                   Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

std::optional<FileStamp> StampOfFile(const char* path) {
  std::wstring wide;
  if (!WidePath(path, &wide)) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{Join(data.nFileSizeHigh, data.nFileSizeLow),
                   Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

ReadResult ReadWholeFile(const char* path, std::string* content, std::size_t max_size) {
  return ReadStampedFile(path, max_size, content, nullptr);
}

ReadResult ReadStampedFile(const char* path, std::size_t max_size, std::string* content,
                           std::optional<FileStamp>* stamp) {
  std::wstring wide;
  if (!WidePath(path, &wide)) return ReadResult::kFailed;
  ScopedHandle file(::CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                          : ReadResult::kFailed;
  }
  const std::optional<FileStamp> before = stamp != nullptr ? StampOfOpenFile(file.Get())
                                                           : std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return ReadResult::kFailed;
  if (static_cast<unsigned long long>(size.QuadPart) > max_size) return ReadResult::kTooLarge;
  std::string buffer;
  // The standard library reports a refused allocation only by throwing.
  const auto resize = [&buffer](std::size_t bytes) {
    try {
      buffer.resize(bytes);
      return true;
    } catch (const std::bad_alloc&) {
      return false;
    }
  };
  if (!resize(static_cast<std::size_t>(size.QuadPart))) return ReadResult::kTooLarge;
  std::size_t filled = 0;
  // The file may grow or shrink while it is read; what was there at the end counts.
  for (;;) {
    if (filled == buffer.size()) {
      if (buffer.size() >= max_size) {
        // Full: done if the file ends here, too large if it grew meanwhile.
        char more = 0;
        DWORD got = 0;
        if (!::ReadFile(file.Get(), &more, 1, &got, nullptr)) return ReadResult::kFailed;
        if (got == 0) break;
        return ReadResult::kTooLarge;
      }
      if (!resize(buffer.size() + 4096 > max_size ? max_size : buffer.size() + 4096)) {
        return ReadResult::kTooLarge;
      }
    }
    const std::size_t room = buffer.size() - filled;
    const DWORD want = room > 0x40000000u ? 0x40000000u : static_cast<DWORD>(room);
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer.data() + filled, want, &got, nullptr)) {
      return ReadResult::kFailed;
    }
    if (got == 0) break;
    filled += got;
  }
  buffer.resize(filled);
  *content = std::move(buffer);
  if (stamp != nullptr) {
    const std::optional<FileStamp> after = StampOfOpenFile(file.Get());
    *stamp = before.has_value() && after == before ? before : std::nullopt;
  }
  return ReadResult::kOk;
}

bool ReplaceFileContent(const char* path, std::string_view content) {
  return ReplaceFileWith(path, [content](const ByteSink& write) { return write(content); });
}

bool ReplaceFileWith(const char* path, const std::function<bool(const ByteSink&)>& produce) {
  std::wstring given;
  std::wstring target;
  if (!WidePath(path, &given) || !AbsolutePath(given, &target)) return false;
  // A read-only file is the user's way of saying "leave it"; Windows refuses the move over
  // it, Wine does not, so refuse it here for both.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return false;
  }
  // The name ReplacementTempPath gives, in the form the calls take.
  const std::wstring temp = target + L".tmp";
  {
    ScopedHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const ByteSink write = [&file](std::string_view bytes) { return WriteAll(file.Get(), bytes); };
    const bool written = produce(write) && ::FlushFileBuffers(file.Get());
    const bool closed = ::CloseHandle(file.Release()) != FALSE;
    if (!written || !closed) {
      ::DeleteFileW(temp.c_str());
      return false;
    }
  }
  // Not ReplaceFile: some implementations remove the target before renaming.
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(temp.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = ::GetLastError();
    if (!IsTargetHeldOpen(error) || attempt == kReplaceAttempts) break;
    ::Sleep(kReplaceRetryMs);
  }
  ::DeleteFileW(temp.c_str());
  return false;
}

}  // namespace lvn
