#include "GivenFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "MessageBoxes.h"
#include "QtText.h"
#include "TallisMain.h"

void CheckGivenFolder(THauptForm& form, const std::vector<std::string>& args) {
  if (args.empty()) return;
  auto message = [&form](const QString& text) { ErrorMsg(text, NoPoint, QString(), &form); };
  if (args.size() > 2) {
    message(QtText("Tallis checks one folder at a time:\r\ntallis FOLDER [PATTERN]"));
    return;
  }
  const QFileInfo given(QFile::decodeName(QByteArray::fromStdString(args[0])));
  QString folder = given.absoluteFilePath();
  QString pattern = args.size() > 1 ? ToQString(args[1]) : QString();
  if (!given.exists()) {
    message(QtText("Folder not found:") + "\r\n" + folder);
    return;
  }
  if (!given.isDir()) {
    // A tape file: its folder, and its name as the pattern unless one was given.
    if (pattern.isEmpty()) pattern = given.fileName();
    folder = given.absolutePath();
  }
  if (!QFileInfo(folder).isReadable() || !QFileInfo(folder).isExecutable()) {
    message(QtText("Cannot read folder:") + "\r\n" + folder);
    return;
  }
  form.SourceDirEdit->setCurrentText(QDir::toNativeSeparators(folder));
  if (!pattern.isEmpty()) form.FileEdit->setCurrentText(pattern);
  form.btStartClick();
}
