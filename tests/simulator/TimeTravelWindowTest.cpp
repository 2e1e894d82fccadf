// Going back in time in the main window, offscreen: machine states saved and loaded through the
// file dialogs (refused files, a tape that is gone), "Reverse step" and "Reverse run" from the
// menu and the keys, the note that output stays, "Who wrote this word?" from the grid and the
// watch list with "Go there", the trace window's double click, and the history size kept in the
// settings. Dialogs are answered through the dialog seam.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <filesystem>

#include "Console.h"
#include "KeyQueue.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "RegisterPanel.h"
#include <QTableView>
#include "LanguageSwitch.h"
#include "MessageBoxes.h"
#include "StatusLine.h"
#include "TeletypePanel.h"
#include "TimeTravel.h"
#include "TimeTravelActions.h"
#include "TraceWin.h"
#include "Translate.h"
#include "WatchWin.h"
#include "WhoWroteDlg.h"
#include "WindowTestKit.h"

namespace {

void StepTimes(TMainForm& f, int n) {
  for (int i = 0; i < n; ++i) f.RunControl().Step();
}

// The registers and the memory a journey must put back.
struct TSnapshot {
  TWord PC;
  TAccumulators AC;
  TWord Carry;
  std::uint64_t Steps;
  std::vector<TWord> Words;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(const TNovaMachine& m) {
  TSnapshot s{m.PC, m.AC, m.Carry, m.ExecutedCount(), {}};
  for (int a = 0; a < 0200; ++a) s.Words.push_back(m.Memory[a].Data);
  return s;
}

// The teletype prints M[110] once, then counts in M[111] for ever.
void StorePrinter(TNovaMachine& m) {
  Store(m, 0100, {"LDA 0,110", "DOAS 0,TTO", "SKPDN TTO", "JMP .-1", "ISZ 111", "JMP .-1"});
  m.Memory[0110].Data = 'A';
  m.PC = 0100;
}

// Answers the next who-wrote dialog: its texts into Texts, then "Go there" or "Close".
void AnswerWhoWrote(TScriptedDialogs& dialogs, bool goThere, QStringList& texts, bool& canGo) {
  dialogs.OnModal([goThere, &texts, &canGo](QDialog& d) {
    auto* w = qobject_cast<TWhoWroteDialog*>(&d);
    if (!w) return int(QDialog::Rejected);
    texts = QStringList{w->windowTitle(), w->lbWord->text(), w->lbWriter->text()};
    if (w->lbStep->isVisible()) texts << w->lbStep->text() << w->lbValues->text();
    canGo = w->btGoThere->isEnabled();
    (goThere && canGo ? w->btGoThere : w->btClose)->click();
    return w->result();
  });
}

}  // namespace

class TTimeTravelWindowTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
    SetWarningBeepHandler([] {});
  }

  void stateSavedAndLoadedThroughTheMenu() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    const std::string tape = dir / "tape.bin";
    WriteFile(tape, std::string(200, '\x11'));
    QVERIFY(f.Peripherals().OpenPtrFile(tape));
    StepTimes(f, 7);
    const TSnapshot saved = Snap(m);
    const std::string file = dir / "machine.nvs";
    dialogs.AnswerSave(QString::fromStdString(file));
    f.TimeTravel().itmSaveState->trigger();
    QCOMPARE(dialogs.Count(dkError), 0);
    QVERIFY(std::filesystem::exists(file));
    const TDialogCall* asked = dialogs.Last(dkSaveFile);
    QCOMPARE(asked->Caption, QString("Save machine state"));

    // Another machine meanwhile; loading puts the saved one back and the views follow.
    f.RunControl().Reset();
    m.ClearMemory();
    m.SetPC(0);
    dialogs.AnswerOpen({QString::fromStdString(file)});
    f.TimeTravel().itmLoadState->trigger();
    QCOMPARE(dialogs.Count(dkError), 0);
    QCOMPARE(Snap(m), saved);
    QCOMPARE(f.gbRegister->edPC->Value(), std::int64_t(saved.PC));
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), int(saved.PC));
    QVERIFY(f.Peripherals().InputFile(pdPtr));
    QVERIFY(f.StatusLine().lbStatus->text().startsWith("Machine state loaded"));

    // Refused files change nothing: not a state, cut short.
    m.SetPC(0123);
    const std::string bytes = [&] {
      std::ifstream in(file, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    const std::pair<std::string, QString> refused[] = {
        {"hello, world", "not a machine state file"},
        {bytes.substr(0, bytes.size() / 2), "the file is cut short"},
    };
    for (const auto& [content, why] : refused) {
      WriteFile(dir / "bad.nvs", content);
      dialogs.AnswerOpen({QString::fromStdString(dir / "bad.nvs")});
      f.TimeTravel().itmLoadState->trigger();
      QVERIFY2(dialogs.Last(dkError)->Text.contains(why), qPrintable(dialogs.Last(dkError)->Text));
      QCOMPARE(m.PC, TWord(0123));
    }

    // A tape that is gone is reported; the rest is loaded.
    const int errors = dialogs.Count(dkError);
    std::filesystem::remove(tape);
    dialogs.AnswerOpen({QString::fromStdString(file)});
    f.TimeTravel().itmLoadState->trigger();
    QCOMPARE(dialogs.Count(dkError), errors + 1);
    QVERIFY(dialogs.Last(dkError)->Text.contains("PTR: "));
    QCOMPARE(Snap(m), saved);
    QVERIFY(!f.Peripherals().InputFile(pdPtr));
  }

  void reverseStepAndRunFromTheMenu() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    TTimeTravelActions& t = f.TimeTravel();
    auto* button = f.findChild<QToolButton*>("btReverseStep");
    QVERIFY(button);
    StoreCounter(m);
    // Nothing executed yet: nothing to go back into.
    QVERIFY(!t.itmReverseStep->isEnabled());
    QVERIFY(!button->isEnabled());
    std::vector<TSnapshot> states{Snap(m)};
    for (int i = 0; i < 9; ++i) {
      f.RunControl().Step();
      states.push_back(Snap(m));
    }
    QVERIFY(t.itmReverseStep->isEnabled());
    QVERIFY(button->isEnabled());
    t.itmReverseStep->trigger();
    QCOMPARE(Snap(m), states[8]);
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Back at step 8"));
    // The line stays when the texts are set again (a language switch).
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&f, &change);
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Back at step 8"));
    QCOMPARE(f.gbRegister->edPC->Value(), std::int64_t(states[8].PC));
    // The button takes the same action.
    button->click();
    QCOMPARE(Snap(m), states[7]);

    // Back to the last breakpoint (before its instruction), then to the start of the history.
    m.SetBreakpoint(0102);
    t.itmReverseRun->trigger();
    QCOMPARE(m.PC, TWord(0102));
    QCOMPARE(m.ExecutedCount(), std::uint64_t(6));
    QCOMPARE(Snap(m), states[6]);
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Back at step 6: Stopped at a breakpoint"));
    t.itmReverseRun->trigger();
    QCOMPARE(Snap(m), states[2]);
    t.itmReverseRun->trigger();
    QCOMPARE(Snap(m), states[0]);
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Back at step 0: the start of the history"));
    QVERIFY(!t.itmReverseRun->isEnabled());

    // Forward again repeats what happened.
    StepTimes(f, 9);
    QCOMPARE(Snap(m), states[9]);
  }

  void keysGoBackAndNeverReachTheTeletype() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    StepTimes(f, 5);
    f.activateWindow();
    f.gbTTY->mmTTO->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_F7, Qt::ShiftModifier);
    QCOMPARE(m.ExecutedCount(), std::uint64_t(4));
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(m.ExecutedCount(), std::uint64_t(0));
    QCOMPARE(f.gbTTY->KeyQueue().Waiting(), std::size_t(0));
    QVERIFY(!m.Tti.DoneFlag());
  }

  void outputStaysAndIsSaidOnce() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    TTimeTravelActions& t = f.TimeTravel();
    StorePrinter(m);
    for (int i = 0; i < 500 && m.PC != 0104; ++i) f.RunControl().Step();
    QCOMPARE(m.PC, TWord(0104));
    StepTimes(f, 4);
    QTRY_COMPARE(f.gbTTY->mmTTO->toPlainText().count('A'), 1);
    const TSnapshot end = Snap(m);
    t.itmReverseRun->trigger();
    QVERIFY2(f.StatusLine().lbStatus->text().endsWith(". Output already printed, punched or written stays."),
             qPrintable(f.StatusLine().lbStatus->text()));
    // Forward again: the same run, and nothing printed twice.
    while (m.ExecutedCount() < end.Steps) f.RunControl().Step();
    QCOMPARE(Snap(m), end);
    t.itmReverseRun->trigger();
    QVERIFY(!f.StatusLine().lbStatus->text().contains("Output"));
    QCOMPARE(f.gbTTY->mmTTO->toPlainText().count('A'), 1);
    QCOMPARE(dialogs.Count(dkInformation) + dialogs.Count(dkModal), 0);
  }

  void whoWroteFromTheGridAndTheWatchList() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    TTimeTravelActions& t = f.TimeTravel();
    StoreCounter(m);
    m.Memory[0110].Data = 5;
    StepTimes(f, 10);  // stores at steps 3 and 7, then LDA and INC
    QCOMPARE(m.Memory[0110].Data, TWord(7));
    // The grid's item asks for the word the right click selected.
    QVERIFY(f.gbMemory->pmMemory->actions().contains(t.itmWhoWrote));
    f.gbMemory->CellPressed(Qt::RightButton, 0110, TMemoryModel::colContents, QPoint(10, 10),
                            f.gbMemory->sgMemory->SelectedRow());
    f.gbMemory->pmMemory->hide();
    QStringList texts;
    bool canGo = false;
    AnswerWhoWrote(dialogs, false, texts, canGo);
    t.itmWhoWrote->trigger();
    QCOMPARE(texts, QStringList({"Who wrote this word?", "Word 000110", "Written by the instruction at 000102",
                                 "At step 7 (now at step 10)", "Old value 000006, new value 000007"}));
    QVERIFY(canGo);
    QCOMPARE(m.ExecutedCount(), std::uint64_t(10));  // Close leaves it

    // The watch list's menu, then "Go there": just after the write.
    m.AddWatch(0110);
    f.itmWatchList->setChecked(true);
    TWatchWin& watches = f.WatchWin();
    QTRY_COMPARE(Rows(watches), 1);
    watches.SelectRow(0);
    AnswerWhoWrote(dialogs, true, texts, canGo);
    watches.itmWhoWrote->trigger();
    QCOMPARE(texts.value(1), QString("Word 000110"));
    QCOMPARE(m.ExecutedCount(), std::uint64_t(7));
    QCOMPARE(m.PC, TWord(0103));
    QCOMPARE(m.Memory[0110].Data, TWord(7));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("At step 7"));

    // Before the first write, and a word never written: none in the history.
    t.TravelToTrace(0);
    for (int addr : {0110, 0111}) {
      AnswerWhoWrote(dialogs, true, texts, canGo);
      t.WhoWrote(addr);
      QCOMPARE(texts.value(2), QString("no write in the history"));
      QVERIFY(!canGo);
    }
    QCOMPARE(m.ExecutedCount(), std::uint64_t(0));
  }

  void traceDoubleClickTravels() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    StoreCounter(m);
    std::vector<TSnapshot> states{Snap(m)};
    for (int i = 0; i < 8; ++i) {
      f.RunControl().Step();
      states.push_back(Snap(m));
    }
    f.itmTrace->setChecked(true);
    TTraceWin& trace = f.TraceWin();
    QVERIFY(QTest::qWaitForWindowExposed(&trace));
    QTRY_COMPARE(Rows(trace), 8);
    trace.SelectRow(5);
    const QRect cell = trace.List()->visualRect(trace.Model()->index(5, TTraceModel::colCommand));
    // A double click as the mouse makes it: a press, then the second press of the double click.
    QTest::mousePress(trace.List()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(trace.List()->viewport(), Qt::LeftButton, {}, cell.center());
    // Just before the record's instruction: five executed.
    QCOMPARE(m.ExecutedCount(), std::uint64_t(5));
    QCOMPARE(Snap(m), states[5]);
    QTRY_COMPARE(Rows(trace), 5);
    // With the history off a double click shows the record's address.
    f.TimeTravel().SetHistorySize(0);
    trace.SelectRow(1);
    trace.ListDblClick();
    QCOMPARE(Snap(m), states[5]);
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), int(states[1].PC));
  }

  void historySizeKeptInTheSettings() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.Machine().HistorySize(), DefaultHistorySize);
      dialogs.AnswerInput("off");
      f.TimeTravel().itmHistorySize->trigger();
      // The question says how far and what the default costs in memory.
      const QString asked = dialogs.Last(dkInputString)->Text;
      QVERIFY2(asked.contains("at most 100000000") && asked.contains("10000000 instructions take 7.42 MiB of memory"),
               qPrintable(asked));
      QCOMPARE(f.Machine().HistorySize(), std::uint64_t(0));
      StoreCounter(f.Machine());
      StepTimes(f, 3);
      QVERIFY(!f.TimeTravel().itmReverseStep->isEnabled());
      // Refused: the size stays.
      for (const char* text : {"many", "100000001", "-5"}) {
        dialogs.AnswerInput(text);
        f.TimeTravel().itmHistorySize->trigger();
        QVERIFY(dialogs.Last(dkError)->Text.startsWith("History size out of range:"));
        QCOMPARE(f.Machine().HistorySize(), std::uint64_t(0));
      }
    }
    {
      TWindow w(dir);
      QCOMPARE(w.Form.Machine().HistorySize(), std::uint64_t(0));
      dialogs.AnswerInput(" 2000000 ");
      w.Form.TimeTravel().itmHistorySize->trigger();
    }
    TWindow w(dir);
    QCOMPARE(w.Form.Machine().HistorySize(), std::uint64_t(2000000));
  }
};

QTEST_MAIN(TTimeTravelWindowTest)
#include "TimeTravelWindowTest.moc"
