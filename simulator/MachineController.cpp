#include "MachineController.h"

#include <QCoreApplication>

#include "NovaUtils.h"
#include "QtText.h"

TMachineController::TMachineController(QObject* parent)
    : QObject(parent), FMachine(std::make_unique<TNovaMachine>()), FPeripherals(std::make_unique<TPeripherals>(*FMachine)) {
  FConsole.reserve(4096);
  FConsoleFlush.setSingleShot(true);
  FConsoleFlush.setInterval(0);
  connect(&FConsoleFlush, &QTimer::timeout, this, [this] { FlushConsole(); });
  FClock.setObjectName("tmRtc");
  FClock.setInterval(20);
  connect(&FClock, &QTimer::timeout, this, [this] { FireClock(); });
  FSpeedTimer.setObjectName("tmSpeed");
  FSpeedTimer.setInterval(SpeedInterval);
  connect(&FSpeedTimer, &QTimer::timeout, this, [this] {
    SampleSpeed(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
                    .count());
  });
  FLookup = [this](std::string_view name, int& value) {
    const TSymbol* s = FSymbols.Find(name);
    if (s) value = s->Value;
    return s != nullptr;
  };
  FMachine->SetHost(this);
  FPeripherals->SetHost(this);
  FMachine->Rtc.SetTimer(this);
}

TMachineController::~TMachineController() {
  FMachine->Rtc.SetTimer(nullptr);
  FPeripherals->SetHost(nullptr);
  FMachine->SetHost(nullptr);
}

void TMachineController::PrinterLine(const std::string& line) {
  if (FPrinter.size() >= MaxPendingLines) FPrinter.removeFirst();
  FPrinter.append(QString::fromLatin1(line.data(), qsizetype(line.size())));
  if (!FConsoleFlush.isActive()) FConsoleFlush.start();
}

void TMachineController::PrinterClear() {
  FPrinter.clear();
  FPrinterCleared = true;
  if (!FConsoleFlush.isActive()) FConsoleFlush.start();
}

void TMachineController::FlushConsole() {
  FConsoleFlush.stop();
  FLastFlush = std::chrono::steady_clock::now();
  if (!FPrinter.isEmpty() || FPrinterCleared) {
    const QStringList lines = std::move(FPrinter);
    const bool cleared = FPrinterCleared;
    FPrinter.clear();
    FPrinterCleared = false;
    emit OnPrinterLines(lines, cleared);
  }
  if (FConsole.empty()) return;
  const QByteArray bytes(FConsole.data(), qsizetype(FConsole.size()));
  FConsole.clear();
  emit OnConsoleOutput(bytes);
}

void TMachineController::FireClock() { FMachine->Rtc.TimeElapsed(); }

void TMachineController::PumpEvents() {
  if (SliceEnded) SliceEnded();
  if (std::chrono::steady_clock::now() - FLastFlush >= OutputInterval) FlushConsole();
  FPeripherals->FlushOutputsWhenDue();
  if (ProcessEvents)
    ProcessEvents();
  else
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TMachineController::SelectFile(TPeriphDevice dev) {
  // A dialog shows the console as it is now.
  FlushConsole();
  return FileSelector ? FileSelector(dev) : false;
}

void TMachineController::TeletypeOut(std::uint8_t b) {
  if (FConsole.size() >= MaxPendingBytes) FConsole.erase(0, MaxPendingBytes / 2);
  FConsole.push_back(char(b));
  // Outside a run the event loop flushes right after the step; during a run the pump does.
  if (!FConsoleFlush.isActive()) FConsoleFlush.start();
}

void TMachineController::SetEnabled(bool on) {
  if (on)
    FClock.start();
  else
    FClock.stop();
}

void TMachineController::RunningChanged(bool on) {
  FSpeedBase = TSpeedSample{};
  if (on) {
    FSpeedTimer.start();
    SampleSpeed(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
                    .count());
  } else {
    FSpeedTimer.stop();
  }
  emit OnRunningChanged(on);
}

void TMachineController::SampleSpeed(std::int64_t NowNs) {
  const TSpeedSample now{NowNs, FMachine->ExecutedCount(), FMachine->SimTimeNs()};
  const TSpeedSample base = FSpeedBase;
  FSpeedBase = now;
  if (base.Wall < 0 || now.Wall <= base.Wall) return;
  const double seconds = double(now.Wall - base.Wall) / 1e9;
  const double ips = double(now.Executed - base.Executed) / seconds;
  const double ratio = FMachine->Timed() ? double(now.Sim - base.Sim) / 1e9 / seconds : -1.0;
  emit OnSpeedMeasured(ips, ratio);
}

void TMachineController::SetSymbols(TSymbolTable symbols) {
  FSymbols = std::move(symbols);
  emit OnSymbolsChanged();
}

void TMachineController::ClearSymbols() {
  if (FSymbols.Empty()) return;
  FSymbols.Clear();
  emit OnSymbolsChanged();
}

void TMachineController::SetLabelsShown(bool on) {
  if (on == FLabelsShown) return;
  FLabelsShown = on;
  emit OnSymbolsChanged();
}

QString TMachineController::LabelOf(int addr) const {
  const TSymbolTable* symbols = ShownSymbols();
  const TSymbol* s = symbols && addr >= 0 ? symbols->NameOf(std::uint16_t(addr)) : nullptr;
  return s && s->Kind == skLabel ? QString::fromStdString(s->Name) : QString();
}

QString TMachineController::CommandText(int addr, std::uint16_t word, TNumMode mode) const {
  const TSymbolTable* symbols = ShownSymbols();
  const QString command = ToQString(CommandToStr(addr, word, mode, true, symbols));
  if (!symbols) return command;
  const QString label = LabelOf(addr);
  // The label field is as wide as a name of 5 characters with its colon and a blank.
  return (label.isEmpty() ? QString() : label + ':').leftJustified(7) + ' ' + command;
}

bool TMachineController::AddressFromText(const QString& text, TNumMode mode, int& addr, QString& error) const {
  const TAddressText result = ::AddressFromText(text.toStdString(), mode, FSymbols.Empty() ? nullptr : &FSymbols, addr);
  if (result == atOk) return true;
  if (result == atInvalid && !FSymbols.Empty())
    error = QSafeFormat(QtText("%s is neither an address nor a label"), text.trimmed());
  else
    error = QSafeFormat(QtText("%s is not an address from 0 to %s"), text.trimmed(), ToQString(FormatWord(077777, mode)));
  return false;
}
