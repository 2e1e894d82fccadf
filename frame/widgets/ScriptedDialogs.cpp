#include "ScriptedDialogs.h"

#include <algorithm>

#include "HistoryCombo.h"
#include "InpText.h"
#include "ShellDirDlg.h"

TScriptedDialogs::TScriptedDialogs() : FPrevious(SetDialogService(this)) {}

TScriptedDialogs::~TScriptedDialogs() { SetDialogService(FPrevious); }

void TScriptedDialogs::Answer(TDialogKind kind, TDialogAnswer answer) { FAnswers[kind].push_back(std::move(answer)); }
void TScriptedDialogs::AnswerConfirm(bool yes) { Answer(dkConfirm, TDialogAnswer{yes, 0, {}, {}}); }
void TScriptedDialogs::AnswerInput(const QString& text) { Answer(dkInputString, TDialogAnswer{true, 0, text, {}}); }
void TScriptedDialogs::CancelInput() { Cancel(dkInputString); }
void TScriptedDialogs::AnswerInputText(const QString& text) { Answer(dkInputText, TDialogAnswer{true, 0, text, {}}); }
void TScriptedDialogs::AnswerChoice(int index) { Answer(dkSelectChoice, TDialogAnswer{index >= 0, index, {}, {}}); }
void TScriptedDialogs::AnswerDirectory(const QString& dir) { Answer(dkDirectory, TDialogAnswer{true, 0, dir, {}}); }
void TScriptedDialogs::AnswerOpen(const QStringList& files) { Answer(dkOpenFiles, TDialogAnswer{true, 0, {}, files}); }
void TScriptedDialogs::AnswerSave(const QString& file) { Answer(dkSaveFile, TDialogAnswer{true, 0, file, {}}); }
void TScriptedDialogs::Cancel(TDialogKind kind) {
  Answer(kind, TDialogAnswer{false, kind == dkSelectChoice ? -1 : int(mrCancel), {}, {}});
}
void TScriptedDialogs::OnModal(THandler handler) { FHandlers.push_back(std::move(handler)); }

std::optional<TDialogAnswer> TScriptedDialogs::Take(TDialogKind kind) {
  auto it = FAnswers.find(kind);
  if (it == FAnswers.end() || it->second.empty()) return std::nullopt;
  TDialogAnswer answer = std::move(it->second.front());
  it->second.pop_front();
  return answer;
}

TDialogCall& TScriptedDialogs::Record(TDialogKind kind, const QString& text, const QString& caption, QPoint at,
                                      const QString& value) {
  Calls.push_back(TDialogCall{kind, text, caption, at, value, false});
  return Calls.back();
}

int TScriptedDialogs::Count(TDialogKind kind) const {
  return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const TDialogCall& c) { return c.Kind == kind; }));
}

const TDialogCall* TScriptedDialogs::Last(TDialogKind kind) const {
  for (auto it = Calls.rbegin(); it != Calls.rend(); ++it)
    if (it->Kind == kind) return &*it;
  return nullptr;
}

int TScriptedDialogs::Unanswered() const {
  return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [](const TDialogCall& c) { return !c.Answered; }));
}

bool TScriptedDialogs::AllUsed() const {
  if (!FHandlers.empty()) return false;
  return std::all_of(FAnswers.begin(), FAnswers.end(), [](const auto& a) { return a.second.empty(); });
}

int TScriptedDialogs::ExecDialog(QDialog& dialog) {
  const qsizetype index = static_cast<qsizetype>(Calls.size());
  Record(dkModal, QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle(), dialog.pos());
  if (FHandlers.empty()) return QDialog::Rejected;
  THandler handler = std::move(FHandlers.front());
  FHandlers.pop_front();
  Calls[static_cast<std::size_t>(index)].Answered = true;
  dialog.show();  // as exec() would: placed, laid out, and answering keys (but not modal)
  const int result = handler(dialog);
  dialog.hide();
  return result;
}

bool TScriptedDialogs::Confirm(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  TDialogCall& call = Record(dkConfirm, text, caption, at);
  if (auto answer = Take(dkConfirm)) {
    call.Answered = true;
    return answer->Ok;
  }
  if (RealMessageBoxes && HandlerQueued()) {
    call.Answered = true;
    return TDialogService::Confirm(text, at, caption, parent);
  }
  return false;
}

void TScriptedDialogs::Information(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  Record(dkInformation, text, caption, at).Answered = true;
  if (RealMessageBoxes) TDialogService::Information(text, at, caption, parent);
}

void TScriptedDialogs::Error(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  Record(dkError, text, caption, at).Answered = true;
  if (RealMessageBoxes) TDialogService::Error(text, at, caption, parent);
}

bool TScriptedDialogs::OpenFiles(const TFileDialogArgs& args, QStringList& files, QWidget* parent) {
  TDialogCall& call = Record(dkOpenFiles, args.Filter, args.Title, NoPoint, args.Folder);
  if (auto answer = Take(dkOpenFiles)) {
    call.Answered = true;
    if (answer->Ok && !answer->List.isEmpty()) files = answer->List;
    return answer->Ok && !answer->List.isEmpty();
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::OpenFiles(args, files, parent);
  }
  return false;
}

bool TScriptedDialogs::SaveFile(const TFileDialogArgs& args, QString& file, QWidget* parent) {
  TDialogCall& call = Record(dkSaveFile, args.Filter, args.Title, NoPoint, args.FileName);
  if (auto answer = Take(dkSaveFile)) {
    call.Answered = true;
    if (answer->Ok && !answer->Text.isEmpty()) file = answer->Text;
    return answer->Ok && !answer->Text.isEmpty();
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::SaveFile(args, file, parent);
  }
  return false;
}

bool TScriptedDialogs::SelectDirectory(TShellDirDialog& dialog, const QString& title, bool hidden, bool fileView,
                                       bool zipAsFiles, const QString& homeDir, QString& dir) {
  TDialogCall& call = Record(dkDirectory, homeDir, title, NoPoint, dir);
  if (auto answer = Take(dkDirectory)) {
    call.Answered = true;
    if (answer->Ok) {
      // As the real dialog: the field's text goes to the history, the folder comes back with "/".
      QString field = answer->Text;
      if (field.size() > 1 && field.endsWith(QLatin1Char('/'))) field.chop(1);
      AddToHistory(dialog.DirList, field, DirHistoryMax);
      dir = answer->Text;
    }
    return answer->Ok;
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::SelectDirectory(dialog, title, hidden, fileView, zipAsFiles, homeDir, dir);
  }
  return false;
}

int TScriptedDialogs::SelectFromList(TSelectFromListDialog& dialog, const TSelectFromListArgs& args,
                                     QStringList& list, QString& text) {
  TDialogCall& call = Record(dkSelectFromList, args.Desc, args.Title, args.Pos, text);
  if (auto answer = Take(dkSelectFromList)) {
    call.Answered = true;
    if (answer->Code != mrCancel) {
      if (args.Options.testFlag(soEdit)) list = answer->List;
      text = answer->Text;
    }
    return answer->Code;
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::SelectFromList(dialog, args, list, text);
  }
  return mrCancel;
}

bool TScriptedDialogs::InputString(QPoint at, const QString& title, const QString& desc, QString& text,
                                   QWidget* parent) {
  TDialogCall& call = Record(dkInputString, desc, title, at, text);
  if (auto answer = Take(dkInputString)) {
    call.Answered = true;
    if (answer->Ok) text = answer->Text;
    return answer->Ok;
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::InputString(at, title, desc, text, parent);
  }
  return false;
}

bool TScriptedDialogs::InputText(const TInputTextArgs& args, QString& text, QStringList* history) {
  TDialogCall& call = Record(dkInputText, args.Desc, args.Title, args.At, text);
  if (auto answer = Take(dkInputText)) {
    call.Answered = true;
    if (answer->Ok) {
      text = answer->Text;
      if (history) {
        AddToHistory(*history, text, InputTextHistoryMax);
        if (args.Sorted) history->sort(Qt::CaseInsensitive);
      }
    }
    return answer->Ok;
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::InputText(args, text, history);
  }
  return false;
}

int TScriptedDialogs::SelectChoice(const TSelectArgs& args) {
  TDialogCall& call = Record(dkSelectChoice, args.Message, args.Title, args.At);
  if (auto answer = Take(dkSelectChoice)) {
    call.Answered = true;
    return answer->Code;
  }
  if (HandlerQueued()) {
    call.Answered = true;
    return TDialogService::SelectChoice(args);
  }
  return -1;
}
