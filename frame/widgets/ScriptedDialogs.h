// A dialog service for tests: it records every dialog a window asks for and answers from
// scripted answers, so no test ever waits on a modal dialog.
//
//   TScriptedDialogs dialogs;          // installed until it goes out of scope
//   dialogs.AnswerConfirm(true);       // the next confirm box gets Yes
//   dialogs.OnModal([](QDialog& d) {   // the next dialog run modally (a real one)
//     ...; return int(QDialog::Accepted);
//   });
//   window.DoSomething();
//   QCOMPARE(dialogs.Last(dkError)->Text, "...");
//
// A call without a scripted answer: when a modal handler is queued, the real dialog is built and
// handed to it through ExecDialog; otherwise the call is recorded as unanswered and cancelled
// (confirm: No). Information and error boxes are only recorded unless RealMessageBoxes is set.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "DialogService.h"

enum TDialogKind {
  dkModal,           // any dialog run through ExecDialog
  dkConfirm,
  dkInformation,
  dkError,
  dkOpenFiles,
  dkSaveFile,
  dkDirectory,
  dkSelectFromList,
  dkInputString,
  dkInputText,
  dkSelectChoice
};

struct TDialogCall {
  TDialogKind Kind = dkModal;
  QString Text;       // message, description, or the dialog's class name (dkModal)
  QString Caption;    // caption or title
  QPoint At = NoPoint;
  QString Value;      // text handed in (input dialogs, directory, list preselection)
  bool Answered = false;
};

struct TDialogAnswer {
  bool Ok = true;     // Yes, or confirmed
  int Code = 0;       // list dialog result, choice index
  QString Text;       // entered text, chosen directory or file, chosen list entry
  QStringList List;   // chosen files, edited list entries
};

class TScriptedDialogs : public TDialogService {
public:
  using THandler = std::function<int(QDialog&)>;

  TScriptedDialogs();
  ~TScriptedDialogs() override;
  TScriptedDialogs(const TScriptedDialogs&) = delete;
  TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

  void Answer(TDialogKind kind, TDialogAnswer answer);
  void AnswerConfirm(bool yes);
  void AnswerInput(const QString& text);      // InputString: OK with the text
  void CancelInput();                         // InputString: Cancel
  void AnswerInputText(const QString& text);  // InputText: OK with the text
  void AnswerChoice(int index);               // SelectChoice: the pressed choice (-1: last button)
  void AnswerDirectory(const QString& dir);   // directory dialog: OK with dir
  void AnswerOpen(const QStringList& files);  // open dialog: OK with the files
  void AnswerSave(const QString& file);       // save dialog: OK with the file
  void Cancel(TDialogKind kind);              // the next dialog of the kind is cancelled
  // The next dialog run modally is shown (not modal) and handed to the handler, which returns its
  // result code; the dialog is hidden afterwards.
  void OnModal(THandler handler);

  bool RealMessageBoxes = false;
  std::vector<TDialogCall> Calls;

  int Count(TDialogKind kind) const;
  const TDialogCall* Last(TDialogKind kind) const;
  int Unanswered() const;
  // True when every scripted answer and handler was used.
  bool AllUsed() const;

  int ExecDialog(QDialog& dialog) override;
  bool Confirm(const QString& text, QPoint at, const QString& caption, QWidget* parent) override;
  void Information(const QString& text, QPoint at, const QString& caption, QWidget* parent) override;
  void Error(const QString& text, QPoint at, const QString& caption, QWidget* parent) override;
  bool OpenFiles(const TFileDialogArgs& args, QStringList& files, QWidget* parent) override;
  bool SaveFile(const TFileDialogArgs& args, QString& file, QWidget* parent) override;
  bool SelectDirectory(TShellDirDialog& dialog, const QString& title, bool hidden, bool fileView, bool zipAsFiles,
                       const QString& homeDir, QString& dir) override;
  int SelectFromList(TSelectFromListDialog& dialog, const TSelectFromListArgs& args, QStringList& list,
                     QString& text) override;
  bool InputString(QPoint at, const QString& title, const QString& desc, QString& text, QWidget* parent) override;
  bool InputText(const TInputTextArgs& args, QString& text, QStringList* history) override;
  int SelectChoice(const TSelectArgs& args) override;

private:
  std::optional<TDialogAnswer> Take(TDialogKind kind);
  TDialogCall& Record(TDialogKind kind, const QString& text, const QString& caption, QPoint at,
                      const QString& value = QString());
  bool HandlerQueued() const { return !FHandlers.empty(); }

  std::map<TDialogKind, std::deque<TDialogAnswer>> FAnswers;
  std::deque<THandler> FHandlers;
  TDialogService* FPrevious;
};
