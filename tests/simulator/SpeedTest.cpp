// The speed setting in the main window: "&Preferences" > "Speed" and its key in Corvane.ini, the
// rate dialog, and the measured speed in the status line while a program runs. Dialogs are
// answered through the dialog seam; runs are watched from the event pump.
#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QtTest>
#include <fstream>
#include <functional>

#include "Indicators.h"
#include "IniFile.h"
#include "LanguageSwitch.h"
#include "LiveLamps.h"
#include "MachineController.h"
#include "MainForm.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "StatusLine.h"
#include "TestTempDir.h"
#include "Throttle.h"
#include "Translate.h"

namespace {

// A window with its own settings and documents folders, shown.
struct TWindow {
  explicit TWindow(const TTempDir& dir) : Form(TMainFormPaths{dir / "settings/", dir / "docs"}) {
    Form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Form));
  }
  TMainForm Form;
};

// Runs the window's machine from addr; each event pump calls step until it returns true, then
// the run is stopped.
void RunWithPumps(TMainForm& f, int addr, const std::function<bool()>& step) {
  bool done = false;
  f.Controller().ProcessEvents = [&] {
    QCoreApplication::processEvents();
    if (!done && step()) {
      done = true;
      f.RunControl().Stop();
    }
  };
  f.Machine().PC = TWord(addr);
  f.RunControl().Run();
  f.Controller().ProcessEvents = nullptr;
}

int StoredSpeed(const TTempDir& dir) { return TIniFile(dir / "settings/Corvane.ini").ReadInteger("Config", "Speed", -1); }

}  // namespace

class TSpeedTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
  }

  void speedKeyRoundTrip() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QVERIFY(f.itmSpeedMaximum->isChecked());  // the default
      QCOMPARE(f.Machine().Speed(), speed::Maximum);
      f.itmSpeedNova800->trigger();
      QCOMPARE(f.Machine().Speed(), speed::Nova800);
      QVERIFY(f.Machine().DevicesAtRealSpeed());
      f.itmRealSpeedDevices->trigger();
      QVERIFY(!f.Machine().DevicesAtRealSpeed());
      QVERIFY(f.close());
    }
    QCOMPARE(StoredSpeed(dir), 1);
    QVERIFY(!TIniFile(dir / "settings/Corvane.ini").ReadBool("Config", "RealSpeedDevices", true));
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.Machine().Speed(), speed::Nova800);
      QVERIFY(f.itmSpeedNova800->isChecked());
      QVERIFY(!f.itmRealSpeedDevices->isChecked());
      dialogs.AnswerInput("250000");
      f.itmSpeedRate->trigger();
      QCOMPARE(f.Machine().Speed(), 250000u);
      QVERIFY(f.itmSpeedRate->isChecked());
      QVERIFY(f.close());
    }
    QCOMPARE(StoredSpeed(dir), 250000);
    {
      TWindow w(dir);
      QCOMPARE(w.Form.Machine().Speed(), 250000u);
      QVERIFY(w.Form.itmSpeedRate->isChecked());
      w.Form.itmSpeedMaximum->trigger();
      QVERIFY(w.Form.close());
    }
    QCOMPARE(StoredSpeed(dir), 0);
  }

  void storedSpeedsOutOfRangeAreLimited_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<uint>("speed");
    QTest::newRow("below the lowest rate") << "7" << uint(speed::MinRate);
    QTest::newRow("negative") << "-3" << uint(speed::MinRate);
    QTest::newRow("above the highest rate") << "900000000" << uint(speed::MaxRate);
    QTest::newRow("not a number") << "fast" << uint(speed::Maximum);
  }
  void storedSpeedsOutOfRangeAreLimited() {
    QFETCH(QString, stored);
    QFETCH(uint, speed);
    TTempDir dir;
    TScriptedDialogs dialogs;
    std::filesystem::create_directories(dir / "settings");
    std::ofstream(dir / "settings/Corvane.ini") << "[Config]\nSpeed=" << stored.toStdString() << "\n";
    TWindow w(dir);
    QCOMPARE(w.Form.Machine().Speed(), std::uint32_t(speed));
  }

  void rateDialogRefusesWhatIsNotARate_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("too low") << "999";
    QTest::newRow("too high") << "100000001";
    QTest::newRow("text") << "fast";
    QTest::newRow("empty") << "";
  }
  void rateDialogRefusesWhatIsNotARate() {
    QFETCH(QString, typed);
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmSpeedNova800->trigger();
    dialogs.AnswerInput(typed);
    f.itmSpeedRate->trigger();
    QCOMPARE(dialogs.Count(dkError), 1);
    QVERIFY(dialogs.Last(dkError)->Text.contains("1000 .. 100000000"));
    QCOMPARE(f.Machine().Speed(), speed::Nova800);
    QVERIFY(f.itmSpeedNova800->isChecked());
    // Cancelled: nothing changes either.
    dialogs.CancelInput();
    f.itmSpeedRate->trigger();
    QCOMPARE(f.Machine().Speed(), speed::Nova800);
    QVERIFY(f.itmSpeedNova800->isChecked());
  }

  void statusLineShowsTheMeasuredSpeedWhileRunning() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.Machine().Memory[0100].Data = 0100;  // JMP 100: 0.8 us a pass
    f.itmSpeedNova800->trigger();
    // Samples at chosen wall-clock times: one second apart, whatever the run really took.
    constexpr std::int64_t T0 = 1'000'000'000'000;
    std::uint64_t executed0 = 0, executed1 = 0, sim0 = 0, sim1 = 0;
    int pumps = 0;
    QString shown;
    RunWithPumps(f, 0100, [&] {
      f.Controller().SpeedTimer().stop();  // only the samples below
      switch (++pumps) {
        case 2:
          executed0 = f.Machine().ExecutedCount();
          sim0 = f.Machine().SimTimeNs();
          f.Controller().SampleSpeed(T0);
          return false;
        case 10:
          executed1 = f.Machine().ExecutedCount();
          sim1 = f.Machine().SimTimeNs();
          f.Controller().SampleSpeed(T0 + 1'000'000'000);
          shown = f.StatusLine().lbSpeed->isVisible() ? f.StatusLine().lbSpeed->text() : QString();
          return true;
        default: return false;
      }
    });
    QVERIFY(executed1 > executed0);
    const QString ratio = QString::number(double(sim1 - sim0) / 1e9, 'f', 2);
    QCOMPARE(shown, QString::number(executed1 - executed0) + " instructions/s, " + ratio + "x");
    QVERIFY(!f.StatusLine().lbSpeed->isVisible());  // stopped: no speed shown

    // At maximum speed: the instructions per second only.
    f.itmSpeedMaximum->trigger();
    pumps = 0;
    RunWithPumps(f, 0100, [&] {
      f.Controller().SpeedTimer().stop();
      if (++pumps == 1) f.Controller().SampleSpeed(T0);
      if (pumps < 3) return false;
      executed1 = f.Machine().ExecutedCount();
      f.Controller().SampleSpeed(T0 + 2'000'000'000);
      shown = f.StatusLine().lbSpeed->text();
      return true;
    });
    QVERIFY(shown.endsWith(" instructions/s"));
    QVERIFY(!shown.contains('x'));
  }

  void liveLampsGlowWithTheShareOfSamples() {
    TLiveLamps lamps;
    std::array<float, 15> address;
    std::array<float, 16> data;
    QVERIFY(!lamps.Take(address, data));
    for (int i = 0; i < 3; ++i) lamps.Add(0, 0100000);
    lamps.Add(040000, 1);
    QVERIFY(lamps.Take(address, data));
    QCOMPARE(address[0], 0.25f);  // lamp 0: the most significant of the 15 address bits
    QCOMPARE(address[14], 0.0f);
    QCOMPARE(data[0], 0.75f);
    QCOMPARE(data[15], 0.25f);
    QVERIFY(!lamps.Take(address, data));  // taken: a new count starts

    // The word on the data lines: what LDA and STA moved, otherwise the instruction.
    TNovaMachine m;
    m.Memory[0100].Data = 024050;  // LDA 1,50
    m.Memory[0101].Data = 0125400;  // INC 1,1
    m.Memory[050].Data = 0777;
    m.PC = 0100;
    m.Step();
    QCOMPARE(TLiveLamps::DataWord(m), TWord(0777));
    m.Step();
    QCOMPARE(TLiveLamps::DataWord(m), TWord(0125400));
  }

  void liveLampsWhileRunning() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      TNovaFrontpanel& panel = f.FrontPanel();
      panel.show();
      QVERIFY(f.itmLiveLamps && !f.itmLiveLamps->isChecked());  // off by default
      QVERIFY(panel.actions().contains(f.itmLiveLamps));       // the panel's context menu
      f.itmLiveLamps->trigger();
      // 100: INC 0,0  101: STA 0,50  102: JMP 100
      f.Machine().Memory[0100].Data = 0101400;
      f.Machine().Memory[0101].Data = 040050;
      f.Machine().Memory[0102].Data = 0100;
      std::array<float, 15> address{};
      std::array<float, 16> data{};
      int pumps = 0;
      RunWithPumps(f, 0100, [&] {
        if (++pumps < 50) return false;
        f.ShowLiveLamps();
        for (int i = 0; i < 15; ++i) address[i] = panel.AddressLamps[i]->Brightness();
        for (int i = 0; i < 16; ++i) data[i] = panel.DataLamps[i]->Brightness();
        return true;
      });
      QCOMPARE(address[8], 1.0f);  // PC is 100 to 102: bit 6 always on
      QCOMPARE(address[0], 0.0f);
      for (float b : data) QVERIFY(b >= 0 && b <= 1);
      for (int i = 0; i < 15; ++i) QCOMPARE(panel.AddressLamps[i]->Brightness(), -1.0f);  // plain after the run
      QCOMPARE(panel.DataLamps[0]->Brightness(), -1.0f);
      QVERIFY(f.close());
    }
    QVERIFY(TIniFile(dir / "settings/Corvane.ini").ReadBool("FrontPanel", "LiveLamps", false));
    TWindow w(dir);
    QVERIFY(w.Form.itmLiveLamps->isChecked());
  }

  void speedMenuInGerman() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.itmGerman->trigger();
    QCOMPARE(f.mnSpeed->title(), QString("Geschwindigkeit"));
    QCOMPARE(f.itmSpeedRate->text(), QString("Befehle je Sekunde .."));
    f.itmEnglish->trigger();
    QCOMPARE(f.mnSpeed->title(), QString("Speed"));
  }
};

QTEST_MAIN(TSpeedTest)
#include "SpeedTest.moc"
