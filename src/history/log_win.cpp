#include "history/log_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "util/file_io_win.h"
#include "util/scoped_win.h"
#include "util/text.h"

namespace lvn {
namespace {

// A scanner or indexer holding the file for a moment should not cost a record its place
// in the file; a program that keeps it locked costs about this long per append.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenRetryMs = 10;

// Another program has the file open without sharing it for writing: it may let go soon.
// (Access denied is not such a case here: it means no right to the file.)
bool IsSharingOrLockViolation(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Other programs may read the log while a record goes in, but not write it.
ScopedHandle OpenForAppend(const char* path) {
  for (int attempt = 1;; ++attempt) {
    ScopedHandle file(::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || attempt == kOpenAttempts || !IsSharingOrLockViolation(::GetLastError())) {
      return file;
    }
    ::Sleep(kOpenRetryMs);
  }
}

bool SeekTo(HANDLE file, LONGLONG offset, DWORD method) {
  LARGE_INTEGER distance{};
  distance.QuadPart = offset;
  return ::SetFilePointerEx(file, distance, nullptr, method) != FALSE;
}

}  // namespace

Log::Log(const char* folder, HistoryState* state) : state_(state) {
  JoinTexts(path_, folder, kLogFileName, "", "", "", sizeof path_);
  // A cut path would name some other file.
  const std::size_t length = std::strlen(path_);
  const std::size_t name = sizeof kLogFileName - 1;
  if (length < name || std::strcmp(path_ + length - name, kLogFileName) != 0) path_[0] = '\0';
}

bool Log::Write(int32_t code, const char* text, const LocalTime& time) {
  state_->LastRecordKey = NextRecordKey(state_->LastRecordKey);
  state_->Pending.push_back({path_, RecordLine(state_->LastRecordKey, code, text, time)});
  const bool appended = AppendPending();
  state_->LastEventCode = code;
  return appended;
}

bool Log::AppendPending() {
  auto& pending = state_->Pending;
  const auto mine = [this](const PendingRecord& r) { return r.Path == path_; };
  if (std::none_of(pending.begin(), pending.end(), mine)) return true;
  if (path_[0] == '\0') return false;

  ScopedHandle file = OpenForAppend(path_);
  if (!file) return false;
  stamp_before_ = StampOfOpenFile(file.Get());
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) return false;
  std::string bytes;
  if (size.QuadPart > 0) {
    char last = '\n';
    DWORD got = 0;
    if (!SeekTo(file.Get(), -1, FILE_END) || !::ReadFile(file.Get(), &last, 1, &got, nullptr) ||
        got != 1) {
      return false;
    }
    if (EndsInTornLine(last)) bytes = "\r\n";
  }
  for (const PendingRecord& record : pending) {
    if (mine(record)) bytes += record.Line;
  }
  if (!SeekTo(file.Get(), 0, FILE_END)) return false;
  if (!WriteAll(file.Get(), bytes)) {
    // Whatever part got in would be a torn line in front of the next attempt.
    if (SeekTo(file.Get(), size.QuadPart, FILE_BEGIN)) ::SetEndOfFile(file.Get());
    return false;
  }
  pending.erase(std::remove_if(pending.begin(), pending.end(), mine), pending.end());
  file.Reset();
  // Taken as a reader will take it, once the file is closed.
  stamp_after_ = StampOfFile(path_);
  appended_ = std::move(bytes);
  return true;
}

ReadResult Log::Read(std::string* content, std::optional<FileStamp>* stamp) {
  // Kept records are newer than everything in the file, so appending them first moves no
  // record's place.
  AppendPending();
  return ReadStampedFile(path_, kMaxLogBytes, content, stamp);
}

bool Log::Replace(const LogRewrite& rewrite) {
  if (!rewrite.Write) return true;
  if (!ReplaceFileContent(path_, rewrite.Content)) return false;
  state_->LastRecordKey = rewrite.LastRecordKey;
  return true;
}

bool Log::RemoveRange(int32_t first, int32_t last, ViewSwitches view) {
  if (path_[0] == '\0') return false;  // no kept record can go in without a path either
  std::string content;
  switch (Read(&content, nullptr)) {
    case ReadResult::kOk: {
      if (content.empty()) return true;  // nothing to rewrite
      // Written straight to the file as it is made: no second copy of a long log.
      int32_t last_record_key = -1;
      if (!ReplaceFileWith(path_, [&](const ByteSink& write) {
            return StreamLogRewrite(content, first, last, view, write, &last_record_key);
          })) {
        return false;
      }
      state_->LastRecordKey = last_record_key;
      return true;
    }
    case ReadResult::kMissing:
      return true;
    case ReadResult::kFailed:
    case ReadResult::kTooLarge:
      break;
  }
  return false;
}

}  // namespace lvn
