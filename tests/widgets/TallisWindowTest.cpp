// Tallis's window offscreen: first start, mode and default patterns, the directory and file
// buttons through the dialog service, settings, language, and check runs over the real tapes and
// over tapes made in the test's temporary folder (text mode only there).
#include <signal.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "CheckRun.h"
#include "CloseSignals.h"
#include "GivenFolder.h"
#include "HistoryCombo.h"
#include "IniFile.h"
#include "ResultListModel.h"
#include "ScriptedDialogs.h"
#include "TallisMain.h"
#include "TallisTestSupport.h"

namespace {

const QString TapesDir = CORVANE_TAPES_DIR;

// The real tapes matching *.ab (case-sensitive), in name order.
QStringList RealTapes() {
  QDir dir(TapesDir);
  dir.setFilter(QDir::Files | QDir::Hidden | QDir::CaseSensitive);
  dir.setNameFilters({"*.ab"});
  dir.setSorting(QDir::Name);
  return dir.entryList();
}

int CountStarting(const QStringList& lines, const QString& prefix) {
  int n = 0;
  for (const QString& line : lines)
    if (line.startsWith(prefix)) ++n;
  return n;
}

}  // namespace

class TTallisWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TTempDir> FTemp;
  std::unique_ptr<TScriptedDialogs> FDialogs;

  std::string Ini() const { return *FTemp / "config/Holmvale/Tallis.ini"; }
  QString Docs() const { return Q(*FTemp / "docs/"); }

  static void SetSource(THauptForm& form, const QString& dir, const QString& names) {
    form.SourceDirEdit->setEditText(dir);
    form.FileEdit->setEditText(names);
  }

private slots:
  void init() {
    FTemp = std::make_unique<TTempDir>();
    std::filesystem::create_directories(*FTemp / "docs");
    StartTallis(*FTemp);
    FDialogs = std::make_unique<TScriptedDialogs>();
  }
  void cleanup() {
    FDialogs.reset();
    FTemp.reset();
  }

  void firstStartWithoutSettingsFile() {
    {
      THauptForm form;
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      QCOMPARE(form.windowTitle(), QString("Tallis - Version 2.0.1"));
      QCOMPARE(form.ModeIndex(), 0);
      QVERIFY(!form.chbSubDir->isChecked());
      QVERIFY(!form.cbShow->isChecked());
      QCOMPARE(form.FileEdit->currentText(), QString("*.bin"));
      QCOMPARE(ComboItems(form.FileEdit), QStringList{"*.bin"});
      QCOMPARE(form.SourceDirEdit->count(), 0);
      QCOMPARE(form.SettingsFileName(), Ini());
      QVERIFY(!std::filesystem::exists(Ini()));  // written when the window goes, not before

      form.InfoBtn->click();
      const TDialogCall* info = FDialogs->Last(dkInformation);
      QVERIFY(info);
      QCOMPARE(info->Caption, QString("Tallis"));
      QVERIFY2(info->Text.startsWith("Tallis - Version 2.0.1 - "), qPrintable(info->Text));
      QVERIFY(info->Text.contains('\n'));
    }
    const TIniFile ini(Ini());
    QCOMPARE(ini.ReadString("Config", "Mode", "?"), std::string("0"));
    QCOMPARE(ini.ReadString("Config", "Subdirectories", "?"), std::string("0"));
    QCOMPARE(ini.ReadString("Files", "History0", "?"), std::string("*.bin"));
    QVERIFY(!ini.SectionExists("Directories"));
  }

  void modeSwitchSetsTheDefaultPattern() {
    THauptForm form;
    form.show();
    form.FileEdit->setEditText("basic*.ab");
    form.rbText->click();
    QCOMPARE(form.ModeIndex(), 1);
    QCOMPARE(form.FileEdit->currentText(), QString("*.txt;*.asm"));
    QCOMPARE(ComboItems(form.FileEdit), QStringList{"*.bin"});  // the history stays
    form.rbBinary->click();
    QCOMPARE(form.FileEdit->currentText(), QString("*.bin"));
  }

  void directoryButton() {
    THauptForm form;
    form.show();
    form.FileEdit->setEditText("basic*.ab");

    // Cancelled: nothing changes. An empty field starts at the documents folder.
    FDialogs->Cancel(dkDirectory);
    form.SourceSelectBtn->click();
    const TDialogCall* call = FDialogs->Last(dkDirectory);
    QVERIFY(call);
    QCOMPARE(call->Caption, QString("Directory holding binary files"));
    QCOMPARE(call->Value, Docs());
    QCOMPARE(call->Text, Docs());  // the home folder
    QCOMPARE(form.SourceDirEdit->currentText(), QString());
    QCOMPARE(form.FileEdit->currentText(), QString("basic*.ab"));

    // Confirmed: the folder joins the history and the pattern goes back to the mode's default.
    FDialogs->AnswerDirectory("/data/tapes/");
    form.SourceSelectBtn->click();
    QCOMPARE(form.SourceDirEdit->currentText(), QString("/data/tapes/"));
    QCOMPARE(form.FileEdit->currentText(), QString("*.bin"));

    form.rbText->click();
    form.FileEdit->setEditText("x.asm");
    FDialogs->AnswerDirectory("/data/sources/");
    form.SourceSelectBtn->click();
    call = FDialogs->Last(dkDirectory);
    QCOMPARE(call->Caption, QString("Directory holding text files"));
    QCOMPARE(call->Value, QString("/data/tapes/"));  // the field's folder is the start
    QCOMPARE(ComboItems(form.SourceDirEdit), (QStringList{"/data/sources/", "/data/tapes/"}));
    QCOMPARE(form.FileEdit->currentText(), QString("*.txt;*.asm"));
  }

  void fileButton() {
    THauptForm form;
    form.show();
    form.chbSubDir->setChecked(true);
    SetSource(form, TapesDir, "*.bin");

    FDialogs->Cancel(dkOpenFiles);
    form.FileBtn->click();
    const TDialogCall* call = FDialogs->Last(dkOpenFiles);
    QVERIFY(call);
    QCOMPARE(call->Caption, QString("Select binary files"));
    QCOMPARE(call->Text, QString("Binary files|*.bin|all|*.*"));
    QCOMPARE(call->Value, TapesDir + "/");
    QVERIFY(form.chbSubDir->isChecked());
    QCOMPARE(form.FileEdit->currentText(), QString("*.bin"));

    FDialogs->AnswerOpen({TapesDir + "/novabasic1.ab"});
    form.FileBtn->click();
    QVERIFY(!form.chbSubDir->isChecked());
    QCOMPARE(form.SourceDirEdit->currentText(), TapesDir + "/");
    QCOMPARE(form.FileEdit->currentText(), QString("novabasic1.ab"));
    QCOMPARE(ComboItems(form.FileEdit), (QStringList{"novabasic1.ab", "*.bin"}));

    form.rbText->click();
    FDialogs->Cancel(dkOpenFiles);
    form.FileBtn->click();
    call = FDialogs->Last(dkOpenFiles);
    QCOMPARE(call->Caption, QString("Select text files"));
    QCOMPARE(call->Text, QString("Text files|*.txt|Assembler sources|*.asm|all|*.*"));
  }

  void realTapesAreAllOk() {
    const QStringList tapes = RealTapes();
    QVERIFY2(!tapes.isEmpty(), qPrintable(TapesDir));
    THauptForm form;
    form.show();
    SetSource(form, TapesDir, "*.ab");
    form.btStart->click();
    QCOMPARE(FDialogs->Count(dkError), 0);
    const QStringList lines = form.Results()->Lines();
    const QRegularExpression ok("^  Checked: [1-9][0-9]* blocks: OK$");
    int at = 0;
    for (const QString& tape : tapes) {
      QCOMPARE(lines.value(at++), "File: " + TapesDir + "/" + tape);
      if (lines.value(at).startsWith("  Trailer: ")) ++at;  // the BASIC tapes' trailer text
      QVERIFY2(ok.match(lines.value(at)).hasMatch(), qPrintable(lines.value(at)));
      ++at;
    }
    QCOMPARE(lines.size(), at + 1);
    QCOMPARE(lines.last(), QString("%1 Files checked").arg(tapes.size()));
    QCOMPARE(form.lbResult->currentIndex().row(), lines.size() - 1);
    QVERIFY(form.btStart->isEnabled());
    QVERIFY(form.FileEdit->isEnabled());
  }

  void textModeRepairsACopy() {
    const std::string dir = *FTemp / "sources";
    std::string original;
    for (char c : std::string("LDA 0,5\r\nHALT\r\n")) original += static_cast<char>(c | 0200);  // parity on
    original = std::string(4, '\0') + original + "\377\377" + std::string(3, '\0');
    WriteFile(dir + "/prog.asm", original);
    THauptForm form;
    form.show();
    form.rbText->click();
    SetSource(form, Q(dir), "*.txt;*.asm");
    form.btStart->click();
    QCOMPARE(FDialogs->Count(dkError), 0);
    const QStringList lines = form.Results()->Lines();
    QCOMPARE(lines.first(), Q("File: " + dir + "/prog.asm"));
    QVERIFY(lines.contains("  Parity removed"));
    QVERIFY(lines.contains("  File stripped by 9 bytes"));
    QCOMPARE(lines.last(), QString("1 Files checked"));
    QCOMPARE(ReadFile(dir + "/prog.asm"), std::string("LDA 0,5\r\nHALT\r\n"));
    QCOMPARE(ReadFile(dir + "/prog.asm.bak"), original);
  }

  void returnStartsARun() {
    THauptForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SetSource(form, TapesDir, "novabasic1.ab");
    QTest::keyClick(form.FileEdit->lineEdit(), Qt::Key_Return);
    QCOMPARE(form.Results()->Lines().value(form.Results()->rowCount() - 1), QString("1 Files checked"));
    // The check adds what it checked to the history, once (the combo box inserts nothing itself).
    QCOMPARE(ComboItems(form.FileEdit), (QStringList{"novabasic1.ab", "*.bin"}));
    form.Results()->ClearLines();
    QTest::keyClick(form.SourceDirEdit->lineEdit(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(form.Results()->rowCount(), 4);  // the file, its trailer text, its blocks, the count
  }

  // A second run cannot start while one runs; the window answers its events meanwhile.
  void runKeepsTheWindowResponsive() {
    const std::string dir = *FTemp / "tapes";
    WriteFile(dir + "/a.ab", RepeatTape(20));
    THauptForm form;
    form.show();
    form.CheckRun().SetInterval(0);  // catch up at every chance
    SetSource(form, Q(dir), "*.ab");
    bool seen = false, startEnabled = true, inputsEnabled = true, exitEnabled = false;
    int rowsSeen = 0;
    QTimer::singleShot(0, &form, [&] {
      seen = form.Running();
      rowsSeen = form.Results()->rowCount();
      startEnabled = form.btStart->isEnabled();
      inputsEnabled = form.FileEdit->isEnabled() || form.SourceDirEdit->isEnabled() || form.rgMode->isEnabled() ||
                      form.cbShow->isEnabled() || form.chbSubDir->isEnabled() || form.FileBtn->isEnabled() ||
                      form.SourceSelectBtn->isEnabled();
      exitEnabled = form.EndeBtn->isEnabled();
      form.btStartClick();  // refused
      QTest::keyClick(&form, Qt::Key_Return);
    });
    form.btStart->click();
    QVERIFY(seen);
    QVERIFY(rowsSeen > 0);  // the first lines were shown before the run ended
    QVERIFY(!startEnabled);
    QVERIFY(!inputsEnabled);
    QVERIFY(exitEnabled);
    const QStringList lines = form.Results()->Lines();
    QCOMPARE(CountStarting(lines, "File: "), 1);
    QCOMPARE(lines.last(), QString("1 Files checked"));
    QVERIFY(form.btStart->isEnabled());
  }

  // Closing during a run ends the run at its next catch-up; the window closes afterwards and
  // writes its settings once, when it is destroyed.
  void closingEndsTheRunFirst_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("exit button") << 0;
    QTest::newRow("title bar") << 1;
    QTest::newRow("SIGTERM") << 2;
    QTest::newRow("SIGINT") << 3;
  }
  void closingEndsTheRunFirst() {
    QFETCH(int, how);
    const std::string dir = *FTemp / "tapes";
    for (const char* name : {"a.ab", "b.ab", "c.ab"}) WriteFile(dir + "/" + name, RepeatTape(50));
    auto form = std::make_unique<THauptForm>();
    CloseOnTerminationSignals(form.get());
    form->show();
    form->CheckRun().SetInterval(0);
    SetSource(*form, Q(dir), "*.ab");
    QTimer::singleShot(0, form.get(), [&] {
      switch (how) {
        case 0: form->EndeBtn->click(); break;
        case 1: form->close(); break;
        case 2: ::raise(SIGTERM); break;
        default: ::raise(SIGINT); break;
      }
    });
    form->btStart->click();
    QVERIFY(form->CheckRun().Stopped());
    QVERIFY(!form->isVisible());
    const QStringList lines = form->Results()->Lines();
    QCOMPARE(CountStarting(lines, "File: "), 1);
    QVERIFY(!lines.last().endsWith("Files checked"));
    QVERIFY(!std::filesystem::exists(Ini()));
    form.reset();
    QCOMPARE(TIniFile(Ini()).ReadString("Config", "Mode", "?"), std::string("0"));
  }

  void terminationSignalClosesAnIdleWindow() {
    THauptForm form;
    CloseOnTerminationSignals(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ::raise(SIGTERM);
    QTRY_VERIFY(!form.isVisible());
  }

  // An empty or missing source folder, or a pattern that leaves it, is refused with the error
  // box before anything is searched: text mode rewrites nothing in the current folder.
  void badSourceIsRefused_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("empty") << "" << "*.txt";
    QTest::newRow("missing") << "nowhere" << "*.txt";
    QTest::newRow("pattern leaves the folder") << "inside" << "../*.txt";
  }
  void badSourceIsRefused() {
    QFETCH(QString, source);
    QFETCH(QString, pattern);
    const std::string cwd = *FTemp / "cwd";
    const std::string text = "\310\311\215\212";  // "HI" CR LF with parity
    WriteFile(cwd + "/note.txt", text);
    std::filesystem::create_directories(cwd + "/inside");
    const QString before = QDir::currentPath();
    QDir::setCurrent(Q(cwd));
    {
      THauptForm form;
      form.show();
      form.rbText->click();
      SetSource(form, source, pattern);
      form.btStart->click();
      QCOMPARE(FDialogs->Count(dkError), 1);
      QVERIFY(!FDialogs->Last(dkError)->Text.isEmpty());
      QCOMPARE(form.Results()->rowCount(), 0);
      QVERIFY(form.btStart->isEnabled());
    }
    QDir::setCurrent(before);
    QCOMPARE(ReadFile(cwd + "/note.txt"), text);
    QVERIFY(!std::filesystem::exists(cwd + "/note.txt.bak"));
  }

  void storedModeOtherThanZeroOrOneIsBinary_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("mode");
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("2") << "2" << 0;
    QTest::newRow("-1") << "-1" << 0;
    QTest::newRow("text") << "abc" << 0;
  }
  void storedModeOtherThanZeroOrOneIsBinary() {
    QFETCH(QString, stored);
    QFETCH(int, mode);
    WriteFile(Ini(), "[Config]\nMode=" + stored.toStdString() + "\n");
    THauptForm form;
    form.show();
    QCOMPARE(form.ModeIndex(), mode);
    QCOMPARE(form.FileEdit->currentText(), THauptForm::DefaultPattern(mode));
  }

  void settingsRoundTrip() {
    {
      THauptForm form;
      form.show();
      form.rbText->click();
      form.chbSubDir->setChecked(true);
      form.cbShow->setChecked(true);
      AddToHistory(form.SourceDirEdit, "/a/");
      AddToHistory(form.SourceDirEdit, "/b/");
      AddToHistory(form.FileEdit, "x.asm");
    }
    THauptForm form;
    QCOMPARE(form.ModeIndex(), 1);
    QVERIFY(form.chbSubDir->isChecked());
    QVERIFY(!form.cbShow->isChecked());  // not stored
    QCOMPARE(ComboItems(form.SourceDirEdit), (QStringList{"/b/", "/a/"}));
    QCOMPARE(ComboItems(form.FileEdit), (QStringList{"x.asm", "*.bin"}));
    form.show();
    QCOMPARE(form.FileEdit->currentText(), QString("*.txt;*.asm"));  // the mode's pattern at start
  }

  // A folder and a pattern typed and checked are in the histories at the next start, which the
  // fields offer with their drop-down buttons.
  void typedAndCheckedGoesToTheHistories() {
    const std::string dir = *FTemp / "tapes";
    WriteFile(dir + "/empty.ab", "");
    {
      THauptForm form;
      form.show();
      QVERIFY(HasDropDownButton(form.FileEdit));  // "*.bin" alone is already a history
      QVERIFY(!HasDropDownButton(form.SourceDirEdit));
      SetSource(form, Q(dir), "*.ab");
      form.btStart->click();
      QCOMPARE(ComboItems(form.SourceDirEdit), QStringList{Q(dir)});
      QCOMPARE(ComboItems(form.FileEdit), (QStringList{"*.ab", "*.bin"}));
      QCOMPARE(form.SourceDirEdit->currentText(), Q(dir));
      QCOMPARE(form.FileEdit->currentText(), QString("*.ab"));
      QVERIFY(HasDropDownButton(form.SourceDirEdit));
    }
    THauptForm form;
    form.show();
    QCOMPARE(ComboItems(form.SourceDirEdit), QStringList{Q(dir)});
    QCOMPARE(ComboItems(form.FileEdit), (QStringList{"*.ab", "*.bin"}));
    QVERIFY(HasDropDownButton(form.SourceDirEdit));
    QVERIFY(HasDropDownButton(form.FileEdit));
  }

  // "Show contents" on a tape that lists more lines than the list keeps: the list ends with one
  // line counting the rest; the run itself goes on to its end.
  void contentsAreBounded() {
    const std::string dir = *FTemp / "tapes";
    WriteFile(dir + "/hostile.ab", RepeatTape(3));  // 3 x 510 contents lines
    THauptForm form;
    form.show();
    form.Results()->SetLimits(1000, TResultListModel::DefaultByteLimit);
    form.cbShow->setChecked(true);
    SetSource(form, Q(dir), "hostile.ab");
    form.btStart->click();
    QVERIFY(!form.CheckRun().Stopped());
    QCOMPARE(FDialogs->Count(dkError), 0);
    // File:, 1530 contents lines, Start at, Checked:, Files checked: 1534 lines, 1000 kept.
    QCOMPARE(form.Results()->LeftOut(), std::size_t(534));
    QCOMPARE(form.Results()->rowCount(), 1001);
    QCOMPARE(form.Results()->Line(1000), QString("534 more lines left out: the list keeps at most 1000 lines"));
    QCOMPARE(form.lbResult->currentIndex().row(), 1000);

    // Bytes bound the list as well.
    form.Results()->SetLimits(TResultListModel::DefaultLineLimit, 100);
    form.btStart->click();
    QVERIFY(form.Results()->rowCount() < 10);
    QVERIFY(form.Results()->Line(form.Results()->rowCount() - 1).contains("more lines left out"));
  }

  // 200,000 contents lines: every one ends up in the list, appended in batches.
  void bigRunListsEveryLine() {
    const std::string dir = *FTemp / "tapes";
    TTape tape;
    constexpr int Blocks = 12500;
    for (int i = 0; i < Blocks; ++i)
      tape.Data(static_cast<std::uint16_t>((16 * i) & 077777), std::vector<std::uint16_t>(16, 0100));
    WriteFile(dir + "/big.ab", tape.Str());
    THauptForm form;
    form.show();
    form.cbShow->setChecked(true);
    SetSource(form, Q(dir), "big.ab");
    form.btStart->click();
    QCOMPARE(form.Results()->rowCount(), 200'003);
    QCOMPARE(form.Results()->Line(1), QString(" 000000 000100 JMP     100"));
    QCOMPARE(form.Results()->Line(200'001), QString("  Checked: 12500 blocks: OK"));
    QCOMPARE(form.Results()->Line(200'002), QString("1 Files checked"));
    QVERIFY2(form.CheckRun().CatchUps() < 2000, "the window catches up in batches, not per line");
  }

  // tallis FOLDER [PATTERN]: the fields filled and the check run; a tape file alone in its folder.
  void givenFolderIsChecked_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("summary");
    const QString tapes = TapesDir;
    QTest::newRow("folder and pattern") << QStringList{tapes, "novabasic*.ab"} << tapes << "novabasic*.ab"
                                        << "2 Files checked";
    QTest::newRow("a tape file") << QStringList{tapes + "/novabasic2.ab"} << tapes << "novabasic2.ab"
                                 << "1 Files checked";
    QTest::newRow("a folder with blanks and umlauts") << QStringList{"@/Bänder mit Lücke"} << "@/Bänder mit Lücke"
                                                      << "*.bin" << "1 Files checked";
  }
  void givenFolderIsChecked() {
    QFETCH(QStringList, args);
    QFETCH(QString, folder);
    QFETCH(QString, pattern);
    QFETCH(QString, summary);
    const QString temp = Q(FTemp->Path());
    std::filesystem::create_directories(*FTemp / "Bänder mit Lücke");
    std::filesystem::copy_file(TapesDir.toStdString() + "/novabasic1.ab", *FTemp / "Bänder mit Lücke/eins.bin");
    std::vector<std::string> given;
    for (const QString& a : args) given.push_back(QString(a).replace("@", temp).toStdString());
    THauptForm form;
    form.show();
    CheckGivenFolder(form, given);
    QCOMPARE(FDialogs->Count(dkError), 0);
    QCOMPARE(form.SourceDirEdit->currentText(), folder.replace("@", temp));
    QCOMPARE(form.FileEdit->currentText(), pattern);
    QCOMPARE(form.Results()->Lines().value(form.Results()->rowCount() - 1), summary);
  }

  void givenFolderRefused_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringList{"@/nowhere"} << "Folder not found:";
    QTest::newRow("more than folder and pattern") << QStringList{"@", "*.ab", "@"} << "one folder at a time";
  }
  void givenFolderRefused() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    std::vector<std::string> given;
    for (const QString& a : args) given.push_back(QString(a).replace("@", Q(FTemp->Path())).toStdString());
    THauptForm form;
    form.show();
    SetSource(form, "before", "*.before");
    CheckGivenFolder(form, given);
    QCOMPARE(FDialogs->Count(dkError), 1);
    QVERIFY2(FDialogs->Last(dkError)->Text.contains(message), qPrintable(FDialogs->Last(dkError)->Text));
    QCOMPARE(form.SourceDirEdit->currentText(), QString("before"));
    QCOMPARE(form.FileEdit->currentText(), QString("*.before"));
    QCOMPARE(form.Results()->rowCount(), 0);
  }

  void germanCaptions() {
    StartTallis(*FTemp, {"/lang:de"});
    THauptForm form;
    form.show();
    QCOMPARE(form.rgMode->title(), QString("Modus"));
    QCOMPARE(form.rbBinary->text(), QString::fromUtf8("Binärdateien prüfen"));
    QCOMPARE(form.rbText->text(), QString::fromUtf8("Quelldateien prüfen"));
    QCOMPARE(form.btStart->text(), QString::fromUtf8("Prüfen"));
    QCOMPARE(form.EndeBtn->text(), QString("Beenden"));
    QCOMPARE(form.cbShow->text(), QString("Inhalt anzeigen"));
    QCOMPARE(form.windowTitle(), QString("Tallis - Version 2.0.1"));
    FDialogs->Cancel(dkDirectory);
    form.SourceSelectBtn->click();
    QCOMPARE(FDialogs->Last(dkDirectory)->Caption, QString::fromUtf8("Verzeichnis mit Binärdateien"));
    SetSource(form, TapesDir, "novabasic1.ab");
    form.btStart->click();
    QCOMPARE(form.Results()->Line(3), QString::fromUtf8("1 Dateien geprüft"));
  }
};

QTEST_MAIN(TTallisWindowTest)
#include "TallisWindowTest.moc"
