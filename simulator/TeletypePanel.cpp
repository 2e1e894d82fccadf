#include "TeletypePanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>

#include "Console.h"
#include "DeviceTabs.h"
#include "DialogService.h"
#include "KeyQueue.h"
#include "MachineController.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "TextTyping.h"
#include "Translate.h"

namespace {
// A typed text is read whole; a bigger file is not a text for the keyboard.
constexpr std::streamoff MaxTypedFile = 4 << 20;

QString OnOffText(const char* what, bool on) { return QtText(what) + " " + (on ? QtText("On") : QtText("Off")); }
}  // namespace

TTeletypePanel::TTeletypePanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName("gbTTY");
  mmTTO = new TConsole(this);
  connect(mmTTO, &TConsole::PasteRequested, this, [this] { ConsolePaste(); });
  tswTTReader = new QCheckBox(this);
  tswTTReader->setObjectName("tswTTReader");
  tswTTPunch = new QCheckBox(this);
  tswTTPunch->setObjectName("tswTTPunch");
  cbUpcase = new QCheckBox(this);
  cbUpcase->setObjectName("cbUpcase");
  cbUpcase->setChecked(true);
  auto* tv = new QVBoxLayout(this);
  tv->setContentsMargins(4, 2, 4, 4);
  tv->addWidget(mmTTO, 1);
  auto* switches = new QHBoxLayout;
  switches->addWidget(tswTTReader);
  switches->addWidget(tswTTPunch);
  switches->addStretch();
  switches->addWidget(cbUpcase);
  tv->addLayout(switches);
  // The window puts these in its status line.
  lbTyping = new QLabel(this);
  lbTyping->setObjectName("lbTyping");
  lbTyping->hide();
  lbKeys = new QLabel(this);
  lbKeys->setObjectName("lbKeys");
  lbKeys->hide();
  connect(tswTTReader, &QCheckBox::clicked, this, [this](bool on) { TtyReaderSwitch(on); });
  connect(tswTTPunch, &QCheckBox::clicked, this, [this](bool on) { TtyPunchSwitch(on); });
}

TTeletypePanel::~TTeletypePanel() = default;

void TTeletypePanel::Attach(TMachineController& controller, const std::string& workPath) {
  FController = &controller;
  FWorkPath = &workPath;
  FTyping = std::make_unique<TTextTyping>(controller.Machine(), controller.Peripherals());
  FKeyQueue = std::make_unique<TKeyQueue>(controller.Machine(), controller.Peripherals());
  connect(&controller, &TMachineController::OnConsoleOutput, mmTTO, &TConsole::AddBytes);
  connect(&controller, &TMachineController::OnRegistersChanged, this, [this] {
    // A reset (the buttons, the panel, a dump load, the program's IORST) may have dropped keys
    // and turns the teletype reader off.
    ShowKeysWaiting();
    UpdateReaderSwitches();
  });
  connect(&controller, &TMachineController::OnPeripheralOptionsChanged, this, [this] {
    if (tswTTPunch->isChecked() == FController->Peripherals().TtyPunch) return;
    tswTTPunch->setChecked(FController->Peripherals().TtyPunch);
    ShowTeletypeSwitches();
  });
  qApp->installEventFilter(this);
}

void TTeletypePanel::RetranslateUi() {
  setTitle(QtText("Teletype"));
  mmTTO->setToolTip(QtText("Output from TTO"));
  ShowTeletypeSwitches();
  cbUpcase->setText(QtText("Convert TTI to upper case"));
}

// ---- typing

void TTeletypePanel::TypeTextFileClick() {
  TFileDialogArgs args;
  args.Title = QtText("Type text file");
  args.Filter = TextFileFilter(FController->Peripherals().TextFiles) + QtText("all") + "|*.*";
  args.Folder = ToQString(FWorkPath ? *FWorkPath : std::string());
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, window()) || files.isEmpty()) return;
  const std::string name = files.front().toStdString();
  std::ifstream in(name, std::ios::binary);
  std::string text;
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0);
    if (size >= 0 && size <= MaxTypedFile) text.assign(std::istreambuf_iterator<char>(in), {});
    if (size > MaxTypedFile || in.bad()) in.setstate(std::ios::failbit);
  }
  if (!in) {
    emit ErrorReported(QtText("Error opening file:") + "\r\n" + files.front());
    return;
  }
  StartTyping(text);
}

void TTeletypePanel::ConsolePaste() {
  // The teletype has 7-bit keys: characters beyond them are left out.
  std::string text;
  for (const QChar c : QGuiApplication::clipboard()->text())
    if (c.unicode() < 0x80) text.push_back(char(c.unicode()));
  StartTyping(text);
}

void TTeletypePanel::StartTyping(std::string_view text) {
  FTyping->Start(text);
  TypingPump();
  if (!FTyping->Active()) lbTyping->hide();
}

void TTeletypePanel::EndTyping() {
  FTyping->Cancel();
  lbTyping->hide();
}

void TTeletypePanel::TypingPump() {
  if (!FTyping->Active()) return;
  FTyping->Pump(cbUpcase->isChecked());
  if (!FTyping->Active()) {
    lbTyping->hide();
    return;
  }
  lbTyping->setText(QSafeFormat(QtText("Typing: %s of %s characters"), QString::number(FTyping->Typed()),
                                QString::number(FTyping->Total())));
  lbTyping->show();
}

void TTeletypePanel::TypeKey(int code) {
  if (!FKeyQueue->Type(code, cbUpcase->isChecked())) WarningBeep();  // the queue is full
  ShowKeysWaiting();
}

void TTeletypePanel::KeyQueuePump() {
  FKeyQueue->Pump();
  ShowKeysWaiting();
}

void TTeletypePanel::ShowKeysWaiting() {
  const std::size_t n = FKeyQueue->Waiting();
  if (n == FKeysShown && lbKeys->isVisible() == (n > 0)) return;
  FKeysShown = n;
  lbKeys->setText(QSafeFormat(QtText("Keys waiting: %s"), QString::number(n)));
  lbKeys->setVisible(n > 0);
}

int TTeletypePanel::KeyToTeletype(int key, Qt::KeyboardModifiers mods, const QString& text) {
  if (mods & (Qt::AltModifier | Qt::MetaModifier)) return -1;
  if (mods & Qt::ControlModifier) {
    // Ctrl+letter is its control code, whatever text the platform gives with it.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    return -1;
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 015;
    case Qt::Key_Backspace: return 8;  // the core types it as rubout
    case Qt::Key_Escape: return 033;
    case Qt::Key_Tab: return 011;
    default: break;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    // Letters from the key and the shift state.
    const bool upper = (mods & Qt::ShiftModifier) || (text.size() == 1 && text[0].isUpper());
    return upper ? key : key - Qt::Key_A + 'a';
  }
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7f) return text[0].unicode();
  return -1;
}

bool TTeletypePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && FController) {
    if (auto* w = qobject_cast<QWidget*>(watched)) return KeyPressed(w, static_cast<QKeyEvent*>(event));
  }
  return QGroupBox::eventFilter(watched, event);
}

bool TTeletypePanel::KeyPressed(QWidget* w, QKeyEvent* k) {
  // A key that the focus widget ignores travels on to its parents: take it at its first stop.
  QWidget* win = window();
  QWidget* focus = win->focusWidget();
  const bool first = focus ? w == focus : w == win;
  if (!first || w->window() != win || QApplication::activeModalWidget()) return false;
  // Esc in the console ends a typing under way (and is not typed).
  if (k->key() == Qt::Key_Escape && w == mmTTO && FTyping->Active()) {
    EndTyping();
    return true;
  }
  // Stopped, Ctrl+Z is the window's Undo, also while there is nothing to undo.
  if (k->matches(QKeySequence::Undo) && !FController->Machine().Running()) return false;
  const int code = KeyToTeletype(k->key(), k->modifiers(), k->text());
  if (code < 0) return false;
  TypeKey(code);
  // While the machine runs the keys belong to the teletype; stopped, the controls get them as
  // well (except an editable field, where typing edits the field only).
  return FController->Machine().Running() || w == mmTTO;
}

// ---- the switches

void TTeletypePanel::TtyReaderSwitch(bool on) {
  if (on) emit DeviceShown(pdTtr);
  const bool now = FController->Peripherals().SetTeletypeReader(on);
  tswTTReader->setChecked(now);
  ShowTeletypeSwitches();
}

void TTeletypePanel::TtyPunchSwitch(bool on) {
  if (on) emit DeviceShown(pdTtp);
  FController->Peripherals().SetTtyPunch(on);
  ShowTeletypeSwitches();
}

void TTeletypePanel::UpdateReaderSwitches() {
  const bool on = FController->Machine().Tti.ReaderOn();
  if (tswTTReader->isChecked() != on) {
    tswTTReader->setChecked(on);
    ShowTeletypeSwitches();
  }
}

void TTeletypePanel::ShowTeletypeSwitches() {
  tswTTReader->setText(OnOffText(N_("Reader:"), tswTTReader->isChecked()));
  tswTTPunch->setText(OnOffText(N_("Punch:"), tswTTPunch->isChecked()));
}
