// The assembler in the window: sources straight into memory with their labels in every view, the
// error list with nothing changed, Goto and the add dialogs taking a label, labels switched off,
// the tape file, symbols loaded from a file, and the symbols back after a restart.
#include <QAction>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

#include "AsmErrorsDlg.h"
#include "AsmOutput.h"
#include "AssemblerActions.h"
#include "DumpActions.h"
#include "MachineState.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "QtText.h"
#include "RegisterPanel.h"
#include "RunControl.h"
#include "TraceWin.h"
#include "WatchWin.h"
#include "WindowTestKit.h"

namespace {

const char* const Program =
    "        .TITL DEMO\n"
    "        .LOC 100\n"
    "START:  LDA 1,DVMSK\n"
    "LOOP:   INC 1,1\n"
    "        JMP LOOP\n"
    "DVMSK:  17\n"
    "        .END START\n";

QString Command(TMainForm& f, int row) { return f.gbMemory->sgMemory->Model()->CellText(row, TMemoryModel::colCommand); }

std::string Contents(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Answers the next error list: its rows as "name|line|message" and the text Copy takes.
struct TErrorList {
  QStringList Rows;
  QString Summary, Copied;
  void Expect(TScriptedDialogs& dialogs) {
    dialogs.OnModal([this](QDialog& d) {
      auto* list = qobject_cast<TAsmErrorsDialog*>(&d);
      if (!list) return int(QDialog::Rejected);
      Summary = list->lbSummary->text();
      for (int i = 0; i < list->lvErrors->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->lvErrors->topLevelItem(i);
        Rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
      }
      Copied = list->CopyText();
      return int(QDialog::Accepted);
    });
  }
};

}  // namespace

class TAssemblerWindowTest : public QObject {
  Q_OBJECT
private slots:
  void assembledIntoMemoryWithLabelsEverywhere() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TAssemblerActions& a = f.Assembler();
    const std::string source = dir / "demo.sr";
    WriteFile(source, Program);
    QVERIFY(!a.itmReassemble->isEnabled());
    dialogs.AnswerOpen({QString::fromStdString(source)});
    a.itmAssemble->trigger();
    QCOMPARE(dialogs.Count(dkModal), 0);
    QCOMPARE(f.Machine().Memory[0103].Data, TWord(017));
    QCOMPARE(int(f.Machine().PC), 0100);
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0100);
    QCOMPARE(f.gbRegister->edCommand->text(), QString("LDA 1,DVMSK"));

    // The grid: a row's label in front, operands by name; rows without a label line up.
    QCOMPARE(Command(f, 0100), QString("START:  LDA     1,DVMSK"));
    QCOMPARE(Command(f, 0101), QString("LOOP:   INC     1,1"));
    QCOMPARE(Command(f, 0102), QString("        JMP     LOOP"));
    // The trace and the watch list say the same.
    f.RunControl().Step();
    f.TraceWin().show();
    QCOMPARE(f.TraceWin().Model()->CellText(0, TTraceModel::colCommand), QString("START:  LDA     1,DVMSK"));

    // Goto and the watch list's add dialog take a label, in any case, with an offset.
    dialogs.AnswerInput("loop+1");
    f.gbMemory->GotoAddressClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0102);
    dialogs.AnswerInput("DVMSK");
    f.WatchWin().show();
    f.WatchWin().btAddClick();
    QCOMPARE(f.Machine().Watch.size(), std::size_t(1));
    QCOMPARE(int(f.Machine().Watch[0].Addr), 0103);
    QCOMPARE(f.WatchWin().Model()->CellText(0, TWatchModel::colCommand).left(7), QString("DVMSK: "));
    dialogs.AnswerInput("NOWHERE");
    f.gbMemory->GotoAddressClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0102);
    QCOMPARE(dialogs.Last(dkError)->Text, QString("NOWHERE is neither an address nor a label"));

    // Labels off: the plain disassembly everywhere; typed labels are still understood.
    a.itmShowLabels->trigger();
    QVERIFY(!f.Controller().LabelsShown());
    const TWord jmp = f.Machine().Memory[0102].Data;
    QCOMPARE(Command(f, 0102), ToQString(CommandToStr(0102, jmp, nmOctal, true)));
    QCOMPARE(f.TraceWin().Model()->CellText(0, TTraceModel::colCommand),
             ToQString(CommandToStr(0100, f.Machine().Memory[0100].Data, nmOctal, true)));
    dialogs.AnswerInput("START");
    f.gbMemory->GotoAddressClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0100);
    a.itmShowLabels->trigger();
    QCOMPARE(Command(f, 0102), QString("        JMP     LOOP"));

    // Reassemble (Ctrl+F9) takes the edited source again.
    QCOMPARE(a.itmReassemble->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F9));
    QVERIFY(a.itmReassemble->isEnabled());
    WriteFile(source, std::string(Program).replace(std::string(Program).find("17\n"), 2, "21"));
    f.Machine().SetPC(0);
    a.itmReassemble->trigger();
    QCOMPARE(f.Machine().Memory[0103].Data, TWord(021));
    QCOMPARE(int(f.Machine().PC), 0100);
  }

  void errorsAreListedAndNothingChanges() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    WriteFile(dir / "good.sr", Program);
    QVERIFY(f.Assembler().AssembleIntoMemory({dir / "good.sr"}));
    f.Machine().SetPC(0200);
    const TMachineState before = CaptureState(f.Machine(), f.Peripherals());
    WriteFile(dir / "bad.sr", "        .LOC 100\n        LDA 0,NOWHERE\n        777777\n        .END\n");
    TErrorList list;
    list.Expect(dialogs);
    dialogs.AnswerOpen({QString::fromStdString(dir / "bad.sr")});
    f.Assembler().itmAssemble->trigger();
    QCOMPARE(list.Rows.size(), 2);
    QVERIFY2(list.Rows[0].startsWith("bad.sr|2|"), qPrintable(list.Rows[0]));
    QVERIFY2(list.Rows[1].startsWith("bad.sr|3|"), qPrintable(list.Rows[1]));
    QVERIFY(list.Summary.contains("Errors: 2"));
    QVERIFY(list.Copied.startsWith(QString::fromStdString(dir / "bad.sr") + ":2: "));
    QCOMPARE(list.Copied.count('\n'), 2);
    QVERIFY(CaptureState(f.Machine(), f.Peripherals()) == before);
    QVERIFY(f.Controller().Symbols().Find("LOOP"));  // the symbols stay as they were
    // The last good sources stay the ones Reassemble takes.
    QCOMPARE(f.Assembler().LastSources(), std::vector<std::string>{dir / "good.sr"});
  }

  void tapeAndSymbolFiles() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TAssemblerActions& a = f.Assembler();
    WriteFile(dir / "demo.sr", Program);
    const TMachineState before = CaptureState(f.Machine(), f.Peripherals());
    const QString tape = QString::fromStdString(dir / "demo.bin");
    dialogs.AnswerOpen({QString::fromStdString(dir / "demo.sr")});
    dialogs.AnswerChoice(0);
    dialogs.AnswerSave(tape);
    a.itmAssembleTape->trigger();
    TAsmSource source{dir / "demo.sr", Program};
    const std::vector<std::uint8_t> expected = AbsoluteTape(Assemble({source}));
    QVERIFY(Contents(tape.toStdString()) == std::string(expected.begin(), expected.end()));
    QVERIFY(CaptureState(f.Machine(), f.Peripherals()) == before);  // memory untouched
    QCOMPARE(dialogs.Count(dkInformation), 1);
    // A program-load tape the program does not fit: the reason, and the tape stays as it was.
    dialogs.AnswerOpen({QString::fromStdString(dir / "demo.sr")});
    dialogs.AnswerChoice(1);
    dialogs.AnswerSave(tape);
    a.itmAssembleTape->trigger();
    QVERIFY(dialogs.Last(dkError)->Text.startsWith("No tape has been written:"));
    QVERIFY(Contents(tape.toStdString()) == std::string(expected.begin(), expected.end()));

    // Symbols from a file name the grid's places; a bad file leaves them as they were.
    WriteFile(dir / "demo.sym", "LOOP 000101\nDVMSK 000103\n");
    dialogs.AnswerOpen({QString::fromStdString(dir / "demo.sym")});
    a.itmLoadSymbols->trigger();
    QCOMPARE(Command(f, 0101).left(8), QString("LOOP:   "));
    WriteFile(dir / "bad.sym", "LOOP 000101\nDVMSK 9\n");
    TErrorList list;
    list.Expect(dialogs);
    dialogs.AnswerOpen({QString::fromStdString(dir / "bad.sym")});
    a.itmLoadSymbols->trigger();
    QCOMPARE(list.Rows.size(), 1);
    QVERIFY2(list.Rows[0].startsWith("bad.sym|2|"), qPrintable(list.Rows[0]));
    QCOMPARE(f.Controller().Symbols().Size(), std::size_t(2));
  }

  // The symbols are kept beside the auto-saved image and come back with it, and so do the
  // labels switch and the last sources.
  void symbolsComeBackAfterARestart() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    WriteFile(dir / "demo.sr", Program);
    {
      TWindow w(dir);
      QVERIFY(w.Form.Assembler().AssembleIntoMemory({dir / "demo.sr"}));
      w.Form.Assembler().itmShowLabels->trigger();
    }
    QVERIFY(std::filesystem::exists(dir / "docs/Nova/autodump.sym"));
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.Controller().Symbols().Size(), std::size_t(3));
      QVERIFY(!f.Assembler().itmShowLabels->isChecked());
      QCOMPARE(f.Assembler().LastSources(), std::vector<std::string>{dir / "demo.sr"});
      f.Assembler().itmShowLabels->trigger();
      QCOMPARE(Command(f, 0101), QString("LOOP:   INC     1,1"));
      // Clearing memory forgets the program's symbols, and the next quit removes the file.
      f.Dumps().ClearMemoryClick();
      QVERIFY(f.Controller().Symbols().Empty());
    }
    QVERIFY(!std::filesystem::exists(dir / "docs/Nova/autodump.sym"));
  }
};

QTEST_MAIN(TAssemblerWindowTest)
#include "AssemblerWindowTest.moc"
