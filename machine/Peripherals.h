// The files attached to the readers, punches and printer, and the byte handlers that connect them
// to the devices. The program around it implements TPeripheralHost (dialogs, console, fields).
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "InputStream.h"
#include "MachineError.h"
#include "NovaMachine.h"
#include "ReplacingFile.h"

enum TPeriphDevice : int { pdTtr = 0, pdTtp, pdPtr, pdPtp, pdLpt };
constexpr int PeriphDeviceCount = 5;

class TPeripheralHost {
public:
  virtual ~TPeripheralHost() = default;
  // Whether the program asks the user for a file when a device needs one and has none. Then the
  // run or step ends with srFileNeeded after the instruction that met the device; the program
  // asks once the run has returned, attaches what was chosen, answers with
  // TPeripherals::AnswerFileRequest and goes on with ContinueRun. Otherwise the device goes
  // without a file at once.
  virtual bool AsksForFiles() const { return false; }
  // Asked for a file when a device needs one outside a run (a click that starts it, such as the
  // teletype reader switched on), or during a run by a host that does not ask through
  // AsksForFiles. Returns whether a file is attached now.
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
  // A file could not be opened or written (ekOpen, ekWrite); ErrorText words it.
  virtual void ReportFailure(const TMachineError& /*Error*/) {}
  // An option changed through its operation: a reader's text choice, the teletype punch switch,
  // the text file types, the printer's refused file.
  virtual void OptionsChanged() {}
};

// The text file types of a new installation: a reader takes a file with one of these
// extensions as text.
inline constexpr const char* DefaultTextFiles = "txt,lst,asm,bas";

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

  // ---- options: read them freely, change them through these (the host is told of a change)
  void SetTextChoice(TPeriphDevice Dev, bool Text);  // TtrText or PtrText
  void SetTtyPunch(bool On);
  void SetTextFiles(const std::string& Types);
  void SetLptDeclined(bool Declined);
  // Drops the printer line being collected and clears the printer text (PrinterClear).
  void ClearPrinter();

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
  std::string TextFiles = DefaultTextFiles;
  // A printer without its file stops the run (the command line, where its output would be
  // lost); otherwise it prints on without a file once the file was refused.
  bool LptNeedsFile = false;
  // The printer's file was refused: it prints without one, and nothing is asked until this is
  // cleared (a new run, a printer file).
  bool LptDeclined = false;

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
  // Where the reader's tape lies at the machine's moment: gone back in time, before the bytes
  // it gave after that moment (the file itself stays where it was read to until the run
  // differs from the history, PutReadersBack).
  struct TTapePlace {
    std::int64_t Position = 0;
    int TrailerCount = 0;
  };
  TTapePlace TapePlace(TPeriphDevice Dev) const;
  // Moves the readers' tapes to TapePlace (bound to the machine's OnDiverge).
  void PutReadersBack();
  // Tape after tape: the files wait (opened now) until the tape in the reader has run out; at
  // the device's next request the first of them is put in as OpenInput does, as an operator
  // feeds the next tape. False, with the error reported, when the file cannot be opened.
  bool QueueInput(TPeriphDevice Dev, const std::string& Name, std::optional<bool> Text = {});
  std::size_t QueuedInputs(TPeriphDevice Dev) const;
  void ClearQueue(TPeriphDevice Dev);
  // The "Reader:" switch; returns the reader's state afterwards (off when no file could be had).
  bool SetTeletypeReader(bool On);

  // ---- punches and printer: they write into the file chosen (TReplacingFile::wmAsWritten):
  // it is replaced when the first bytes are flushed, and from then on holds what has been
  // written at every flush, so a tape can be read back while it is punched.
  // Opens the output file. On failure "Error opening file:" is reported and nothing is attached.
  bool AttachOutput(TPeriphDevice Dev, const std::string& Name);
  // The same without the report: false with the system's reason in Error.
  bool OpenOutput(TPeriphDevice Dev, const std::string& Name, std::string& Error);
  // Writes the rest and closes the file (it takes the target's place now if nothing had been
  // flushed); false (and the error reported) when that failed.
  bool CloseOutput(TPeriphDevice Dev);
  TReplacingFile* OutputFile(TPeriphDevice Dev);
  void CloseAll();
  // Hands what the punches and the printer have written to their files. The hosts call it at
  // every stop and, during a run, FlushOutputsWhenDue at each event pump (so at least once a
  // second). A file that cannot be written is dropped, as after a failed write.
  void FlushOutputs();
  static constexpr std::chrono::milliseconds OutputFlushInterval{500};
  void FlushOutputsWhenDue();

  // ---- the byte handlers bound to the devices
  void TtoByteOut(TDevice& Sender, std::uint8_t AByte);
  void TtrByteRequest(TDevice& Sender);
  void PtpByteOut(TDevice& Sender, std::uint8_t AByte);
  void PtrByteRequest(TDevice& Sender);
  void LptByteOut(TDevice& Sender, std::uint8_t AByte);

  // The executed-instruction count at the last teletype output byte.
  std::uint64_t LastTtoOutputAt() const { return FLastTtoOutputAt; }

  // ---- a device that needs a file, for a host that asks for files
  bool FileRequested() const { return FRequest.Active; }
  TPeriphDevice RequestedDevice() const { return FRequest.Dev; }
  // Carries out what the device was doing when it needed the file: with the file attached now,
  // the reader reads its byte and the punch or printer writes its byte, and the stop for the
  // request no longer counts (a step is done); without one the device goes on as when nobody is
  // asked: the reader or punch stops the run (srDevice), the printer prints without a file.
  // Returns whether the run may go on.
  bool AnswerFileRequest();

private:
  friend struct TStateAccess;  // whole-machine states (MachineState.cpp)
  struct TFileRequest {
    bool Active = false;
    TPeriphDevice Dev = pdTtr;
    std::uint8_t Byte = 0;  // the byte of a punch or the printer
  };
  // A host that asks: the run stops with srFileNeeded and the request waits for the answer.
  bool Request(TPeriphDevice Dev, std::uint8_t Byte = 0);
  struct TQueuedTape {
    std::unique_ptr<TInputStream> File;
    bool Text;
  };
  bool AttachInput(TPeriphDevice Dev, std::unique_ptr<TInputStream> File, bool Text);
  bool FeedNextInput(TPeriphDevice Dev);
  void ReaderRequest(TPeriphDevice Dev, TInDevice& Device);
  // The next byte of the attached file to the device; false after a read error (the run stops).
  bool ReadInto(TPeriphDevice Dev, TInDevice& Device);
  void NoInput(TPeriphDevice Dev, TInDevice& Device);
  bool PunchByte(TPeriphDevice Dev, std::uint8_t AByte);
  bool PunchToFile(TPeriphDevice Dev, std::uint8_t AByte);
  void TeletypeByte(std::uint8_t AByte);
  bool PrintByte(std::uint8_t AByte);  // false after a write error (the run stops)
  void PrinterFileFailed();
  bool WriteOutput(TPeriphDevice Dev, std::uint8_t AByte);
  void OutputFailed(TPeriphDevice Dev, const std::string& Error);
  std::unique_ptr<TInputStream>& InputSlot(TPeriphDevice Dev);
  TInDevice& InputDevice(TPeriphDevice Dev);

  TNovaMachine& FMachine;
  TPeripheralHost FNoHost;
  TPeripheralHost* FHost;
  std::array<bool, PeriphDeviceCount> FOpenFailed{};
  std::array<std::deque<TQueuedTape>, 2> FQueues;  // TTY reader, PTR
  std::uint64_t FLastTtoOutputAt = 0;
  std::chrono::steady_clock::time_point FLastOutputFlush{};
  TFileRequest FRequest;
};

// The device's name in messages: "TTY reader", "TTY punch", "PTR", "PTP", "LPT".
std::string PeriphDeviceName(TPeriphDevice Dev);
