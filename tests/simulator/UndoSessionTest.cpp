// Undo of the commands that replace the machine state at one stroke, through the window's
// "&Edit" > "&Undo" and Ctrl+Z: the whole machine, the symbols and the dump named in the
// caption come back. The resumed session: quit and start again, and the machine, its tapes and
// the teletype's text are as they were; switched off, missing, damaged or not of the image, the
// start is the plain one.
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "Console.h"
#include "DeviceTabs.h"
#include "DumpActions.h"
#include "GivenFiles.h"
#include "IniFile.h"
#include "KeyQueue.h"
#include "LanguageSwitch.h"
#include "MachineState.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "StateFile.h"
#include "TeletypePanel.h"
#include "Translate.h"
#include "WindowTestKit.h"

namespace {

namespace fs = std::filesystem;

const std::string Samples = CORVANE_BINARY_DIR "/samples";

QAction* UndoItem(TMainForm& f) { return f.findChild<QAction*>("itmUndo"); }
QAction* ResumeItem(TMainForm& f) { return f.findChild<QAction*>("itmResumeSession"); }
QString ConsoleText(TMainForm& f) { return f.gbTTY->mmTTO->toPlainText(); }

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A session to leave: a program and registers, a tape read into, the teletype's text.
void Leave(TMainForm& f) {
  TNovaMachine& m = f.Machine();
  Store(m, 0100, {"LDA 0,200", "INC 0,0", "STA 0,200", "JMP 101"});
  m.SetPC(0100);
  m.Step();
  m.SetAC(3, 04321);
  QVERIFY(f.Peripherals().OpenPtrFile(Samples + "/hello.bin"));
  f.Peripherals().PtrByteRequest(m.Ptr);
  f.gbTTY->mmTTO->AddBytes("\r\nREADY\r\n10 PRINT 2+2");
}

std::unique_ptr<TMachineState> Capture(TMainForm& f) {
  return std::make_unique<TMachineState>(CaptureState(f.Machine(), f.Peripherals()));
}

// Ctrl+Z as the user presses it, the focus in the grid.
void PressUndo(TMainForm& f) {
  f.activateWindow();
  f.gbMemory->sgMemory->setFocus();
  QTest::keyClick(f.gbMemory->sgMemory, Qt::Key_Z, Qt::ControlModifier);
}

// A machine that is more than a reset one: a program, registers, interrupts on, a device done,
// a breakpoint, a watch, a trace and symbols.
void Busy(TMainForm& f) {
  TNovaMachine& m = f.Machine();
  Store(m, 0100, {"LDA 0,200", "INC 0,0", "STA 0,200", "JMP 101"});
  m.SetPC(0100);
  m.Step();
  m.SetAC(2, 0777);
  m.SetCarry(1);
  m.IntEnable = m.PreEnable = true;
  m.Ptr.SetState(TDeviceState{false, true, false, false, false, 0, 0, 0301});
  m.SetBreakpoint(077700);
  m.AddWatch(0200);
  TSymbolTable symbols;
  symbols.Add("LOOP", 0101);
  f.Controller().SetSymbols(symbols);
  f.gbTTY->mmTTO->AddBytes("\r\nREADY");
}

void WriteDump(const std::string& name, std::initializer_list<TWord> words) {
  std::ofstream out(name, std::ios::binary);
  for (TWord w : words) out << char(w & 0xff) << char(w >> 8);
}

struct TUndoCase {
  const char* Name;
  const char* Item;  // the undo item's text after the command
  std::function<void(TMainForm&, TScriptedDialogs&, const TTempDir&)> Command;
};

}  // namespace

class TUndoSessionTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
  }

  void eachCommandIsUndoneWhole() {
    const TUndoCase cases[] = {
        {"load dump", "&Undo Load dump",
         [](TMainForm& f, TScriptedDialogs& d, const TTempDir& dir) {
           WriteDump(dir / "other.dmp", {1, 2, 3});
           d.AnswerOpen({QString::fromStdString(dir / "other.dmp")});
           f.Dumps().LoadDumpClick();
           QVERIFY(f.windowTitle().contains("other.dmp"));
         }},
        {"reload", "&Undo Load dump",
         [](TMainForm& f, TScriptedDialogs&, const TTempDir&) { f.Dumps().ReloadClick(); }},
        {"clear memory", "&Undo Clear memory",
         [](TMainForm& f, TScriptedDialogs&, const TTempDir&) { f.Dumps().itmClearMemory->trigger(); }},
        {"memory size", "&Undo Memory size",
         [](TMainForm& f, TScriptedDialogs& d, const TTempDir&) {
           AnswerValue(d, "400");
           d.AnswerConfirm(true);
           f.MemorySizeClick();
           QCOMPARE(f.Machine().MemSize, 0400);
         }},
        {"program load", "&Undo Program load",
         [](TMainForm& f, TScriptedDialogs& d, const TTempDir&) {
           AnswerValue(d, "12");
           f.btPrgLoadClick();
           QCOMPARE(f.Machine().LastStopReason(), srHalt);
         }},
        {"load machine state", "&Undo Load machine state",
         [](TMainForm& f, TScriptedDialogs&, const TTempDir& dir) {
           TNovaMachine other;
           TPeripherals peripherals(other);
           other.PC = 0555;
           TMachineError error;
           QVERIFY(SaveMachineState(dir / "other.nvs", other, peripherals, error));
           OpenGivenFiles(f, {dir / "other.nvs"});
           QCOMPARE(f.Machine().PC, TWord(0555));
         }},
        {"reset", "&Undo Reset",
         [](TMainForm& f, TScriptedDialogs&, const TTempDir&) {
           f.itmReset->trigger();
           QVERIFY(!ConsoleText(f).contains("READY"));
         }},
        {"front panel reset", "&Undo Reset",
         [](TMainForm& f, TScriptedDialogs&, const TTempDir&) { f.RunControl().PanelSwitch(ncReset); }},
    };
    for (const TUndoCase& c : cases) {
      TTempDir dir;
      TScriptedDialogs dialogs;
      TWindow w(dir);
      TMainForm& f = w.Form;
      QAction* undo = UndoItem(f);
      QVERIFY(undo);
      QCOMPARE(undo->text(), QString("&Undo"));
      QVERIFY2(!undo->isEnabled(), c.Name);  // nothing to undo after the start
      Busy(f);
      // The window's own dump, which "Reload" loads again.
      WriteDump(dir / "mine.dmp", {0, 0, 0});
      QVERIFY(f.Dumps().SaveDump(dir / "mine.dmp"));
      f.Dumps().DumpName = dir / "mine.dmp";
      QVERIFY(f.Peripherals().OpenPtrFile(Samples + "/hello.bin"));
      const QString title = f.windowTitle();
      const std::unique_ptr<TMachineState> before = Capture(f);

      c.Command(f, dialogs, dir);
      QVERIFY2(*Capture(f) != *before, c.Name);
      QCOMPARE(undo->text(), QString(c.Item));
      QVERIFY2(undo->isEnabled(), c.Name);

      PressUndo(f);
      QVERIFY2(*Capture(f) == *before, c.Name);
      QCOMPARE(f.Controller().Symbols().Find("LOOP")->Value, std::uint16_t(0101));
      QCOMPARE(f.windowTitle(), title);
      QVERIFY2(ConsoleText(f).contains(">READY"), c.Name);  // the Reset button empties the console
      QCOMPARE(f.Machine().Memory[077700].Flags & BreakpointFlag, BreakpointFlag);  // the grid's marks
      QCOMPARE(undo->text(), QString("&Undo"));
      QVERIFY2(!undo->isEnabled(), c.Name);
      QCOMPARE(dialogs.Count(dkError), 0);
    }
  }

  // Several commands are undone newest first, and a refused command leaves nothing to undo.
  void undoGoesBackCommandByCommand() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.WriteWord(0100, 0123);
    dialogs.AnswerOpen({QString::fromStdString(dir / "missing.dmp")});
    f.Dumps().LoadDumpClick();
    QCOMPARE(dialogs.Count(dkError), 1);
    QVERIFY(!UndoItem(f)->isEnabled());
    f.Dumps().itmClearMemory->trigger();
    AnswerValue(dialogs, "1000");
    dialogs.AnswerConfirm(true);
    f.MemorySizeClick();
    QCOMPARE(UndoItem(f)->text(), QString("&Undo Memory size"));
    PressUndo(f);
    QCOMPARE(m.MemSize, MemoryWords);
    QCOMPARE(m.Memory[0100].Data, TWord(0));
    QCOMPARE(UndoItem(f)->text(), QString("&Undo Clear memory"));
    PressUndo(f);
    QCOMPARE(m.Memory[0100].Data, TWord(0123));
    QVERIFY(!UndoItem(f)->isEnabled());
  }

  // Ctrl+Z belongs to the window: typed into the console while nothing is to be undone, it does
  // not reach the teletype.
  void ctrlZIsNeverATeletypeKeyWhileStopped() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.activateWindow();
    f.gbTTY->mmTTO->setFocus();
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.gbTTY->KeyQueue().Waiting(), std::size_t(0));
    QVERIFY(!f.Machine().Tti.DoneFlag());
    f.Dumps().itmClearMemory->trigger();
    f.gbTTY->mmTTO->setFocus();
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!UndoItem(f)->isEnabled());  // undone
    QCOMPARE(f.gbTTY->KeyQueue().Waiting(), std::size_t(0));
    QVERIFY(!f.Machine().Tti.DoneFlag());
  }

  void theSessionResumesWhereItWasLeft() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::unique_ptr<TMachineState> left;
    QString text;
    {
      TWindow w(dir);
      QVERIFY(ResumeItem(w.Form)->isChecked());  // on by default
      Leave(w.Form);
      left = Capture(w.Form);
      text = ConsoleText(w.Form);
      QVERIFY(w.Form.close());
    }
    QVERIFY(fs::exists(dir / "docs/Nova/autodump.dmp"));  // still written, memory only
    QCOMPARE(fs::file_size(dir / "docs/Nova/autodump.dmp"), std::uintmax_t(65536));
    QVERIFY(!TIniFile(dir / "settings/Corvane.ini").ReadBool("Config", "SessionRunning", true));
    TWindow w(dir);
    TMainForm& f = w.Form;
    QCOMPARE(f.Machine().PC, TWord(0101));
    QCOMPARE(f.Machine().AC[3], TWord(04321));
    QCOMPARE(ConsoleText(f), text);
    QVERIFY(*Capture(f) == *left);  // the tape where it was read to, the trace, everything
    QVERIFY(!f.Machine().Running());
    QCOMPARE(dialogs.Count(dkError) + dialogs.Count(dkInformation), 0);
  }

  // A tape of the session that is gone is named; the rest of the session comes back.
  void aTapeGoneIsNamedAndTheRestResumes() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    const std::string tape = dir / "hello.bin";
    fs::copy_file(Samples + "/hello.bin", tape);
    {
      TWindow w(dir);
      Leave(w.Form);
      QVERIFY(w.Form.Peripherals().OpenPtrFile(tape));
      QVERIFY(w.Form.close());
    }
    fs::remove(tape);
    TWindow w(dir);
    QCOMPARE(w.Form.Machine().PC, TWord(0101));
    QVERIFY(ConsoleText(w.Form).contains("READY"));
    QVERIFY(!w.Form.Peripherals().PtrFile);
    QVERIFY(dialogs.Last(dkError));
    QVERIFY(dialogs.Last(dkError)->Text.startsWith(
        "The last session is resumed, but these files could not be attached again:\r\nPTR: "));
    QVERIFY(dialogs.Last(dkError)->Text.contains("hello.bin"));
  }

  // A program that runs when the user quits runs on at the next start.
  void aRunStoppedByTheQuitGoesOn() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::uint64_t atQuit = 0;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      Store(f.Machine(), 0100, {"INC 0,0", "JMP 100"});
      f.Machine().SetPC(0100);
      bool asked = false;
      TPumpScript quit(f, false, [&] {
        if (!asked) QTimer::singleShot(0, &f, [&f] { f.close(); });
        asked = true;
        return true;
      });
      f.RunControl().Run();
      QTRY_VERIFY(f.isHidden());
      atQuit = f.Machine().ExecutedCount();
    }
    QVERIFY(TIniFile(dir / "settings/Corvane.ini").ReadBool("Config", "SessionRunning", false));
    TMainForm f(TMainFormPaths{dir / "settings/", dir / "docs"});
    bool ran = false;
    TPumpScript watch(f, [&] { return ran = f.Machine().ExecutedCount() > atQuit; });
    f.show();
    QTRY_VERIFY(ran && !f.Machine().Executing());
    QCOMPARE(f.Machine().LastStopReason(), srStop);
    QVERIFY(f.Machine().PC == 0100 || f.Machine().PC == 0101);
  }

  // Off, missing, damaged, or not of the image: the memory from the image and the machine
  // reset, as the plain start has it, and the user told why (only when a session was expected).
  void otherwiseTheStartIsThePlainOne() {
    struct TCase {
      const char* Name;
      std::function<void(TMainForm&)> BeforeQuit;
      std::function<void(const TTempDir&)> AfterQuit;
      TDialogKind Told;  // dkModal: nothing said
      const char* Text;
    };
    const TCase cases[] = {
        {"switched off", [](TMainForm& f) { ResumeItem(f)->trigger(); }, nullptr, dkModal, ""},
        {"missing", nullptr, [](const TTempDir& d) { fs::remove(d / "docs/Nova/autodump.nvs"); }, dkInformation,
         "There is no saved session beside the auto-saved image"},
        {"damaged",
         nullptr,
         [](const TTempDir& d) {
           fs::resize_file(d / "docs/Nova/autodump.nvs", fs::file_size(d / "docs/Nova/autodump.nvs") - 3);
         },
         dkError, "The last session could not be resumed:\r\nCannot read file "},
        {"image replaced", nullptr,
         [](const TTempDir& d) {
           std::string image = ReadFile(d / "docs/Nova/autodump.dmp");
           image[2 * 0100] = 077;
           WriteFile(d / "docs/Nova/autodump.dmp", image);
         },
         dkError, "does not belong to the auto-saved image"},
    };
    for (const TCase& c : cases) {
      TTempDir dir;
      TScriptedDialogs dialogs;
      {
        TWindow w(dir);
        Leave(w.Form);
        if (c.BeforeQuit) c.BeforeQuit(w.Form);
        QVERIFY(w.Form.close());
      }
      if (c.AfterQuit) c.AfterQuit(dir);
      TWindow w(dir);
      TMainForm& f = w.Form;
      QVERIFY2(f.Machine().PC == 2, c.Name);  // reset
      QCOMPARE(f.Machine().ExecutedCount(), std::uint64_t(0));
      QVERIFY2(!f.Peripherals().PtrFile || f.Peripherals().PtrFile->Position() == 0, c.Name);
      QVERIFY2(f.Machine().Memory[0101].Data != 0, c.Name);  // the image's memory
      QVERIFY2(!ConsoleText(f).contains("READY"), c.Name);
      if (c.Told == dkModal) {
        QCOMPARE(dialogs.Count(dkError) + dialogs.Count(dkInformation), 0);
        QVERIFY(!ResumeItem(f)->isChecked());  // kept in the settings
        QVERIFY(!fs::exists(dir / "docs/Nova/autodump.nvs"));
      } else {
        QVERIFY2(dialogs.Last(c.Told) && dialogs.Last(c.Told)->Text.contains(c.Text), c.Name);
      }
    }
  }

  void undoItemsInGerman() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.LanguageClick("de");
    QCOMPARE(UndoItem(f)->text(), QString("&Rückgängig"));
    f.Dumps().itmClearMemory->trigger();
    QCOMPARE(UndoItem(f)->text(), QString("&Rückgängig: Speicher löschen"));
    QCOMPARE(f.findChild<QMenu*>("mnEdit")->title(), QString("Bearbei&ten"));
    QCOMPARE(ResumeItem(f)->text(), QString("Letzte Sitzung fortsetzen"));
    f.LanguageClick("en");
    QCOMPARE(UndoItem(f)->text(), QString("&Undo Clear memory"));
  }
};

QTEST_MAIN(TUndoSessionTest)
#include "UndoSessionTest.moc"
