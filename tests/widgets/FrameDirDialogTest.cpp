// The directory dialog on a temporary folder tree, with the trash in a temporary XDG_DATA_HOME
// and the documents folder in a temporary XDG_DOCUMENTS_DIR.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "FolderOps.h"
#include "ScriptedDialogs.h"
#include "ShellDirDlg.h"

namespace {

void MakeFile(const QString& path, const QByteArray& data = "x") {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(data);
}

}  // namespace

class TFrameDirDialogTest : public QObject {
  Q_OBJECT
  QTemporaryDir FRoot;
  QString Root, Docs, Data;

  QString P(const QString& rel) const { return Root + "/" + rel; }

private slots:
  void initTestCase() {
    QVERIFY(FRoot.isValid());
    Root = QDir(FRoot.path()).canonicalPath();
    Docs = P("docs");
    Data = P("data");
    QDir().mkpath(Docs);
    QDir().mkpath(Data);
    qputenv("XDG_DATA_HOME", Data.toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", Docs.toUtf8());
  }

  void executeReturnsTheFolderWithDelimiter() {
    QDir().mkpath(P("work/a"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QString selected, field, caption;
    bool okEnabled = false, homeShown = true, computer = false;
    dialogs.OnModal([&](QDialog&) {
      selected = dlg.SelectedFolder();
      field = dlg.DirField()->currentText();
      caption = dlg.windowTitle();
      okEnabled = dlg.OkButton()->isEnabled();
      homeShown = dlg.HomeButton()->isVisibleTo(&dlg);
      computer = dlg.PlaceButton(TShellDirDialog::plComputer)->isChecked();
      dlg.OkButton()->click();
      return dlg.result();
    });
    QString dir = P("work/a");
    QVERIFY(dlg.Execute("Working directory", false, true, false, "", dir));
    QCOMPARE(dir, P("work/a/"));
    QCOMPARE(selected, P("work/a"));
    QCOMPARE(field, P("work/a"));
    QCOMPARE(caption, QString("Working directory"));
    QVERIFY(okEnabled);
    QVERIFY(!homeShown);
    QVERIFY(computer);
    QCOMPARE(dlg.DirList, QStringList{P("work/a")});

    // Cancel leaves the folder alone.
    dialogs.OnModal([&](QDialog&) {
      dlg.CancelButton()->click();
      return dlg.result();
    });
    dir = P("work");
    QVERIFY(!dlg.Execute("Working directory", false, true, false, "", dir));
    QCOMPARE(dir, P("work"));
  }

  void typingAndEnter() {
    QDir().mkpath(P("work/b"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    bool okForMissing = true, okForExisting = false, dropDown = true;
    dialogs.OnModal([&](QDialog&) {
      dropDown = dlg.DirField()->count() > 0;
      QLineEdit* edit = dlg.DirField()->lineEdit();
      edit->clear();
      QTest::keyClicks(edit, P("work/b"));
      okForExisting = dlg.OkButton()->isEnabled();
      QTest::keyClicks(edit, "zz");
      okForMissing = dlg.OkButton()->isEnabled();
      QTest::keyClick(dlg.Tree(), Qt::Key_Return);  // Enter closes with OK even so
      return dlg.result();
    });
    QString dir = P("work");
    QVERIFY(dlg.Execute("t", false, true, false, "", dir));
    QVERIFY(!dropDown);
    QVERIFY(okForExisting);
    QVERIFY(!okForMissing);
    QCOMPARE(dir, P("work/bzz/"));
  }

  void startBelowAHiddenFolder() {
    QDir().mkpath(P("hid/.config/nova"));
    QDir().mkpath(P("hid/.cache"));
    QDir().mkpath(P("hid/shown"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QString selected;
    QStringList listed;
    dialogs.OnModal([&](QDialog&) {
      selected = dlg.SelectedFolder();
      QAbstractItemModel* tree = dlg.Tree()->model();
      const QPersistentModelIndex hid = dlg.Tree()->currentIndex().parent().parent();
      (void)QTest::qWaitFor([&] { return tree->rowCount(hid) >= 2; }, 60000);
      for (int r = 0; r < tree->rowCount(hid); ++r) listed << tree->index(r, 0, hid).data().toString();
      return int(QDialog::Rejected);
    });
    QString dir = P("hid/.config/nova");
    dlg.Execute("t", false, true, false, "", dir);
    QCOMPARE(selected, P("hid/.config/nova"));
    QCOMPARE(listed, (QStringList{".config", "shown"}));  // .cache stays hidden
  }

  void missingStartFolderOpensDocuments() {
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QString selected;
    dialogs.OnModal([&](QDialog&) {
      selected = dlg.SelectedFolder();
      return int(QDialog::Rejected);
    });
    QString dir = P("no/such/folder");
    dlg.Execute("t", false, true, false, "", dir);
    QCOMPARE(selected, Docs);
    QCOMPARE(dlg.Place(), TShellDirDialog::plComputer);
  }

  void createFolder() {
    QDir().mkpath(P("create"));
    MakeFile(P("create/blocker"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QVERIFY(dlg.SelectFolder(P("create")));
    dialogs.AnswerInput("x/y");
    dlg.CreateNewFolder();
    QVERIFY(QFileInfo(P("create/x/y")).isDir());
    QCOMPARE(dlg.SelectedFolder(), P("create/x/y"));
    QCOMPARE(dlg.Place(), TShellDirDialog::plComputer);
    const TDialogCall* ask = dialogs.Last(dkInputString);
    QCOMPARE(ask->Caption, P("create"));
    QCOMPARE(ask->Text, QString("New subdirectory:"));

    QVERIFY(dlg.SelectFolder(P("create")));
    dialogs.AnswerInput("blocker/sub");  // a file is in the way
    dlg.CreateNewFolder();
    QCOMPARE(dialogs.Last(dkError)->Text, "Could not create directory:\r\n" + P("create/blocker/sub") + "!");
    QCOMPARE(dlg.SelectedFolder(), P("create"));
  }

  void deleteDefinitely() {
    MakeFile(P("del/d/readonly.txt"));
    QVERIFY(QFile::setPermissions(P("del/d/readonly.txt"), QFile::ReadOwner));
    QDir().mkpath(P("del/d/empty"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QVERIFY(dlg.SelectFolder(P("del/d")));

    dialogs.AnswerChoice(-1);  // Cancel: nothing happens
    dlg.DeleteFolder();
    QVERIFY(QFileInfo(P("del/d")).isDir());
    QCOMPARE(dlg.SelectedFolder(), P("del/d"));
    const TDialogCall* ask = dialogs.Last(dkSelectChoice);
    QCOMPARE(ask->Caption, QString("Delete directory"));
    QCOMPARE(ask->Text, "Delete \"" + P("del/d") + "\"");

    dialogs.AnswerChoice(0);
    dlg.DeleteFolder();
    QVERIFY(!QFileInfo::exists(P("del/d")));
    QCOMPARE(dialogs.Last(dkInformation)->Text, QString("2 directories with 1 files deleted!"));
    QCOMPARE(dialogs.Count(dkError), 0);
    QCOMPARE(dlg.SelectedFolder(), P("del"));
  }

  void deleteToTrash() {
    MakeFile(P("trash1/t/file.txt"), "kept");
    MakeFile(P("trash2/t/other.txt"));
    QDir().mkpath(P("trash3/50% done"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    for (const char* folder : {"trash1/t", "trash2/t", "trash3/50% done"}) {
      QVERIFY(dlg.SelectFolder(P(folder)));
      dialogs.AnswerChoice(1);
      dlg.DeleteFolder();
      QVERIFY(!QFileInfo::exists(P(folder)));
      QCOMPARE(dialogs.Last(dkInformation)->Text, P(folder) + " moved to Recycle Bin!");
    }
    const QString trash = Data + "/Trash";
    QFile kept(trash + "/files/t/file.txt");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept"));
    QVERIFY(QFileInfo::exists(trash + "/files/t.2/other.txt"));  // the second "t" gets a new name

    QFile info(trash + "/info/50% done.trashinfo");
    QVERIFY(info.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = info.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
    QCOMPARE(lines.value(1), "Path=" + QUrl::toPercentEncoding(P("trash3/50% done"), "/"));
    QVERIFY(lines.value(2).startsWith("DeletionDate="));
    QVERIFY(QDateTime::fromString(QString::fromLatin1(lines.value(2).mid(13)), Qt::ISODate).isValid());
  }

  void trashRefusals() {
    QString error;
    QVERIFY(!MoveToTrash(P("does-not-exist"), &error));
    QVERIFY(!MoveToTrash("/", &error));
    QDir().mkpath(Data + "/Trash/files");
    QVERIFY(!MoveToTrash(Data + "/Trash", &error));  // the trash itself
    QVERIFY(QFileInfo(Data + "/Trash/files").isDir());
  }

  void recursiveDeleteKeepsLinkTargets() {
    MakeFile(P("outside/precious.txt"));
    MakeFile(P("tree/sub/a.txt"));
    QVERIFY(QFile::link(P("outside"), P("tree/sub/link")));
    const TDeleteCounts counts = DeleteDirectoryTree(P("tree"));
    QCOMPARE(counts.Errors, 0u);
    QCOMPARE(counts.Dirs, 2u);
    QCOMPARE(counts.Files, 2u);  // a.txt and the link itself
    QVERIFY(!QFileInfo::exists(P("tree")));
    QVERIFY(QFileInfo::exists(P("outside/precious.txt")));
    QCOMPARE(DeleteDirectoryTree("/").Errors, 1u);
    QCOMPARE(DeleteDirectoryTree(P("gone")).Errors, 1u);
  }

  void oneFolderUp() {
    QDir().mkpath(Docs + "/a/b");
    TShellDirDialog dlg;
    dlg.SetPlace(TShellDirDialog::plDocuments);
    QCOMPARE(dlg.TreeTop(), Docs);
    QVERIFY(dlg.SelectFolder(Docs + "/a/b"));
    dlg.GoUp();  // two levels below the top: parent, place kept
    QCOMPARE(dlg.SelectedFolder(), Docs + "/a");
    QCOMPARE(dlg.Place(), TShellDirDialog::plDocuments);
    dlg.GoUp();  // one level below: parent with the place "Computer"
    QCOMPARE(dlg.SelectedFolder(), Docs);
    QCOMPARE(dlg.Place(), TShellDirDialog::plComputer);
    QCOMPARE(dlg.TreeTop(), QString("/"));

    dlg.SetPlace(TShellDirDialog::plDocuments);
    QCOMPARE(dlg.SelectedFolder(), Docs);
    dlg.GoUp();  // at the top
    QCOMPARE(dlg.Place(), TShellDirDialog::plComputer);
    QCOMPARE(dlg.SelectedFolder(), Root);
  }

  void homeFolder() {
    QDir().mkpath(P("home/x"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    QString hint;
    bool shown = false;
    dialogs.OnModal([&](QDialog&) {
      shown = dlg.HomeButton()->isVisibleTo(&dlg);
      hint = dlg.HomeButton()->toolTip();
      dlg.SelectFolder(P("work"));
      dlg.HomeButton()->click();
      return int(QDialog::Rejected);
    });
    QString dir;  // empty: the home folder is the start folder
    dlg.Execute("t", false, true, false, P("home"), dir);
    QVERIFY(shown);
    QCOMPARE(hint, "Default: " + P("home"));
    QCOMPARE(dlg.TreeTop(), P("home"));
    QCOMPARE(dlg.SelectedFolder(), P("home"));
    QCOMPARE(QDir::currentPath(), P("home"));

    // A home folder that went away: error, and out of the history.
    QDir().mkpath(P("gone"));
    dlg.DirList = QStringList{P("work"), P("gone")};
    dialogs.OnModal([&](QDialog&) {
      QDir(P("gone")).removeRecursively();
      dlg.HomeButton()->click();
      return int(QDialog::Rejected);
    });
    dir = P("work");
    dlg.Execute("t", false, true, false, P("gone"), dir);
    QCOMPARE(dialogs.Last(dkError)->Text, "Directory not found:\r\n" + P("gone") + "!");
    QCOMPARE(dlg.DirList, QStringList{P("work")});
  }

  void showFilesChangesTheWidth() {
    MakeFile(P("files/b.bin"));
    MakeFile(P("files/a.bin"));
    TScriptedDialogs dialogs;
    TShellDirDialog dlg;
    int withFiles = 0, without = 0, again = 0, rows = -1;
    bool panelAfterOff = true;
    dialogs.OnModal([&](QDialog&) {
      dlg.SetShowFiles(true);
      withFiles = dlg.width();
      // The file system model reads the folder in the background.
      QAbstractItemModel* files = dlg.FileList()->model();
      (void)QTest::qWaitFor([&] { return files->rowCount(dlg.FileList()->rootIndex()) == 2; }, 60000);
      rows = files->rowCount(dlg.FileList()->rootIndex());
      dlg.SetShowFiles(false);
      without = dlg.width();
      panelAfterOff = dlg.FilePanel()->isVisibleTo(&dlg);
      dlg.SetShowFiles(true);
      again = dlg.width();
      return int(QDialog::Rejected);
    });
    QString dir = P("files");
    dlg.Execute("t", false, true, false, "", dir);
    QCOMPARE(rows, 2);
    QVERIFY(without < withFiles);
    QVERIFY(!panelAfterOff);
    QCOMPARE(again, withFiles);

    // Without FileView there is neither the box nor the panel.
    bool box = true, panel = true;
    dialogs.OnModal([&](QDialog&) {
      box = dlg.ShowFilesBox()->isVisibleTo(&dlg);
      panel = dlg.FilePanel()->isVisibleTo(&dlg);
      return int(QDialog::Rejected);
    });
    dlg.Execute("t", false, false, false, "", dir);
    QVERIFY(!box);
    QVERIFY(!panel);
  }

  void freeSpace() {
    const QString text = FreeSpaceText(Root);
    QVERIFY2(text.contains(" free of "), qPrintable(text));
    QVERIFY(text.endsWith("B"));
    QCOMPARE(FreeSpaceText(P("no/such/folder")), QString());
  }
};

QTEST_MAIN(TFrameDirDialogTest)
#include "FrameDirDialogTest.moc"
