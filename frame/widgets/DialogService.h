// The one seam through which windows open modal dialogs: message boxes, the file dialogs, the
// directory dialog, the list and text input dialogs, and any other dialog they run modally
// (ExecDialog). The programs use the default service, which shows the real dialogs; a test
// installs its own (see ScriptedDialogs.h) and answers without a modal loop.
#pragma once
#include <QDialog>

#include "DialogTypes.h"
#include "MessageBoxes.h"

class TDialogService {
public:
  virtual ~TDialogService() = default;

  // Runs a dialog modally and returns its result code (QDialog::exec).
  virtual int ExecDialog(QDialog& dialog);

  virtual bool Confirm(const QString& text, QPoint at, const QString& caption, QWidget* parent);
  virtual void Information(const QString& text, QPoint at, const QString& caption, QWidget* parent);
  virtual void Error(const QString& text, QPoint at, const QString& caption, QWidget* parent);

  // Open: the chosen files must exist; true when the user confirmed. Save: asks before
  // overwriting; the chosen full name.
  virtual bool OpenFiles(const TFileDialogArgs& args, QStringList& files, QWidget* parent);
  virtual bool SaveFile(const TFileDialogArgs& args, QString& file, QWidget* parent);

  // TShellDirDialog::Execute and TSelectFromListDialog::Execute come here; the default runs the
  // dialog (which in turn uses ExecDialog).
  virtual bool SelectDirectory(TShellDirDialog& dialog, const QString& title, bool hidden, bool fileView,
                               bool zipAsFiles, const QString& homeDir, QString& dir);
  virtual int SelectFromList(TSelectFromListDialog& dialog, const TSelectFromListArgs& args, QStringList& list,
                             QString& text);
  virtual bool InputString(QPoint at, const QString& title, const QString& desc, QString& text, QWidget* parent);
  virtual bool InputText(const TInputTextArgs& args, QString& text, QStringList* history);
  // Index of the pressed choice, -1 for the last button or any other way of closing.
  virtual int SelectChoice(const TSelectArgs& args);

protected:
  // The real message box, run through ExecDialog; true for Yes (confirm) or OK.
  bool ShowMessage(TMsgKind kind, const QString& text, QPoint at, const QString& caption, QWidget* parent);
};

// The service in use (the default one unless a test installed its own).
TDialogService& Dialogs();
// Installs a service (nullptr: the default one again) and returns the one it replaces.
TDialogService* SetDialogService(TDialogService* service);

// Filter pairs "Text|*.txt;*.asm|all|*.*" as Qt name filters ("Text (*.txt *.asm)", "all (*.*)").
QStringList FileDialogFilters(const QString& filter);

// One-line helpers for windows.
bool InputString(QPoint at, const QString& title, const QString& desc, QString& text, QWidget* parent = nullptr);
bool InputText(const TInputTextArgs& args, QString& text, QStringList* history = nullptr);
int SelectChoice(const TSelectArgs& args);
