// Reading the options of `corvane-cli run`, and its help text.
#include "RunOptions.h"

#include <sys/stat.h>

#include <filesystem>
#include <iostream>

#include "CliText.h"
#include "CommandOptions.h"
#include "Commands.h"
#include "Throttle.h"

namespace {

constexpr int MaxAddress = 077777;
constexpr int MaxWord = 0177777;

enum TDecimalRead { drValid, drTooLarge, drInvalid };

// Decimal digits only; drTooLarge for digits whose value is above maxValue.
TDecimalRead ReadDecimal(std::string_view text, std::uint64_t maxValue, std::uint64_t& value) {
  if (text.empty()) return drInvalid;
  std::uint64_t v = 0;
  bool tooLarge = false;
  for (char c : text) {
    if (c < '0' || c > '9') return drInvalid;
    const std::uint64_t digit = std::uint64_t(c - '0');
    if (tooLarge || digit > maxValue || v > (maxValue - digit) / 10) tooLarge = true;
    else v = v * 10 + digit;
  }
  if (tooLarge) return drTooLarge;
  value = v;
  return drValid;
}

// The same file named by two outputs would be replaced by whichever closes last.
int CheckOutputsDiffer(const TRunOptions& o) {
  struct TOutput {
    const char* Option;
    const std::string* Name;
  };
  const TOutput outputs[] = {{"--ptp", &o.Ptp}, {"--ttp", &o.Ttp}, {"--lpt", &o.Lpt},
                             {"--save-dump", &o.SaveDump}, {"--trace-out", &o.TraceOut},
                             {"--save-state", &o.SaveState}};
  for (std::size_t i = 0; i < std::size(outputs); ++i)
    for (std::size_t j = i + 1; j < std::size(outputs); ++j) {
      if (outputs[i].Name->empty() || outputs[j].Name->empty()) continue;
      struct stat st;
      if (::stat(outputs[i].Name->c_str(), &st) == 0 && S_ISCHR(st.st_mode)) continue;  // /dev/null twice is fine
      if (NamesOneFile(*outputs[i].Name, *outputs[j].Name))
        return ReportError(TrFormat("%s and %s name the same file", {outputs[i].Option, outputs[j].Option}));
    }
  return -1;
}

// max, nova800, or a rate in instructions per second.
bool ReadSpeed(std::string_view text, std::uint32_t& value) {
  if (text == "max") {
    value = speed::Maximum;
    return true;
  }
  if (text == "nova800") {
    value = speed::Nova800;
    return true;
  }
  std::uint64_t rate = 0;
  if (ReadDecimal(text, speed::MaxRate, rate) != drValid || rate < speed::MinRate) return false;
  value = std::uint32_t(rate);
  return true;
}

}  // namespace

std::string RunHelp() {
  return Tr(
      "  run [OPTIONS]\n"
      "      Runs the simulated machine without a window. The machine is reset (PC 2),\n"
      "      then the options apply, then it runs until it stops; a plain HALT at the\n"
      "      start address is stepped over, as the Run button does.\n"
      "      --load-state FILE   a machine state saved by --save-state takes the\n"
      "                          place of the reset: memory, registers, devices,\n"
      "                          tapes and files at their positions, breakpoints,\n"
      "                          watches, speed; the other options apply after it.\n"
      "                          A run cut short (instruction limit, stop) goes on\n"
      "                          as if it had not stopped\n"
      "      --memsize N         memory size in words, 1 to 32768 (default 32768); a\n"
      "                          larger dump raises it\n"
      "      --load-dump FILE    loads a memory dump (any length, low byte first)\n"
      "      --pc OCTAL          start address (default 2)\n"
      "      --switches OCTAL    the data switches (0 to 177777)\n"
      "      --prog-load         program load from the device in the low six bits of\n"
      "                          the switches (12: paper-tape reader); --pc is ignored\n"
      "      --ptr FILE          tape in the paper-tape reader; --ptr-text: a text tape\n"
      "                          (its trailer starts with a form feed). May be repeated:\n"
      "                          when a tape has run out, the next one goes in. A\n"
      "                          binary tape goes in after its punched label\n"
      "      --ttr FILE          tape in the teletype reader, which is switched on;\n"
      "                          --ttr-text: a text tape. May be repeated as --ptr\n"
      "      --ptp FILE          paper-tape punch output\n"
      "      --ttp FILE          teletype punch output; the punch is switched on\n"
      "      --lpt FILE          line printer output\n"
      "      --break OCTAL[:COUNT]  a breakpoint; with COUNT the run stops at the\n"
      "                          COUNT-th arrival there and every one after it\n"
      "                          (may be repeated)\n"
      "      --break-write OCTAL[-OCTAL]  stops after an instruction that writes the\n"
      "                          word, or a word of the range: STA, ISZ, DSZ, the\n"
      "                          counting words 20 to 37 in an indirect chain, the\n"
      "                          interrupt's store into 0, also of the value already\n"
      "                          there (may be repeated)\n"
      "      --break-read OCTAL[-OCTAL]  stops after an instruction that reads the word\n"
      "                          as data: LDA, ISZ, DSZ, every word of an indirect\n"
      "                          chain (fetching an instruction is no read; may be\n"
      "                          repeated)\n"
      "      --break-access OCTAL[-OCTAL]  either (may be repeated)\n"
      "      --max-instructions N  stops after N instructions\n"
      "      --speed MODE        max (default: as fast as possible), nova800 (the\n"
      "                          Nova 800's instruction times, and its teletype,\n"
      "                          tape reader and punch and printer at their real\n"
      "                          speeds), or N instructions per second (1000 to\n"
      "                          100000000)\n"
      "      --save-dump FILE    saves the memory (memory size words) when the run ends\n"
      "      --save-state FILE   saves the whole machine state when the run ends\n"
      "      --reverse K         after the run, goes back K instructions (1 to\n"
      "                          100000000): --regs, --save-dump and --save-state\n"
      "                          then tell the state K instructions before the end.\n"
      "                          The machine keeps its history for this run\n"
      "      --last-writer OCTAL  after the run (and --reverse), prints on standard\n"
      "                          error the instruction of this run that last wrote\n"
      "                          the word: LAST-WRITER ADDRESS PC=ADDRESS STEP=N\n"
      "                          OLD=WORD NEW=WORD (N counts this run's instructions\n"
      "                          from 1; the interrupt's store into 0 names the\n"
      "                          instruction it came after), or LAST-WRITER ADDRESS\n"
      "                          none (6 octal digits each)\n"
      "      --trace-out FILE    one line per executed instruction: PC, word, carry,\n"
      "                          AC0 to AC3 (octal)\n"
      "      --trace-length N    the machine's trace keeps the last N instructions,\n"
      "                          100 to 1000000 (default 10000)\n"
      "      --regs              prints the registers, the number of instructions and\n"
      "                          the stop reason on standard error at the end:\n"
      "                          PC=... AC0=... AC1=... AC2=... AC3=... C=. ION=. STEPS=.\n"
      "                          STOP=halt|limit|breakpoint|stepover|watch|device|chain|stop\n"
      "                          or, after a data breakpoint, STOP=write@ADDRESS,\n"
      "                          STOP=read@ADDRESS or STOP=access@ADDRESS (the word,\n"
      "                          6 octal digits)\n"
      "                          and, with --speed nova800 or N, the simulated time:\n"
      "                          TIME=SECONDSs\n"
      "      Teletype output goes to standard output (7 bits). Standard input is typed on\n"
      "      the teletype keyboard one byte at a time, each when the program waits for a\n"
      "      key: the keyboard is not done, the printer idle and silent, and the program\n"
      "      circles in a short loop that tests the keyboard, runs with interrupts on or\n"
      "      keeps the keyboard started. From a terminal, input is read raw, a line feed\n"
      "      is typed as carriage return, and Ctrl-E ends the run (stop reason stop).\n"
      "      The run also ends with stop reason stop when the program has waited for a\n"
      "      key for 10 seconds without a pause after the end of piped input, or as long\n"
      "      for a reader whose tape has run out, and on an interrupt or terminate\n"
      "      signal. A device that needs a file and has none (readers, punches,\n"
      "      printer) stops the run with stop reason device.\n"
      "      Exit status: 0 halted, 3 instruction limit reached, 4 any other stop\n"
      "      (a breakpoint of any kind among them),\n"
      "      1 error (bad option, unreadable or unwritable file).\n");
}

int ReadRunOptions(int argc, char** argv, TRunOptions& o) {
  static constexpr TOptionSpec Options[] = {
      {"--memsize"},           {"--load-dump", okFileName}, {"--pc"},
      {"--switches"},          {"--prog-load", okFlag},     {"--ptr", okFileName, true},
      {"--ptr-text", okFlag},  {"--ttr", okFileName, true}, {"--ttr-text", okFlag},
      {"--ptp", okFileName},   {"--ttp", okFileName},       {"--lpt", okFileName},
      {"--break", okValue, true}, {"--max-instructions"},   {"--speed"},
      {"--break-read", okValue, true}, {"--break-write", okValue, true}, {"--break-access", okValue, true},
      {"--trace-length"},
      {"--save-dump", okFileName}, {"--trace-out", okFileName}, {"--regs", okFlag},
      {"--load-state", okFileName}, {"--save-state", okFileName},
      {"--reverse"}, {"--last-writer"},
  };
  const auto octal = [](std::string_view value, int maxValue, int& target) {
    if (ReadOctal(value, maxValue, target)) return true;
    ReportError(maxValue == MaxAddress
                    ? TrFormat("%s is not a valid address (octal, 0 to 77777)", {ShownText(value)})
                    : TrFormat("%s is not a valid word (octal, 0 to 177777)", {ShownText(value)}));
    return false;
  };
  const auto take = [&](std::string_view name, std::string_view value) {
    if (name == "--memsize") {
      std::uint64_t n = 0;
      if (ReadDecimal(value, 32768, n) == drValid && n > 0) {
        o.MemSize = int(n);
        return true;
      }
      ReportError(TrFormat("%s is not a valid memory size (1 to 32768 words)", {ShownText(value)}));
      return false;
    }
    if (name == "--pc") return octal(value, MaxAddress, o.Pc);
    if (name == "--switches") return octal(value, MaxWord, o.Switches);
    if (name == "--break") {
      TBreakpoint b;
      const std::size_t colon = value.find(':');
      int address = 0;
      if (!octal(value.substr(0, colon), MaxAddress, address)) return false;
      b.First = b.Last = TWord(address);
      if (colon != std::string_view::npos) {
        const std::string_view count = value.substr(colon + 1);
        if (ReadDecimal(count, UINT32_MAX, b.Count) != drValid || b.Count == 0) {
          ReportError(TrFormat("%s is not a valid count (1 to 4294967295)", {ShownText(count)}));
          return false;
        }
      }
      o.Breaks.push_back(b);
      return true;
    }
    if (name == "--break-read" || name == "--break-write" || name == "--break-access") {
      TBreakpoint b;
      b.Kind = name == "--break-read" ? bkRead : name == "--break-write" ? bkWrite : bkAccess;
      const std::size_t dash = value.find('-');
      int first = 0, last = 0;
      if (!ReadOctal(value.substr(0, dash), MaxAddress, first) ||
          (dash != std::string_view::npos && !ReadOctal(value.substr(dash + 1), MaxAddress, last))) {
        ReportError(TrFormat("%s is not a valid word or range of words (octal, 0 to 77777, a range as 100-177)",
                             {ShownText(value)}));
        return false;
      }
      if (dash == std::string_view::npos) last = first;
      if (last < first) {
        ReportError(TrFormat("%s is not a valid range (the first address, then a higher one)", {ShownText(value)}));
        return false;
      }
      b.First = TWord(first);
      b.Last = TWord(last);
      o.Breaks.push_back(b);
      return true;
    }
    if (name == "--trace-length") {
      std::uint64_t n = 0;
      if (ReadDecimal(value, MaxTraceLength, n) == drValid && n >= MinTraceLength) {
        o.TraceLength = int(n);
        return true;
      }
      ReportError(TrFormat("%s is not a valid trace length (100 to 1000000 instructions)", {ShownText(value)}));
      return false;
    }
    if (name == "--reverse") {
      if (ReadDecimal(value, MaxHistorySize, o.Reverse) == drValid && o.Reverse > 0) return true;
      ReportError(TrFormat("%s is not a valid number of instructions to go back (1 to %s)",
                           {ShownText(value), std::to_string(MaxHistorySize)}));
      return false;
    }
    if (name == "--last-writer") return octal(value, MaxAddress, o.LastWriter);
    if (name == "--max-instructions") {
      const TDecimalRead read = ReadDecimal(value, UINT64_MAX, o.MaxInstructions);
      if (read == drValid && o.MaxInstructions > 0) return true;
      ReportError(read == drTooLarge
                      ? TrFormat("%s is too large an instruction count (at most %s)",
                                 {ShownText(value), std::to_string(UINT64_MAX)})
                      : TrFormat("%s is not a valid instruction count (1 or more)", {ShownText(value)}));
      return false;
    }
    if (name == "--speed") {
      o.SpeedGiven = true;
      if (ReadSpeed(value, o.Speed)) return true;
      ReportError(TrFormat("%s is not a valid speed (max, nova800, or 1000 to 100000000 instructions per second)",
                           {ShownText(value)}));
      return false;
    }
    struct TFlag {
      std::string_view Name;
      bool* Target;
    };
    for (const TFlag& f : {TFlag{"--prog-load", &o.ProgLoad}, TFlag{"--ptr-text", &o.PtrText},
                           TFlag{"--ttr-text", &o.TtrText}, TFlag{"--regs", &o.Regs}})
      if (name == f.Name) *f.Target = true;
    if (name == "--ptr" || name == "--ttr") (name == "--ptr" ? o.Ptr : o.Ttr).emplace_back(value);
    struct TFile {
      std::string_view Name;
      std::string* Target;
    };
    for (const TFile& f : {TFile{"--load-dump", &o.LoadDump},
                           TFile{"--ptp", &o.Ptp}, TFile{"--ttp", &o.Ttp}, TFile{"--lpt", &o.Lpt},
                           TFile{"--save-dump", &o.SaveDump}, TFile{"--trace-out", &o.TraceOut},
                           TFile{"--load-state", &o.LoadState}, TFile{"--save-state", &o.SaveState}})
      if (name == f.Name) *f.Target = value;
    return true;
  };
  if (const int status = ReadCommandOptions(argc, argv, {Options, RunHelp, take, {}}); status >= 0) return status;
  if (o.PtrText && o.Ptr.empty()) return ReportError(Tr("--ptr-text needs --ptr"));
  if (o.TtrText && o.Ttr.empty()) return ReportError(Tr("--ttr-text needs --ttr"));
  return CheckOutputsDiffer(o);
}
