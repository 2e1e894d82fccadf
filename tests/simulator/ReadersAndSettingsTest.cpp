// The reader pages and the window's settings: the file filters offer the absolute binary tapes,
// the file histories keep 50 entries from one start to the next, the watch list shows the memory
// after "Clear memory", and one table of the smaller rules (Reset and the console, a closed tape
// chosen again and stored, the language item, the working directory and text file type dialogs).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "Console.h"
#include "DeviceTabs.h"
#include "DumpActions.h"
#include "IniFile.h"
#include "MachineController.h"
#include "MainForm.h"
#include "NovaFrontpanel.h"
#include "ScriptedDialogs.h"
#include "ShellDirDlg.h"
#include "TeletypePanel.h"
#include "TestTempDir.h"
#include "Translate.h"
#include "WatchWin.h"
#include "WindowTestKit.h"

namespace {

const std::string Samples = CORVANE_BINARY_DIR "/samples";

// One rule checked on a fresh window.
struct TRuleCase {
  const char* Name;
  std::function<void(TTempDir&, TScriptedDialogs&, TMainForm&)> Check;
};

void ConsoleRule(TMainForm& f, bool resetButton) {
  f.gbTTY->mmTTO->AddBytes("\rPRINTED");
  if (resetButton)
    f.btReset->click();
  else
    f.FrontPanelCommand(nullptr, ncReset);
  QCOMPARE(f.Machine().PC, TWord(2));  // the machine was reset either way
  QCOMPARE(f.gbTTY->mmTTO->toPlainText().contains("PRINTED"), !resetButton);
  if (resetButton) QCOMPARE(f.gbTTY->mmTTO->blockCount(), 1);  // one empty line
}

const TRuleCase RuleCases[] = {
    {"Reset button empties the console", [](TTempDir&, TScriptedDialogs&, TMainForm& f) { ConsoleRule(f, true); }},
    {"front panel RESET leaves the console", [](TTempDir&, TScriptedDialogs&, TMainForm& f) { ConsoleRule(f, false); }},
    {"a closed tape chosen again is attached afresh",
     [](TTempDir&, TScriptedDialogs& dialogs, TMainForm& f) {
       const QString hello = QString::fromStdString(Samples + "/hello.bin");
       dialogs.AnswerOpen({hello});
       f.pcDevices->Ptr.btOpen->click();
       QVERIFY(f.Peripherals().PtrFile);
       f.pcDevices->Ptr.btClose->click();
       QVERIFY(f.Peripherals().PtrFile->RunOut());
       QCOMPARE(f.pcDevices->Ptr.edFile->currentIndex(), -1);
       f.pcDevices->Ptr.edFile->setCurrentIndex(0);  // chosen from the list
       emit f.pcDevices->Ptr.edFile->activated(0);
       QVERIFY(f.Peripherals().PtrFile);
       QVERIFY(!f.Peripherals().PtrFile->RunOut());
       QCOMPARE(f.Peripherals().PtrFile->TrailerCount, 0);
       QCOMPARE(dialogs.Count(dkConfirm), 0);  // a tape that has run out goes without asking
     }},
    {"a closed tape is stored empty",
     [](TTempDir&, TScriptedDialogs&, TMainForm& f) {
       QVERIFY(f.Peripherals().OpenPtrFile(Samples + "/hello.bin"));
       f.pcDevices->Ptr.edFile->addItem(QString::fromStdString(Samples + "/hello.bin"));
       f.pcDevices->Ptr.edFile->setCurrentIndex(0);
       f.pcDevices->Ptr.btClose->click();
       f.Shutdown();
       QCOMPARE(TIniFile(f.IniName()).ReadString("Config", "PTRName", "unset"), std::string());
     }},
    {"the language item is clicked at creation",
     [](TTempDir& dir, TScriptedDialogs&, TMainForm& f) {
       QVERIFY(f.itmEnglish->isChecked());
       // Clicked, not only checked: a window made while another language is active switches.
       ActivateLanguage("fr");
       const TMainForm other(TMainFormPaths{dir / "other/", dir / "docs"});
       QCOMPARE(ActiveLanguage(), std::string("en"));
       QVERIFY(other.itmEnglish->isChecked());
       QCOMPARE(LanguageItemCode("de"), std::string("de"));
       QCOMPARE(LanguageItemCode("DE"), std::string("de"));
       QCOMPARE(LanguageItemCode("fr"), std::string("en"));
       QCOMPARE(LanguageItemCode(""), std::string("en"));
     }},
    {"working directory: files on request, no home folder",
     [](TTempDir& dir, TScriptedDialogs& dialogs, TMainForm& f) {
       bool fileView = false;
       dialogs.OnModal([&fileView](QDialog& d) {
         auto* dirs = qobject_cast<TShellDirDialog*>(&d);
         if (!dirs) return int(QDialog::Rejected);
         fileView = !dirs->ShowFilesBox()->isHidden();
         return int(QDialog::Rejected);
       });
       const std::string before = f.WorkPath;
       f.WorkingDirectoryClick();
       QVERIFY(fileView);
       QCOMPARE(dialogs.Last(dkDirectory)->Text, QString());  // the home folder
       QCOMPARE(dialogs.Last(dkDirectory)->Value, QString::fromStdString(before));
       QCOMPARE(dialogs.Last(dkDirectory)->Caption, QString("Working directory"));
       dialogs.AnswerDirectory(QString::fromStdString(dir / "work/"));
       f.WorkingDirectoryClick();
       QCOMPARE(f.WorkPath, dir / "work");
     }},
    {"text file types in the text input dialog",
     [](TTempDir&, TScriptedDialogs& dialogs, TMainForm& f) {
       dialogs.AnswerInputText("txt, *.bas");
       f.TextFileTypesClick();
       QCOMPARE(dialogs.Count(dkInputString), 0);
       QCOMPARE(dialogs.Last(dkInputText)->Caption, QString("Text file types"));
       QCOMPARE(dialogs.Last(dkInputText)->Text, QString("Comma separated list:"));
       QCOMPARE(f.TextFiles(), std::string("txt,bas"));
     }},
    {"the punch switch and the text radios follow the peripherals' options",
     [](TTempDir&, TScriptedDialogs&, TMainForm& f) {
       f.Peripherals().SetTtyPunch(true);
       QVERIFY(f.gbTTY->tswTTPunch->isChecked());
       QCOMPARE(f.gbTTY->tswTTPunch->text(), QString("Punch: On"));
       f.Peripherals().SetTextChoice(pdPtr, true);
       QVERIFY(f.pcDevices->Ptr.rbTextFile->isChecked());
       QVERIFY(f.pcDevices->Ttr.rbBinFile->isChecked());
       // And the other way: the radio sets the option.
       f.pcDevices->Ttr.rbTextFile->click();
       QVERIFY(f.Peripherals().TtrText);
       f.gbTTY->tswTTPunch->click();
       QVERIFY(!f.Peripherals().TtyPunch);
       QCOMPARE(f.gbTTY->tswTTPunch->text(), QString("Punch: Off"));
     }},
};

}  // namespace

class TReadersAndSettingsTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { ActivateLanguage("en"); }

  void readerFiltersOfferTheBinaryTapes() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    for (QToolButton* open : {f.pcDevices->Ptr.btOpen, f.pcDevices->Ttr.btOpen}) {
      dialogs.Cancel(dkOpenFiles);
      open->click();
      const QStringList parts = dialogs.Last(dkOpenFiles)->Text.split('|');
      const qsizetype at = parts.indexOf("Binary files");
      QVERIFY(at >= 0 && at + 1 < parts.size());
      const QStringList patterns = parts[at + 1].split(';');
      for (const char* pattern : {"*.bin", "*.ab", "*.AB", "*.tap"}) QVERIFY2(patterns.contains(pattern), pattern);
    }
  }

  void readerHistoriesKeepFiftyEntries() {
    TTempDir dir;
    {
      std::filesystem::create_directories(dir / "settings");
      TIniFile ini(dir / "settings/Corvane.ini");
      for (int i = 0; i < 60; ++i) {
        ini.WriteString("PtrFiles", "History" + std::to_string(i), dir / ("tape" + std::to_string(i) + ".ab"));
        ini.WriteString("TtrFiles", "History" + std::to_string(i), dir / ("text" + std::to_string(i) + ".txt"));
      }
      QVERIFY(ini.UpdateFile());
    }
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      for (TReaderPage* page : {&f.pcDevices->Ptr, &f.pcDevices->Ttr}) {
        QCOMPARE(page->edFile->count(), 50);
        QVERIFY(page->edFile->itemText(49).contains("49."));
      }
      // One more tape on top: the 50th entry goes.
      const QString hello = QString::fromStdString(Samples + "/hello.bin");
      dialogs.AnswerOpen({hello});
      f.pcDevices->Ptr.btOpen->click();
      QCOMPARE(f.pcDevices->Ptr.edFile->count(), 50);
      QCOMPARE(f.pcDevices->Ptr.edFile->itemText(0), hello);
      QVERIFY(f.pcDevices->Ptr.edFile->itemText(49).contains("tape48."));
    }
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadString("PtrFiles", "History0", ""), Samples + "/hello.bin");
    QCOMPARE(ini.ReadString("PtrFiles", "History49", ""), dir / "tape48.ab");
    QCOMPARE(ini.ReadString("PtrFiles", "History50", "none"), std::string("none"));
    QCOMPARE(ini.ReadString("TtrFiles", "History49", ""), dir / "text49.txt");
    QCOMPARE(ini.ReadString("TtrFiles", "History50", "none"), std::string("none"));
  }

  void watchListShowsTheMemoryAfterClearMemory() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.itmWatchList->setChecked(true);
    m.Memory[0100].Data = 0707;
    m.AddWatch(0100);
    TWatchWin& ww = f.WatchWin();
    QTRY_COMPARE(ww.Model()->CellText(0, TWatchModel::colContents), QString("000707 (001 307)"));
    f.Dumps().itmClearMemory->trigger();
    QCOMPARE(ww.Model()->CellText(0, TWatchModel::colContents), QString("000000 (000 000)"));
    QVERIFY(!m.Watch[0].Changed);  // nothing marked, as after a dump load
  }

  void smallerRules_data() {
    QTest::addColumn<int>("rule");
    for (int i = 0; i < int(std::size(RuleCases)); ++i) QTest::newRow(RuleCases[i].Name) << i;
  }

  void smallerRules() {
    QFETCH(int, rule);
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    RuleCases[rule].Check(dir, dialogs, w.Form);
  }
};

QTEST_MAIN(TReadersAndSettingsTest)
#include "ReadersAndSettingsTest.moc"
