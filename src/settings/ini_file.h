// The settings file held in memory: sections of "key=value" lines, Shift-JIS text, as the
// file's bytes. Values are read and written as UTF-8, the program's text.
//
// Loading never fails; whatever cannot be understood is kept as a keyless line, before the
// first section or in its section, and written back there. Blank lines and a leading UTF-8
// byte order mark are dropped. Section names and keys match without regard to ASCII case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lvn {

class IniFile {
 public:
  // Replaces everything in memory with the parsed content.
  void Load(std::string_view content);
  // The whole file, CR LF line ends, an empty line after each section.
  std::string Serialize() const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Decimal, or "0x" hexadecimal taken as a 32-bit pattern; def for anything else.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  // Line breaks and NUL bytes in section, key and value become spaces, and the ends are
  // trimmed as the loader would, so memory always equals its own reloaded serialization.
  // False, with nothing changed, for a value code page 932 cannot hold.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // The first such key goes; its section too when nothing is left in it.
  void RemoveKey(std::string_view section, std::string_view key);
  // Every section of that name goes, with all its lines.
  void RemoveSection(std::string_view section);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  struct Entry {
    bool has_key = false;
    std::string key;
    std::string value;  // the whole line when there is no key
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  // Index of the first section of that name, or sections_.size().
  std::size_t SectionIndex(std::string_view name) const;
  // Index of the first keyed entry of that key in sections_[s], or its entries' size.
  std::size_t EntryIndex(std::size_t s, std::string_view key) const;
  // The value of the first such key, or null.
  const std::string* FindValue(std::string_view section, std::string_view key) const;

  std::vector<std::string> preamble_;  // lines before the first section header
  std::vector<Section> sections_;
};

}  // namespace lvn
