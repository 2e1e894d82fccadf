// Disassembler: one instruction word to one line of assembler text. Works from constant
// tables into a stack buffer; the result text is the only allocation.
#include "NovaUtils.h"

#include "NovaSymbols.h"
#include "NovaTables.h"
#include "NovaWord.h"

const TDeviceName DeviceNames[DeviceNameCount] = {
    {"TTI", nova::DevTTI}, {"TTO", nova::DevTTO}, {"PTR", nova::DevPTR}, {"PTP", nova::DevPTP},
    {"RTC", nova::DevRTC}, {"LPT", nova::DevLPT}, {"CPU", nova::DevCPU},
};

namespace {

using namespace novatext;

// A fixed-size line; the longest text ("LDA 3,@.-200" with a binary target) is far below it,
// and a symbol's name is cut to fit.
class TLine {
public:
  void Add(const char* s) {
    while (*s) FText[FLength++] = *s++;
  }
  void Add(char c) { FText[FLength++] = c; }
  // A symbol's name: cut to what the line has room for.
  void AddName(const std::string& name) {
    for (std::size_t i = 0; i < name.size() && FLength < sizeof FText; ++i) FText[FLength++] = name[i];
  }
  void AddDigit(int d) { FText[FLength++] = char('0' + d); }
  // Octal digits without leading zeros ("0" for 0).
  void AddOctal(unsigned value) {
    char digits[8];
    int n = 0;
    do {
      digits[n++] = char('0' + (value & 7));
      value >>= 3;
    } while (value != 0);
    while (n > 0) FText[FLength++] = digits[--n];
  }
  void AddWord(int value, TNumMode mode) { FLength += FormatWordInto(FText + FLength, value, mode); }
  // Ends the mnemonic field: one space, or spaces up to column 8.
  void EndMnemonic(bool columns) {
    do FText[FLength++] = ' ';
    while (columns && FLength < 8);
  }
  std::string Text() const { return std::string(FText, FLength); }

private:
  char FText[80];
  std::size_t FLength = 0;
};

void AddDevice(TLine& line, int device) {
  for (const TDeviceName& d : DeviceNames)
    if (d.Value == device) return line.Add(d.Name);
  line.AddOctal(unsigned(device));
}

// The name of a page-zero or instruction-relative target, when there is one.
const TSymbol* TargetName(const TSymbolTable* symbols, int address, nova::Word word) {
  if (!symbols) return nullptr;
  switch (nova::IndexOf(word)) {
    case 0: return symbols->NameOf(std::uint16_t(nova::DispOf(word)));
    case 1:
      if (address < 0) return nullptr;
      return symbols->NameOf(std::uint16_t((unsigned(address) + unsigned(nova::SignedDispOf(word))) & nova::AddrMask));
    default: return nullptr;
  }
}

void AddMemoryOperand(TLine& line, int address, nova::Word word, TNumMode numMode,
                      const TSymbolTable* symbols) {
  if (nova::IndirectOf(word)) line.Add('@');
  if (const TSymbol* name = TargetName(symbols, address, word)) return line.AddName(name->Name);
  const int index = nova::IndexOf(word);
  if (index == 0) {
    const int disp = nova::DispOf(word);
    line.AddDigit(disp >> 6);
    line.AddDigit((disp >> 3) & 7);
    line.AddDigit(disp & 7);
    return;
  }
  const int disp = nova::SignedDispOf(word);
  const unsigned magnitude = unsigned(disp < 0 ? -disp : disp);
  if (index == 1) {
    line.Add(disp < 0 ? ".-" : ".+");
    line.AddOctal(magnitude);
    if (address >= 0) {
      line.Add(" (");
      line.AddWord(int((unsigned(address) + unsigned(disp)) & 0xFFFF), numMode);
      line.Add(')');
    }
    return;
  }
  if (disp < 0) line.Add('-');
  line.AddOctal(magnitude);
  line.Add(index == 2 ? ",2" : ",3");
}

std::string IoText(nova::Word word, bool columns) {
  TLine line;
  const int device = nova::DeviceOf(word);
  const int transfer = nova::TransferOf(word);
  const int pulse = nova::PulseOf(word);
  const int ac = nova::IoAcOf(word);
  if (device == nova::DevCPU) {
    switch (word) {
      case nova::IntenWord: return "INTEN";
      case nova::IntdsWord: return "INTDS";
      case nova::IorstWord: return "IORST";
      case nova::HaltWord: return "HALT";
      default: break;
    }
    // DIA, DIB and DOB to the CPU without a pulse: READS, INTA, MSKO.
    const char* special = nullptr;
    if (pulse == 0) special = transfer == 1 ? "READS" : transfer == 3 ? "INTA" : transfer == 4 ? "MSKO" : nullptr;
    if (special) {
      line.Add(special);
      line.EndMnemonic(columns);
      line.AddDigit(ac);
      return line.Text();
    }
  }
  if (word == nova::DivWord) return "DIV";
  if (word == nova::MulWord) return "MUL";

  line.Add(TransferNames[transfer]);
  if (transfer == TransferSkp) {
    line.Add(IoSkipNames[pulse]);
    line.EndMnemonic(columns);
  } else {
    line.Add(PulseNames[pulse]);
    line.EndMnemonic(columns);
    if (transfer != TransferNio) {
      line.AddDigit(ac);
      line.Add(',');
    }
  }
  AddDevice(line, device);
  return line.Text();
}

}  // namespace

std::string CommandToStr(int address, std::uint16_t word, TNumMode numMode, bool columns,
                         const TSymbolTable* symbols) {
  TLine line;
  if (word & nova::ArithBit) {
    line.Add(FunctionNames[nova::FunctionOf(word)]);
    line.Add(CarryNames[nova::CarryOf(word)]);
    line.Add(ShiftNames[nova::ShiftOf(word)]);
    if (nova::NoLoadOf(word)) line.Add('#');
    line.EndMnemonic(columns);
    line.AddDigit(nova::AcsOf(word));
    line.Add(',');
    line.AddDigit(nova::AcdOf(word));
    if (const int skip = nova::SkipOf(word)) {
      line.Add(',');
      line.Add(SkipNames[skip]);
    }
    return line.Text();
  }
  switch (nova::GroupOf(word)) {
    case 0:
      line.Add(JumpNames[nova::OpOrAcOf(word)]);
      line.EndMnemonic(columns);
      break;
    case 3: return IoText(word, columns);
    default:
      line.Add(LoadStoreNames[nova::GroupOf(word) - 1]);
      line.EndMnemonic(columns);
      line.AddDigit(nova::OpOrAcOf(word));
      line.Add(',');
      break;
  }
  AddMemoryOperand(line, address, word, numMode, symbols);
  return line.Text();
}
