#include "TextUtils.h"

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = LowerAscii(c);
  return r;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if (!IsContinuation(c)) ++n;
  return n;
}

std::string_view Utf8Prefix(std::string_view s, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t seen = 0; i < s.size(); ++i) {
    if (!IsContinuation(s[i])) {
      if (seen == count) break;
      ++seen;
    }
  }
  return s.substr(0, i);
}

std::string EscapeControls(std::string_view text, std::size_t maxBytes) {
  static const char hex[] = "0123456789ABCDEF";
  const bool cut = maxBytes != 0 && text.size() > maxBytes;
  if (cut) text = text.substr(0, maxBytes);
  std::string shown;
  shown.reserve(text.size());
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= ' ' && c < 0x7F) {
      shown += ch;
    } else {
      shown += "\\x";
      shown += hex[c >> 4];
      shown += hex[c & 15];
    }
  }
  if (cut) shown += "...";
  return shown;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}
