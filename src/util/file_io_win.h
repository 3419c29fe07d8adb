// Whole-file reading and crash-safe whole-file replacement. Paths are UTF-8, of any
// length the file calls take; a path that is not UTF-8 names no file, and its call fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "util/byte_sink.h"

namespace lvn {

enum class ReadResult { kOk, kMissing, kFailed, kTooLarge };

// What tells one state of a file from another without reading it: its size and the time
// of its last write. (A file put in its place keeps neither, short of a copy made to look
// the same on purpose.)
struct FileStamp {
  std::uint64_t Size = 0;
  std::uint64_t WriteTime = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of an open file (a HANDLE), or of the file at path, which is asked without
// opening it. Empty when the system cannot tell.
std::optional<FileStamp> StampOfOpenFile(void* file);
std::optional<FileStamp> StampOfFile(const char* path);

// Reads the whole file into *content. kMissing when neither the file nor its folder exists;
// kFailed when it exists but cannot be read; kTooLarge when it holds more than max_size
// bytes or there is no memory for them. *content is changed only on kOk.
ReadResult ReadWholeFile(const char* path, std::string* content,
                         std::size_t max_size = std::size_t{256} << 20);
// ReadWholeFile, and on kOk *stamp := the file's stamp when it was the same before and after
// the read, so that it belongs to the bytes read; empty otherwise.
ReadResult ReadStampedFile(const char* path, std::size_t max_size, std::string* content,
                           std::optional<FileStamp>* stamp);

// Replaces the file's content in one step: writes a fixed temporary file beside it, flushes
// it and moves it over the target, so a crash leaves the old file or the new one, never a
// torn one. Returns false, with the old file as it was, when any step is refused.
bool ReplaceFileContent(const char* path, std::string_view content);

// ReplaceFileContent with content that produce writes, piece by piece, through the sink
// it is given; produce returns false, and the old file stays, when it could not write all.
bool ReplaceFileWith(const char* path, const std::function<bool(const ByteSink&)>& produce);

// Writes all of bytes to an open file; false when a write fails.
bool WriteAll(void* file, std::string_view bytes);

// The temporary name ReplaceFileContent uses beside path.
std::string ReplacementTempPath(const std::string& absolute_path);

}  // namespace lvn
