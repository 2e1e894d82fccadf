// Files given to Corvane (corvane FILE..., a double click, a second start's hand-over): each kind
// does what it says, in a folder whose name has blanks and non-ASCII letters; several at once;
// and every file that cannot be opened gets a message and changes nothing.
#include <QComboBox>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "DeviceTabs.h"
#include "DumpActions.h"
#include "GivenFiles.h"
#include "MachineState.h"
#include "MainForm.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "StateFile.h"
#include "TestTempDir.h"
#include "WindowTestKit.h"

namespace {

std::string DumpBytes(std::initializer_list<unsigned> words) {
  std::string bytes;
  for (unsigned w : words) {
    bytes += char(w & 0xff);
    bytes += char(w >> 8);
  }
  return bytes;
}

const char* const Definitions = "N = 3\n";
const char* const Program =
    "        .LOC 200\n"
    "START:  LDA 0,VAL\n"
    "        HALT\n"
    "VAL:    N+4\n"
    "        .END START\n";

// A state of the window's machine with PC 1234 and AC2 7, saved under the name; the machine is
// then moved away from it.
void SaveTestState(TMainForm& f, const std::string& name) {
  f.Machine().SetPC(01234);
  f.Machine().SetAC(2, 7);
  TMachineError error;
  QVERIFY(SaveMachineState(name, f.Machine(), f.Peripherals(), error));
  f.Machine().SetPC(0100);
  f.Machine().SetAC(2, 0);
}

struct TKindCase {
  const char* Name;
  std::function<std::vector<std::string>(const std::string& folder, TMainForm&)> Make;
  std::function<void(const std::string& folder, TMainForm&)> Check;
};

const TKindCase KindCases[] = {
    {"a dump is loaded",
     [](const std::string& d, TMainForm&) {
       WriteFile(d + "/speicher ä.dmp", DumpBytes({0123, 0456, 0777}));
       return std::vector<std::string>{d + "/speicher ä.dmp"};
     },
     [](const std::string& d, TMainForm& f) {
       QCOMPARE(f.Machine().Memory[0].Data, TWord(0123));
       QCOMPARE(f.Machine().Memory[2].Data, TWord(0777));
       QCOMPARE(f.Dumps().DumpName, d + "/speicher ä.dmp");
     }},
    {"a state file is put back",
     [](const std::string& d, TMainForm& f) {
       SaveTestState(f, d + "/zustand ö.nvs");
       return std::vector<std::string>{d + "/zustand ö.nvs"};
     },
     [](const std::string&, TMainForm& f) {
       QCOMPARE(f.Machine().PC, TWord(01234));
       QCOMPARE(f.Machine().AC[2], TWord(7));
     }},
    {"a state file is known by its magic whatever its name",
     [](const std::string& d, TMainForm& f) {
       SaveTestState(f, d + "/saved.bin");
       return std::vector<std::string>{d + "/saved.bin"};
     },
     [](const std::string&, TMainForm& f) {
       QCOMPARE(f.Machine().PC, TWord(01234));
       QVERIFY(!f.Peripherals().PtrFile);
     }},
    {"a tape goes to the paper-tape reader",
     [](const std::string& d, TMainForm&) {
       WriteFile(d + "/Band ü.ab", std::string(10, '\0') + "\xff\xff\x01\x02");
       return std::vector<std::string>{d + "/Band ü.ab"};
     },
     [](const std::string& d, TMainForm& f) {
       QVERIFY(f.Peripherals().PtrFile);
       QCOMPARE(f.Peripherals().PtrFile->FName, d + "/Band ü.ab");
       QVERIFY(!f.Peripherals().PtrText);
       QCOMPARE(f.pcDevices->Ptr.edFile->currentText(), QString::fromStdString(d + "/Band ü.ab"));
     }},
    {"a text file goes to the teletype reader",
     [](const std::string& d, TMainForm&) {
       WriteFile(d + "/Text.TXT", "10 PRINT 2+2\r");
       return std::vector<std::string>{d + "/Text.TXT"};
     },
     [](const std::string& d, TMainForm& f) {
       QVERIFY(f.Peripherals().TtrFile);
       QCOMPARE(f.Peripherals().TtrFile->FName, d + "/Text.TXT");
       QVERIFY(f.Peripherals().TtrText);
       QVERIFY(!f.Peripherals().PtrFile);
     }},
    {"sources are assembled together into memory",
     [](const std::string& d, TMainForm&) {
       WriteFile(d + "/defs.sr", Definitions);
       WriteFile(d + "/prog ß.asm", Program);
       return std::vector<std::string>{d + "/defs.sr", d + "/prog ß.asm"};
     },
     [](const std::string&, TMainForm& f) {
       QCOMPARE(f.Machine().Memory[0202].Data, TWord(7));  // N+4, N from the first source
       QCOMPARE(f.Machine().Memory[0201].Data, TWord(063077));  // HALT
       QCOMPARE(f.Machine().PC, TWord(0200));
     }},
    {"a program beyond the memory size makes it larger",
     [](const std::string& d, TMainForm& f) {
       f.SetMemSize(0100);
       WriteFile(d + "/p.sr", Program);
       WriteFile(d + "/d.sr", Definitions);
       return std::vector<std::string>{d + "/d.sr", d + "/p.sr"};
     },
     [](const std::string&, TMainForm& f) {
       QCOMPARE(f.Machine().MemSize, 0203);
       QCOMPARE(f.Machine().Memory[0202].Data, TWord(7));
     }},
    {"several kinds at once, in order",
     [](const std::string& d, TMainForm&) {
       WriteFile(d + "/m.dmp", DumpBytes({0, 0, 0, 0111}));
       WriteFile(d + "/t.bin", std::string(4, '\0'));
       WriteFile(d + "/d.sr", Definitions);
       WriteFile(d + "/p.sr", Program);
       return std::vector<std::string>{d + "/m.dmp", d + "/t.bin", d + "/d.sr", d + "/p.sr"};
     },
     [](const std::string& d, TMainForm& f) {
       // The dump first (with its reset), then the program on top of it, PC at its start.
       QCOMPARE(f.Machine().Memory[3].Data, TWord(0111));
       QCOMPARE(f.Machine().Memory[0202].Data, TWord(7));
       QCOMPARE(f.Machine().PC, TWord(0200));
       QCOMPARE(f.Peripherals().PtrFile->FName, d + "/t.bin");
     }},
};

struct TRefusedCase {
  const char* Name;
  std::function<std::vector<std::string>(const std::string& folder)> Make;
  const char* Message;  // what the one error box says (the dialog's class for a list)
  TDialogKind Box = dkError;
};

const TRefusedCase RefusedCases[] = {
    {"an unknown type",
     [](const std::string& d) {
       WriteFile(d + "/notes.xyz", "hello");
       return std::vector<std::string>{d + "/notes.xyz"};
     },
     "Cannot open "},
    {"a file without an extension",
     [](const std::string& d) {
       WriteFile(d + "/README", "hello");
       return std::vector<std::string>{d + "/README"};
     },
     "Corvane opens memory dumps (.dmp)"},
    {"a missing file", [](const std::string& d) { return std::vector<std::string>{d + "/gone.dmp"}; }, "File not found:"},
    {"a folder",
     [](const std::string& d) {
       std::filesystem::create_directories(d + "/tapes.ab");
       return std::vector<std::string>{d + "/tapes.ab"};
     },
     "Is a directory"},
    {"a damaged state file",
     [](const std::string& d) {
       WriteFile(d + "/bad.nvs", "not a state at all");
       return std::vector<std::string>{d + "/bad.nvs"};
     },
     "not a machine state file"},
    {"a source with an error",
     [](const std::string& d) {
       WriteFile(d + "/bad.sr", "        .LOC 100\n        LDA 0,NOWHERE\n        .END\n");
       return std::vector<std::string>{d + "/bad.sr"};
     },
     "TAsmErrorsDialog", dkModal},
    {"sources that assemble only together, one of them missing",
     [](const std::string& d) {
       WriteFile(d + "/p.sr", Program);
       return std::vector<std::string>{d + "/missing.sr", d + "/p.sr"};
     },
     "File not found:"},
};

}  // namespace

class TGivenFilesTest : public QObject {
  Q_OBJECT
private slots:
  void eachKind_data() {
    QTest::addColumn<int>("kind");
    for (int i = 0; i < int(std::size(KindCases)); ++i) QTest::newRow(KindCases[i].Name) << i;
  }

  void eachKind() {
    QFETCH(int, kind);
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    const std::string folder = dir / "Bänder und Quellen";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> files = KindCases[kind].Make(folder, w.Form);
    OpenGivenFiles(w.Form, files);
    KindCases[kind].Check(folder, w.Form);
    QCOMPARE(dialogs.Count(dkError), 0);
  }

  void refusedFilesChangeNothing_data() {
    QTest::addColumn<int>("kind");
    for (int i = 0; i < int(std::size(RefusedCases)); ++i) QTest::newRow(RefusedCases[i].Name) << i;
  }

  void refusedFilesChangeNothing() {
    QFETCH(int, kind);
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    f.Machine().Memory[0200].Data = 0555;
    f.Machine().SetPC(0200);
    const TMachineState before = CaptureState(f.Machine(), f.Peripherals());
    OpenGivenFiles(f, RefusedCases[kind].Make(dir.Path()));
    const TDialogKind box = RefusedCases[kind].Box;
    QCOMPARE(dialogs.Count(box), 1);
    QCOMPARE(dialogs.Count(dkError) + dialogs.Count(dkModal), 1);
    QVERIFY2(dialogs.Last(box)->Text.contains(RefusedCases[kind].Message), qPrintable(dialogs.Last(box)->Text));
    QVERIFY(CaptureState(f.Machine(), f.Peripherals()) == before);
  }

  // One file refused among others: it gets its message, the others are opened all the same.
  void oneRefusedAmongOthers() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    WriteFile(dir / "m.dmp", DumpBytes({0, 0222}));
    WriteFile(dir / "x.unknown", "?");
    OpenGivenFiles(w.Form, {dir / "x.unknown", dir / "m.dmp"});
    QCOMPARE(dialogs.Count(dkError), 1);
    QCOMPARE(w.Form.Machine().Memory[1].Data, TWord(0222));
  }

  // While a program runs, it is stopped and the files are opened once it has ended.
  void aRunningProgramIsStoppedFirst() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    Store(f.Machine(), 0100, {"JMP .+0"});  // runs until stopped
    f.Machine().SetPC(0100);
    WriteFile(dir / "m.dmp", DumpBytes({0333}));
    QTimer::singleShot(0, &f, [&] {
      QVERIFY(f.Machine().Executing());
      OpenGivenFiles(f, {dir / "m.dmp"});
    });
    f.RunControl().Run();  // returns once the run has stopped
    QTRY_COMPARE(f.Machine().Memory[0].Data, TWord(0333));
    QVERIFY(!f.Machine().Executing());
  }

  void relativeNamesAgainstTheStartFolder() {
    const std::vector<std::string> expected = {"/home/u/work/a b.dmp", "/t/x.ab", "/home/u/q/ä.sr",
                                               "/home/u/work/n.nvs"};
    QVERIFY(AbsoluteFileNames({"a b.dmp", "/t/x.ab", "../q/ä.sr", "./n.nvs"}, "/home/u/work") == expected);
  }
};

QTEST_MAIN(TGivenFilesTest)
#include "GivenFilesTest.moc"
