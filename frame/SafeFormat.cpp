#include "SafeFormat.h"

#include <cstdio>

#include "TextUtils.h"
#include "Translate.h"

namespace {

constexpr int MaxField = 10000;  // widths and precisions beyond this are format errors

struct TDirective {
  std::string Flags;
  int Width = -1;
  int Precision = -1;
  bool LeftAlign = false;
};

void AppendPadded(std::string& out, std::string_view text, const TDirective& directive) {
  std::size_t len = Utf8Length(text);
  std::size_t pad = directive.Width > 0 && static_cast<std::size_t>(directive.Width) > len ? directive.Width - len : 0;
  if (!directive.LeftAlign) out.append(pad, ' ');
  out.append(text);
  if (directive.LeftAlign) out.append(pad, ' ');
}

bool AppendCodePoint(std::string& s, std::uint64_t cp) {
  if (cp == 0) return true;
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return true;
}

// Formats one number with a conversion directive built here from checked parts.
// Flags a conversion does not define are dropped.
template <class T>
void AppendNumber(std::string& out, const TDirective& directive, const char* length, char conv, T value) {
  std::string_view allowed = conv == 'd'                              ? "-+ 0"
                             : conv == 'u'                            ? "-0"
                             : (conv == 'x' || conv == 'X' || conv == 'o') ? "-#0"
                                                                      : "-+ #0";
  std::string f = "%";
  for (char flag : directive.Flags)
    if (allowed.find(flag) != std::string_view::npos) f += flag;
  if (directive.Width >= 0) f += std::to_string(directive.Width);
  if (directive.Precision >= 0) {
    f += '.';
    f += std::to_string(directive.Precision);
  }
  f += length;
  f += conv;
  int n = std::snprintf(nullptr, 0, f.c_str(), value);
  if (n <= 0) return;
  std::string buffer(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(buffer.data(), buffer.size(), f.c_str(), value);
  buffer.resize(static_cast<std::size_t>(n));
  out += buffer;
}

// Reads decimal digits; false when the number exceeds MaxField.
bool ReadNumber(std::string_view fmt, std::size_t& i, int& value) {
  value = 0;
  while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
    value = value * 10 + (fmt[i] - '0');
    if (value > MaxField) return false;
    ++i;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A width or precision taken from the arguments ("*"); large unsigned values count as too large.
bool IntegerArg(const TFormatArg& a, std::int64_t& v) {
  if (a.Kind() == TFormatArg::fkSigned) {
    v = a.Signed();
    if (v < -MaxField) v = MaxField + 1;
    return true;
  }
  if (a.Kind() == TFormatArg::fkUnsigned) {
    v = a.Unsigned() <= static_cast<std::uint64_t>(MaxField) ? static_cast<std::int64_t>(a.Unsigned()) : MaxField + 1;
    return true;
  }
  return false;
}

}  // namespace

bool TryFormat(std::string_view fmt, std::span<const TFormatArg> args, std::string& out) {
  out.clear();
  std::size_t next = 0;
  auto take = [&](const TFormatArg*& a) {
    if (next >= args.size()) return false;
    a = &args[next++];
    return true;
  };

  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%') {
      out += fmt[i];
      continue;
    }
    if (++i >= fmt.size()) return false;
    if (fmt[i] == '%') {
      out += '%';
      continue;
    }
    // "n$": the argument by position; later conversions continue after it.
    std::size_t start = i;
    if (IsDigit(fmt[i])) {
      int pos;
      std::size_t j = i;
      if (ReadNumber(fmt, j, pos) && j < fmt.size() && fmt[j] == '$') {
        if (pos < 1) return false;
        next = static_cast<std::size_t>(pos - 1);
        i = j + 1;
      } else {
        i = start;
      }
    }
    TDirective directive;
    for (; i < fmt.size(); ++i) {
      char c = fmt[i];
      if (c == '-' || c == '+' || c == ' ' || c == '#' || c == '0') {
        if (directive.Flags.find(c) == std::string::npos) directive.Flags += c;
        if (c == '-') directive.LeftAlign = true;
      } else {
        break;
      }
    }
    if (i < fmt.size() && fmt[i] == '*') {
      const TFormatArg* a;
      std::int64_t w;
      if (!take(a) || !IntegerArg(*a, w)) return false;
      if (w < 0) {
        directive.LeftAlign = true;
        if (directive.Flags.find('-') == std::string::npos) directive.Flags += '-';
        w = -w;
      }
      if (w > MaxField) return false;
      directive.Width = static_cast<int>(w);
      ++i;
    } else if (i < fmt.size() && IsDigit(fmt[i])) {
      if (!ReadNumber(fmt, i, directive.Width)) return false;
    }
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      if (i < fmt.size() && fmt[i] == '*') {
        const TFormatArg* a;
        std::int64_t p;
        if (!take(a) || !IntegerArg(*a, p)) return false;
        if (p > MaxField) return false;
        directive.Precision = p < 0 ? -1 : static_cast<int>(p);
        ++i;
      } else if (!ReadNumber(fmt, i, directive.Precision)) {
        return false;
      }
    }
    while (i < fmt.size() && std::string_view("hlLqjzt").find(fmt[i]) != std::string_view::npos) ++i;
    if (i >= fmt.size()) return false;

    const char conv = fmt[i];
    const TFormatArg* a;
    switch (conv) {
      case 'd':
      case 'i': {
        if (!take(a)) return false;
        if (a->Kind() == TFormatArg::fkSigned)
          AppendNumber(out, directive, "ll", 'd', static_cast<long long>(a->Signed()));
        else if (a->Kind() == TFormatArg::fkUnsigned)
          AppendNumber(out, directive, "ll", 'u', static_cast<unsigned long long>(a->Unsigned()));
        else
          return false;
        break;
      }
      case 'u':
      case 'x':
      case 'X':
      case 'o': {
        if (!take(a)) return false;
        unsigned long long v;
        if (a->Kind() == TFormatArg::fkSigned) v = static_cast<unsigned long long>(a->Signed());
        else if (a->Kind() == TFormatArg::fkUnsigned) v = a->Unsigned();
        else return false;
        AppendNumber(out, directive, "ll", conv, v);
        break;
      }
      case 'f':
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        if (!take(a)) return false;
        double v;
        if (a->Kind() == TFormatArg::fkFloat) v = a->Float();
        else if (a->Kind() == TFormatArg::fkSigned) v = static_cast<double>(a->Signed());
        else if (a->Kind() == TFormatArg::fkUnsigned) v = static_cast<double>(a->Unsigned());
        else return false;
        AppendNumber(out, directive, "", conv, v);
        break;
      }
      case 'c': {
        if (!take(a)) return false;
        std::string ch;
        if (a->Kind() == TFormatArg::fkText) ch = a->Text();
        else if (a->Kind() == TFormatArg::fkSigned && a->Signed() >= 0) {
          if (!AppendCodePoint(ch, static_cast<std::uint64_t>(a->Signed()))) return false;
        } else if (a->Kind() == TFormatArg::fkUnsigned) {
          if (!AppendCodePoint(ch, a->Unsigned())) return false;
        } else {
          return false;
        }
        AppendPadded(out, ch, directive);
        break;
      }
      case 's': {
        if (!take(a) || a->Kind() != TFormatArg::fkText) return false;
        std::string_view text = a->Text();
        if (directive.Precision >= 0) text = Utf8Prefix(text, static_cast<std::size_t>(directive.Precision));
        AppendPadded(out, text, directive);
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

std::string SafeFormatArgs(std::string_view format, std::span<const TFormatArg> args) {
  std::string out;
  if (TryFormat(format, args, out)) return out;
  return _("Format error: ") + std::string(format);
}
