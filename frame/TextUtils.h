// Small text helpers of the frame: ASCII case folding, UTF-8 character counts, lines, and text
// from outside made safe to print.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

char LowerAscii(char c);
std::string LowerAscii(std::string_view s);
// Equal without regard to ASCII case.
bool SameText(std::string_view a, std::string_view b);
// Number of UTF-8 characters (continuation bytes are not counted).
std::size_t Utf8Length(std::string_view s);
// The first count UTF-8 characters.
std::string_view Utf8Prefix(std::string_view s, std::size_t count);

// The text with every byte that is not printable ASCII written as \xNN, so that a message
// quoting it cannot move the terminal's cursor or split a line; cut after maxBytes bytes with
// "..." (0: no limit).
std::string EscapeControls(std::string_view text, std::size_t maxBytes = 0);

// The lines of a text, without their ends: LF, CR LF, or CR alone (as on paper tape). A last line
// without an end counts; an end at the very end makes no empty line after it.
std::vector<std::string_view> SplitTextLines(std::string_view text);
