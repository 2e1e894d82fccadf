#include "DialogService.h"

#include <QFileDialog>
#include <QFileInfo>

#include "InpText.h"
#include "InputString.h"
#include "SelectDlg.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"

namespace {

TDialogService& DefaultService() {
  static TDialogService service;
  return service;
}

TDialogService*& CurrentService() {
  static TDialogService* current = nullptr;
  return current;
}

void SetUpFileDialog(QFileDialog& dialog, const TFileDialogArgs& args) {
  dialog.setWindowTitle(args.Title);
  const QStringList filters = FileDialogFilters(args.Filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (args.FilterIndex >= 0 && args.FilterIndex < filters.size()) dialog.selectNameFilter(filters[args.FilterIndex]);
  }
  if (!args.Folder.isEmpty()) dialog.setDirectory(args.Folder);
}

}  // namespace

TDialogService& Dialogs() { return CurrentService() ? *CurrentService() : DefaultService(); }

TDialogService* SetDialogService(TDialogService* service) {
  TDialogService* previous = CurrentService();
  CurrentService() = service;
  return previous;
}

int TDialogService::ExecDialog(QDialog& dialog) { return dialog.exec(); }

bool TDialogService::ShowMessage(TMsgKind kind, const QString& text, QPoint at, const QString& caption,
                                 QWidget* parent) {
  TMessageBox box(kind, text, at, caption, parent);
  return box.Confirmed(ExecDialog(box));
}

bool TDialogService::Confirm(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  return ShowMessage(mkConfirm, text, at, caption, parent);
}

void TDialogService::Information(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  ShowMessage(mkInformation, text, at, caption, parent);
}

void TDialogService::Error(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  ShowMessage(mkError, text, at, caption, parent);
}

bool TDialogService::OpenFiles(const TFileDialogArgs& args, QStringList& files, QWidget* parent) {
  QFileDialog dialog(parent);
  SetUpFileDialog(dialog, args);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(args.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  files = dialog.selectedFiles();
  return true;
}

bool TDialogService::SaveFile(const TFileDialogArgs& args, QString& file, QWidget* parent) {
  QFileDialog dialog(parent);
  SetUpFileDialog(dialog, args);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QString ext = args.DefaultExt;
  if (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
  dialog.setDefaultSuffix(ext);
  if (!args.FileName.isEmpty()) dialog.selectFile(QFileInfo(args.FileName).fileName());
  if (ExecDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  file = dialog.selectedFiles().constFirst();
  return true;
}

bool TDialogService::SelectDirectory(TShellDirDialog& dialog, const QString& title, bool hidden, bool fileView,
                                     bool zipAsFiles, const QString& homeDir, QString& dir) {
  return dialog.Run(title, hidden, fileView, zipAsFiles, homeDir, dir);
}


int TDialogService::SelectFromList(TSelectFromListDialog& dialog, const TSelectFromListArgs& args, QStringList& list,
                                   QString& text) {
  return dialog.Run(args, list, text);
}

bool TDialogService::InputString(QPoint at, const QString& title, const QString& desc, QString& text,
                                 QWidget* parent) {
  TInputStringDialog dialog(parent);
  return dialog.Run(at, title, desc, text);
}

bool TDialogService::InputText(const TInputTextArgs& args, QString& text, QStringList* history) {
  TInputTextDialog dialog(args.Parent);
  return dialog.Run(args, text, history);
}

int TDialogService::SelectChoice(const TSelectArgs& args) {
  TSelectDialog dialog(args.Parent);
  return dialog.Run(args);
}

QStringList FileDialogFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString desc = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");  // every file, also those without "."
    }
    if (patterns.isEmpty()) continue;
    result << QStringLiteral("%1 (%2)").arg(desc.isEmpty() ? patterns.join(QLatin1Char(' ')) : desc,
                                            patterns.join(QLatin1Char(' ')));
  }
  return result;
}

bool InputString(QPoint at, const QString& title, const QString& desc, QString& text, QWidget* parent) {
  return Dialogs().InputString(at, title, desc, text, parent);
}

bool InputText(const TInputTextArgs& args, QString& text, QStringList* history) {
  return Dialogs().InputText(args, text, history);
}

int SelectChoice(const TSelectArgs& args) { return Dialogs().SelectChoice(args); }
