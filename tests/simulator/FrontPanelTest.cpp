// The front panel offscreen inside the main window: its layout, the data switches and the
// switch word, each of the 19 commands as the operator gives them with the mouse (PROG LOAD of
// the hello tape, EXAMINE/DEPOSIT NEXT walking memory), what acts during a run, the RUN lamp,
// closing, the power knob and the stored position. Runs are watched from the event pump.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QtTest>
#include <chrono>
#include <functional>

#include "DeviceTabs.h"
#include "Indicators.h"
#include "IniFile.h"
#include "LanguageSwitch.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "PanelArt.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "Switches.h"
#include "SwitchesPanel.h"
#include "TeletypePanel.h"
#include "Translate.h"
#include "WindowTestKit.h"

namespace {

const std::string Samples = CORVANE_BINARY_DIR "/samples";

// Pushes a command switch up (upper half) or down (lower half) and lets it spring back.
void Push(TBiMomSwitch3D* sw, bool up) {
  const QPoint at(sw->width() / 2, up ? 4 : sw->height() - 4);
  QTest::mousePress(sw, Qt::LeftButton, {}, at);
  QTest::mouseRelease(sw, Qt::LeftButton, {}, at);
}

// Sets the panel's switch word lever by lever, as the operator does.
void Toggle(TNovaFrontpanel& p, std::uint16_t word) {
  for (int i = 0; i < 16; ++i) {
    const bool want = (word >> (15 - i)) & 1;
    if ((p.DataSwitches[i]->State() == ssOn) != want) QTest::mouseClick(p.DataSwitches[i], Qt::LeftButton);
  }
}

std::uint16_t DataLamps(const TNovaFrontpanel& p) {
  std::uint16_t w = 0;
  for (int i = 0; i < 16; ++i)
    if (p.DataLamps[i]->LightOn()) w |= std::uint16_t(1u << (15 - i));
  return w;
}

std::uint16_t AddressLamps(const TNovaFrontpanel& p) {
  std::uint16_t w = 0;
  for (int i = 0; i < 15; ++i)
    if (p.AddressLamps[i]->LightOn()) w |= std::uint16_t(1u << (14 - i));
  return w;
}

}  // namespace

class TFrontPanelTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
    SetWarningBeepHandler([] {});
  }

  void layoutAtItsFixedSize() {
    TTempDir dir;
    TWindow w(dir);
    TNovaFrontpanel& p = w.Panel();
    QVERIFY(p.isVisible());  // "&Frontpanel" is checked by default
    QCOMPARE(p.size(), QSize(972, 300));
    QCOMPARE(p.minimumSize(), p.maximumSize());
    QCOMPARE(p.windowTitle(), QString("Nova-Frontpanel"));
    QCOMPARE(p.LowerFrontPanel->geometry(), QRect(0, 175, 972, 81));
    QCOMPARE(p.BasePanel->geometry(), QRect(0, 256, 972, 44));
    QCOMPARE(p.UfpImage->geometry(), QRect(4, 4, 964, 167));
    QCOMPARE(p.AddressLamps[0]->geometry(), QRect(265, 27, 16, 16));
    QCOMPARE(p.AddressLamps[14]->pos(), QPoint(765, 27));
    QCOMPARE(p.DataLamps[0]->pos(), QPoint(215, 67));
    for (int i = 0; i < 15; ++i) QCOMPARE(p.AddressLamps[i]->x(), p.DataLamps[i + 1]->x());
    QCOMPARE(p.DataSwitches[5]->geometry(), QRect(p.DataLamps[5]->x(), 117, 21, 32));
    QCOMPARE(p.DataLabels[5]->geometry(), QRect(p.DataLamps[5]->x() - 2, 108, 20, 10));
    QCOMPARE(p.DataLabels[15]->text(), QString("15"));
    QCOMPARE(p.CarryLamp->pos(), QPoint(185, 67));
    QCOMPARE(p.ExecuteLamp->pos(), QPoint(915, 67));
    QCOMPARE(p.ProgSwitch->geometry(), QRect(755, 25, 21, 32));
    QCOMPARE(p.ResetSwitch->x(), 415);
    // The status lamps other than RUN are never driven.
    for (TLamp3D* l : {p.IOWLamp, p.FetchLamp, p.DeferLamp, p.ExecuteLamp}) QVERIFY(!l->LightOn());
  }

  void dataSwitchesReportTheWholeWord() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    QCOMPARE(p.Switches(), std::uint16_t(0));
    QTest::mouseClick(p.DataSwitches[15], Qt::LeftButton);
    QCOMPARE(f.Machine().Switches, TWord(1));
    QCOMPARE(f.gbSwitches->edSwitches->Value(), 1);
    QTest::mouseClick(p.DataSwitches[15], Qt::LeftButton);
    QTest::mouseClick(p.DataSwitches[0], Qt::LeftButton);
    QCOMPARE(f.Machine().Switches, TWord(0100000));
    // The switch register set elsewhere moves the levers at the next refresh, with no event.
    int events = 0;
    p.OnChangeDataSwitch = [&](std::uint16_t) { ++events; };
    f.Machine().Switches = 012;
    f.ShowRegisters();
    QCOMPARE(p.DataSwitches[12]->State(), ssOn);
    QCOMPARE(p.DataSwitches[0]->State(), ssOff);
    p.SetSwitches(012);
    QCOMPARE(events, 0);
  }

  void addressStaysWithinTheMemory() {
    TTempDir dir;
    TWindow w(dir);
    TNovaFrontpanel& p = w.Panel();
    p.SetAddress(0177777);
    QCOMPARE(p.Address(), std::uint16_t(077777));
    QCOMPARE(AddressLamps(p), std::uint16_t(077777));
    p.SetAddress(0100005);
    QCOMPARE(p.Address(), std::uint16_t(5));
  }

  void refreshShowsPcWordCarryAndSwitches() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    m.Memory[0123].Data = 0125252;
    m.PC = 0123;
    m.Carry = 1;
    f.ShowRegisters();
    QCOMPARE(p.Address(), std::uint16_t(0123));
    QCOMPARE(AddressLamps(p), std::uint16_t(0123));
    QCOMPARE(DataLamps(p), std::uint16_t(0125252));
    QVERIFY(p.CarryLamp->LightOn());
    QVERIFY(!p.Run());
    // Hidden, the panel is left alone; shown again it takes the state at once.
    f.itmFrontPanel->setChecked(false);
    QVERIFY(!p.isVisible());
    m.PC = 0200;
    f.ShowRegisters();
    QCOMPARE(p.Address(), std::uint16_t(0123));
    f.btShowFrontPanel->click();
    QVERIFY(p.isVisible());
    QCOMPARE(p.Address(), std::uint16_t(0200));
  }

  void accumulatorCommands() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    TBiMomSwitch3D* acs[4] = {p.Ac0Switch, p.Ac1Switch, p.Ac2Switch, p.Ac3Switch};
    const std::uint16_t address = p.Address();
    for (int n = 0; n < 4; ++n) {
      const std::uint16_t word = std::uint16_t(0100001 + 0111 * n);
      Toggle(p, word);
      Push(acs[n], true);  // DEPOSIT ACn
      QCOMPARE(m.AC[n], word);
      QCOMPARE(f.gbRegister->edAC[n]->Value(), int(word));
      QCOMPARE(DataLamps(p), word);
    }
    p.SetData(0);
    Push(p.Ac2Switch, false);  // EXAMINE AC2
    QCOMPARE(DataLamps(p), m.AC[2]);
    QCOMPARE(p.Address(), address);  // the address lamps stay
  }

  void examineAndDepositWalkMemory() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    for (int a = 0; a < 4; ++a) m.Memory[0500 + a].Data = TWord(01000 + a);
    m.Memory[077777].Data = 07;
    // EXAMINE takes the address from the switches; the top bit is ignored.
    Toggle(p, 0100500);
    Push(p.ExamineSwitch, true);
    QCOMPARE(p.Address(), std::uint16_t(0500));
    QCOMPARE(DataLamps(p), std::uint16_t(01000));
    for (int a = 1; a < 4; ++a) {
      Push(p.ExamineSwitch, false);  // EXA NEXT
      QCOMPARE(p.Address(), std::uint16_t(0500 + a));
      QCOMPARE(DataLamps(p), std::uint16_t(01000 + a));
    }
    Toggle(p, 0177777);
    Push(p.ExamineSwitch, true);
    QCOMPARE(p.Address(), std::uint16_t(077777));
    QCOMPARE(DataLamps(p), std::uint16_t(07));
    // DEP NEXT at 077777 deposits into 0, then into 1.
    Toggle(p, 0123);
    Push(p.DepositSwitch, false);
    QCOMPARE(p.Address(), std::uint16_t(0));
    QCOMPARE(m.Memory[0].Data, TWord(0123));
    Push(p.DepositSwitch, false);
    QCOMPARE(m.Memory[1].Data, TWord(0123));
    QCOMPARE(DataLamps(p), std::uint16_t(0123));
    // DEPOSIT at the current address.
    Toggle(p, 0456);
    Push(p.DepositSwitch, true);
    QCOMPARE(m.Memory[1].Data, TWord(0456));
    // After a refresh the address is PC again: EXA NEXT shows PC + 1.
    m.PC = 0501;
    f.ShowRegisters();
    Push(p.ExamineSwitch, false);
    QCOMPARE(p.Address(), std::uint16_t(0502));
    QCOMPARE(DataLamps(p), std::uint16_t(01002));
  }

  void depositAtPcRefreshesTheRegisterPanel() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    m.PC = 0300;
    f.ShowRegisters();
    std::uint16_t jmp = 0;
    QVERIFY(StrToCommand("JMP 310", 0300, jmp));
    Toggle(p, jmp);
    Push(p.DepositSwitch, true);
    QCOMPARE(m.Memory[0300].Data, TWord(jmp));
    QCOMPARE(f.gbRegister->edCmd->Value(), int(jmp));
    QVERIFY(f.gbRegister->edCommand->text().startsWith("JMP"));
    QCOMPARE(f.gbRegister->edAdr->Value(), 0310);
  }

  void startContinueStepResetAndNothingCommands() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    Store(m, 0100, {"SUBZL 0,0", "INC 0,0", "HALT", "INC 0,0", "HALT"});
    // START: PC from the switches, then run to the HALT.
    Toggle(p, 0100100);
    Push(p.StartSwitch, true);
    QCOMPARE(m.LastStopReason(), srHalt);
    QCOMPARE(m.PC, TWord(0102));
    QCOMPARE(m.AC[0], TWord(2));
    QVERIFY(!p.Run());
    // CONTINUE: on from PC (over the HALT that stopped it).
    Push(p.StartSwitch, false);
    QCOMPARE(m.PC, TWord(0104));
    QCOMPARE(m.AC[0], TWord(3));
    // INST STEP is the STEP switch pushed up; MEM STEP (down) does nothing.
    m.PC = 0101;
    f.ShowRegisters();
    const int traced = m.TraceCount();
    Push(p.StepSwitch, false);
    QCOMPARE(m.PC, TWord(0101));
    QCOMPARE(m.TraceCount(), traced);
    Push(p.StepSwitch, true);
    QCOMPARE(m.PC, TWord(0102));
    QCOMPARE(m.AC[0], TWord(4));
    QCOMPARE(p.Address(), std::uint16_t(0102));
    // PROG LOAD pushed down does nothing.
    const TWord word0 = m.Memory[0].Data;
    Push(p.ProgSwitch, false);
    QCOMPARE(m.Memory[0].Data, word0);
    QCOMPARE(m.PC, TWord(0102));
    // RESET: PC 2, the console left as it is.
    f.gbTTY->mmTTO->AddBytes("kept");
    Push(p.ResetSwitch, true);
    QCOMPARE(m.PC, TWord(2));
    QCOMPARE(m.TraceCount(), 0);
    QCOMPARE(f.gbTTY->mmTTO->toPlainText(), QString("kept"));
    QCOMPARE(p.Address(), std::uint16_t(2));
  }

  void progLoadReadsTheHelloTape() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    dialogs.AnswerOpen({QString::fromStdString(Samples + "/hello.bin")});
    QVERIFY(f.Peripherals().OpenInput(pdPtr, Samples + "/hello.bin"));
    Toggle(p, 012);
    QCOMPARE(f.Machine().Switches, TWord(012));
    Push(p.ProgSwitch, true);
    QVERIFY(f.gbTTY->mmTTO->toPlainText().contains("HELLO, WORLD!"));
    QCOMPARE(f.Machine().LastStopReason(), srHalt);
    QCOMPARE(dialogs.Count(dkModal), 0);  // no question for the switches
  }

  void duringARunOnlyStopResetAndTheLampsAct() {
    TTempDir dir;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaFrontpanel& p = w.Panel();
    TNovaMachine& m = f.Machine();
    Store(m, 0100, {"INC 1,1", "JMP 100"});
    m.PC = 0100;
    Toggle(p, 0200);
    int pumps = 0;
    bool litAtStart = false, blinked = false;
    {
      TPumpScript script(f, false, [&] {
        switch (pumps++) {
          case 0:
            litAtStart = p.Run();
            f.tmViewTimer();  // a tick of the view timer inverts the lamp
            blinked = !p.Run();
            f.tmViewTimer();
            // None of these starts anything while the machine runs.
            Push(p.StartSwitch, true);
            Push(p.StartSwitch, false);
            Push(p.StepSwitch, true);
            Push(p.StepSwitch, false);
            Push(p.ProgSwitch, true);
            return false;
          case 1:
            Push(p.ResetSwitch, false);  // STOP
            return true;
          default: return true;
        }
      });
      Push(p.StartSwitch, false);  // CONTINUE from 0100
      QVERIFY(!script.Failed);
    }
    QVERIFY(litAtStart);
    QVERIFY(blinked);
    QCOMPARE(m.LastStopReason(), srStop);
    QVERIFY(m.PC == 0100 || m.PC == 0101);  // still in the loop, not at the switches' 0200
    QVERIFY(m.Memory[0].Data != 062677 || m.Memory[1].Data != 060477);  // no bootstrap loaded
    QVERIFY(!p.Run());
    // RESET during a run ends it too.
    pumps = 0;
    {
      TPumpScript script(f, false, [&] {
        Push(p.ResetSwitch, true);
        return true;
      });
      Push(p.StartSwitch, false);
      QVERIFY(!script.Failed);
    }
    QCOMPARE(m.PC, TWord(2));
    QVERIFY(!m.Running());
  }

  void closingHidesThePanelAndKeepsItsPosition() {
    TTempDir dir;
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    {
      TWindow w(dir);
      TNovaFrontpanel& p = w.Panel();
      QVERIFY(p.close());
      QVERIFY(!p.isVisible());
      QVERIFY(!w.Form.itmFrontPanel->isChecked());
      QVERIFY(!w.Form.btShowFrontPanel->isChecked());
      QVERIFY(w.Form.isVisible());
      QVERIFY(!w.Form.ShutDownDone());
      w.Form.itmFrontPanel->setChecked(true);
      p.move(area.left() + 30, area.top() + 40);
      QVERIFY(w.Form.close());
    }
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadInteger("FrontPanel", "Left", -1), area.left() + 30);
    QCOMPARE(ini.ReadInteger("FrontPanel", "Top", -1), area.top() + 40);
    QCOMPARE(ini.ReadInteger("Config", "ShowFrontPanel", -1), 1);
    TWindow w(dir);
    // The stored place goes through the placement rule (the panel is wider than this screen).
    QCOMPARE(w.Panel().pos(), PlaceOnScreen(QPoint(area.left() + 30, area.top() + 40), QSize(972, 300), pkDialog));
    QVERIFY(area.intersects(w.Panel().frameGeometry()));
  }

  void powerKnobQuits() {
    TTempDir dir;
    TWindow w(dir);
    TNovaFrontpanel& p = w.Panel();
    // 20 pixels from the centre is outside the knob, 19 inside.
    QTest::mouseClick(p.UfpImage, Qt::LeftButton, {}, fpArt::KnobCentre + QPoint(20, 0));
    QVERIFY(!w.Form.ShutDownDone());
    QTest::mouseClick(p.UfpImage, Qt::LeftButton, {}, fpArt::KnobCentre + QPoint(0, -19));
    QVERIFY(w.Form.ShutDownDone());
    QVERIFY(!w.Form.isVisible());
  }
};

QTEST_MAIN(TFrontPanelTest)
#include "FrontPanelTest.moc"
