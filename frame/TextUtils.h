// Small text helpers of the frame: ASCII case folding and UTF-8 character counts.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

char LowerAscii(char c);
std::string LowerAscii(std::string_view s);
// Equal without regard to ASCII case.
bool SameText(std::string_view a, std::string_view b);
// Number of UTF-8 characters (continuation bytes are not counted).
std::size_t Utf8Length(std::string_view s);
// The first count UTF-8 characters.
std::string_view Utf8Prefix(std::string_view s, std::size_t count);
