// Reading symbol files and the symbols of listings; the symbols beside the memory image.
#include "SymbolFiles.h"

#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "AtomicFile.h"
#include "SafeFormat.h"
#include "TextUtils.h"
#include "Translate.h"

namespace {

std::string Shown(std::string_view text) { return EscapeControls(text, 40); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsOctal(char c) { return c >= '0' && c <= '7'; }

bool IsBlankLine(std::string_view line) {
  for (char c : line)
    if (!IsBlank(c)) return false;
  return true;
}

// The columns of a listing line: error letters (2), address (5 octal digits), a blank, the word
// (6 digits), two blanks, the source line. A column is either all digits or all blank; a line
// may end after any column. The lines that explain errors begin with "*** ".
constexpr std::size_t ListingSourceColumn = 16;

bool ColumnIs(std::string_view line, std::size_t from, std::size_t width, bool digits) {
  for (std::size_t i = from; i < from + width; ++i) {
    const char c = i < line.size() ? line[i] : ' ';
    if (digits ? !IsOctal(c) : c != ' ') return false;
  }
  return true;
}

bool IsListingLine(std::string_view line) {
  if (line.starts_with("*** ")) return true;
  if (IsBlankLine(line)) return false;
  for (std::size_t i = 0; i < 2; ++i) {
    const char c = i < line.size() ? line[i] : ' ';
    if (c != ' ' && !(c >= 'A' && c <= 'Z')) return false;
  }
  return (ColumnIs(line, 2, 5, true) || ColumnIs(line, 2, 5, false)) && ColumnIs(line, 7, 1, false) &&
         (ColumnIs(line, 8, 6, true) || ColumnIs(line, 8, 6, false)) && ColumnIs(line, 14, 2, false);
}

// The labels at the start of a listed source line ("LOOP:  START: ..."), by key.
void CollectLabels(std::string_view line, std::unordered_set<std::string>& labels) {
  if (line.starts_with("*** ") || line.size() <= ListingSourceColumn) return;
  std::string_view text = line.substr(ListingSourceColumn);
  for (;;) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size() || !IsNameStart(text[i])) return;
    const std::size_t start = i;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    if (i == text.size() || text[i] != ':') return;
    labels.insert(TSymbolTable::Key(text.substr(start, i - start)));
    text.remove_prefix(i + 1);
  }
}

class TSymbolReader {
public:
  TSymbolReader(const std::string& fileName, TSymbolRead& result) : FFile(fileName), R(result) {}

  void Read(std::string_view text) {
    // Lines end with LF, CR LF or CR; a form feed (a page break) may begin one.
    std::vector<std::string_view> lines = SplitTextLines(text);
    std::vector<bool> pageStart(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
      while (lines[i].starts_with('\f')) {
        lines[i].remove_prefix(1);
        pageStart[i] = true;
      }
    std::size_t end = lines.size();
    while (end > 0 && IsBlankLine(lines[end - 1])) --end;
    if (end == 0) return;  // no symbols
    // A listing's symbols are the lines after its last line: after the last blank line or page
    // break. A file without lines in the listing's layout before them is a symbol file.
    std::size_t first = end - 1;
    while (first > 0 && !pageStart[first] && !IsBlankLine(lines[first - 1])) --first;
    bool listing = false;
    for (std::size_t i = 0; i < first && !listing; ++i) listing = IsListingLine(lines[i]);
    std::unordered_set<std::string> labels;
    if (listing) {
      if (IsListingLine(lines[first])) {
        Fail(0, _("the listing has no symbols after its last line"));
        return;
      }
      for (std::size_t i = 0; i < first; ++i) CollectLabels(lines[i], labels);
    } else {
      first = 0;
    }
    for (std::size_t i = first; i < end; ++i)
      if (!IsBlankLine(lines[i])) ReadLine(int(i + 1), lines[i], listing ? &labels : nullptr);
    if (!R.Ok()) return;
    R.Symbols.Assign(std::move(FSymbols));
  }

private:
  struct TSeen {
    std::uint16_t Value;
    int Line;
  };

  void Fail(int line, std::string message) { R.Errors.push_back({FFile, line, std::move(message)}); }

  static std::string_view Field(std::string_view& rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    std::size_t j = i;
    while (j < rest.size() && !IsBlank(rest[j])) ++j;
    const std::string_view field = rest.substr(i, j - i);
    rest.remove_prefix(j);
    return field;
  }

  // NAME VALUE [=], one pair or more. Labels: the names written as labels in a listing (for a
  // symbol file, nullptr: a name is a label unless marked "=").
  void ReadLine(int number, std::string_view line, const std::unordered_set<std::string>* labels) {
    std::string_view rest = line;
    std::string_view name = Field(rest);
    do {
      bool validName = IsNameStart(name[0]);
      for (char c : name) validName = validName && IsNameChar(c);
      if (!validName) {
        Fail(number, SafeFormat(_("%s is not a symbol name (letters, digits and ., starting with a letter or .); "
                                  "a line holds a name and its value in octal"),
                                Shown(name)));
        return;
      }
      const std::string_view value = Field(rest);
      if (value.empty()) {
        Fail(number, SafeFormat(_("the value of %s is missing"), Shown(name)));
        return;
      }
      unsigned v = 0;
      bool octal = value.size() <= 6;
      for (char c : value) {
        octal = octal && IsOctal(c);
        v = v * 8 + unsigned(c - '0');
      }
      if (!octal || v > 0177777) {
        Fail(number, SafeFormat(_("the value %s of %s is not a number of up to 6 octal digits (0 to 177777)"),
                                Shown(value), Shown(name)));
        return;
      }
      std::string_view next = Field(rest);
      TSymbolKind kind = skLabel;
      if (next == "=") {
        kind = skValue;
        next = Field(rest);
      }
      if (labels) kind = labels->contains(TSymbolTable::Key(name)) ? skLabel : skValue;
      Take(number, name, std::uint16_t(v), kind);
      name = next;
    } while (!name.empty());
  }

  void Take(int number, std::string_view name, std::uint16_t value, TSymbolKind kind) {
    const auto [at, added] = FSeen.try_emplace(TSymbolTable::Key(name), TSeen{value, number});
    if (!added) {
      if (at->second.Value != value)
        Fail(number, SafeFormat(_("%s is defined twice with different values (%06o on line %d and %06o)"),
                                Shown(name), unsigned(at->second.Value), at->second.Line, unsigned(value)));
      return;
    }
    FSymbols.push_back({std::string(name), value, kind});
  }

  const std::string& FFile;
  TSymbolRead& R;
  std::vector<TSymbol> FSymbols;
  std::unordered_map<std::string, TSeen> FSeen;
};

}  // namespace

TSymbolRead ReadSymbolText(const std::string& fileName, std::string_view text) {
  TSymbolRead result;
  TSymbolReader(fileName, result).Read(text);
  return result;
}

TSymbolRead ReadSymbolFile(const std::string& fileName) {
  std::string text;
  if (ReadWholeFile(fileName, text)) return ReadSymbolText(fileName, text);
  TSymbolRead result;
  result.Errors.push_back({fileName, 0, WhyUnreadable(fileName, _("is a folder, not a symbol file"))});
  return result;
}

std::string SymbolsBesideImage(const std::string& imageFile) {
  return std::filesystem::path(imageFile).replace_extension(".sym").string();
}

std::string SavedSymbolText(const TSymbolTable& symbols) {
  std::string out;
  out.reserve(symbols.Size() * 16);
  for (const TSymbol& s : symbols.Symbols()) {
    out += s.Name;
    out += SafeFormat(" %06o", unsigned(s.Value));
    out += s.Kind == skValue ? " =\n" : "\n";
  }
  return out;
}

bool SaveSymbolsBeside(const std::string& imageFile, const TSymbolTable& symbols, std::string& error) {
  const std::string name = SymbolsBesideImage(imageFile);
  if (!symbols.Empty()) return WriteFileAtomic(name, SavedSymbolText(symbols), &error);
  // No symbols: none may come back with the next image.
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(name, ec);
  if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return true;
  if (std::filesystem::remove(name, ec)) return true;
  error = name + ": " + ec.message();
  return false;
}

TSymbolRead LoadSymbolsBeside(const std::string& imageFile) {
  const std::string name = SymbolsBesideImage(imageFile);
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return {};
  return ReadSymbolFile(name);
}
