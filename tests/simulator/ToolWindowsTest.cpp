// The trace, watch and breakpoint windows driven offscreen inside the main window: their lists
// follow steps, runs, resets, dump loads and "Clear memory"; add, remove and delete-all with
// their confirmations; alerts; the settings sections; and the mends of the windows' faults.
// Dialogs are answered through the dialog seam; a view is waited for, never a span of time.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "BpWin.h"
#include "DumpActions.h"
#include "IniFile.h"
#include "LanguageSwitch.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "RunControl.h"
#include "TraceWin.h"
#include "Translate.h"
#include "WatchWin.h"
#include "WindowTestKit.h"

class TToolWindowsTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
    SetWarningBeepHandler([] {});
  }

  void traceFollowsStepsRunsResetAndClear() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmTrace->setChecked(true);
    TTraceWin& t = f.TraceWin();
    QVERIFY(t.isVisible());
    QVERIFY(f.btShowTrace->isChecked());
    StoreCounter(f.Machine());
    f.Machine().Memory[0110].Data = 0177777;
    f.RunControl().Step();
    f.RunControl().Step();
    QTRY_COMPARE(Rows(t), 2);
    QCOMPARE(t.SelectedRow(), 1);
    QCOMPARE(Cell(t, 0, TTraceModel::colPC), QString("000100"));
    QCOMPARE(Cell(t, 0, TTraceModel::colAC0), QString("177777"));
    QCOMPARE(Cell(t, 1, TTraceModel::colCarry), QString("1"));  // INC of 177777 carries
    QCOMPARE(Cell(t, 1, TTraceModel::colCommand).trimmed(), QString("INC     0,0"));
    // The base changes PC and the accumulators, never the command column.
    t.rbHex->click();
    QCOMPARE(Cell(t, 0, TTraceModel::colPC), QString("0040"));
    QCOMPARE(Cell(t, 0, TTraceModel::colAC0), QString("FFFF"));
    QVERIFY(Cell(t, 0, TTraceModel::colCommand).startsWith("LDA"));
    QVERIFY(Cell(t, 0, TTraceModel::colCommand).contains("110"));
    // A run: the view follows the newest record.
    f.Machine().InstructionLimit = 400;
    f.RunControl().Run();
    f.Machine().InstructionLimit = 0;
    QTRY_COMPARE(Rows(t), 402);
    QCOMPARE(t.SelectedRow(), 401);
    QCOMPARE(Cell(t, 401, TTraceModel::colPC),
             QString::fromStdString(FormatWord(f.Machine().TraceItem(401).PC, nmHex)));
    // Double click: the selected record's address in the grid (read back in hex).
    t.SelectRow(0);
    t.ListDblClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0100);
    f.RunControl().Reset();
    QTRY_COMPARE(Rows(t), 0);
    f.RunControl().Step();
    QTRY_COMPARE(Rows(t), 1);
    t.btClear->click();
    QCOMPARE(Rows(t), 0);
    QCOMPARE(f.Machine().TraceCount(), 0);
    // A dump load resets the machine: the trace is emptied.
    f.RunControl().Step();
    QTRY_COMPARE(Rows(t), 1);
    const std::string dump = dir / "image.dmp";
    QVERIFY(f.Machine().SaveDump(dump));
    QVERIFY(f.Dumps().LoadDump(dump, true));
    QTRY_COMPARE(Rows(t), 0);
  }

  void traceWithTenThousandRecordsShowsTheNewestLast() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmTrace->setChecked(true);
    TTraceWin& t = f.TraceWin();
    StoreCounter(f.Machine());
    f.Machine().InstructionLimit = 12345;
    f.RunControl().Run();
    f.Machine().InstructionLimit = 0;
    QTRY_COMPARE(Rows(t), TraceCapacity);
    QTRY_COMPARE(t.SelectedRow(), TraceCapacity - 1);
    const TTraceData& newest = f.Machine().TraceItem(TraceCapacity - 1);
    QCOMPARE(Cell(t, TraceCapacity - 1, TTraceModel::colPC), QString::fromStdString(FormatWord(newest.PC, nmOctal)));
    // The last row is in view.
    const QRect last = t.List()->visualRect(t.Model()->index(TraceCapacity - 1, 0));
    QVERIFY(t.List()->viewport()->rect().intersects(last));
  }

  void hiddenWindowsDoNoWorkAndCatchUpWhenShown() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TTraceWin& t = f.TraceWin();
    QVERIFY(!t.isVisible());
    StoreCounter(f.Machine());
    for (int i = 0; i < 5; ++i) f.RunControl().Step();
    QCOMPARE(Rows(t), 0);  // nothing done while hidden
    f.itmTrace->setChecked(true);
    QCOMPARE(Rows(t), 5);
    QCOMPARE(t.SelectedRow(), 4);
    // A view that missed updates never reads past the list: rows beyond the live count are empty.
    f.itmTrace->setChecked(false);
    f.RunControl().Reset();
    QCOMPARE(Rows(t), 5);
    for (int c = 0; c < TTraceModel::colCount; ++c) {
      QVERIFY(Cell(t, 4, c).isEmpty());
      QVERIFY(!t.Model()->data(t.Model()->index(4, c)).isValid());
    }
    t.grab();  // painting the stale rows reads nothing
    f.itmTrace->setChecked(true);
    QCOMPARE(Rows(t), 0);
  }

  void watchAddRemoveDeleteAllAndAlerts() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmWatchList->setChecked(true);
    TWatchWin& ww = f.WatchWin();
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    m.Memory[0110].Data = 0x1234;
    for (const char* a : {"110", "20", "30"}) {
      AnswerValue(dialogs, a);
      ww.btAdd->click();
    }
    // Above the memory: the error box, nothing added.
    AnswerValue(dialogs, "100000");
    ww.btAdd->click();
    QCOMPARE(dialogs.Count(dkError), 1);
    QVERIFY(dialogs.Last(dkError)->Text.contains("077777"));
    QTRY_COMPARE(Rows(ww), 3);
    QCOMPARE(m.Watch.size(), std::size_t(3));
    QCOMPARE(Cell(ww, 2, TWatchModel::colAddress), QString("000110"));
    QCOMPARE(Cell(ww, 2, TWatchModel::colContents), QString("011064 (022 064)"));
    ww.rbHex->click();
    QCOMPARE(Cell(ww, 2, TWatchModel::colContents), QString("1234 (12 34)"));
    QVERIFY(Cell(ww, 2, TWatchModel::colCommand).startsWith("ISZ"));  // octal whatever the base
    // A press in the first column switches the alert and deletes nothing.
    QTableView* list = ww.List();
    const QRect mark = list->visualRect(ww.Model()->index(2, TWatchModel::colMarks));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, mark.center());
    QVERIFY(m.Watch[2].Alert);
    QCOMPARE(Rows(ww), 3);
    // The alert stops the run right after the instruction that stored the new value.
    f.RunControl().Run();
    QCOMPARE(m.LastStopReason(), srWatch);
    QCOMPARE(m.PC, TWord(0103));
    QCOMPARE(m.TraceItem(m.TraceCount() - 1).PC, TWord(0102));
    QVERIFY(m.Watch[2].Changed);
    QCOMPARE(Cell(ww, 2, TWatchModel::colContents), QString("1235 (12 35)"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, mark.center());
    QVERIFY(!m.Watch[2].Alert);
    // Remove in hex removes exactly the selected entry; the selection stays on the row index.
    ww.SelectRow(1);
    ww.btRemove->click();
    QCOMPARE(Rows(ww), 2);
    QCOMPARE(m.Watch[0].Addr, TWord(020));
    QCOMPARE(m.Watch[1].Addr, TWord(0110));
    QCOMPARE(ww.SelectedRow(), 1);
    ww.btRemove->click();  // the last row: the new last row is selected
    QCOMPARE(ww.SelectedRow(), 0);
    // Delete all: No keeps them, Yes clears.
    dialogs.AnswerConfirm(false);
    ww.btDeleteAll->click();
    QCOMPARE(m.Watch.size(), std::size_t(1));
    QVERIFY(dialogs.Last(dkConfirm)->Text == "Delete all items from watch list?");
    dialogs.AnswerConfirm(true);
    ww.btDeleteAll->click();
    QCOMPARE(m.Watch.size(), std::size_t(0));
    QCOMPARE(Rows(ww), 0);
    QCOMPARE(ww.SelectedRow(), -1);
    // Removing the only row leaves no selection; delete-all on an empty list asks nothing.
    const int confirms = dialogs.Count(dkConfirm);
    ww.btDeleteAll->click();
    QCOMPARE(dialogs.Count(dkConfirm), confirms);
    m.AddWatch(040);
    ww.SelectRow(0);
    ww.btRemove->click();
    QCOMPARE(ww.SelectedRow(), -1);
  }

  void breakpointsAddDeleteAndFollowMemory() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmBreakpoints->setChecked(true);
    TBpWin& b = f.BpWin();
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    for (const char* a : {"103", "101", "200"}) {
      AnswerBreakpoint(dialogs, {bkExecute, a});
      b.btAdd->click();
    }
    AnswerBreakpoint(dialogs, {bkExecute, "177777"});
    b.btAdd->click();
    QCOMPARE(dialogs.Count(dkError), 1);
    QCOMPARE(m.BreakPoints, (std::vector<TWord>{0101, 0103, 0200}));
    QTRY_COMPARE(Rows(b), 3);
    QVERIFY(m.Memory[0101].Flags & BreakpointFlag);
    QCOMPARE(Cell(b, 0, TBpModel::colAddress), QString("000101"));
    QVERIFY(Cell(b, 0, TBpModel::colCommand).startsWith("INC"));
    // A run stops at the first breakpoint reached, before its instruction.
    f.RunControl().Run();
    QCOMPARE(m.LastStopReason(), srBreakpoint);
    QCOMPARE(m.PC, TWord(0101));
    // Double click: the address in the grid.
    b.SelectRow(2);
    b.ListDblClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 0200);
    // "Clear memory": the contents follow.
    f.Dumps().ClearMemoryClick();
    QTRY_COMPARE(Cell(b, 0, TBpModel::colContents), QString("000000"));
    // Delete the selected one in hex: exactly that one, its mark too.
    b.rbHex->click();
    b.SelectRow(1);
    QCOMPARE(Cell(b, 1, TBpModel::colAddress), QString("0043"));
    b.btDelete->click();
    QCOMPARE(m.BreakPoints, (std::vector<TWord>{0101, 0200}));
    QVERIFY(!(m.Memory[0103].Flags & BreakpointFlag));
    QCOMPARE(b.SelectedRow(), 1);
    // Delete all asks also when... the list has entries; No keeps them.
    dialogs.AnswerConfirm(false);
    b.btDeleteAll->click();
    QCOMPARE(m.BreakPoints.size(), std::size_t(2));
    QCOMPARE(dialogs.Last(dkConfirm)->Text, QString("Delete all breakpoints?"));
    dialogs.AnswerConfirm(true);
    b.btDeleteAll->click();
    QVERIFY(m.BreakPoints.empty());
    QVERIFY(!(m.Memory[0101].Flags & BreakpointFlag));
    QCOMPARE(Rows(b), 0);
    // A dump loaded without its breakpoints empties the list.
    m.SetBreakpoint(0300);
    QTRY_COMPARE(Rows(b), 1);
    const std::string dump = dir / "plain.dmp";
    QVERIFY(m.SaveDump(dump));
    QVERIFY(f.Dumps().LoadDump(dump, false));
    QTRY_COMPARE(Rows(b), 0);
  }

  void watchListFollowsDumpLoads() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.itmWatchList->setChecked(true);
    TWatchWin& ww = f.WatchWin();
    m.AddWatch(050);
    QTRY_COMPARE(Rows(ww), 1);
    m.Memory[050].Data = 0707;
    const std::string dump = dir / "image.dmp";
    QVERIFY(m.SaveDump(dump));
    m.Memory[050].Data = 0;
    QVERIFY(f.Dumps().LoadDump(dump, true));
    QTRY_COMPARE(Cell(ww, 0, TWatchModel::colContents), QString("000707 (001 307)"));
    QVERIFY(!m.Watch[0].Changed);  // a load marks nothing
  }

  void columnWidthsNeverNegative() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    for (QAction* item : {f.itmTrace, f.itmWatchList, f.itmBreakpoints}) item->setChecked(true);
    for (TToolWindow* t : std::initializer_list<TToolWindow*>{&f.TraceWin(), &f.WatchWin(), &f.BpWin()}) {
      t->setMinimumSize(0, 0);
      t->resize(60, 100);
      QApplication::processEvents();
      for (int c = 0; c < t->Model()->columnCount(); ++c) QVERIFY(t->List()->columnWidth(c) >= 0);
      t->resize(900, 300);
      QApplication::processEvents();
      int total = 0;
      for (int c = 0; c < t->Model()->columnCount(); ++c) total += t->List()->columnWidth(c);
      QVERIFY(total > 800);  // the columns fill the list
    }
  }

  void closingAToolWindowHidesItAndClearsItsItem() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    const std::pair<QAction*, TToolWindow*> tools[3] = {
        {f.itmTrace, &f.TraceWin()}, {f.itmWatchList, &f.WatchWin()}, {f.itmBreakpoints, &f.BpWin()}};
    for (const auto& [item, win] : tools) {
      item->setChecked(true);
      QVERIFY(win->isVisible());
      QVERIFY(win->close());
      QVERIFY(!win->isVisible());
      QVERIFY(!item->isChecked());
      item->setChecked(true);
      win->btClose->click();
      QVERIFY(!item->isChecked());
    }
    QVERIFY(f.isVisible());
    QVERIFY(!f.ShutDownDone());
  }

  void settingsSectionsRoundTrip() {
    TTempDir dir;
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      f.itmTrace->setChecked(true);
      f.itmBreakpoints->setChecked(true);
      f.TraceWin().move(area.left() + 50, area.top() + 60);
      f.TraceWin().resize(700, 333);
      f.Machine().AddWatch(012);
      f.Machine().AddWatch(07);
      f.Machine().SetBreakpoint(077777);
      QVERIFY(f.close());
    }
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadInteger("TraceWindow", "Visible", -1), 1);
    QCOMPARE(ini.ReadInteger("WatchWindow", "Visible", -1), 0);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Visible", -1), 1);
    QCOMPARE(ini.ReadInteger("TraceWindow", "Width", -1), 700);
    QCOMPARE(ini.ReadInteger("TraceWindow", "Height", -1), 333);
    QCOMPARE(ini.ReadInteger("TraceWindow", "Left", -1), area.left() + 50);
    QCOMPARE(ini.ReadInteger("WatchWindow", "Address000", -1), 7);
    QCOMPARE(ini.ReadInteger("WatchWindow", "Address001", -1), 10);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Address000", -1), 32767);
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QVERIFY(f.itmTrace->isChecked());
      QVERIFY(f.TraceWin().isVisible());
      QVERIFY(!f.WatchWin().isVisible());
      QVERIFY(f.BpWin().isVisible());
      QCOMPARE(f.TraceWin().size(), QSize(700, 333));
      QCOMPARE(f.TraceWin().pos(), QPoint(area.left() + 50, area.top() + 60));
      QCOMPARE(Rows(f.BpWin()), 1);
      f.itmWatchList->setChecked(true);
      QCOMPARE(Rows(f.WatchWin()), 2);
      QCOMPARE(Cell(f.WatchWin(), 1, TWatchModel::colAddress), QString("000012"));
    }
  }

  void storedGeometryGoesThroughThePlacementRule() {
    TTempDir dir;
    WriteFile(dir / "settings/Corvane.ini",
              "[TraceWindow]\nVisible=1\nTop=-4000\nLeft=90000\nWidth=20\nHeight=5\n"
              "[WatchWindow]\nVisible=1\nWidth=480\nHeight=-7\n");
    TWindow w(dir);
    TMainForm& f = w.Form;
    TTraceWin& t = f.TraceWin();
    QVERIFY(QApplication::primaryScreen()->availableGeometry().intersects(t.frameGeometry()));
    QVERIFY(t.width() >= t.minimumWidth());
    QVERIFY(t.height() >= t.minimumHeight());
    QCOMPARE(t.size(), QSize(640, 300));  // both too small: the window keeps its own size
    QCOMPARE(f.WatchWin().width(), 480);
    QVERIFY(f.WatchWin().height() >= f.WatchWin().minimumHeight());
  }
};

QTEST_MAIN(TToolWindowsTest)
#include "ToolWindowsTest.moc"
