#include "history/log_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "util/data_folder.h"
#include "util/file_io_win.h"
#include "util/scoped_win.h"
#include "util/text.h"
#include "util/wide_text_win.h"

namespace lvn {

static_assert(sizeof kSavedRecordsFileName - 1 + sizeof ".tmp" - 1 <= kLongestDataFileName,
              "the data folder must leave room for every file kept in it");

namespace {

// A scanner or indexer holding the file for a moment should not cost a record its place
// in the file; a program that keeps it locked costs about this long per append.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenRetryMs = 10;
// At exit a program holding the log may be closing too: worth a second's wait.
constexpr int kExitAttempts = 10;
constexpr DWORD kExitRetryMs = 100;

// Another program has the file open without sharing it for writing: it may let go soon.
// (Access denied is not such a case here: it means no right to the file.)
bool IsSharingOrLockViolation(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Other programs may read the log while a record goes in, but not write it.
ScopedHandle OpenForAppend(const char* path) {
  for (int attempt = 1;; ++attempt) {
    ScopedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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

// The file's last tail.size() bytes are tail.
bool FileEndsWith(const char* path, std::string_view tail) {
  ScopedHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) < tail.size() ||
      !SeekTo(file.Get(), -static_cast<LONGLONG>(tail.size()), FILE_END)) {
    return false;
  }
  std::string bytes(tail.size(), '\0');
  DWORD got = 0;
  return ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
         got == bytes.size() && bytes == tail;
}

// content is shown, or shown followed by lines that came after it: what shown's places
// counted is still where it was.
bool BeginsWithWholeLines(std::string_view content, std::string_view shown) {
  if (content.substr(0, shown.size()) != shown) return false;
  return content.size() == shown.size() || shown.empty() || shown.back() == '\n';
}

}  // namespace

Log::Log(const char* folder, HistoryState* state)
    : path_(std::string(folder) + kLogFileName), state_(state) {}

bool Log::Write(int32_t code, const char* text, const LocalTime& time) {
  state_->LastRecordKey = NextRecordKey(state_->LastRecordKey);
  state_->Pending.push_back({path_, RecordLine(state_->LastRecordKey, code, text, time)});
  const bool appended = AppendPending();
  state_->LastEventCode = code;
  return appended;
}

bool Log::HasPending() const {
  return std::any_of(state_->Pending.begin(), state_->Pending.end(),
                     [this](const PendingRecord& r) { return r.Path == path_; });
}

bool Log::AppendPending() {
  auto& pending = state_->Pending;
  const auto mine = [this](const PendingRecord& r) { return r.Path == path_; };
  if (!HasPending()) return true;
  if (path_.empty()) return false;

  ScopedHandle file = OpenForAppend(path_.c_str());
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
  if (!state_->TakenFiles.empty()) RemoveSavedRecords();
  // Taken as a reader will take it, once the file is closed.
  stamp_after_ = StampOfFile(path_.c_str());
  appended_ = std::move(bytes);
  return true;
}

std::string Log::PendingBytes() const {
  std::string bytes;
  for (const PendingRecord& record : state_->Pending) {
    if (record.Path == path_) bytes += record.Line;
  }
  return bytes;
}

std::string Log::SavedRecordsPath(const std::string& folder) const {
  if (!folder.empty()) return folder + kSavedRecordsFileName;
  const std::string log(path_);
  return log.substr(0, log.size() - (sizeof kLogFileName - 1)) + kSavedRecordsFileName;
}

void Log::RemoveSavedRecords() {
  for (const std::string& taken : state_->TakenFiles) ::DeleteFileW(Wide(taken).c_str());
  // One that cannot go is never read again: it appends nothing.
  state_->TakenFiles.clear();
}

bool Log::SavePending(const std::string& fallback_folder) {
  if (path_.empty()) return !HasPending();
  for (int attempt = 1; !AppendPending(); ++attempt) {
    if (attempt == kExitAttempts) {
      const std::string bytes = PendingBytes();
      if (ReplaceFileContent(SavedRecordsPath().c_str(), bytes)) return true;
      return !fallback_folder.empty() && SavedRecordsPath(fallback_folder) != SavedRecordsPath() &&
             ReplaceFileContent(SavedRecordsPath(fallback_folder).c_str(), bytes);
    }
    ::Sleep(kExitRetryMs);
  }
  return true;
}

void Log::TakeSavedRecords(const std::string& fallback_folder) {
  if (path_.empty()) return;
  TakeSavedFile({});
  if (!fallback_folder.empty() && SavedRecordsPath(fallback_folder) != SavedRecordsPath()) {
    TakeSavedFile(fallback_folder);
  }
}

void Log::TakeSavedFile(const std::string& folder) {
  const std::string saved_path = SavedRecordsPath(folder);
  std::string saved;
  if (ReadWholeFile(saved_path.c_str(), &saved, kMaxLogBytes) != ReadResult::kOk) return;
  std::string taken_path = saved_path;
  taken_path.replace(taken_path.size() - (sizeof kSavedRecordsFileName - 1), std::string::npos,
                     kTakenRecordsFileName);
  // Moved aside before any of it is appended: a kill, or a file that cannot be removed
  // afterwards, can then append nothing twice.
  if (!::MoveFileExW(Wide(saved_path).c_str(), Wide(taken_path).c_str(),
                      MOVEFILE_REPLACE_EXISTING)) return;
  // Its read-only bit came along; it must neither stay nor stop the next file taken.
  ::SetFileAttributesW(Wide(taken_path).c_str(), FILE_ATTRIBUTE_NORMAL);
  state_->TakenFiles.push_back(taken_path);
  // Only whole records go into the log, each ended as an append ends it.
  std::vector<PendingRecord> records;
  std::string bytes;
  for (RecordReader reader(saved); reader.Next();) {
    if (!reader.IsRecord()) continue;
    records.push_back({path_, std::string(reader.Line()) + "\r\n"});
    bytes += records.back().Line;
  }
  if (bytes.empty() || FileEndsWith(path_.c_str(), bytes)) {
    ::DeleteFileW(Wide(taken_path).c_str());
    state_->TakenFiles.pop_back();
    return;
  }
  // Taken at start, before any record of this run.
  state_->Pending.insert(state_->Pending.end(), records.begin(), records.end());
}

ReadResult Log::Read(std::string* content, std::optional<FileStamp>* stamp) {
  // Kept records are newer than everything in the file, so appending them first moves no
  // record's place.
  AppendPending();
  return ReadStampedFile(path_.c_str(), kMaxLogBytes, content, stamp);
}

bool Log::Replace(const LogRewrite& rewrite) {
  if (!rewrite.Write) return true;
  if (!ReplaceFileContent(path_.c_str(), rewrite.Content)) return false;
  state_->LastRecordKey = rewrite.LastRecordKey;
  return true;
}

RemoveResult Log::RemoveRange(int32_t first, int32_t last, ViewSwitches view,
                              std::optional<std::string_view> shown) {
  if (path_[0] == '\0') return RemoveResult::kFailed;  // no kept record can go in either
  // Another program holding the log may let go soon, as for an append.
  for (int attempt = 1;; ++attempt) {
    std::string content;
    switch (Read(&content, nullptr)) {
      case ReadResult::kOk: {
        // Places count the kept records too, and a rewrite without them would lose none but
        // number them wrongly; the file is held by another program anyway.
        if (HasPending()) break;
        // Places in some other file would name other records.
        if (shown && !BeginsWithWholeLines(content, *shown)) return RemoveResult::kChanged;
        if (content.empty()) return RemoveResult::kRemoved;  // nothing to rewrite
        // Written straight to the file as it is made: no second copy of a long log.
        int32_t last_record_key = -1;
        if (!ReplaceFileWith(path_.c_str(), [&](const ByteSink& write) {
              return StreamLogRewrite(content, first, last, view, write, &last_record_key);
            })) {
          break;
        }
        state_->LastRecordKey = last_record_key;
        return RemoveResult::kRemoved;
      }
      case ReadResult::kMissing:
        return shown && !shown->empty() ? RemoveResult::kChanged : RemoveResult::kRemoved;
      case ReadResult::kFailed:
        break;
      case ReadResult::kTooLarge:
        return RemoveResult::kFailed;
    }
    if (attempt == kOpenAttempts) return RemoveResult::kFailed;
    ::Sleep(kOpenRetryMs);
  }
}

}  // namespace lvn
