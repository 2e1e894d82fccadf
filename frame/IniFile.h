// INI settings files as both programs use them: read whole when opened, kept in memory, written
// whole by UpdateFile through a temporary file and a rename. Sections and keys are matched without
// regard to (ASCII) case and keep their order and spelling; values are kept verbatim. Comment and
// other lines that are not "key=value" are kept as they are. Booleans are stored as 1 and 0,
// integers in decimal. A missing, unreadable or malformed file reads as empty and never fails;
// but a file that is there and could not be read is never replaced by UpdateFile, so that the
// settings it holds are not lost to the defaults.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
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
  // Every key of the section that begins with prefix (case ignored), in one pass.
  void DeleteKeysStartingWith(std::string_view section, std::string_view prefix);
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(std::string_view section) const;  // the keys, in order

  // Writes the whole file now; false (file unchanged) when it cannot be written, or when it was
  // there but could not be read (Unreadable).
  bool UpdateFile(std::string* error = nullptr) const;
  // The file exists as a regular file but could not be read when this object was made.
  bool Unreadable() const { return FUnreadable; }

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
    // Large sections (thousands of watch addresses) are searched through an index: the key in
    // lower case to the line of its first value. Made when first needed, dropped on a change
    // that moves lines.
    mutable std::unordered_map<std::string, std::size_t> Index;
    mutable bool IndexValid = false;
  };

  const TSection* FindSection(std::string_view name) const;
  TSection* FindSection(std::string_view name);
  static const TLine* FindKey(const TSection& section, std::string_view key);

  std::string FFileName;
  std::vector<TSection> FSections;
  bool FUnreadable = false;
};
