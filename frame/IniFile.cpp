#include "IniFile.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "AtomicFile.h"
#include "TextUtils.h"
#include "Translate.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string OneLine(std::string_view s) {
  std::string result(s);
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  return result;
}

bool ParseInt(std::string_view text, int& value) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  long long magnitude = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  long long v = negative ? -magnitude : magnitude;
  if (v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

std::string LowerKey(std::string_view key) {
  std::string lower(key);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return lower;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {
  std::string content;
  if (ReadWholeFile(FFileName, content)) {
    SetText(content);
    return;
  }
  // There, but not read (no permission, a read error, too large): writing would replace it.
  std::error_code ec;
  FUnreadable = !FFileName.empty() && std::filesystem::is_regular_file(FFileName, ec);
}

void TIniFile::Clear() { FSections.clear(); }

void TIniFile::SetText(std::string_view text) {
  FSections.clear();
  // Byte order marks; an editor may have put one before another, or blanks before one. A mark
  // left inside the first key would be taken for a mark when the file is read again.
  for (;;) {
    const std::string_view rest = Trim(text.substr(0, text.find('\n')));
    const std::size_t blanks = rest.empty() ? 0 : std::size_t(rest.data() - text.data());
    if (text.substr(blanks, 3) != "\xEF\xBB\xBF") break;
    text.remove_prefix(blanks + 3);
  }
  TSection* current = nullptr;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    // Any number of CRs before the LF: a CR LF file copied in text mode ends its lines in CR CR LF.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::string_view trimmed = Trim(line);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      std::string_view name = Trim(trimmed.substr(1, trimmed.size() - 2));
      current = FindSection(name);  // a repeated header continues the first section of that name
      if (!current) {
        FSections.push_back(TSection{std::string(name), true, {}, {}, false});
        current = &FSections.back();
      }
      continue;
    }
    if (!current) {
      FSections.push_back(TSection{std::string(), false, {}, {}, false});
      current = &FSections.back();
    }
    std::size_t eq = line.find('=');
    bool isComment = !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
    if (eq != std::string_view::npos && !isComment && !Trim(line.substr(0, eq)).empty())
      current->Lines.push_back(TLine{std::string(Trim(line.substr(0, eq))), std::string(line.substr(eq + 1)), true});
    else
      current->Lines.push_back(TLine{std::string(), std::string(line), false});
  }
}

std::string TIniFile::Text() const {
  std::string out;
  for (const TSection& s : FSections) {
    if (s.HasHeader) out += "[" + s.Name + "]\n";
    for (const TLine& l : s.Lines) {
      if (l.IsValue) out += l.Key + "=" + l.Value + "\n";
      else out += l.Value + "\n";
    }
  }
  return out;
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
  for (const TSection& s : FSections)
    if (s.HasHeader && SameText(s.Name, name)) return &s;
  return nullptr;
}

TIniFile::TSection* TIniFile::FindSection(std::string_view name) {
  return const_cast<TSection*>(static_cast<const TIniFile*>(this)->FindSection(name));
}

const TIniFile::TLine* TIniFile::FindKey(const TSection& section, std::string_view key) {
  constexpr std::size_t IndexFrom = 32;  // lines; below that a plain search is as fast
  if (section.Lines.size() < IndexFrom) {
    for (const TLine& l : section.Lines)
      if (l.IsValue && SameText(l.Key, key)) return &l;
    return nullptr;
  }
  if (!section.IndexValid) {
    section.Index.clear();
    for (std::size_t i = 0; i < section.Lines.size(); ++i)
      if (section.Lines[i].IsValue) section.Index.emplace(LowerKey(section.Lines[i].Key), i);
    section.IndexValid = true;
  }
  const auto found = section.Index.find(LowerKey(key));
  return found == section.Index.end() ? nullptr : &section.Lines[found->second];
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const TSection* s = FindSection(section);
  const TLine* l = s ? FindKey(*s, key) : nullptr;
  return std::string(l ? std::string_view(l->Value) : def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const TSection* s = FindSection(section);
  const TLine* l = s ? FindKey(*s, key) : nullptr;
  int value;
  return l && ParseInt(l->Value, value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  const TSection* s = FindSection(section);
  const TLine* l = s ? FindKey(*s, key) : nullptr;
  if (!l) return def;
  int value;
  if (ParseInt(l->Value, value)) return value != 0;
  std::string_view v = Trim(l->Value);
  if (SameText(v, "true")) return true;
  if (SameText(v, "false")) return false;
  return def;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string k = OneLine(Trim(key));
  TSection* s = FindSection(section);
  if (!s) {
    FSections.push_back(TSection{OneLine(Trim(section)), true, {}, {}, false});
    s = &FSections.back();
  }
  if (TLine* l = const_cast<TLine*>(FindKey(*s, k))) {
    l->Value = OneLine(value);
    return;
  }
  // A new key goes after the last value of the section, before trailing blank or comment lines.
  auto pos = std::find_if(s->Lines.rbegin(), s->Lines.rend(), [](const TLine& l) { return l.IsValue; });
  const std::size_t at = std::size_t(pos.base() - s->Lines.begin());
  s->Lines.insert(pos.base(), TLine{k, OneLine(value), true});
  if (s->IndexValid && at + 1 == s->Lines.size())
    s->Index.emplace(LowerKey(k), at);
  else
    s->IndexValid = false;
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
  std::erase_if(FSections, [&](const TSection& s) { return s.HasHeader && SameText(s.Name, section); });
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  if (TSection* s = FindSection(section)) {
    std::erase_if(s->Lines, [&](const TLine& l) { return l.IsValue && SameText(l.Key, key); });
    s->IndexValid = false;
  }
}

void TIniFile::DeleteKeysStartingWith(std::string_view section, std::string_view prefix) {
  if (TSection* s = FindSection(section)) {
    std::erase_if(s->Lines, [&](const TLine& l) {
      return l.IsValue && l.Key.size() >= prefix.size() && SameText(std::string_view(l.Key).substr(0, prefix.size()), prefix);
    });
    s->IndexValid = false;
  }
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  const TSection* s = FindSection(section);
  return s && FindKey(*s, key);
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const TSection& s : FSections)
    if (s.HasHeader) names.push_back(s.Name);
  return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const TSection* s = FindSection(section))
    for (const TLine& l : s->Lines)
      if (l.IsValue) keys.push_back(l.Key);
  return keys;
}

bool TIniFile::UpdateFile(std::string* error) const {
  if (FUnreadable) {
    if (error) *error = FFileName + ": " + _("the file could not be read, so it is not replaced");
    return false;
  }
  return WriteFileAtomic(FFileName, Text(), error);
}
