// The symbol table: a vector sorted by name and an index sorted by value, both binary-searched.
#include "NovaSymbols.h"

#include <algorithm>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Full names in upper case: the order of the table (and of the symbol file).
bool NameLess(const TSymbol& a, const TSymbol& b) {
  const std::size_t n = std::min(a.Name.size(), b.Name.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = Upper(a.Name[i]), y = Upper(b.Name[i]);
    if (x != y) return x < y;
  }
  if (a.Name.size() != b.Name.size()) return a.Name.size() < b.Name.size();
  return a.Name < b.Name;
}

}  // namespace

std::string TSymbolTable::Key(std::string_view name) {
  std::string key(name.substr(0, SignificantLength));
  for (char& c : key) c = Upper(c);
  return key;
}

void TSymbolTable::Assign(std::vector<TSymbol> symbols) {
  // The last of several with one key wins: keep it, drop the earlier ones.
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(symbols.size());
  for (std::size_t i = 0; i < symbols.size(); ++i) keys.emplace_back(Key(symbols[i].Name), i);
  std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  FSymbols.clear();
  FSymbols.reserve(symbols.size());
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (i + 1 == keys.size() || keys[i + 1].first != keys[i].first)
      FSymbols.push_back(std::move(symbols[keys[i].second]));
  std::sort(FSymbols.begin(), FSymbols.end(), NameLess);
  Index();
}

void TSymbolTable::Add(std::string_view name, std::uint16_t value, TSymbolKind kind) {
  std::vector<TSymbol> symbols = std::move(FSymbols);
  symbols.push_back({std::string(name), value, kind});
  Assign(std::move(symbols));
}

void TSymbolTable::Clear() {
  FSymbols.clear();
  FByValue.clear();
}

void TSymbolTable::Index() {
  FByValue.resize(FSymbols.size());
  for (std::uint32_t i = 0; i < FByValue.size(); ++i) FByValue[i] = i;
  // Positions in FSymbols already follow the names, so a stable sort keeps the first by name
  // first among equals.
  std::stable_sort(FByValue.begin(), FByValue.end(), [this](std::uint32_t a, std::uint32_t b) {
    const TSymbol& x = FSymbols[a];
    const TSymbol& y = FSymbols[b];
    if (x.Value != y.Value) return x.Value < y.Value;
    return x.Kind < y.Kind;
  });
}

const TSymbol* TSymbolTable::Find(std::string_view name) const {
  const std::string key = Key(name);
  // Sorted by full name, so the keys (prefixes of the names) are sorted too, and unique.
  const auto first = std::lower_bound(FSymbols.begin(), FSymbols.end(), key, [](const TSymbol& s, const std::string& k) {
    return Key(s.Name) < k;
  });
  if (first != FSymbols.end() && Key(first->Name) == key) return &*first;
  return nullptr;
}

const TSymbol* TSymbolTable::NameOf(std::uint16_t address) const {
  const auto at = std::lower_bound(FByValue.begin(), FByValue.end(), address,
                                   [this](std::uint32_t i, std::uint16_t v) { return FSymbols[i].Value < v; });
  if (at == FByValue.end() || FSymbols[*at].Value != address) return nullptr;
  return &FSymbols[*at];
}

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A number in the base, digits only after the base's optional prefix; values above 16 bits
// are kept as 0x10000 (too big for any address, and no overflow).
bool NumberText(std::string_view text, TNumMode mode, std::int64_t& value) {
  const int radix = NumModeRadix[mode];
  const char prefix = radix == 16 ? '$' : radix == 8 ? '%' : radix == 2 ? '!' : '\0';
  if (prefix && !text.empty() && text.front() == prefix) text.remove_prefix(1);
  if (text.empty()) return false;
  value = 0;
  for (const char c : text) {
    const char u = Upper(c);
    const int digit = u >= '0' && u <= '9' ? u - '0' : u >= 'A' && u <= 'Z' ? u - 'A' + 10 : radix;
    if (digit >= radix) return false;
    value = std::min<std::int64_t>(value * radix + digit, 0x10000);
  }
  return true;
}

}  // namespace

TAddressText AddressFromText(std::string_view text, TNumMode mode, const TSymbolTable* symbols, int& addr) {
  text = Trimmed(text);
  std::string_view base = text, offset;
  bool minus = false;
  const std::size_t sign = text.find_first_of("+-", 1);
  if (sign != std::string_view::npos) {
    base = Trimmed(text.substr(0, sign));
    offset = Trimmed(text.substr(sign + 1));
    minus = text[sign] == '-';
    if (offset.empty()) return atInvalid;
  }
  if (base.empty()) return atInvalid;
  std::int64_t value = 0;
  const TSymbol* symbol = symbols ? symbols->Find(base) : nullptr;
  if (symbol)
    value = symbol->Value;
  else if (!NumberText(base, mode, value))
    return atInvalid;
  std::int64_t delta = 0;
  if (!offset.empty() && !NumberText(offset, mode, delta)) return atInvalid;
  value += minus ? -delta : delta;
  if (value < 0 || value > 077777) return atOutOfRange;
  addr = int(value);
  return atOk;
}
