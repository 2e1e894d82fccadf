// Corvane's start and quit with files in the way: an auto-saved image or a settings file that
// cannot be read is kept and the session is saved beside it; a termination signal closes the
// start-up error box and ends the program; a shutdown never waits for the user, writes the
// settings whatever becomes of the image and shows what failed only to a user who quit; the
// leftovers of a shutdown cut short are removed at the next start; the largest watch and
// breakpoint lists survive a restart. (The same as whole programs: tests/badinput.)
#include <QApplication>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "CloseSignals.h"
#include "IniFile.h"
#include "LanguageSwitch.h"
#include "DeviceTabs.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "TestTempDir.h"
#include "Translate.h"
#include "WindowTestKit.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class TStartQuitSafetyTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() {
    InitTranslation(CORVANE_BINARY_DIR "/locale", {ToolkitDomain});
    ActivateLanguage("en");
  }
  // A test that raised a signal leaves no window to close and no signal taken up behind.
  void cleanup() { CloseOnTerminationSignals(nullptr); }

  // A folder in the image's place cannot be read: the quit saves the memory beside it and says so.
  void unreadableImageIsKeptAndTheMemorySavedBeside() {
    TTempDir dir;
    fs::create_directories(dir / "docs/Nova/autodump.dmp");
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      QVERIFY(dialogs.Last(dkError)->Text.contains("Is a directory"));
      w.Form.Machine().Memory[0].Data = 0123456;
      QVERIFY(w.Form.close());
    }
    QVERIFY(fs::is_directory(dir / "docs/Nova/autodump.dmp"));
    const std::string saved = ReadFile(dir / "docs/Nova/autodump-1.dmp");
    QCOMPARE(saved.size(), std::size_t(65536));
    QCOMPARE(saved.substr(0, 2), std::string("\056\247"));
    QCOMPARE(dialogs.Count(dkError), 1);  // only the one of the start
    QCOMPARE(dialogs.Last(dkInformation)->Text,
             QString::fromStdString("The auto-saved image " + dir / "docs/Nova/autodump.dmp" +
                                    " could not be read at the start and is kept as it is; the memory is saved in " +
                                    dir / "docs/Nova/autodump-1.dmp" + "."));
  }

  // A link to an image not made yet is a first start, not an unreadable image: no box, and the
  // quit makes the file the link leads to.
  void imageLinkedAheadIsMadeThroughTheLink() {
    TTempDir dir;
    fs::create_directories(dir / "docs/Nova/kept");
    fs::create_symlink("kept/image.dmp", dir / "docs/Nova/autodump.dmp");
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      QVERIFY(w.Form.close());
    }
    QCOMPARE(dialogs.Count(dkError) + dialogs.Count(dkInformation), 0);
    QVERIFY(fs::is_symlink(dir / "docs/Nova/autodump.dmp"));
    QCOMPARE(fs::file_size(dir / "docs/Nova/kept/image.dmp"), std::uintmax_t(65536));
    QVERIFY(!fs::exists(dir / "docs/Nova/autodump-1.dmp"));
  }

  // A settings file too large to be read would be replaced by the defaults: it is kept, and the
  // session's settings, the tool windows' places included, go to a new file beside it.
  void unreadableSettingsAreKeptAndTheSessionSavedBeside() {
    TTempDir dir;
    const std::string ini = dir / "settings/Corvane.ini";
    WriteFile(ini, "[Config]\nNumBase=1\n");
    fs::resize_file(ini, (64u << 20) + 1);
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      QCOMPARE(w.Form.IniName(), dir / "settings/Corvane-1.ini");
      w.Form.rbHex->click();
      QVERIFY(w.Form.close());
    }
    QCOMPARE(fs::file_size(ini), std::uintmax_t((64u << 20) + 1));
    QCOMPARE(ReadFile(ini).substr(0, 18), std::string("[Config]\nNumBase=1"));
    const TIniFile side(dir / "settings/Corvane-1.ini");
    QCOMPARE(side.ReadInteger("Config", "NumBase", -1), int(nmHex));
    QVERIFY(side.ValueExists("TraceWindow", "Width"));
    QVERIFY(dialogs.Last(dkInformation)->Text.contains("Corvane-1.ini"));
  }

  // The signal comes while the start-up error box waits for its OK: the box goes, the window
  // shuts down without asking, and the first showing does not go on behind it.
  void terminationSignalClosesTheStartUpErrorBox() {
    TTempDir dir;
    fs::create_directories(dir / "docs/Nova/autodump.dmp");
    TMainForm form(TMainFormPaths{dir / "settings/", dir / "docs"});
    QVERIFY(CloseOnTerminationSignals(&form));
    QString boxText;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&] {
      auto* box = qobject_cast<TMessageBox*>(QApplication::activeModalWidget());
      if (!boxText.isEmpty() || !box) return;
      boxText = box->text();
      std::raise(SIGTERM);  // as a logout would
    });
    watcher.start(1);
    form.show();  // the real box, modal, from the first showing
    watcher.stop();
    QVERIFY2(boxText.contains("Is a directory"), qPrintable(boxText));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(form.ShutDownDone());
    QVERIFY(!form.isVisible());
    QVERIFY(!form.FrontPanel().isVisible());
    QVERIFY(fs::exists(dir / "settings/Corvane.ini"));
    QVERIFY(fs::exists(dir / "docs/Nova/autodump-1.dmp"));
  }

  // Nothing the shutdown cannot write makes it wait: the settings are written first, and the
  // failures are shown in one box at the end to a user who quit, and to nobody after a signal.
  void failingShutdownNeverWaits_data() {
    QTest::addColumn<bool>("bySignal");
    QTest::newRow("Quit") << false;
    QTest::newRow("SIGTERM") << true;
  }
  void failingShutdownNeverWaits() {
    QFETCH(bool, bySignal);
    TTempDir dir;
    WriteFile(dir / "blocker", "a file where the working directory should be");
    WriteFile(dir / "settings/Corvane.ini", "[Config]\nWorkPath=" + dir / "blocker/Nova" + "\n");
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TMainForm& f = w.Form;
      fs::create_directory(dir / "out");
      QVERIFY(f.pcDevices->AttachOutputFile(pdPtp, dir / "out/tape.ptp"));
      fs::remove_all(dir / "out");  // the punch file cannot be put in place either
      f.Machine().Switches = 0123;
      if (bySignal) {
        QVERIFY(CloseOnTerminationSignals(&f));
        std::raise(SIGTERM);
        QTRY_VERIFY(f.ShutDownDone());
      } else {
        QVERIFY(f.close());
      }
    }
    QCOMPARE(TIniFile(dir / "settings/Corvane.ini").ReadInteger("Config", "Switches", -1), 0123);
    if (bySignal) {
      QCOMPARE(dialogs.Count(dkError), 0);
    } else {
      QCOMPARE(dialogs.Count(dkError), 1);
      const QString text = dialogs.Last(dkError)->Text;
      QVERIFY2(text.contains("autodump.dmp") && text.contains("tape.ptp"), qPrintable(text));
    }
  }

  // A kill during the quit's saves leaves ".NAME.XXXXXX" files; the next start removes those of
  // the settings file and the image, and nothing else.
  void leftoverTemporaryFilesAreRemovedAtTheStart() {
    TTempDir dir;
    WriteFile(dir / "settings/.Corvane.ini.Ab12Cd", "[Config]\n");
    WriteFile(dir / "docs/Nova/.autodump.dmp.x9Y8z7", std::string(65536, '\0'));
    WriteFile(dir / "docs/Nova/.autodump.dmp.keep", "not one of ours");
    WriteFile(dir / "docs/Nova/.mine.dmp.Ab12Cd", "the user's");
    TScriptedDialogs dialogs;
    TWindow w(dir);
    QVERIFY(!fs::exists(dir / "settings/.Corvane.ini.Ab12Cd"));
    QVERIFY(!fs::exists(dir / "docs/Nova/.autodump.dmp.x9Y8z7"));
    QVERIFY(fs::exists(dir / "docs/Nova/.autodump.dmp.keep"));
    QVERIFY(fs::exists(dir / "docs/Nova/.mine.dmp.Ab12Cd"));
  }

  // Every address watched and every one a breakpoint: all come back, in address order, and are
  // written back in full.
  void largestListsSurviveARestart() {
    TTempDir dir;
    std::string text = "[WatchWindow]\nCount=32768\n";
    for (int i = 0; i < 32768; ++i) text += "Address" + QString::asprintf("%03d", i).toStdString() + "=" + std::to_string(32767 - i) + "\n";
    text += "[Breakpoints]\nCount=32768\n";
    for (int i = 0; i < 32768; ++i) text += "Address" + QString::asprintf("%03d", i).toStdString() + "=" + std::to_string((i * 7) % 32768) + "\n";
    WriteFile(dir / "settings/Corvane.ini", text);
    TScriptedDialogs dialogs;
    {
      TWindow w(dir);
      TNovaMachine& m = w.Form.Machine();
      QCOMPARE(m.Watch.size(), std::size_t(32768));
      QCOMPARE(m.BreakPoints.size(), std::size_t(32768));
      QVERIFY(std::is_sorted(m.Watch.begin(), m.Watch.end(), [](auto& a, auto& b) { return a.Addr < b.Addr; }));
      QVERIFY(m.Memory[077777].Flags & BreakpointFlag);
      QVERIFY(w.Form.close());
    }
    const TIniFile ini(dir / "settings/Corvane.ini");
    QCOMPARE(ini.ReadInteger("WatchWindow", "Count", -1), 32768);
    QCOMPARE(ini.ReadInteger("WatchWindow", "Address000", -1), 0);
    QCOMPARE(ini.ReadInteger("Breakpoints", "Address32767", -1), 32767);
    const std::vector<std::string> keys = ini.ReadSection("Breakpoints");
    QCOMPARE(std::count_if(keys.begin(), keys.end(), [](const std::string& k) { return k.starts_with("Address"); }),
             std::ptrdiff_t(32768));
  }
};

QTEST_MAIN(TStartQuitSafetyTest)
#include "StartQuitSafetyTest.moc"
