#include "Peripherals.h"

#include <algorithm>
#include <cctype>

#include "SafeFormat.h"
#include "Translate.h"


std::string PeriphDeviceName(TPeriphDevice Dev) {
  switch (Dev) {
    case pdTtr: return _("TTY reader");
    case pdTtp: return _("TTY punch");
    case pdPtr: return "PTR";
    case pdPtp: return "PTP";
    case pdLpt: return "LPT";
  }
  return "";
}

TConsoleAction ConsoleAction(std::uint8_t b) {
  if (b == 015) return caNewLine;
  if (b > 037) return caAppend;
  return caNone;
}

void ApplyConsoleByte(std::vector<std::string>& lines, std::uint8_t b) {
  switch (ConsoleAction(b)) {
    case caNewLine: lines.push_back(">"); break;
    case caAppend:
      if (lines.empty()) lines.emplace_back();
      lines.back() += char(b);
      break;
    case caNone: break;
  }
}

bool IsTextFile(const std::string& Name, const std::string& TextFiles) {
  const std::size_t dot = Name.rfind('.');
  std::string ext;
  if (dot != std::string::npos && Name.find('/', dot) == std::string::npos) ext = Name.substr(dot + 1);
  const auto lower = [](std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  ext = lower(ext);
  std::size_t from = 0;
  while (from <= TextFiles.size()) {
    std::size_t comma = TextFiles.find(',', from);
    if (comma == std::string::npos) comma = TextFiles.size();
    std::string entry = TextFiles.substr(from, comma - from);
    const std::size_t first = entry.find_first_not_of(" \t");
    const std::size_t last = entry.find_last_not_of(" \t");
    entry = first == std::string::npos ? std::string() : entry.substr(first, last - first + 1);
    if (!entry.empty() && lower(entry) == ext) return true;
    from = comma + 1;
  }
  return false;
}

TPeripherals::TPeripherals(TNovaMachine& Machine, TPeripheralHost* Host)
    : FMachine(Machine), FHost(Host ? Host : &FNoHost) {
  FMachine.Tto.OnByteOut = [this](TDevice& d, std::uint8_t b) { TtoByteOut(d, b); };
  FMachine.Tti.OnByteRequest = [this](TDevice& d) { TtrByteRequest(d); };
  FMachine.Ptp.OnByteOut = [this](TDevice& d, std::uint8_t b) { PtpByteOut(d, b); };
  FMachine.Ptr.OnByteRequest = [this](TDevice& d) { PtrByteRequest(d); };
  FMachine.Lpt.OnByteOut = [this](TDevice& d, std::uint8_t b) { LptByteOut(d, b); };
  FMachine.OnDiverge = [this] { PutReadersBack(); };
}

TPeripherals::~TPeripherals() {
  FMachine.Tto.OnByteOut = nullptr;
  FMachine.Tti.OnByteRequest = nullptr;
  FMachine.Ptp.OnByteOut = nullptr;
  FMachine.Ptr.OnByteRequest = nullptr;
  FMachine.Lpt.OnByteOut = nullptr;
  FMachine.OnDiverge = nullptr;
  FHost = &FNoHost;
  CloseAll();
}

// ---- readers

std::unique_ptr<TInputStream>& TPeripherals::InputSlot(TPeriphDevice Dev) {
  return Dev == pdTtr ? TtrFile : PtrFile;
}

TInDevice& TPeripherals::InputDevice(TPeriphDevice Dev) {
  return Dev == pdTtr ? static_cast<TInDevice&>(FMachine.Tti) : FMachine.Ptr;
}

TInputStream* TPeripherals::InputFile(TPeriphDevice Dev) const {
  return Dev == pdTtr ? TtrFile.get() : Dev == pdPtr ? PtrFile.get() : nullptr;
}

TPeripherals::TTapePlace TPeripherals::TapePlace(TPeriphDevice Dev) const {
  const TInputStream* f = InputFile(Dev);
  if (!f) return {};
  TTapePlace place{f->Position(), f->TrailerCount};
  // The trailer bytes came last: they are taken back first, then the bytes of the file.
  std::uint64_t back = FMachine.TapeRequestsAhead(Dev == pdTtr);
  const std::uint64_t trailer = std::min<std::uint64_t>(back, std::uint64_t(place.TrailerCount));
  place.TrailerCount -= int(trailer);
  back -= trailer;
  place.Position = std::max(f->Start(), place.Position - std::int64_t(std::min<std::uint64_t>(back, std::uint64_t(place.Position))));
  return place;
}

void TPeripherals::PutReadersBack() {
  for (TPeriphDevice dev : {pdTtr, pdPtr}) {
    TInputStream* f = InputFile(dev);
    if (!f) continue;
    const TTapePlace place = TapePlace(dev);
    if (place.Position == f->Position() && place.TrailerCount == f->TrailerCount) continue;
    f->MoveTo(place.Position, place.TrailerCount);
    FHost->PositionChanged(dev, f->Position(), InputDevice(dev).InputByte());
  }
}

bool TPeripherals::OpenInput(TPeriphDevice Dev, const std::string& Name, std::optional<bool> Text) {
  if (Dev != pdTtr && Dev != pdPtr) return false;
  InputSlot(Dev).reset();
  std::string error;
  std::unique_ptr<TInputStream> file = TInputStream::Open(Name, error);
  if (!file) {
    FHost->AttachmentChanged(Dev);
    FHost->ReportFailure(TMachineError{ekOpen, Name, error});
    return false;
  }
  return AttachInput(Dev, std::move(file), Text.value_or(IsTextFile(Name, TextFiles)));
}

bool TPeripherals::AttachInput(TPeriphDevice Dev, std::unique_ptr<TInputStream> File, bool Text) {
  (Dev == pdTtr ? TtrText : PtrText) = Text;
  // An operator puts a binary tape in after its label.
  File->SetStart(Text ? 0 : std::int64_t(File->Label.End));
  const std::int64_t start = File->Start();
  InputSlot(Dev) = std::move(File);
  FHost->AttachmentChanged(Dev);
  FHost->PositionChanged(Dev, start, 0);
  InputDevice(Dev).SetInputByte(0);
  return true;
}

bool TPeripherals::QueueInput(TPeriphDevice Dev, const std::string& Name, std::optional<bool> Text) {
  if (Dev != pdTtr && Dev != pdPtr) return false;
  std::string error;
  std::unique_ptr<TInputStream> file = TInputStream::Open(Name, error);
  if (!file) {
    FHost->ReportFailure(TMachineError{ekOpen, Name, error});
    return false;
  }
  FQueues[Dev == pdTtr ? 0 : 1].push_back({std::move(file), Text.value_or(IsTextFile(Name, TextFiles))});
  return true;
}

std::size_t TPeripherals::QueuedInputs(TPeriphDevice Dev) const {
  return Dev == pdTtr || Dev == pdPtr ? FQueues[Dev == pdTtr ? 0 : 1].size() : 0;
}

void TPeripherals::ClearQueue(TPeriphDevice Dev) {
  if (Dev == pdTtr || Dev == pdPtr) FQueues[Dev == pdTtr ? 0 : 1].clear();
}

bool TPeripherals::FeedNextInput(TPeriphDevice Dev) {
  std::deque<TQueuedTape>& queue = FQueues[Dev == pdTtr ? 0 : 1];
  if (queue.empty()) return false;
  TQueuedTape next = std::move(queue.front());
  queue.pop_front();
  return AttachInput(Dev, std::move(next.File), next.Text);
}

void TPeripherals::DetachInput(TPeriphDevice Dev) {
  if (Dev != pdTtr && Dev != pdPtr) return;
  InputSlot(Dev).reset();
  FHost->AttachmentChanged(Dev);
}

void TPeripherals::RunOutInput(TPeriphDevice Dev) {
  if (TInputStream* f = InputFile(Dev)) f->TrailerCount = TInputStream::RunOutCount;
}

void TPeripherals::ResetInput(TPeriphDevice Dev) {
  TInputStream* f = InputFile(Dev);
  if (!f) return;
  f->SetStart((Dev == pdTtr ? TtrText : PtrText) ? 0 : std::int64_t(f->Label.End));
  FHost->PositionChanged(Dev, f->Start(), 0);
  InputDevice(Dev).SetInputByte(0);
}

void TPeripherals::SetTextChoice(TPeriphDevice Dev, bool Text) {
  if (Dev != pdTtr && Dev != pdPtr) return;
  bool& choice = Dev == pdTtr ? TtrText : PtrText;
  if (choice == Text) return;
  choice = Text;
  FHost->OptionsChanged();
}

void TPeripherals::SetTtyPunch(bool On) {
  if (TtyPunch == On) return;
  TtyPunch = On;
  FHost->OptionsChanged();
}

void TPeripherals::SetTextFiles(const std::string& Types) {
  if (TextFiles == Types) return;
  TextFiles = Types;
  FHost->OptionsChanged();
}

void TPeripherals::SetLptDeclined(bool Declined) {
  if (LptDeclined == Declined) return;
  LptDeclined = Declined;
  FHost->OptionsChanged();
}

void TPeripherals::ClearPrinter() {
  LptLine.clear();
  FHost->PrinterClear();
}

bool TPeripherals::SetTeletypeReader(bool On) {
  FMachine.Tti.SetReaderOn(On);
  return FMachine.Tti.ReaderOn();
}

bool TPeripherals::Request(TPeriphDevice Dev, std::uint8_t Byte) {
  if (!FHost->AsksForFiles() || !FMachine.Executing()) return false;
  FRequest = TFileRequest{true, Dev, Byte};
  FMachine.Stop(srFileNeeded, SafeFormat(_("%s needs a file"), PeriphDeviceName(Dev)));
  return true;
}

bool TPeripherals::AnswerFileRequest() {
  if (!FRequest.Active) return true;
  const TFileRequest r = FRequest;
  FRequest = TFileRequest{};
  bool goOn = true;
  switch (r.Dev) {
    case pdTtr:
    case pdPtr:
      if (InputSlot(r.Dev)) {
        goOn = ReadInto(r.Dev, InputDevice(r.Dev));
      } else {
        NoInput(r.Dev, InputDevice(r.Dev));
        goOn = false;
      }
      break;
    case pdTtp:
    case pdPtp:
      goOn = PunchToFile(r.Dev, r.Byte);
      if (goOn && r.Dev == pdTtp) TeletypeByte(r.Byte);
      break;
    case pdLpt:
      if (!LptFile.IsOpen() && FOpenFailed[pdLpt]) {
        PrinterFileFailed();
        goOn = false;
      } else {
        if (!LptFile.IsOpen()) LptDeclined = true;
        goOn = PrintByte(r.Byte);
      }
      break;
  }
  if (goOn) FMachine.Stop(srNone);  // the request is answered: nothing stopped the machine
  return goOn;
}

void TPeripherals::NoInput(TPeriphDevice Dev, TInDevice& Device) {
  FMachine.Stop(srDevice, SafeFormat(_("%s: no input file attached"), PeriphDeviceName(Dev)));
  Device.Reset();
}

void TPeripherals::ReaderRequest(TPeriphDevice Dev, TInDevice& Device) {
  std::unique_ptr<TInputStream>& slot = InputSlot(Dev);
  if (!slot) {
    if (Request(Dev)) return;  // the byte comes with the answer
    FHost->SelectFile(Dev);
    if (!slot) {
      NoInput(Dev, Device);
      return;
    }
  }
  ReadInto(Dev, Device);
}

bool TPeripherals::ReadInto(TPeriphDevice Dev, TInDevice& Device) {
  TInputStream& file = *InputSlot(Dev);
  if (file.RunOut()) {  // the tape has run out: nothing more, unless the next one waits
    FeedNextInput(Dev);
    return true;
  }
  std::string error;
  const int c = file.ReadByte(error);
  if (c == TInputStream::rdError) {
    FMachine.Stop(srDevice, ErrorText(TMachineError{ekRead, file.FName, error}, elLine));
    return false;
  }
  const bool atEnd = c == TInputStream::rdEnd;
  int byte = c;
  if (atEnd) {
    byte = (file.TrailerCount == 0 && (Dev == pdTtr ? TtrText : PtrText)) ? 014 : 0;
    ++file.TrailerCount;
  }
  const bool deliver = !file.RunOut();
  if (atEnd || file.Position() % 10 == 0) FHost->PositionChanged(Dev, file.Position(), deliver ? byte : -1);
  if (deliver)
    Device.SetInputByte(std::uint8_t(byte));
  else
    FeedNextInput(Dev);
  return true;
}

void TPeripherals::TtrByteRequest(TDevice& Sender) { ReaderRequest(pdTtr, static_cast<TInDevice&>(Sender)); }

void TPeripherals::PtrByteRequest(TDevice& Sender) { ReaderRequest(pdPtr, static_cast<TInDevice&>(Sender)); }

// ---- punches and printer

TReplacingFile* TPeripherals::OutputFile(TPeriphDevice Dev) {
  switch (Dev) {
    case pdTtp: return &TtpFile;
    case pdPtp: return &PtpFile;
    case pdLpt: return &LptFile;
    default: return nullptr;
  }
}

bool TPeripherals::OpenOutput(TPeriphDevice Dev, const std::string& Name, std::string& Error) {
  TReplacingFile* file = OutputFile(Dev);
  if (!file) return false;
  if (file->IsOpen()) CloseOutput(Dev);
  const bool ok = file->Open(Name, Error, TReplacingFile::wmAsWritten);
  FOpenFailed[Dev] = !ok;
  FHost->AttachmentChanged(Dev);
  if (!ok) return false;
  if (Dev == pdLpt) LptDeclined = false;
  FHost->PositionChanged(Dev, 0, 0);
  return true;
}

bool TPeripherals::AttachOutput(TPeriphDevice Dev, const std::string& Name) {
  if (!OutputFile(Dev)) return false;
  std::string error;
  if (OpenOutput(Dev, Name, error)) return true;
  FHost->ReportFailure(TMachineError{ekOpen, Name, error});
  return false;
}

void TPeripherals::FlushOutputs() {
  FLastOutputFlush = std::chrono::steady_clock::now();
  for (TPeriphDevice dev : {pdTtp, pdPtp, pdLpt}) {
    TReplacingFile& file = *OutputFile(dev);
    std::string error;
    if (file.IsOpen() && !file.Flush(error)) OutputFailed(dev, error);
  }
}

void TPeripherals::FlushOutputsWhenDue() {
  if (std::chrono::steady_clock::now() - FLastOutputFlush >= OutputFlushInterval) FlushOutputs();
}

bool TPeripherals::CloseOutput(TPeriphDevice Dev) {
  TReplacingFile* file = OutputFile(Dev);
  if (!file || !file->IsOpen()) return true;
  const std::string name = file->Name();
  std::string error;
  const bool ok = file->Commit(error);
  FHost->AttachmentChanged(Dev);
  if (!ok) FHost->ReportFailure(TMachineError{ekWrite, name, error});
  return ok;
}

void TPeripherals::CloseAll() {
  TtrFile.reset();
  PtrFile.reset();
  for (auto& queue : FQueues) queue.clear();
  CloseOutput(pdTtp);
  CloseOutput(pdPtp);
  CloseOutput(pdLpt);
}

// Writes to an attached output file; a write error drops the file and stops the run.
bool TPeripherals::WriteOutput(TPeriphDevice Dev, std::uint8_t AByte) {
  TReplacingFile& file = *OutputFile(Dev);
  std::string error;
  if (file.WriteByte(AByte, error)) return true;
  OutputFailed(Dev, error);
  return false;
}

// The file is closed as it is (what was flushed stays) and the run stops; outside a run the
// error is reported.
void TPeripherals::OutputFailed(TPeriphDevice Dev, const std::string& Error) {
  TReplacingFile& file = *OutputFile(Dev);
  const TMachineError failure{ekWrite, file.Name(), Error};
  file.Discard();
  FHost->AttachmentChanged(Dev);
  if (FMachine.Executing())
    FMachine.Stop(srDevice, ErrorText(failure, elLine));
  else
    FHost->ReportFailure(failure);
}

// The punch part of TTO and PTP output: a file is asked for when none is attached.
bool TPeripherals::PunchByte(TPeriphDevice Dev, std::uint8_t AByte) {
  if (!OutputFile(Dev)->IsOpen()) {
    if (Request(Dev, AByte)) return false;  // the byte is punched with the answer
    FHost->SelectFile(Dev);
  }
  return PunchToFile(Dev, AByte);
}

bool TPeripherals::PunchToFile(TPeriphDevice Dev, std::uint8_t AByte) {
  TReplacingFile& file = *OutputFile(Dev);
  if (!file.IsOpen()) {
    FMachine.Stop(srDevice, SafeFormat(_("%s: no output file attached"), PeriphDeviceName(Dev)));
    return false;
  }
  if (!WriteOutput(Dev, AByte)) return false;
  if (file.Position() % 10 == 0 || AByte == 014) FHost->PositionChanged(Dev, file.Position(), AByte);
  return true;
}

void TPeripherals::TeletypeByte(std::uint8_t AByte) {
  FLastTtoOutputAt = FMachine.ExecutedCount();
  FHost->TeletypeOut(AByte);
}

void TPeripherals::TtoByteOut(TDevice&, std::uint8_t AByte) {
  AByte &= 0177;
  if (TtyPunch && !PunchByte(pdTtp, AByte)) return;
  TeletypeByte(AByte);
}

void TPeripherals::PtpByteOut(TDevice&, std::uint8_t AByte) { PunchByte(pdPtp, AByte); }

void TPeripherals::PrinterFileFailed() {
  ClearPrinter();
  FMachine.Stop(srDevice, SafeFormat(_("%s: the output file could not be created"), "LPT"));
}

void TPeripherals::LptByteOut(TDevice&, std::uint8_t AByte) {
  if (!LptFile.IsOpen()) {
    if (LptNeedsFile) {
      FMachine.Stop(srDevice, SafeFormat(_("%s: no output file attached"), "LPT"));
      return;
    }
    if (!LptDeclined) {
      FOpenFailed[pdLpt] = false;
      if (Request(pdLpt, AByte)) return;  // the byte is printed with the answer
      FHost->SelectFile(pdLpt);
      if (!LptFile.IsOpen() && FOpenFailed[pdLpt]) {
        PrinterFileFailed();
        return;
      }
    }
  }
  PrintByte(AByte);
}

bool TPeripherals::PrintByte(std::uint8_t AByte) {
  if (LptFile.IsOpen() && !WriteOutput(pdLpt, AByte)) return false;
  if (AByte > 037) {
    LptLine += char(AByte);
  } else if (AByte == 015) {
    FHost->PrinterLine(LptLine);
    LptLine.clear();
  }
  return true;
}
