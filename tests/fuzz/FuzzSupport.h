// Shared by the fuzz targets: a failed property aborts with its text (libFuzzer then keeps the
// input as a crash), and a reader that takes fields from the front of the input.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

[[noreturn]] inline void FuzzFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
  std::abort();
}

#define FUZZ_CHECK(cond) ((cond) ? void(0) : FuzzFailed(#cond, __FILE__, __LINE__))

// Fields from the front of the input; past its end every field reads as 0.
class TFuzzInput {
public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  // Low byte first, as in the machine's files.
  std::uint16_t Word() {
    const std::uint16_t low = Byte();
    return std::uint16_t(low | (Byte() << 8));
  }
  // The next count bytes (fewer at the end).
  std::string_view Take(std::size_t count) {
    if (count > FSize - FPos) count = FSize - FPos;
    const std::string_view part(reinterpret_cast<const char*>(FData + FPos), count);
    FPos += count;
    return part;
  }
  std::string_view Rest() { return Take(FSize - FPos); }
  std::size_t Left() const { return FSize - FPos; }

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};
