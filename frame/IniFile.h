// INI settings files as both programs use them: read whole when opened, kept in memory, written
// whole by UpdateFile through a temporary file and a rename. Sections and keys are matched without
// regard to (ASCII) case and keep their order and spelling; values are kept verbatim. Comment and
// other lines that are not "key=value" are kept as they are. Booleans are stored as 1 and 0,
// integers in decimal. A missing, unreadable or malformed file reads as empty and never fails.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class TIniFile {
public:
  TIniFile() = default;
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Decimal (also "$" or "0x" hexadecimal), surrounding blanks ignored; anything else, or a value
  // outside the int range, gives def.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  // An integer value: non-zero is true; also "true"/"false"; anything else gives def.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  // Line breaks in keys and values are stored as blanks.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(std::string_view section) const;  // the keys, in order

  // Writes the whole file now; false (file unchanged) when it cannot be written.
  bool UpdateFile(std::string* error = nullptr) const;

  std::string Text() const;
  void SetText(std::string_view text);
  void Clear();

private:
  struct TLine {
    std::string Key;    // empty for a kept line
    std::string Value;  // the value, or the whole kept line
    bool IsValue = false;
  };
  struct TSection {
    std::string Name;
    bool HasHeader = true;  // false for lines before the first section header
    std::vector<TLine> Lines;
  };

  const TSection* FindSection(std::string_view name) const;
  TSection* FindSection(std::string_view name);
  static const TLine* FindKey(const TSection& section, std::string_view key);

  std::string FFileName;
  std::vector<TSection> FSections;
};
