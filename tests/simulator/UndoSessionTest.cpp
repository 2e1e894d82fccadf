// Undo of the commands that replace the machine state at one stroke, through the window's
// "&Edit" > "&Undo" and Ctrl+Z: the whole machine, the symbols and the dump named in the
// caption come back.
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
        {"reset", "&Undo Reset", [](TMainForm& f, TScriptedDialogs&, const TTempDir&) { f.itmReset->trigger(); }},
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
    f.LanguageClick("en");
    QCOMPARE(UndoItem(f)->text(), QString("&Undo Clear memory"));
  }
};

QTEST_MAIN(TUndoSessionTest)
#include "UndoSessionTest.moc"
