// One Corvane per user: the built program started twice, offscreen, with a home, settings and
// runtime folder of the test's own. The second start hands its files (named relative to its own
// working folder, with blanks and non-ASCII letters) to the first and ends; the first opens them,
// which its shutdown shows: the auto-saved image holds the dump, the settings name the tape.
// A first program killed without a word leaves its socket behind; the next start takes it over.
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "IniFile.h"
#include "TestTempDir.h"

namespace {

const QString Corvane = CORVANE_BINARY_DIR "/corvane";

struct TUser {
  TUser() {
    for (const char* f : {"home/.config/Holmvale", "work", "Bänder"}) std::filesystem::create_directories(Dir / f);
    std::filesystem::create_directory(Dir / "run");
    std::filesystem::permissions(Dir / "run", std::filesystem::perms::owner_all);
    std::ofstream(Dir / "home/.config/Holmvale/Corvane.ini") << "[Config]\nWorkPath=" << Dir / "work" << "\n";
  }
  // A process of the program with the user's environment.
  void Prepare(QProcess& p) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(Dir / "home"));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(Dir / "home/.config"));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(Dir / "run"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    p.setProcessEnvironment(env);
    p.setProgram(Corvane);
  }
  QStringList Sockets() const {
    return QDir(QString::fromStdString(Dir / "run")).entryList({"corvane-*.socket"}, QDir::System | QDir::Files);
  }
  // Whether a program listens on the socket (one left behind refuses at once).
  bool Listening() const {
    for (const QString& name : Sockets()) {
      QLocalSocket probe;
      probe.connectToServer(QString::fromStdString(Dir / "run/") + name);
      if (probe.waitForConnected(5000)) return true;
    }
    return false;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  TTempDir Dir;
};

// Starts the first program and waits until it listens.
void StartFirst(const TUser& u, QProcess& first) {
  u.Prepare(first);
  first.start();
  QVERIFY(first.waitForStarted());
  // The socket is made once the window is up and takes termination signals.
  QTRY_VERIFY_WITH_TIMEOUT(u.Listening() || first.state() == QProcess::NotRunning, 60000);
  QVERIFY2(first.state() == QProcess::Running, first.readAllStandardError().constData());
}

// A second start with the arguments, from the folder: it ends by itself with status 0.
void HandOver(const TUser& u, const QString& folder, const QStringList& args) {
  QProcess second;
  u.Prepare(second);
  second.setWorkingDirectory(folder);
  second.setArguments(args);
  second.start();
  QVERIFY(second.waitForFinished(60000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QVERIFY2(second.exitCode() == 0, second.readAllStandardError().constData());
}

void EndFirst(QProcess& first) {
  first.terminate();
  QVERIFY(first.waitForFinished(60000));
  QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
}

}  // namespace

class TSingleInstanceTest : public QObject {
  Q_OBJECT
private slots:
  void aSecondStartHandsItsFilesOver() {
    TUser u;
    const std::string dump("\x11\x01\x22\x02\x33\x03", 6);  // 000421 001042 001463
    std::ofstream(u.Dir / "Bänder/speicher ä.dmp", std::ios::binary) << dump;
    std::ofstream(u.Dir / "Bänder/Band mit Lücke.ab", std::ios::binary) << std::string(8, '\0');
    QProcess first;
    StartFirst(u, first);
    if (QTest::currentTestFailed()) return;
    HandOver(u, QString::fromStdString(u.Dir / "Bänder"), {"speicher ä.dmp", "Band mit Lücke.ab"});
    QCOMPARE(u.Sockets().size(), 1);
    EndFirst(first);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(u.Read("work/autodump.dmp").substr(0, 6), dump);
    const TIniFile ini(u.Dir / "home/.config/Holmvale/Corvane.ini");
    QCOMPARE(ini.ReadString("Config", "PTRName", ""), u.Dir / "Bänder/Band mit Lücke.ab");
    QVERIFY(u.Sockets().isEmpty());  // the first program took its socket away
  }

  void aSocketLeftByAKilledProgramIsTakenOver() {
    TUser u;
    {
      QProcess killed;
      StartFirst(u, killed);
      killed.kill();
      QVERIFY(killed.waitForFinished(60000));
    }
    QCOMPARE(u.Sockets().size(), 1);
    std::ofstream(u.Dir / "work/m.dmp", std::ios::binary) << std::string("\x44\x04", 2);
    QProcess first;
    StartFirst(u, first);
    if (QTest::currentTestFailed()) return;
    HandOver(u, QString::fromStdString(u.Dir / "work"), {"m.dmp"});
    EndFirst(first);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(u.Read("work/autodump.dmp").substr(0, 2), std::string("\x44\x04", 2));
  }
};

QTEST_MAIN(TSingleInstanceTest)
#include "SingleInstanceTest.moc"
