#include "settings/ini_file.h"

#include <utility>

#include "util/ascii.h"
#include "util/code_page.h"
#include "util/text.h"

namespace lvn {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Trimmed as the loader would, so memory matches its own reloaded serialization; a line
// break or NUL left inside would split or end the line on the next load.
std::string CleanText(std::string_view s) {
  std::string out(TrimBlanks(s));
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return out;
}

// Case-insensitive for ASCII letters only; a double-byte character must match exactly,
// because its trail byte may fall in the letter range.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i]))) {
      if (a[i] != b[i]) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
      continue;
    }
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int32_t ParseInteger(std::string_view s, int32_t def) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    if (s.size() > 8) return def;
    uint32_t bits = 0;
    for (char c : s) {
      const int d = HexDigit(c);
      if (d < 0) return def;
      bits = bits * 16u + static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(bits);
  }

  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return def;
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;  // magnitude of INT32_MIN
  int64_t magnitude = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return def;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return def;
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  if (magnitude > INT32_MAX) return def;
  return static_cast<int32_t>(magnitude);
}

}  // namespace

void IniFile::Load(std::string_view content) {
  sections_.clear();
  preamble_.clear();
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = TrimBlanks(content.substr(pos, end - pos));
    pos = end + 1;  // CR LF leaves an empty line between, skipped like any blank line
    // Editors that save as UTF-8 put a byte order mark in front. Skipped wherever the file's
    // first kept line begins with one, so that what is written back never starts with one.
    while (preamble_.empty() && sections_.empty() && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
      line = TrimBlanks(line.substr(kUtf8Bom.size()));
    }

    if (line.empty()) continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back({std::string(TrimBlanks(line.substr(1, line.size() - 2))), {}});
      continue;
    }
    // Kept so that a save never drops a line the user wrote.
    if (sections_.empty()) {
      preamble_.emplace_back(line);
      continue;
    }

    Entry entry;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || line.front() == ';') {
      entry.value = line;
    } else {
      entry.has_key = true;
      entry.key = TrimBlanks(line.substr(0, eq));
      entry.value = TrimBlanks(line.substr(eq + 1));
    }
    sections_.back().entries.push_back(std::move(entry));
  }
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const std::string& line : preamble_) {
    out += line;
    out += "\r\n";
  }
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Entry& entry : section.entries) {
      if (entry.has_key) {
        out += entry.key;
        out += '=';
      }
      out += entry.value;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

bool IniFile::HasSection(std::string_view section) const {
  return SectionIndex(section) < sections_.size();
}

std::size_t IniFile::SectionIndex(std::string_view name) const {
  std::size_t i = 0;
  while (i < sections_.size() && !SameName(sections_[i].name, name)) ++i;
  return i;
}

std::size_t IniFile::EntryIndex(std::size_t s, std::string_view key) const {
  const std::vector<Entry>& entries = sections_[s].entries;
  std::size_t i = 0;
  while (i < entries.size() && !(entries[i].has_key && SameName(entries[i].key, key))) ++i;
  return i;
}

const std::string* IniFile::FindValue(std::string_view section, std::string_view key) const {
  const std::size_t s = SectionIndex(section);
  if (s == sections_.size()) return nullptr;
  const std::size_t e = EntryIndex(s, key);
  if (e == sections_[s].entries.size()) return nullptr;
  return &sections_[s].entries[e].value;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
  return FindValue(section, key) != nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? Utf8OfCp932(*value) : std::string(def);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t def) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? ParseInteger(*value, def) : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) {
  std::string stored;
  if (!Cp932OfUtf8(value, &stored)) return false;
  std::string name = CleanText(section);
  std::string clean_key = CleanText(key);
  std::string clean_value = CleanText(stored);

  std::size_t s = SectionIndex(name);
  if (s == sections_.size()) sections_.push_back({std::move(name), {}});
  std::vector<Entry>& entries = sections_[s].entries;
  const std::size_t e = EntryIndex(s, clean_key);
  if (e < entries.size()) {
    // A value that reads the same keeps its bytes: two byte forms of one character
    // (the NEC and IBM extensions) must not change under a save that changed nothing.
    if (entries[e].value != clean_value &&
        Utf8OfCp932(entries[e].value) != Utf8OfCp932(clean_value)) {
      entries[e].value = std::move(clean_value);
    }
  } else {
    entries.push_back({true, std::move(clean_key), std::move(clean_value)});
  }
  return true;
}

void IniFile::RemoveKey(std::string_view section, std::string_view key) {
  const std::size_t s = SectionIndex(section);
  if (s == sections_.size()) return;
  std::vector<Entry>& entries = sections_[s].entries;
  const std::size_t e = EntryIndex(s, key);
  if (e < entries.size()) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(e));
  // A section we emptied goes with its last key: a file that never used it looks the same.
  if (entries.empty()) sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(s));
}

void IniFile::RemoveSection(std::string_view section) {
  for (std::size_t s = SectionIndex(section); s < sections_.size(); s = SectionIndex(section)) {
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(s));
  }
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace lvn
