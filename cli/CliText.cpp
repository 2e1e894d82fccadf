// Messages and argument reading shared by the subcommands of corvane-cli.
#include "CliText.h"

#include <filesystem>
#include <iostream>
#include <vector>

#include "FileIdentity.h"
#include "SafeFormat.h"
#include "TextUtils.h"
#include "Translate.h"

std::string Tr(const char* msgid) { return TranslateText(msgid); }

std::string TrFormat(const char* msgid, std::initializer_list<std::string_view> args) {
  const std::vector<TFormatArg> list(args.begin(), args.end());
  return SafeFormatArgs(Tr(msgid), list);
}

int ReportError(const std::string& message) {
  std::cout.flush();
  std::cerr << "corvane-cli: " << message << '\n';
  return 1;
}

bool ReadOctal(std::string_view text, int maxValue, int& value) {
  if (text.empty()) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '7') return false;
    v = v * 8 + (c - '0');
    if (v > maxValue) return false;
  }
  value = int(v);
  return true;
}

bool ReadBase(std::string_view text, TNumMode& mode) {
  struct TBaseName {
    const char* Name;
    TNumMode Mode;
  };
  static const TBaseName names[] = {{"octal", nmOctal},     {"hex", nmHex},
                                    {"binary", nmBin},      {"decimal", nmDecimal},
                                    {"zerodec", nmZeroDec}};
  for (const TBaseName& n : names)
    if (text == n.Name) {
      mode = n.Mode;
      return true;
    }
  return false;
}

std::string_view TrimLine(std::string_view line) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

std::string ShownText(std::string_view text) { return EscapeControls(text, 40); }

bool NamesOneFile(const std::string& a, const std::string& b) {
  if (a == b || IsSameFile(a, b)) return true;
  std::error_code ec;
  const auto x = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec);
  const auto y = std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
  return !x.empty() && x == y;
}
