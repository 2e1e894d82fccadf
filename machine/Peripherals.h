// The files attached to the readers, punches and printer, and the byte handlers that connect them
// to the devices. The program around it implements TPeripheralHost (dialogs, console, fields).
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "InputStream.h"
#include "NovaMachine.h"
#include "ReplacingFile.h"

enum TPeriphDevice : int { pdTtr = 0, pdTtp, pdPtr, pdPtp, pdLpt };
constexpr int PeriphDeviceCount = 5;

class TPeripheralHost {
public:
  virtual ~TPeripheralHost() = default;
  // A device needs a file and has none: ask the user for one (and attach it with the open or
  // attach operation). Returns whether a file is attached now.
  virtual bool SelectFile(TPeriphDevice /*dev*/) { return false; }
  // A teletype output byte, already reduced to 7 bits (see ConsoleAction for the console rule).
  virtual void TeletypeOut(std::uint8_t /*b*/) {}
  // A finished printer line (the carriage return came), and the printer text cleared.
  virtual void PrinterLine(const std::string& /*line*/) {}
  virtual void PrinterClear() {}
  // "Position:" and "Byte:" of a reader or punch (byte -1: a reader whose tape has run out).
  virtual void PositionChanged(TPeriphDevice /*dev*/, std::int64_t /*pos*/, int /*byte*/) {}
  // A file was attached or detached by the handlers (after a write error, for example).
  virtual void AttachmentChanged(TPeriphDevice /*dev*/) {}
  // "Error opening file:" and the like; the text is complete and translated.
  virtual void ReportError(const std::string& /*text*/) {}
};

// What the console does with a teletype output byte: a carriage return starts a new line that
// begins with ">", a byte above 037 octal is appended to the last line, others are not shown.
enum TConsoleAction { caNone, caNewLine, caAppend };
TConsoleAction ConsoleAction(std::uint8_t b);
// The rule applied to console lines (which start as one empty line).
void ApplyConsoleByte(std::vector<std::string>& lines, std::uint8_t b);

// Whether the file name's extension is one of the comma-separated TextFiles (case ignored).
bool IsTextFile(const std::string& Name, const std::string& TextFiles);

class TPeripherals {
public:
  // Binds the handlers to the machine's devices; the destructor unbinds them and closes the files.
  explicit TPeripherals(TNovaMachine& Machine, TPeripheralHost* Host = nullptr);
  ~TPeripherals();
  TPeripherals(const TPeripherals&) = delete;
  TPeripherals& operator=(const TPeripherals&) = delete;

  void SetHost(TPeripheralHost* Host) { FHost = Host ? Host : &FNoHost; }

  // ---- attached files (empty: none)
  std::unique_ptr<TInputStream> TtrFile;
  std::unique_ptr<TInputStream> PtrFile;
  TReplacingFile TtpFile;
  TReplacingFile PtpFile;
  TReplacingFile LptFile;
  std::string LptLine;  // the printer line being collected
  bool TtrText = false;  // the readers' "Text file" choice: a form feed starts the trailer
  bool PtrText = false;
  bool TtyPunch = false;  // the teletype "Punch:" switch
  std::string TextFiles = "txt,lst,asm,bas";

  // ---- readers
  bool OpenTtrFile(const std::string& Name) { return OpenInput(pdTtr, Name); }
  bool OpenPtrFile(const std::string& Name) { return OpenInput(pdPtr, Name); }
  // Attaches a reader file (trailer count 0), sets its text choice (by the name unless given),
  // puts a binary tape in after its punched label, delivers byte 0 to the device. On failure
  // nothing stays attached and "Error opening file:" is reported.
  bool OpenInput(TPeriphDevice Dev, const std::string& Name, std::optional<bool> Text = {});
  void DetachInput(TPeriphDevice Dev);  // closes the file
  void RunOutInput(TPeriphDevice Dev);  // the "Close" button: the tape has run out
  // Rewinds to where the tape was put in (after the label of a binary tape, by the text choice
  // now), trailer count 0, delivers byte 0.
  void ResetInput(TPeriphDevice Dev);
  TInputStream* InputFile(TPeriphDevice Dev) const;
  // Tape after tape: the files wait (opened now) until the tape in the reader has run out; at
  // the device's next request the first of them is put in as OpenInput does, as an operator
  // feeds the next tape. False, with the error reported, when the file cannot be opened.
  bool QueueInput(TPeriphDevice Dev, const std::string& Name, std::optional<bool> Text = {});
  std::size_t QueuedInputs(TPeriphDevice Dev) const;
  void ClearQueue(TPeriphDevice Dev);
  // The "Reader:" switch; returns the reader's state afterwards (off when no file could be had).
  bool SetTeletypeReader(bool On);

  // ---- punches and printer
  // Creates the output file (the target is replaced only when the file is closed). On failure
  // "Error opening file:" is reported and nothing is attached.
  bool AttachOutput(TPeriphDevice Dev, const std::string& Name);
  // The same without the report: false with the system's reason in Error.
  bool OpenOutput(TPeriphDevice Dev, const std::string& Name, std::string& Error);
  // Closes the file and puts it in place; false (and the error reported) when that failed, in
  // which case the previous file is kept.
  bool CloseOutput(TPeriphDevice Dev);
  TReplacingFile* OutputFile(TPeriphDevice Dev);
  void CloseAll();

  // ---- the byte handlers bound to the devices
  void TtoByteOut(TDevice& Sender, std::uint8_t AByte);
  void TtrByteRequest(TDevice& Sender);
  void PtpByteOut(TDevice& Sender, std::uint8_t AByte);
  void PtrByteRequest(TDevice& Sender);
  void LptByteOut(TDevice& Sender, std::uint8_t AByte);

  // The executed-instruction count at the last teletype output byte.
  std::uint64_t LastTtoOutputAt() const { return FLastTtoOutputAt; }

private:
  struct TQueuedTape {
    std::unique_ptr<TInputStream> File;
    bool Text;
  };
  bool AttachInput(TPeriphDevice Dev, std::unique_ptr<TInputStream> File, bool Text);
  bool FeedNextInput(TPeriphDevice Dev);
  void ReaderRequest(TPeriphDevice Dev, TInDevice& Device);
  bool PunchByte(TPeriphDevice Dev, std::uint8_t AByte);
  bool WriteOutput(TPeriphDevice Dev, std::uint8_t AByte);
  std::unique_ptr<TInputStream>& InputSlot(TPeriphDevice Dev);
  TInDevice& InputDevice(TPeriphDevice Dev);

  TNovaMachine& FMachine;
  TPeripheralHost FNoHost;
  TPeripheralHost* FHost;
  std::array<bool, PeriphDeviceCount> FOpenFailed{};
  std::array<std::deque<TQueuedTape>, 2> FQueues;  // TTY reader, PTR
  std::uint64_t FLastTtoOutputAt = 0;
};

// The device's name in messages: "TTY reader", "TTY punch", "PTR", "PTP", "LPT".
std::string PeriphDeviceName(TPeriphDevice Dev);
