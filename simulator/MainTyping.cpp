// Typing a text file or the clipboard on the teletype keyboard: one key each time the program
// waits for one (the typist of corvane-cli), with the progress in the status line. Stop, Reset and
// Esc in the console end it. And the keys a person types, kept in order until the program takes
// them (TKeyQueue), with their number in the status line.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <fstream>
#include <iterator>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "KeyQueue.h"
#include "TextTyping.h"

namespace {
// A typed text is read whole; a bigger file is not a text for the keyboard.
constexpr std::streamoff MaxTypedFile = 4 << 20;
}  // namespace

void TMainForm::TypeTextFileClick() {
  TFileDialogArgs args;
  args.Title = QtText("Type text file");
  args.Filter = TextFileFilter(TextFiles()) + QtText("all") + "|*.*";
  args.Folder = ToQString(WorkPath);
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, this) || files.isEmpty()) return;
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
    ErrorBox(QtText("Error opening file:") + "\r\n" + files.front());
    return;
  }
  StartTyping(text);
}

void TMainForm::ConsolePaste() {
  // The teletype has 7-bit keys: characters beyond them are left out.
  std::string text;
  for (const QChar c : QGuiApplication::clipboard()->text())
    if (c.unicode() < 0x80) text.push_back(char(c.unicode()));
  StartTyping(text);
}

void TMainForm::StartTyping(std::string_view text) {
  FTyping->Start(text);
  TypingPump();
  if (!FTyping->Active()) lbTyping->hide();
}

void TMainForm::EndTyping() {
  FTyping->Cancel();
  lbTyping->hide();
}

void TMainForm::TypingPump() {
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

void TMainForm::TypeKey(int code) {
  if (!FKeyQueue->Type(code, cbUpcase->isChecked())) WarningBeep();  // the queue is full
  ShowKeysWaiting();
}

void TMainForm::KeyQueuePump() {
  FKeyQueue->Pump();
  ShowKeysWaiting();
}

void TMainForm::ShowKeysWaiting() {
  const std::size_t n = FKeyQueue->Waiting();
  if (n == FKeysShown && lbKeys->isVisible() == (n > 0)) return;
  FKeysShown = n;
  lbKeys->setText(QSafeFormat(QtText("Keys waiting: %s"), QString::number(n)));
  lbKeys->setVisible(n > 0);
}
