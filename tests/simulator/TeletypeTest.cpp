// The teletype as the window shows it: typed keys wait in order for the program (their number in
// the status line) and every reset empties them; a 72-character teletype line is never hidden
// at the window's first size; the status line says that the machine runs while it runs.
#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include "Console.h"
#include "DumpActions.h"
#include "KeyQueue.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "NovaFrontpanel.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "StatusLine.h"
#include "TeletypePanel.h"
#include "TestTempDir.h"
#include "Translate.h"
#include "WindowTestKit.h"

class TTeletypeTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { ActivateLanguage("en"); }

  void typedKeysWaitForTheProgramAndResetsEmptyThem() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.activateWindow();
    f.gbMemory->sgMemory->setFocus();
    const auto type = [&f](const char* keys) {
      for (const char* k = keys; *k; ++k) QTest::keyClick(f.gbMemory->sgMemory, *k);
    };
    type("abc");
    QCOMPARE(m.Tti.InputByte(), std::uint8_t('A'));  // not overwritten by B and C
    QVERIFY(f.gbTTY->lbKeys->isVisible());
    QCOMPARE(f.gbTTY->lbKeys->text(), QString("Keys waiting: 2"));
    m.Tti.Clear();  // the program takes A
    f.gbTTY->KeyQueuePump();
    QCOMPARE(m.Tti.InputByte(), std::uint8_t('B'));
    QCOMPARE(f.gbTTY->lbKeys->text(), QString("Keys waiting: 1"));

    // Reset, the front panel's RESET, a dump load and program load each empty the queue.
    const std::string image = dir / "image.dmp";
    QVERIFY(m.SaveDump(image));
    const std::function<void()> resets[] = {
        [&] { f.RunControl().Reset(); },
        [&] { QVERIFY(f.Dumps().LoadDump(image, true)); },
        [&] { f.FrontPanelCommand(nullptr, ncReset); },
        [&] {
          m.Switches = 0100012;  // the bootstrap's IORST, then its jump to itself, stopped at once
          f.Controller().ProcessEvents = [&f] { f.RunControl().Stop(); };
          f.FrontPanelCommand(nullptr, ncProgLoad);
          f.Controller().ProcessEvents = nullptr;
        },
    };
    for (const auto& reset : resets) {
      m.Tti.Clear();
      type("xyz");
      QVERIFY(f.gbTTY->lbKeys->isVisible());
      reset();
      QVERIFY2(f.gbTTY->lbKeys->isHidden(), qPrintable(f.gbTTY->lbKeys->text()));
      QCOMPARE(f.gbTTY->KeyQueue().Waiting(), std::size_t(0));
    }
  }

  void aTeletypeLineIsNeverHiddenAtTheFirstSize() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TConsole* console = f.gbTTY->mmTTO;
    QString line;
    for (int i = 0; line.size() < 72; ++i) line += QChar('A' + i % 26);
    console->AddBytes(QByteArray("\r") + line.toLatin1() + "\rREADY");
    // Every row fits the console's width, and the rows shown hold the whole line.
    const int charWidth = console->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    QVERIFY(console->Columns() * charWidth <= console->viewport()->width());
    const QStringList rows = console->VisibleRowTexts();
    for (const QString& row : rows) QVERIFY(row.size() <= console->Columns());
    QVERIFY2(rows.join(QString()).contains(">" + line + ">READY"), qPrintable(rows.join('|')));
    // Copied, the line stays one line.
    QVERIFY(console->toPlainText().split('\n').contains(">" + line));
    // A narrower console wraps again; the end stays in view.
    const int before = console->Rows();
    console->resize(console->width() / 2, console->height());
    QVERIFY(console->Rows() > before);
    QVERIFY(console->VisibleRowTexts().join(QString()).endsWith(">READY"));
  }

  void theStatusLineSaysRunningWhileTheMachineRuns() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    Store(m, 0100, {"MOV 0,0", "HALT"});
    m.PC = 0100;
    f.RunControl().Run();
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped by HALT"));
    Store(m, 0100, {"JMP 100"});
    m.PC = 0100;
    QString whileRunning;
    f.Controller().ProcessEvents = [&] {
      whileRunning = f.StatusLine().lbStatus->text();
      f.RunControl().Stop();
    };
    f.RunControl().Run();
    f.Controller().ProcessEvents = nullptr;
    QCOMPARE(whileRunning, QString("Running"));
    QCOMPARE(f.StatusLine().lbStatus->text(), QString("Stopped by the stop command"));
  }
};

QTEST_MAIN(TTeletypeTest)
#include "TeletypeTest.moc"
