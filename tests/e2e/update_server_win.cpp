#include "update_server_win.h"

#include <windows.h>

#include <charconv>
#include <memory>
#include <sstream>
#include <string_view>

#include "harness_win.h"

namespace lvn::e2e {
namespace {

// A field of updates.tsv as the server wrote it, its four escapes undone.
std::string Unescaped(std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    unsigned value = 0;
    if (field[i] == '%' && i + 2 < field.size() &&
        std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16).ptr ==
            field.data() + i + 3) {
      text += static_cast<char>(value);
      i += 2;
    } else {
      text += field[i];
    }
  }
  return text;
}

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
  std::istringstream in(ReadFileBytes(FaultFolder() + "updates.tsv"));
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(Unescaped(field));
    if (fields.size() < 4) continue;
    fields.resize(5);  // an empty body leaves no field behind its tab
    UpdateRecord record{fields[0], fields[1], {}, fields[4], fields[2]};
    std::istringstream headers(fields[3]);
    for (std::string header; std::getline(headers, header);) {
      const std::size_t colon = header.find(": ");
      if (colon == std::string::npos) continue;
      record.Headers[header.substr(0, colon)] = header.substr(colon + 2);
    }
    records.push_back(std::move(record));
  }
  return records;
}

void ResetUpdateServer() {
  for (const char* name : {"updates.tsv", "update_answer.txt", "answer2.txt"}) {
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
