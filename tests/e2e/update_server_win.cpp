#include "update_server_win.h"

#include <windows.h>

#include <charconv>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string_view>

#include "harness_win.h"

namespace lvn::e2e {
namespace {

void AppendUtf8(std::uint32_t code, std::string* out) {
  if (code < 0x80) {
    *out += static_cast<char>(code);
  } else if (code < 0x800) {
    *out += static_cast<char>(0xC0 | (code >> 6));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out += static_cast<char>(0xE0 | (code >> 12));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (code >> 18));
    *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Just enough JSON for the server's records: objects of strings, numbers and objects,
// the nested ones flattened to "outer.inner".
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text) {}

  bool ReadObject(const std::string& prefix, std::map<std::string, std::string>* fields) {
    if (!Take('{')) return false;
    if (Take('}')) return true;
    do {
      std::string name;
      if (!ReadString(&name) || !Take(':')) return false;
      Blanks();
      if (at_ < text_.size() && text_[at_] == '{') {
        if (!ReadObject(prefix + name + '.', fields)) return false;
      } else if (at_ < text_.size() && text_[at_] == '"') {
        if (!ReadString(&(*fields)[prefix + name])) return false;
      } else {
        const std::size_t end = text_.find_first_of(",}", at_);
        if (end == std::string_view::npos) return false;
        (*fields)[prefix + name] = std::string(text_.substr(at_, end - at_));
        at_ = end;
      }
    } while (Take(','));
    return Take('}');
  }

 private:
  void Blanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Hex4(std::uint32_t* code) {
    if (at_ + 4 > text_.size()) return false;
    const char* start = text_.data() + at_;
    at_ += 4;
    return std::from_chars(start, start + 4, *code, 16).ptr == start + 4;
  }
  bool ReadString(std::string* out) {
    if (!Take('"')) return false;
    out->clear();
    while (at_ < text_.size() && text_[at_] != '"') {
      const char c = text_[at_++];
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char e = text_[at_++];
      std::uint32_t code = 0;
      switch (e) {
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case 't': *out += '\t'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'u':
          if (!Hex4(&code)) return false;
          if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
            at_ += 2;
            std::uint32_t low = 0;
            if (!Hex4(&low)) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(code, out);
          break;
        default: *out += e;
      }
    }
    return Take('"');
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

std::string Utf8OfCodePage932(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length =
      ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return Utf8Of(wide);
}

struct FindCloser {
  void operator()(HANDLE search) const {
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
  }
};

}  // namespace

std::vector<UpdateRecord> UpdateRecords() {
  std::vector<UpdateRecord> records;
  std::istringstream in(ReadFileBytes(FaultFolder() + "updates.jsonl"));
  for (std::string line; std::getline(in, line);) {
    std::map<std::string, std::string> fields;
    if (!RecordReader(line).ReadObject("", &fields)) continue;
    UpdateRecord record{fields["method"], fields["target"], {}, fields["body"], fields["scheme"]};
    for (const auto& [name, value] : fields) {
      if (name.rfind("headers.", 0) == 0) record.Headers[name.substr(8)] = value;
    }
    records.push_back(std::move(record));
  }
  return records;
}

void ResetUpdateServer() {
  for (const char* name : {"updates.jsonl", "update_answer.txt", "answer2.txt"}) {
    ::DeleteFileW(WideOf(FaultFolder() + name).c_str());
  }
}

void SetUpdateAnswer(const std::string& answer) {
  const std::string path = FaultFolder() + "update_answer.txt";
  if (answer.empty()) {
    ::DeleteFileW(WideOf(path).c_str());
  } else {
    WriteFileBytes(path, answer);
  }
}

void SetFallbackAnswer(const std::string& body) {
  WriteFileBytes(FaultFolder() + "answer2.txt", body);
}

std::vector<std::string> UpdateLogLines() {
  std::vector<std::string> lines;
  const std::string bytes = ReadDataFile("update.log");
  if (bytes == "<missing>") return lines;
  std::istringstream in(Utf8OfCodePage932(bytes));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string WaitForUpdateLogLine(const std::string& part) {
  std::string found;
  WaitUntil([&] {
    for (const std::string& line : UpdateLogLines()) {
      if (line.find(part) != std::string::npos) {
        found = line;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::vector<std::string> DataFilesHolding(const std::string& text) {
  const std::wstring wide = WideOf(text);
  const std::string forms[] = {
      text, Sjis(text),
      std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))};
  std::vector<std::string> holding;
  WIN32_FIND_DATAW found{};
  const std::unique_ptr<void, FindCloser> search(
      ::FindFirstFileW(WideOf(DataFolder() + "*").c_str(), &found));
  if (search.get() == INVALID_HANDLE_VALUE) return holding;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name = Utf8Of(found.cFileName);
    const std::string bytes = ReadDataFile(name);
    for (const std::string& form : forms) {
      if (bytes.find(form) != std::string::npos) {
        holding.push_back(name);
        break;
      }
    }
  } while (::FindNextFileW(search.get(), &found));
  return holding;
}

}  // namespace lvn::e2e
