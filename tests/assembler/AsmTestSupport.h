// Helpers of the assembler tests: one source assembled, its words and its errors.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Assembler.h"

inline TAsmProgram Asm(std::string text, std::string name = "t.sr") {
  std::vector<TAsmSource> sources;
  sources.push_back({std::move(name), std::move(text)});
  return Assemble(std::move(sources));
}

inline std::vector<std::uint16_t> Values(const TAsmProgram& p) {
  std::vector<std::uint16_t> v;
  for (const TAsmWord& w : p.Words) v.push_back(w.Value);
  return v;
}

// "LINE FLAG message" per error, one a line.
inline std::string ErrorLines(const TAsmProgram& p) {
  std::string text;
  for (const TAsmError& e : p.Errors) text += std::to_string(e.Line) + " " + e.Flag + " " + e.Message + "\n";
  return text;
}

// Prints words in octal when a comparison fails.
struct TOctal {
  std::vector<std::uint16_t> Words;
  bool operator==(const TOctal&) const = default;
};
inline void PrintTo(const TOctal& o, std::ostream* os) {
  for (std::uint16_t w : o.Words) *os << std::oct << w << ' ';
}
inline TOctal Octal(const TAsmProgram& p) { return {Values(p)}; }
inline TOctal Octal(std::vector<std::uint16_t> words) { return {std::move(words)}; }
