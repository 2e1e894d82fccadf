// The debugger of the main window, offscreen: the breakpoint window with every kind, its dialog
// (kinds, ranges, conditions, counts and what it refuses), the hits, the grid's "Break on write",
// "Break on read" and "Run to here", the stop line and the grid's mark after a data breakpoint,
// "Step out", the trace length and the breakpoints in the settings file. Dialogs are answered
// through the dialog seam.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <fstream>

#include "BpWin.h"
#include "BreakpointDlg.h"
#include "IniFile.h"
#include "LanguageSwitch.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "RunControl.h"
#include "StatusLine.h"
#include "TraceWin.h"
#include "Translate.h"
#include "WindowTestKit.h"

namespace {


int DataStopRow(TMainForm& f) { return static_cast<TMemoryDelegate*>(f.gbMemory->sgMemory->itemDelegate())->DataStopRow(); }

// The grid's menu for a row, as a right click opens it.
void OpenGridMenu(TMainForm& f, int row) {
  f.gbMemory->CellPressed(Qt::RightButton, row, TMemoryModel::colContents, QPoint(10, 10), f.gbMemory->sgMemory->SelectedRow());
  f.gbMemory->pmMemory->hide();
}

}  // namespace

class TDebuggerTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
    SetWarningBeepHandler([] {});
  }

  void dialogSetsEveryKindAndRefusesWithTheReason_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("hex");
    // Set: the kind and address columns; refused: the error box's text.
    QTest::addColumn<QString>("kindText");
    QTest::addColumn<QString>("addressText");
    QTest::addColumn<QString>("error");
    QTest::newRow("execute") << int(bkExecute) << "101" << "" << "" << 0 << false << "Execute" << "000101" << "";
    QTest::newRow("execute is one word") << int(bkExecute) << "101" << "105" << "" << 0 << false << "Execute"
                                         << "000101" << "";
    QTest::newRow("write range") << int(bkWrite) << " 200 " << "210" << "" << 0 << false << "Write"
                                 << "000200-000210" << "";
    QTest::newRow("read with condition") << int(bkRead) << "300" << "" << "AC0 == 5 && [110] != 0" << 0 << false
                                         << "Read" << "000300" << "";
    QTest::newRow("access with count") << int(bkAccess) << "300" << "300" << "" << 3 << false << "Access"
                                       << "000300" << "";
    QTest::newRow("hex") << int(bkWrite) << "1FF" << "200" << "AC1 > 0A" << 0 << true << "Write" << "01FF-0200" << "";
    QTest::newRow("condition does not parse") << int(bkRead) << "300" << "" << "AC0 ==" << 0 << false << "" << ""
                                              << "*";
    QTest::newRow("unknown name in condition") << int(bkExecute) << "300" << "" << "AC5 == 1" << 0 << false << ""
                                               << "" << "*";
    QTest::newRow("reversed range") << int(bkWrite) << "210" << "200" << "" << 0 << false << "" << ""
                                    << "the range ends before it begins";
    QTest::newRow("not an address") << int(bkWrite) << "12x" << "" << "" << 0 << false << "" << ""
                                    << "12x is not an address from 0 to 077777";
    QTest::newRow("last not an address") << int(bkRead) << "100" << "9" << "" << 0 << false << "" << ""
                                         << "9 is not an address from 0 to 077777";
    QTest::newRow("above memory") << int(bkExecute) << "100000" << "" << "" << 0 << false << "" << ""
                                  << "100000 is not an address from 0 to 077777";
  }

  void dialogSetsEveryKindAndRefusesWithTheReason() {
    QFETCH(int, kind);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, condition);
    QFETCH(int, count);
    QFETCH(bool, hex);
    QFETCH(QString, kindText);
    QFETCH(QString, addressText);
    QFETCH(QString, error);
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmBreakpoints->setChecked(true);
    TBpWin& b = f.BpWin();
    if (hex) b.rbHex->click();
    bool refused = false;
    AnswerBreakpoint(dialogs, {TBreakKind(kind), first, last, condition, count}, &refused);
    b.btAdd->click();
    QVERIFY(dialogs.AllUsed());
    const auto& list = f.Machine().Breakpoints();
    if (!error.isEmpty()) {
      QVERIFY(refused);
      QVERIFY(list.empty());
      QCOMPARE(dialogs.Count(dkError), 1);
      QString expected = error;
      if (error == "*") {
        // The core's own reason.
        TBreakCondition c;
        std::string why;
        QVERIFY(!c.Parse(condition.toStdString(), nmOctal, why));
        expected = QString::fromStdString(why);
      }
      QCOMPARE(dialogs.Last(dkError)->Text, expected);
      return;
    }
    QVERIFY(!refused);
    QCOMPARE(dialogs.Count(dkError), 0);
    QCOMPARE(list.size(), std::size_t(1));
    QCOMPARE(list[0].Kind, TBreakKind(kind));
    QCOMPARE(list[0].Count, std::uint64_t(count));
    QCOMPARE(list[0].Base, hex ? nmHex : nmOctal);
    QTRY_COMPARE(Rows(b), 1);
    QCOMPARE(Cell(b, 0, TBpModel::colKind), kindText);
    QCOMPARE(Cell(b, 0, TBpModel::colAddress), addressText);
    QCOMPARE(Cell(b, 0, TBpModel::colCondition), condition);
    QCOMPARE(Cell(b, 0, TBpModel::colHits), count > 1 ? "0/" + QString::number(count) : QString("0"));
    // The grid marks the words (execute: the circle's flag, data: the read and write flags).
    const std::uint8_t flag = kind == bkExecute ? BreakpointFlag : kind == bkRead ? ReadBreakFlag : WriteBreakFlag;
    for (int a = list[0].First; a <= list[0].Last; ++a) QVERIFY(f.Machine().Memory[a].Flags & flag);
  }

  void dataStopHitsAndReset() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.itmBreakpoints->setChecked(true);
    TBpWin& b = f.BpWin();
    StoreCounter(m);
    AnswerBreakpoint(dialogs, {bkWrite, "110", "", "", 3});
    b.btAdd->click();
    QTRY_COMPARE(Rows(b), 1);
    QVERIFY(m.HasDataBreakpoints());
    // The third write stops the run after the STA.
    f.RunControl().Run();
    QCOMPARE(m.LastStopReason(), srData);
    QCOMPARE(m.PC, TWord(0103));
    QCOMPARE(m.Memory[0110].Data, TWord(3));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped: write to 000110 by the instruction at 000102"));
    QCOMPARE(DataStopRow(f), 0110);
    QTRY_COMPARE(Cell(b, 0, TBpModel::colHits), QString("3/3"));
    // An execute breakpoint before the next write stops the run; its hits count too; the mark is gone.
    AnswerBreakpoint(dialogs, {bkExecute, "101"});
    b.btAdd->click();
    QTRY_COMPARE(Rows(b), 2);
    f.RunControl().Run();
    QCOMPARE(m.LastStopReason(), srBreakpoint);
    QCOMPARE(m.PC, TWord(0101));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped at a breakpoint"));
    QCOMPARE(DataStopRow(f), -1);
    QTRY_COMPARE(Cell(b, 0, TBpModel::colHits), QString("1"));
    // A reset clears the hits.
    f.RunControl().Reset();
    QTRY_COMPARE(Cell(b, 1, TBpModel::colHits), QString("0/3"));
    QCOMPARE(Cell(b, 0, TBpModel::colHits), QString("0"));
  }

  void changeAndDeleteTheSelectedBreakpoint() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.itmBreakpoints->setChecked(true);
    TBpWin& b = f.BpWin();
    AnswerBreakpoint(dialogs, {bkWrite, "200", "207", "AC0 == 1"});
    b.btAdd->click();
    AnswerBreakpoint(dialogs, {bkExecute, "100"});
    b.btAdd->click();
    QTRY_COMPARE(Rows(b), 2);
    // The dialog opens with the entry's values; a change of kind and range replaces it.
    b.SelectRow(1);
    dialogs.OnModal([](QDialog& d) {
      auto* bd = qobject_cast<TBreakpointDialog*>(&d);
      if (!bd || bd->edFirst->text() != "000200" || bd->edLast->text() != "000207" ||
          bd->edCondition->text() != "AC0 == 1" || bd->cbKind->currentData().toInt() != bkWrite)
        return int(QDialog::Rejected);
      bd->cbKind->setCurrentIndex(bd->cbKind->findData(int(bkAccess)));
      bd->edLast->setText("203");
      bd->btOk->click();
      return bd->isVisible() ? int(QDialog::Rejected) : int(QDialog::Accepted);
    });
    b.btEditClick();
    QVERIFY(dialogs.AllUsed());
    QCOMPARE(m.Breakpoints().size(), std::size_t(2));
    const TBreakpoint& changed = m.Breakpoints()[1];
    QCOMPARE(changed.Kind, bkAccess);
    QCOMPARE(changed.Last, TWord(0203));
    QCOMPARE(changed.Condition, std::string("AC0 == 1"));
    QVERIFY(!(m.Memory[0205].Flags & DataBreakFlags));
    // A change refused keeps the old one as it was.
    b.SelectRow(1);
    AnswerBreakpoint(dialogs, {bkAccess, "200", "203", "AC0 =="});
    b.btEditClick();
    QCOMPARE(m.Breakpoints().size(), std::size_t(2));
    QCOMPARE(m.Breakpoints()[1].Condition, std::string("AC0 == 1"));
    // Delete: exactly the selected one, of its kind.
    b.SelectRow(1);
    b.btDelete->click();
    QCOMPARE(m.Breakpoints().size(), std::size_t(1));
    QCOMPARE(m.Breakpoints()[0].Kind, bkExecute);
    QVERIFY(!m.HasDataBreakpoints());
    QTRY_COMPARE(Rows(b), 1);
    dialogs.AnswerConfirm(true);
    b.btDeleteAll->click();
    QVERIFY(m.Breakpoints().empty());
    QTRY_COMPARE(Rows(b), 0);
  }

  void gridMenuBreaksOnWriteAndRead() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    const std::pair<QAction*, TBreakKind> items[2] = {{f.gbMemory->itmBreakOnWrite, bkWrite}, {f.gbMemory->itmBreakOnRead, bkRead}};
    for (const auto& [item, kind] : items) {
      OpenGridMenu(f, 0110);
      QVERIFY(!item->isChecked());
      item->trigger();
      QCOMPARE(m.Breakpoints().size(), std::size_t(1));
      QCOMPARE(m.Breakpoints()[0].Kind, kind);
      QCOMPARE(m.Breakpoints()[0].First, TWord(0110));
      // The stop comes after the instruction that made the access.
      m.PC = 0100;
      f.RunControl().Run();
      QCOMPARE(m.LastStopReason(), srData);
      QCOMPARE(m.PC, TWord(kind == bkWrite ? 0103 : 0101));
      QCOMPARE(DataStopRow(f), 0110);
      // Checked on that word only; again: off.
      OpenGridMenu(f, 0111);
      QVERIFY(!item->isChecked());
      OpenGridMenu(f, 0110);
      QVERIFY(item->isChecked());
      item->trigger();
      QVERIFY(m.Breakpoints().empty());
    }
  }

  void runToHereIsGoneAfterAnyStop() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    OpenGridMenu(f, 0102);
    f.gbMemory->itmRunToHere->trigger();
    QCOMPARE(m.LastStopReason(), srRunTo);
    QCOMPARE(m.PC, TWord(0102));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped at the address run to"));
    QVERIFY(!(m.Memory[0102].Flags & GoalFlag));
    // A breakpoint before the goal stops the run first; the goal is gone all the same.
    m.SetBreakpoint(0103);
    OpenGridMenu(f, 0101);
    f.gbMemory->itmRunToHere->trigger();
    QCOMPARE(m.LastStopReason(), srBreakpoint);
    QCOMPARE(m.PC, TWord(0103));
    QVERIFY(!(m.Memory[0101].Flags & GoalFlag));
    m.ClearBreakpoints();
    m.InstructionLimit = 50;
    f.RunControl().Run();
    m.InstructionLimit = 0;
    QCOMPARE(m.LastStopReason(), srLimit);
  }

  void stepOutWithShiftF8() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    // 100: JSR 200 / HALT; 200: JSR 300 / JMP @250; 250: the return address; 300: JMP 0,3.
    Store(m, 0100, {"JSR 200", "HALT"});
    Store(m, 0200, {"STA 3,250", "JSR 300", "JMP @250"});
    Store(m, 0300, {"INC 1,1", "JMP 0,3"});
    m.PC = 0100;
    f.RunControl().Step();  // into 200, AC3 = 101
    f.RunControl().Step();  // STA
    f.RunControl().Step();  // into 300, AC3 = 202
    QCOMPARE(m.PC, TWord(0300));
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(m.LastStopReason(), srStepOver);
    QCOMPARE(m.PC, TWord(0202));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped at the return address"));
    // The outer call was stepped into as well: its return comes next.
    f.btStepOut->click();
    QCOMPARE(m.PC, TWord(0101));
    // A HALT before the return: the line says so.
    Store(m, 0300, {"INC 1,1", "HALT", "JMP 0,3"});
    m.PC = 0100;
    f.RunControl().Step();
    f.RunControl().Step();
    f.RunControl().Step();
    f.itmStepOut->trigger();
    QCOMPARE(m.LastStopReason(), srHalt);
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped by HALT before the return to 000202"));
  }

  void traceLengthFromPreferences() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.Machine().TraceLength(), DefaultTraceLength);
      dialogs.AnswerInput("1000000");
      f.itmTraceLength->trigger();
      QCOMPARE(f.Machine().TraceLength(), MaxTraceLength);
      // The window follows the longest trace, and "Save .." writes all of it.
      f.itmTrace->setChecked(true);
      TTraceWin& t = f.TraceWin();
      StoreCounter(f.Machine());
      f.Machine().InstructionLimit = MaxTraceLength + 123;
      f.RunControl().Run();
      f.Machine().InstructionLimit = 0;
      QTRY_COMPARE(Rows(t), MaxTraceLength);
      QTRY_COMPARE(t.SelectedRow(), MaxTraceLength - 1);
      const QRect last = t.List()->visualRect(t.Model()->index(MaxTraceLength - 1, 0));
      QVERIFY(t.List()->viewport()->rect().intersects(last));
      t.rbHex->click();
      const std::string saved = dir / "trace.txt";
      dialogs.AnswerSave(QString::fromStdString(saved));
      t.btSave->click();
      QCOMPARE(dialogs.Count(dkError), 0);
      std::ifstream in(saved);
      std::vector<std::string> lines;
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      QCOMPARE(lines.size(), std::size_t(MaxTraceLength + 1));
      QCOMPARE(QString::fromStdString(lines[0]).simplified(), QString("PC Command C AC0 AC1 AC2 AC3"));
      // Oldest first, each line as the window shows the record (in hex).
      auto shown = [&t](int row) {
        QStringList cells;
        for (int c = 0; c < TTraceModel::colCount; ++c) cells << Cell(t, row, c);
        return cells.join(' ').simplified();
      };
      QCOMPARE(QString::fromStdString(lines[1]).simplified(), shown(0));
      QCOMPARE(QString::fromStdString(lines[500000]).simplified(), shown(499999));
      QCOMPARE(QString::fromStdString(lines.back()).simplified(), shown(MaxTraceLength - 1));
      QVERIFY(shown(0).startsWith("0043 JMP"));  // the 124th instruction executed
      for (const char* wrong : {"99", "1000001", "many"}) {
        dialogs.AnswerInput(wrong);
        f.itmTraceLength->trigger();
        QCOMPARE(f.Machine().TraceLength(), MaxTraceLength);
      }
      QCOMPARE(dialogs.Count(dkError), 3);
      QCOMPARE(dialogs.Last(dkError)->Text, QString("Trace length out of range:\r\n100 .. 1000000"));
      QVERIFY(f.close());
    }
    TWindow w(dir);
    QCOMPARE(w.Form.Machine().TraceLength(), MaxTraceLength);
  }

  void breakpointsInTheSettings() {
    TTempDir dir;
    // An old file: execute breakpoints by address only. And entries that do not read.
    WriteFile(dir / "settings/Corvane.ini",
              "[Breakpoints]\nCount=2\nAddress000=64\nAddress001=65\n"
              "Break000=write,000200,000210,0,octal,\n"
              "Break001=jump,000200,000210,0,octal,\n"
              "Break002=read,000300,000200,0,octal,\n"
              "Break003=read,0003x0,000300,0,octal,\n"
              "Break004=access,000300,000300,2,hex,AC0 ==\n"
              "Break005=access,000400,000400,2,hex,AC0 == 0A\n"
              "Break006=read,000500\n"
              "[Config]\nTraceLength=5\n");
    {
      TWindow w(dir);
      TNovaMachine& m = w.Form.Machine();
      QCOMPARE(m.TraceLength(), DefaultTraceLength);
      QCOMPARE(m.BreakPoints, (std::vector<TWord>{0100, 0101}));
      const auto& list = m.Breakpoints();
      QCOMPARE(list.size(), std::size_t(4));
      QCOMPARE(list[2].Kind, bkWrite);
      QCOMPARE(list[2].Last, TWord(0210));
      QCOMPARE(list[3].Kind, bkAccess);
      QCOMPARE(list[3].Base, nmHex);
      QCOMPARE(list[3].Condition, std::string("AC0 == 0A"));
      QCOMPARE(list[3].Count, std::uint64_t(2));
      QVERIFY(m.Memory[0400].Flags & ReadBreakFlag);
      m.ClearBreakpoint(0101);
      TBreakpoint b;
      b.First = 0777;
      b.Condition = "PC > 100";
      QVERIFY(m.SetBreakpoint(b));
      QVERIFY(w.Form.close());
    }
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadInteger("Breakpoints", "Count", -1), 1);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Address000", -1), 0100);
    QVERIFY(!ini.ValueExists("Breakpoints", "Address001"));
    QCOMPARE(ini.ReadString("Breakpoints", "Break000", ""), std::string("write,000200,000210,0,octal,"));
    QCOMPARE(ini.ReadString("Breakpoints", "Break001", ""), std::string("access,000400,000400,2,hex,AC0 == 0A"));
    QCOMPARE(ini.ReadString("Breakpoints", "Break002", ""), std::string("execute,000777,000777,0,octal,PC > 100"));
    QVERIFY(!ini.ValueExists("Breakpoints", "Break003"));
    TWindow w(dir);
    QCOMPARE(w.Form.Machine().Breakpoints().size(), std::size_t(4));
  }
};

QTEST_MAIN(TDebuggerTest)
#include "DebuggerTest.moc"
