// A position in one source line, for the assembler's scanners.
#pragma once
#include <cstddef>
#include <string_view>

namespace dgasm {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsSymbolStart(char c) { return IsLetter(c) || c == '.'; }
inline bool IsSymbolChar(char c) { return IsLetter(c) || IsDigit(c) || c == '.'; }
inline bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '!' || c == '&';
}

class TCursor {
public:
  explicit TCursor(std::string_view text) : FText(text) {}

  // The byte at the position plus ahead; 0 past the end.
  char Peek(std::size_t ahead = 0) const {
    return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0';
  }
  bool AtLineEnd() const { return FPos >= FText.size(); }
  // The end of the statement: the line's end or its comment.
  bool AtEnd() const { return FPos >= FText.size() || FText[FPos] == ';'; }
  void Advance(std::size_t n = 1) { FPos = FPos + n < FText.size() ? FPos + n : FText.size(); }
  // Skips blanks; returns how many.
  std::size_t SkipBlanks() {
    const std::size_t start = FPos;
    while (FPos < FText.size() && IsBlank(FText[FPos])) ++FPos;
    return FPos - start;
  }
  // A symbol (letters, digits and ".", starting with a letter or "."), or "" when none starts here.
  std::string_view Symbol() {
    if (!IsSymbolStart(Peek())) return {};
    const std::size_t start = FPos;
    while (FPos < FText.size() && IsSymbolChar(FText[FPos])) ++FPos;
    return FText.substr(start, FPos - start);
  }
  std::size_t Pos() const { return FPos; }
  void SetPos(std::size_t pos) { FPos = pos; }
  std::string_view Rest() const { return FText.substr(FPos); }
  std::string_view Text() const { return FText; }
  // The rest of the statement, without its comment and trailing blanks (for messages).
  std::string_view RestOfStatement() const {
    std::string_view rest = Rest();
    rest = rest.substr(0, rest.find(';'));
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    return rest;
  }

private:
  std::string_view FText;
  std::size_t FPos = 0;
};

}  // namespace dgasm
