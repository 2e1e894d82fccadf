// Corvane's main window driven offscreen: start-up and shutdown with temporary settings and
// documents folders, tapes loaded through the window, dumps, listings, memory size, language,
// the keyboard, and the mends of the window's obvious faults. Every dialog is answered through
// the dialog seam; a run is watched from the event pump, never by waiting a span of time.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QMimeData>
#include <QTabBar>
#include <QtTest>
#include <QUrl>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include <csignal>

#include "CloseSignals.h"
#include "DeviceTabs.h"
#include "DumpActions.h"
#include "IniFile.h"
#include "InpValue.h"
#include "LanguageSwitch.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "NovaUtils.h"
#include "NumberEd.h"
#include "RegisterPanel.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "SwitchesPanel.h"
#include "TeletypePanel.h"
#include "TestTape.h"
#include "TestTempDir.h"
#include "TextTyping.h"
#include "Translate.h"
#include "WindowTestKit.h"
#include "WritePrgDlg.h"

namespace {

const std::string Samples = CORVANE_BINARY_DIR "/samples";
const std::string Tapes = CORVANE_TAPES_DIR;

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

QString ConsoleText(TMainForm& form) { return form.gbTTY->mmTTO->toPlainText(); }

// Types keys as key events, as a person does: each once the teletype has been quiet for a while
// (the program waits for a key) and the echo of the key before has appeared.
class TKeyTypist {
public:
  static constexpr int QuietPumps = 50;
  TKeyTypist(TMainForm& form, const QString& waitFor, const QString& keys)
      : FForm(form), FWaitFor(waitFor), FKeys(keys.begin(), keys.end()) {}
  // One pump's work; true when everything has been typed and echoed.
  bool Step() {
    const QString text = ConsoleText(FForm);
    if (!FStarted && !text.contains(FWaitFor)) return false;
    FStarted = true;
    if (text.size() != FSeenSize) {
      FSeenSize = text.size();
      FQuiet = 0;
      return false;
    }
    if (++FQuiet < QuietPumps || text.size() == FTypedAt) return false;
    if (FKeys.empty()) return true;
    const QChar c = FKeys.front();
    FKeys.pop_front();
    FTypedAt = text.size();
    QWidget* target = FForm.focusWidget() ? FForm.focusWidget() : &FForm;
    if (c == '\r')
      QTest::keyClick(target, Qt::Key_Return);
    else
      QTest::keyClick(target, c.toLatin1());
    return false;
  }

private:
  TMainForm& FForm;
  QString FWaitFor;
  std::deque<QChar> FKeys;
  bool FStarted = false;
  qsizetype FSeenSize = -1;
  qsizetype FTypedAt = -1;
  int FQuiet = 0;
};

// A program at 000100: LPT prints the byte in AC0 for ever.
void StorePrinterLoop(TNovaMachine& m) {
  const char* lines[] = {"LDA 0,110", "DOAS 0,LPT", "SKPDN LPT", "JMP .-1", "JMP 100"};
  for (int i = 0; i < 5; ++i) {
    std::uint16_t w = 0;
    QVERIFY(StrToCommand(lines[i], std::uint16_t(0100 + i), w));
    m.Memory[0100 + i].Data = w;
  }
  m.Memory[0110].Data = 'A';
  m.PC = 0100;
}

}  // namespace

class TMainWindowTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
    SetWarningBeepHandler([this] { ++Beeps; });
  }

  void startUpAndShutDownKeepMemoryAndSettings() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.windowTitle(), QString("Corvane"));
      QCOMPARE(f.gbMemory->title(), QString("Program memory (32768 words = 64.0 KiB)"));
      QCOMPARE(f.Machine().PC, TWord(2));
      f.Machine().Memory[0100].Data = 01234;
      f.Machine().SetBreakpoint(010);
      f.Machine().AddWatch(020);
      f.rbHex->click();
      QCOMPARE(f.NumFormat(), nmHex);
      QCOMPARE(f.gbMemory->sgMemory->Model()->CellText(0100, TMemoryModel::colContents), QString("029C"));
      f.SetMemSize(4096);
      QVERIFY(f.close());
      QVERIFY(f.ShutDownDone());
    }
    const std::string image = dir / "docs/Nova/autodump.dmp";
    QCOMPARE(ReadFile(image).size(), std::size_t(8192));
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadInteger("Config", "NumBase", -1), int(nmHex));
    QCOMPARE(ini.ReadInteger("Config", "MemSize", -1), 4096);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Count", -1), 1);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Address000", -1), 8);
    QCOMPARE(ini.ReadInteger("WatchWindow", "Address000", -1), 16);
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      QCOMPARE(f.windowTitle(), QString("Corvane - The last memory status has been restored"));
      QCOMPARE(f.Machine().Memory[0100].Data, TWord(01234));
      QVERIFY(f.Machine().Memory[010].Flags & BreakpointFlag);
      QCOMPARE(f.Machine().Watch.size(), std::size_t(1));
      QCOMPARE(f.NumFormat(), nmHex);
      QCOMPARE(f.Machine().MemSize, 4096);
      QCOMPARE(f.gbMemory->sgMemory->Model()->rowCount(), 4096);
      QCOMPARE(f.Machine().PC, TWord(2));
    }
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void storedValuesOutOfRangeFallBack() {
    TTempDir dir;
    std::filesystem::create_directories(dir / "settings");
    WriteFile(dir / "settings/Corvane.ini",
              "[Config]\nMemSize=0\nNumBase=0\nPreSwitches=000012,1x\n[Breakpoints]\nCount=999999\n"
              "Address000=32768\nAddress001=10\n");
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    QCOMPARE(f.Machine().MemSize, 32768);
    QCOMPARE(f.NumFormat(), nmZeroDec);
    QCOMPARE(f.Machine().BreakPoints, std::vector<TWord>{10});
    // A bad stored switch entry gives the conversion error and leaves the switches alone.
    f.Machine().Switches = 0777;
    f.gbSwitches->PreSwitchChosen("1x");
    QCOMPARE(f.Machine().Switches, TWord(0777));
    QVERIFY(dialogs.Last(dkError)->Text.contains("1x is not a valid octal value"));
  }

  void unwritableImageIsReportedAndShutdownGoesOn() {
    TTempDir dir;
    std::filesystem::create_directories(dir / "settings");
    WriteFile(dir / "blocker", "a file where the working directory should be");
    WriteFile(dir / "settings/Corvane.ini", "[Config]\nWorkPath=" + dir / "blocker/Nova" + "\nTop=-5000\nLeft=99999\n");
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      // A stored position off every screen is brought back onto one.
      QVERIFY(QApplication::primaryScreen()->availableGeometry().intersects(w.Form.frameGeometry()));
      w.Form.Machine().Switches = 0123;
      QVERIFY(w.Form.close());
    }
    QCOMPARE(dialogs.Count(dkError), 1);  // the image could not be written, and it was said
    QVERIFY(dialogs.Last(dkError)->Text.contains("autodump.dmp"));
    QCOMPARE(TIniFile(dir / "settings/Corvane.ini").ReadInteger("Config", "Switches", -1), 0123);
  }

  void helloTapeLoadedThroughTheWindow() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    dialogs.AnswerOpen({QString::fromStdString(Samples + "/hello.bin")});
    TReaderCombo* list = f.pcDevices->Ptr.edFile;
    QCOMPARE(list->EditTextColor(), list->palette().color(QPalette::PlaceholderText));
    f.pcDevices->Ptr.btOpen->click();
    QVERIFY(f.Peripherals().PtrFile);
    QCOMPARE(list->EditTextColor(), list->palette().color(QPalette::Text));  // attached
    AnswerValue(dialogs, "12");
    f.btPrgLoad->click();
    QCOMPARE(f.Machine().Switches, TWord(012));
    QVERIFY(ConsoleText(f).contains("HELLO, WORLD!"));
    QCOMPARE(f.Machine().LastStopReason(), srHalt);
    QVERIFY(!f.btStop->isEnabled());
    QCOMPARE(dialogs.Count(dkError), 0);
    // The name stays in the list after the file is detached, greyed.
    f.Peripherals().DetachInput(pdPtr);
    QCOMPARE(list->currentText(), QString::fromStdString(Samples + "/hello.bin"));
    QCOMPARE(list->EditTextColor(), list->palette().color(QPalette::PlaceholderText));
  }

  void gridKeepsARowOfContextBelowPC() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    const int v = f.gbMemory->sgMemory->VisibleRows();
    QVERIFY(v > 3);
    f.gbMemory->sgMemory->SetTopRow(0);
    m.PC = TWord(v - 2);  // the last fully visible row but one: stays
    f.ShowRegisters();
    QCOMPARE(f.gbMemory->sgMemory->TopRow(), 0);
    m.PC = TWord(v - 1);  // the last fully visible row: becomes the second row
    f.ShowRegisters();
    QCOMPARE(f.gbMemory->sgMemory->TopRow(), v - 2);
    m.PC = 01000;  // far below: scrolled in, then made the second row
    f.ShowRegisters();
    QCOMPARE(f.gbMemory->sgMemory->TopRow(), 0777);
    m.PC = 1;  // rows 0 and 1 never move the top row
    f.gbMemory->sgMemory->SetTopRow(0);
    f.ShowRegisters();
    QCOMPARE(f.gbMemory->sgMemory->TopRow(), 0);
  }

  void basicTapeAnswersALineTypedAsKeys() {
    TTempDir dir;
    const std::string tape = dir / "basic.tape";
    WriteFile(tape, ReadFile(Samples + "/binloader.bin") + ReadFile(Tapes + "/novabasic1.ab"));
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.activateWindow();
    f.gbMemory->sgMemory->setFocus();
    QVERIFY(f.Peripherals().OpenPtrFile(tape));
    TKeyTypist typist(f, "(TYPE N)?", "Y\r10 PRINT 2+2\r20 END\rRUN\r");
    bool typed = false;
    TPumpScript script(f, [&] {
      if (!typed) typed = typist.Step();
      return typed && ConsoleText(f).contains("*READY");
    });
    AnswerValue(dialogs, "000012");
    f.btPrgLoadClick();
    const QString text = ConsoleText(f);
    QVERIFY2(!script.Failed, qPrintable(text));
    QVERIFY2(text.contains(">10 PRINT 2+2"), qPrintable(text));
    QVERIFY(text.contains("> 4"));
  }

  void textFileTypedIntoBasicAtItsPace() {
    TTempDir dir;
    const std::string tape = dir / "basic.tape";
    WriteFile(tape, ReadFile(Samples + "/binloader.bin") + ReadFile(Tapes + "/novabasic1.ab"));
    // The whole session typed ahead; both kinds of line end become carriage returns.
    const std::string session = dir / "session.txt";
    WriteFile(session, "Y\r\n10 PRINT 2+2\n20 END\nRUN\n");
    QCOMPARE(TTextTyping::Keys("a\r\nb\nc\rd"), std::string("a\rb\rc\rd"));
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    QVERIFY(f.Peripherals().OpenPtrFile(tape));
    dialogs.AnswerOpen({QString::fromStdString(session)});
    f.gbTTY->TypeTextFileClick();
    QVERIFY(f.gbTTY->Typing().Active());
    QCOMPARE(f.gbTTY->Typing().Total(), std::size_t(26));
    bool progressShown = false;
    TPumpScript script(f, [&] {
      progressShown = progressShown || f.gbTTY->lbTyping->text().startsWith("Typing: ");
      const QString text = ConsoleText(f);
      const auto answer = text.indexOf("> 4");
      return !f.gbTTY->Typing().Active() && answer >= 0 && text.indexOf("*READY", answer) >= 0;
    });
    AnswerValue(dialogs, "000012");
    f.btPrgLoadClick();
    const QString text = ConsoleText(f);
    QVERIFY2(!script.Failed, qPrintable(text));
    QVERIFY2(text.contains(">10 PRINT 2+2"), qPrintable(text));
    QVERIFY(progressShown);
    QVERIFY(f.gbTTY->lbTyping->isHidden());
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void fileDroppedOnAReaderTabIsAttached() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TDeviceTabs* tabs = f.pcDevices;
    const QString hello = QString::fromStdString(Samples + "/hello.bin");
    const auto drop = [&](QPoint at) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(hello)});
      QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      // Straight to the widget: the application passes drag events only to the target of a
      // drag the window system runs.
      QObject* target = tabs;
      target->event(&move);
      if (!move.isAccepted()) return false;
      QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      target->event(&dropped);
      return true;
    };
    const auto tabCenter = [&](QWidget* page) {
      return tabs->tabBar()->mapTo(tabs, tabs->tabBar()->tabRect(tabs->indexOf(page)).center());
    };
    // On the "TTY Reader" tab while the PTR page is shown: the TTY reader gets the file.
    QVERIFY(drop(tabCenter(tabs->Ttr.Page)));
    QVERIFY(f.Peripherals().TtrFile);
    QCOMPARE(tabs->currentWidget(), tabs->Ttr.Page);
    QCOMPARE(tabs->Ttr.edFile->currentText(), hello);
    // Not on an output tab.
    QVERIFY(!drop(tabCenter(tabs->Ptp.Page)));
    // On the PTR page itself.
    tabs->setCurrentWidget(tabs->Ptr.Page);
    QVERIFY(drop(tabs->Ptr.Page->geometry().center()));
    QVERIFY(f.Peripherals().PtrFile);
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void loaderThenABinaryTapeAttachedWhileItWaits() {
    // The user guide's walkthrough: our loader from the reader, then a tape for it.
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    QVERIFY(f.Peripherals().OpenPtrFile(Samples + "/binloader.bin"));
    f.gbTTY->StartTyping("Y\r10 PRINT 2+2\r20 END\rRUN\r");
    bool attached = false;
    TPumpScript script(f, [&] {
      const TInputStream* tape = f.Peripherals().PtrFile.get();
      if (!attached && tape && tape->RunOut()) {
        dialogs.AnswerOpen({QString::fromStdString(Tapes + "/novabasic1.ab")});
        f.pcDevices->Ptr.btOpen->click();
        attached = true;
      }
      const QString text = ConsoleText(f);
      const auto answer = text.indexOf("> 4");
      return answer >= 0 && text.indexOf("*READY", answer) >= 0;
    });
    AnswerValue(dialogs, "000012");
    f.btPrgLoadClick();
    QVERIFY2(!script.Failed, qPrintable(ConsoleText(f)));
    QVERIFY(attached);
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void labelledTapeGoesInAfterItsLabel() {
    // A Data General tape attached while our loader waits: it is read from behind its label,
    // and the PTR page says so.
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    const std::string dg = dir / "dg.ab";
    const TTape tape = TTape().LabelledHead("091-000064-03").Repeat(0177757, 01000, 052525).Start(0100000);
    std::ofstream(dg, std::ios::binary) << tape.Str();
    const QString labelEnd = QString::number(128 + tape::PunchLabel("091-000064-03").size());
    QVERIFY(f.Peripherals().OpenPtrFile(Samples + "/binloader.bin"));
    TReaderPage& page = f.pcDevices->Ptr;
    QVERIFY(page.lbLabel->text().isEmpty());
    bool attached = false;
    QString position;
    TPumpScript script(f, [&] {
      const TInputStream* t = f.Peripherals().PtrFile.get();
      if (!attached && t && t->RunOut()) {
        dialogs.AnswerOpen({QString::fromStdString(dg)});
        page.btOpen->click();
        attached = true;
        position = page.edPos->text();
      }
      return false;
    });
    AnswerValue(dialogs, "000012");
    f.btPrgLoadClick();
    QVERIFY(!script.Failed);
    QVERIFY(attached);
    QCOMPARE(position, labelEnd);
    QCOMPARE(f.Machine().LastStopReason(), srHalt);  // the start word's bit 0: loaded, not started
    QCOMPARE(f.Machine().Memory[01017].Data, TWord(052525));
    QCOMPARE(page.lbLabel->text(), QString("Label: 091-000064-03"));
    QVERIFY(page.lbLabel->toolTip().contains("#"));
    QVERIFY(page.rbBinFile->isChecked());
    f.pcDevices->ReaderResetClick(pdPtr);
    QCOMPARE(page.edPos->text(), labelEnd);
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void typingEndsWithEscStopAndReset() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.activateWindow();
    const std::function<void()> enders[] = {
        [&] { QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_Escape); },
        [&] { f.RunControl().Stop(); },
        [&] { f.RunControl().Reset(); },
    };
    for (const auto& end : enders) {
      f.gbTTY->StartTyping("PRINT 1\n");
      QVERIFY(f.gbTTY->Typing().Active());
      f.gbTTY->mmTTO->setFocus();
      end();
      QVERIFY(!f.gbTTY->Typing().Active());
      QVERIFY(f.gbTTY->lbTyping->isHidden());
    }
    // Esc with nothing being typed is a key for the program.
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_Escape);
    QCOMPARE(f.Machine().Tti.InputByte(), std::uint8_t(033));
  }

  void dumpsAndListing() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.Memory[0101].Data = 0177777;
    const QString dump = QString::fromStdString(dir / "prog.dmp");
    dialogs.AnswerSave(dump);
    f.Dumps().itmSaveDump->trigger();
    QCOMPARE(ReadFile(dump.toStdString()).size(), std::size_t(65536));
    QCOMPARE(f.windowTitle(), QString("Corvane - Memory dump loaded: prog.dmp"));
    QVERIFY(f.Dumps().itmReload->isEnabled());

    m.Memory[0101].Data = 5;
    m.SetBreakpoint(0200);
    f.Dumps().itmReload->trigger();
    QCOMPARE(m.Memory[0101].Data, TWord(0177777));
    QVERIFY(m.Memory[0200].Flags & BreakpointFlag);  // reload keeps the breakpoints

    // A dump that is not there changes nothing, the caption included.
    f.Dumps().itmClearMemory->trigger();
    QCOMPARE(f.windowTitle(), QString("Corvane"));
    m.Memory[7].Data = 7;
    dialogs.AnswerOpen({QString::fromStdString(dir / "missing.dmp")});
    f.Dumps().itmLoadDump->trigger();
    QVERIFY(dialogs.Last(dkError)->Text.startsWith("File not found:\r\n"));
    QCOMPARE(m.Memory[7].Data, TWord(7));
    QCOMPARE(f.windowTitle(), QString("Corvane"));
    QVERIFY(!f.Dumps().itmReload->isEnabled());

    dialogs.AnswerOpen({dump});
    f.Dumps().itmLoadDump->trigger();
    QCOMPARE(m.Memory[0101].Data, TWord(0177777));
    QVERIFY(m.BreakPoints.empty());  // a load from a file empties the list

    // Listing of 000100 .. 000102, address and contents.
    dialogs.OnModal([](QDialog& d) {
      auto* p = qobject_cast<TWritePrgDialog*>(&d);
      if (!p) return int(QDialog::Rejected);
      p->edStart->SetValue(0100);
      p->edEnd->SetValue(0102);
      p->cbCommand->setChecked(false);
      return int(QDialog::Accepted);
    });
    const QString listing = QString::fromStdString(dir / "prog.lst");
    dialogs.AnswerSave(listing);
    f.Dumps().itmSaveProgram->trigger();
    QCOMPARE(QString::fromStdString(ReadFile(listing.toStdString())),
             QString("000100  000000  \r\n000101  177777  \r\n000102  000000  \r\n"));
    QCOMPARE(dialogs.Last(dkSaveFile)->Value, QString("prog"));  // proposed: the dump's name
  }

  void memorySize() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    struct TCase {
      const char* Typed;
      bool Confirm;
      int Expected;
      bool Error;
    } cases[] = {
        {"0", false, 32768, true},         // 0 is refused
        {"100001", false, 32768, true},    // above 100000 octal is refused
        {"4000", false, 32768, false},     // smaller, answered No
        {"4000", true, 2048, false},       // smaller, answered Yes
        {"100000", false, 32768, false},   // larger: no question
        {"12x", false, 32768, false},      // text that does not read: nothing applied
    };
    for (const TCase& c : cases) {
      const int errors = dialogs.Count(dkError);
      AnswerValue(dialogs, c.Typed);
      if (c.Expected < f.Machine().MemSize || (!c.Confirm && QString(c.Typed) == "4000")) dialogs.AnswerConfirm(c.Confirm);
      f.itmMemorySize->trigger();
      QCOMPARE(f.Machine().MemSize, c.Expected);
      QCOMPARE(dialogs.Count(dkError) - errors, c.Error ? 1 : 0);
      QCOMPARE(f.gbMemory->sgMemory->Model()->rowCount(), f.Machine().MemSize);
    }
    QVERIFY(dialogs.AllUsed());
    AnswerValue(dialogs, "4000");
    dialogs.AnswerConfirm(true);
    f.itmMemorySize->trigger();
    QCOMPARE(f.gbMemory->title(), QString("Program memory (2048 words = 4.00 KiB)"));
  }

  void languageSwitchSetsStateTextsAgain() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    const QString english = f.mnDump->title();
    const QString caption = f.gbMemory->title();
    f.itmGerman->trigger();
    QVERIFY(f.itmGerman->isChecked());
    QVERIFY(f.mnDump->title() != english);
    QVERIFY(f.gbMemory->title() != caption);
    QVERIFY(f.gbMemory->title().contains("32768"));
    const QString german = f.mnDump->title();
    f.itmEnglish->trigger();
    QCOMPARE(f.mnDump->title(), english);
    QCOMPARE(f.gbMemory->title(), caption);
    f.itmGerman->trigger();
    QCOMPARE(f.mnDump->title(), german);
    f.itmEnglish->trigger();
  }

  void keysReachTheTeletype_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << int('a');
    QTest::newRow("shifted") << int(Qt::Key_A) << int(Qt::ShiftModifier) << "A" << int('A');
    QTest::newRow("ctrl+c from the key") << int(Qt::Key_C) << int(Qt::ControlModifier) << "" << 3;
    QTest::newRow("ctrl+e without text") << int(Qt::Key_E) << int(Qt::ControlModifier) << "" << 5;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << "\r" << 015;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << int('7');
    QTest::newRow("alt+q is the menu") << int(Qt::Key_Q) << int(Qt::AltModifier) << "q" << -1;
    QTest::newRow("function key") << int(Qt::Key_F9) << 0 << "" << -1;
  }

  void keysReachTheTeletype() {
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(TTeletypePanel::KeyToTeletype(key, Qt::KeyboardModifiers(mods), text), code);
  }

  void keyEventsAnywhereInTheWindowReachTti() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.activateWindow();
    f.gbMemory->sgMemory->setFocus();
    // Each key once the program has taken the one before (here: TTI cleared).
    QTest::keyClick(f.gbMemory->sgMemory, Qt::Key_A);
    QCOMPARE(f.Machine().Tti.InputByte(), std::uint8_t('A'));  // upper case is on
    f.gbTTY->cbUpcase->setChecked(false);
    f.Machine().Tti.Clear();
    QTest::keyClick(f.gbMemory->sgMemory, Qt::Key_B);
    QCOMPARE(f.Machine().Tti.InputByte(), std::uint8_t('b'));
    f.Machine().Tti.Clear();
    QTest::keyClick(f.gbMemory->sgMemory, Qt::Key_Backspace);
    QCOMPARE(f.Machine().Tti.InputByte(), std::uint8_t(0177));
    // The console takes no typing itself.
    f.Machine().Tti.Clear();
    f.gbTTY->mmTTO->setFocus();
    QTest::keyClick(f.gbTTY->mmTTO, Qt::Key_X);
    QCOMPARE(f.Machine().Tti.InputByte(), std::uint8_t('x'));
    QVERIFY(!ConsoleText(f).contains('x'));
  }

  void consoleIsBuffered_AndBounded() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TMachineController& c = f.Controller();
    for (int i = 0; i < TConsole::MaxLines + 500; ++i) {
      c.TeletypeOut('L');
      c.TeletypeOut(015);
    }
    QVERIFY(f.gbTTY->mmTTO->blockCount() <= 1);  // nothing shown yet: it is buffered
    c.FlushConsole();
    QCOMPARE(f.gbTTY->mmTTO->blockCount(), TConsole::MaxLines);
    QVERIFY(c.PendingConsole().empty());
  }

  void clockTimerDrivesTheRealTimeClock() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    QCOMPARE(f.ClockTimer().objectName(), QString("tmRtc"));
    QVERIFY(!f.ClockTimer().isActive());
    const char* lines[] = {"NIOS RTC", "SKPDN RTC", "JMP .-1", "HALT"};
    for (int i = 0; i < 4; ++i) {
      std::uint16_t word = 0;
      QVERIFY(StrToCommand(lines[i], std::uint16_t(0100 + i), word));
      m.Memory[0100 + i].Data = word;
    }
    m.PC = 0100;
    bool active = false;
    TPumpScript script(f, [&] {
      active = active || f.ClockTimer().isActive();
      f.Controller().FireClock();  // the timer's tick, fired by the test
      return false;
    });
    f.RunControl().Run();
    QVERIFY(active);
    QCOMPARE(m.LastStopReason(), srHalt);
    QVERIFY(!script.Failed);
  }

  void punchedTapeIsOnDiskAtEveryStop() {
    // What the punch has punched is in the file while it stays attached, so it can be read back.
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    const char* lines[] = {"LDA 0,110", "DOAS 0,PTP", "SKPDN PTP", "JMP .-1", "HALT"};
    for (int i = 0; i < 5; ++i) {
      std::uint16_t word = 0;
      QVERIFY(StrToCommand(lines[i], std::uint16_t(0100 + i), word));
      m.Memory[0100 + i].Data = word;
    }
    m.Memory[0110].Data = 0252;
    const std::string tape = dir / "punched.bin";
    QVERIFY(f.pcDevices->AttachOutputFile(pdPtp, tape));
    m.PC = 0100;
    f.RunControl().Run();
    QCOMPARE(m.LastStopReason(), srHalt);
    QCOMPARE(ReadFile(tape), std::string("\252"));
    m.PC = 0100;
    f.RunControl().Run();  // punched once more
    QCOMPARE(ReadFile(tape), std::string("\252\252"));
    QVERIFY(f.Peripherals().PtpFile.IsOpen());
    // The same file for the printer would punch into the tape: refused.
    QVERIFY(!f.pcDevices->AttachOutputFile(pdLpt, tape));
    QCOMPARE(dialogs.Count(dkError), 1);
  }

  // ---- mends

  void typedAddressesAboveTheMemoryAreRefused() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.PC = 0100;
    AnswerValue(dialogs, "100000");
    f.gbRegister->EditField(f.gbRegister->edPC);
    QCOMPARE(m.PC, TWord(0100));
    QCOMPARE(dialogs.Count(dkError), 1);
    AnswerValue(dialogs, "100000");
    f.gbMemory->GotoAddressClick();
    QCOMPARE(dialogs.Count(dkError), 2);
    // A value that does not read applies nothing.
    m.AC[0] = 5;
    AnswerValue(dialogs, "9z");
    f.gbRegister->EditField(f.gbRegister->edAC[0]);
    QCOMPARE(m.AC[0], TWord(5));
    m.Memory[0100].Data = 3;
    f.gbMemory->sgMemory->SelectRow(0100);
    AnswerValue(dialogs, "zz");
    f.gbMemory->CellActivated(0100, TMemoryModel::colContents);
    QCOMPARE(m.Memory[0100].Data, TWord(3));
    // Carry keeps bit 0 only.
    AnswerValue(dialogs, "2");
    f.gbRegister->EditField(f.gbRegister->edCarry);
    QCOMPARE(m.Carry, TWord(0));
  }

  void seekMasksAndEmptyAdrBeeps() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.Memory[0100].Data = 0177777;
    f.gbMemory->sgMemory->SelectRow(0100);
    f.gbMemory->ContentsCol = true;
    f.gbMemory->SeekAddressClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 077777);
    // PC-relative displacement 377 at row 100 selects row 77.
    m.Memory[0100].Data = 0000777;  // JMP .-1
    f.gbMemory->sgMemory->SelectRow(0100);
    f.gbMemory->ContentsCol = false;
    f.gbMemory->SeekAddressClick();
    QCOMPARE(f.gbMemory->sgMemory->SelectedRow(), 077);
    const int beeps = Beeps;
    f.gbRegister->edAdr->clear();
    f.gbRegister->AddWatchClick();
    QCOMPARE(Beeps, beeps + 1);
    QVERIFY(m.Watch.empty());
  }

  void duringARunOnlyStopAndResetAct() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.Memory[0100].Data = 0000400;  // JMP .  (a loop)
    m.PC = 0100;
    int pumps = 0;
    bool refusedAll = true;
    TPumpScript script(f, [&] {
      const std::uint64_t before = m.ExecutedCount();
      f.RunControl().Run();
      f.RunControl().Step();
      f.RunControl().StepOver();
      f.btPrgLoadClick();
      refusedAll = refusedAll && m.Running() && m.ExecutedCount() == before && f.btStop->isEnabled();
      return ++pumps == 5;
    });
    f.RunControl().Run();
    QVERIFY(!script.Failed);
    QVERIFY(refusedAll);
    QCOMPARE(dialogs.Count(dkModal), 0);  // Program load asked nothing
    QCOMPARE(m.LastStopReason(), srStop);
  }

  void closingDuringARunStopsItAndShutsDownOnce() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.Memory[0100].Data = 0000400;
    m.PC = 0100;
    int closes = 0;
    TPumpScript script(f, [&] {
      f.close();  // Quit, and a second Quit from the same pump
      f.close();
      ++closes;
      return false;
    });
    f.RunControl().Run();
    QCOMPARE(closes, 1);  // the run ended at the first close
    QVERIFY(!f.ShutDownDone());  // not from inside the run
    QTRY_VERIFY(f.ShutDownDone());
    QVERIFY(!f.isVisible());
    QVERIFY(std::filesystem::exists(dir / "docs/Nova/autodump.dmp"));
  }

  void terminationSignalDuringARunShutsDownOnce() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    QVERIFY(CloseOnTerminationSignals(&f));
    f.Machine().Memory[0100].Data = 0000400;  // JMP .
    f.Machine().PC = 0100;
    bool raised = false;
    TPumpScript script(f, [&] {
      if (!raised) std::raise(SIGTERM);  // as a logout would
      raised = true;
      return false;
    });
    f.RunControl().Run();
    QCOMPARE(f.Machine().LastStopReason(), srStop);
    QTRY_VERIFY(f.ShutDownDone());
    QVERIFY(!f.isVisible());
    QVERIFY(std::filesystem::exists(dir / "settings/Corvane.ini"));
    CloseOnTerminationSignals(nullptr);
  }

  void outputFileThatIsAReaderTapeIsRefused() {
    TTempDir dir;
    const std::string tape = dir / "tape.bin";
    WriteFile(tape, "abc");
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    QVERIFY(f.Peripherals().OpenPtrFile(tape));
    std::filesystem::create_symlink(tape, dir / "link.bin");
    dialogs.AnswerSave(QString::fromStdString(dir / "link.bin"));
    f.pcDevices->Ptp.btOpen->click();
    QVERIFY2(dialogs.Last(dkError)->Text.startsWith("Error opening file:\r\n"), qPrintable(dialogs.Last(dkError)->Text));
    QVERIFY(!f.Peripherals().PtpFile.IsOpen());
    QCOMPARE(ReadFile(tape), std::string("abc"));
    dialogs.AnswerSave(QString::fromStdString(tape));
    f.Dumps().itmSaveDump->trigger();
    QCOMPARE(ReadFile(tape), std::string("abc"));
    QCOMPARE(f.windowTitle(), QString("Corvane"));
  }

  void addressOutOfRangeOncePerStop() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    f.SetMemSize(16);
    m.Memory[020].Data = 0000020;  // JMP 20: stays outside the memory in use
    m.PC = 020;
    f.btShowSteps->setChecked(true);
    int pumps = 0;
    TPumpScript script(f, [&] { return ++pumps == 50; });
    f.RunControl().Run();
    QVERIFY(!script.Failed);
    QCOMPARE(dialogs.Count(dkError), 1);
    f.btShowSteps->setChecked(false);
  }

  void cancelledPrinterDialogIsNotAskedAgainUntilTheNextRun() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    StorePrinterLoop(f.Machine());
    int pumps = 0;
    {
      TPumpScript script(f, [&] { return ++pumps >= 30 && f.pcDevices->mmLpt->blockCount() > 3; });
      dialogs.Cancel(dkSaveFile);
      f.Machine().Memory[0110].Data = 015;  // carriage returns: lines reach the printer text
      f.RunControl().Run();
      QVERIFY(!script.Failed);
      QCOMPARE(dialogs.Count(dkSaveFile), 1);
      QVERIFY(f.Machine().LastStopReason() == srStop);
    }
    {
      pumps = 0;
      TPumpScript script(f, [&] { return ++pumps == 5; });
      dialogs.Cancel(dkSaveFile);
      f.RunControl().Run();
      QVERIFY(!script.Failed);
      QCOMPARE(dialogs.Count(dkSaveFile), 2);  // a new run asks again, once
    }
  }

  void readerSwitchShowsTheRealState() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    dialogs.Cancel(dkOpenFiles);
    f.gbTTY->tswTTReader->click();  // on, but no file can be had
    QVERIFY(!f.gbTTY->tswTTReader->isChecked());
    QVERIFY(!f.Machine().Tti.ReaderOn());
    const std::string text = dir / "in.txt";
    WriteFile(text, "AB");
    dialogs.AnswerOpen({QString::fromStdString(text)});
    f.gbTTY->tswTTReader->click();
    QVERIFY(f.gbTTY->tswTTReader->isChecked());
    QVERIFY(f.pcDevices->Ttr.rbTextFile->isChecked());
    f.RunControl().Reset();  // a reset switches the reader off
    QCOMPARE(f.gbTTY->tswTTReader->isChecked(), f.Machine().Tti.ReaderOn());
  }

  void adrHoverShowsTheWordAtTheEffectiveAddress() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    m.Memory[0100].Data = 020105;  // LDA 0,105
    m.Memory[0105].Data = 0000777;
    m.PC = 0100;
    f.ShowRegisters();
    QCOMPARE(f.gbRegister->edAdr->text(), QString("000105"));
    f.gbRegister->ShowAdrHint(true);
    QVERIFY(f.gbRegister->HintWin && f.gbRegister->HintWin->isVisible());
    QCOMPARE(f.gbRegister->HintWin->text(), "=> 000777 - " + QString::fromStdString(CommandToStr(0105, 0777, nmOctal, true)));
    f.gbRegister->ShowAdrHint(false);
    QVERIFY(!f.gbRegister->HintWin->isVisible());
  }

  void textFileTypesAreNormalized() {
    QCOMPARE(NormalizeTextFiles(" *.TXT, .asm,, bas ,"), std::string("TXT,asm,bas"));
    QCOMPARE(NormalizeTextFiles(""), std::string());
  }

private:
  int Beeps = 0;
};

QTEST_MAIN(TMainWindowTest)
#include "MainWindowTest.moc"
