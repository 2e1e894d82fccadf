// The Nova instruction word: classes, fields and the words that are recognised whole.
// Bit 0 is the most significant bit; masks and values are octal.
#pragma once
#include <cstdint>

namespace nova {

using Word = std::uint16_t;

constexpr Word AddrMask = 077777;  // every address has 15 bits

// Arithmetic class (bit 0 = 1)
constexpr Word ArithBit = 0100000;
constexpr int AcsOf(Word w) { return (w >> 13) & 3; }
constexpr int AcdOf(Word w) { return (w >> 11) & 3; }
constexpr int FunctionOf(Word w) { return (w >> 8) & 7; }  // COM NEG MOV INC ADC SUB ADD AND
constexpr int ShiftOf(Word w) { return (w >> 6) & 3; }     // none L R S
constexpr int CarryOf(Word w) { return (w >> 4) & 3; }     // keep Z O C
constexpr bool NoLoadOf(Word w) { return (w & 010) != 0; }
constexpr int SkipOf(Word w) { return w & 7; }             // none SKP SZC SNC SZR SNR SEZ SBN

// Memory-reference class (bit 0 = 0, bits 1-2 not 11)
constexpr int GroupOf(Word w) { return (w >> 13) & 3; }    // 0 jump/modify, 1 LDA, 2 STA, 3 I/O
constexpr int OpOrAcOf(Word w) { return (w >> 11) & 3; }   // JMP JSR ISZ DSZ, or the accumulator
constexpr bool IndirectOf(Word w) { return (w & 02000) != 0; }
constexpr int IndexOf(Word w) { return (w >> 8) & 3; }     // page zero, PC, AC2, AC3
constexpr int DispOf(Word w) { return w & 0377; }
constexpr int SignedDispOf(Word w) { return std::int8_t(std::uint8_t(w & 0377)); }  // -200 .. 177

constexpr Word JmpWord = 0000000, JsrWord = 0004000, IszWord = 0010000, DszWord = 0014000;
constexpr Word LdaWord = 0020000, StaWord = 0040000;
constexpr Word IndirectBit = 0002000;
constexpr Word JsrMask = 0174000;  // word & JsrMask == JsrWord: a JSR in any addressing form

// I/O class (bits 0-2 = 011)
constexpr Word IoClassBits = 0060000;
constexpr int IoAcOf(Word w) { return (w >> 11) & 3; }
constexpr int TransferOf(Word w) { return (w >> 8) & 7; }  // NIO DIA DOA DIB DOB DIC DOC SKP
constexpr int PulseOf(Word w) { return (w >> 6) & 3; }     // none S C P; for SKP: BN BZ DN DZ
constexpr int DeviceOf(Word w) { return w & 077; }
constexpr bool IsIoClass(Word w) { return (w & 0160000) == 0060000; }

// Words recognised by their whole value
constexpr Word MulWord = 073301;
constexpr Word DivWord = 073101;
constexpr Word IntenWord = 060177;
constexpr Word IntdsWord = 060277;
constexpr Word IorstWord = 062677;
constexpr Word HaltWord = 063077;
constexpr Word ReadsWord = 060477;  // + accumulator << 11
constexpr Word IntaWord = 061477;   // + accumulator << 11
constexpr Word MskoWord = 062077;   // + accumulator << 11

// Device codes
constexpr int DevTTI = 010;
constexpr int DevTTO = 011;
constexpr int DevPTR = 012;
constexpr int DevPTP = 013;
constexpr int DevRTC = 014;
constexpr int DevLPT = 017;
constexpr int DevCPU = 077;

}  // namespace nova
