// Message boxes and dialog placement on real (offscreen) screens: two monitors side by side,
// configured for the offscreen platform before the application starts.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "DialogService.h"
#include "MessageBoxes.h"
#include "ScreenPlacement.h"
#include "ScriptedDialogs.h"

namespace {

// Primary 1920 x 1040 at the origin, second 1280 x 1024 to its right.
const QRect Primary(0, 0, 1920, 1040);
const QRect Second(1920, 0, 1280, 1024);

// A service that shows the real box (placing it) and hands it to a handler instead of exec().
class TBoxProbe : public TDialogService {
public:
  std::function<int(QMessageBox&)> Handler;
  int ExecDialog(QDialog& dialog) override {
    dialog.show();
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    const int result = box && Handler ? Handler(*box) : QDialog::Rejected;
    dialog.hide();
    return result;
  }
};

}  // namespace

class TFrameMessageBoxTest : public QObject {
  Q_OBJECT
private slots:
  void screensAreConfigured() {
    QCOMPARE(QGuiApplication::screens().size(), 2);
    QCOMPARE(ScreenWorkAreas().size(), std::size_t(2));
    QCOMPARE(WorkAreaAt(QPoint(2000, 500)), Second);
    QCOMPARE(WorkAreaAt(QPoint(-500, 500)), Primary);
  }

  void placementOnScreens_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPoint>("expected");
    const QSize s(400, 200);
    const QPoint centred((1920 - s.width()) / 2, (1040 - s.height()) / 2);
    QTest::newRow("box centred") << QPoint(-1, -1) << int(pkMessageBox) << centred;
    QTest::newRow("box x negative") << QPoint(-1, 300) << int(pkMessageBox) << QPoint(20, 300);
    QTest::newRow("dialog x negative") << QPoint(-1, 300) << int(pkDialog) << centred;
    QTest::newRow("right edge") << QPoint(1800, 100) << int(pkDialog) << QPoint(1500, 100);
    QTest::newRow("second screen bottom right") << QPoint(3100, 1000) << int(pkMessageBox)
                                                << QPoint(3200 - 400 - 20, 1024 - 200 - 30);
    QTest::newRow("second screen inside") << QPoint(2000, 50) << int(pkDialog) << QPoint(2000, 50);
  }
  void placementOnScreens() {
    QFETCH(QPoint, at);
    QFETCH(int, kind);
    QFETCH(QPoint, expected);
    QCOMPARE(PlaceOnScreen(at, QSize(400, 200), TPlacementKind(kind)), expected);
  }

  void placeWidgetUsesTheWindowSize() {
    QWidget w;
    w.resize(500, 300);
    PlaceWidget(&w, QPoint(3100, 900), pkDialog);
    QCOMPARE(w.pos(), QPoint(3200 - 500 - 20, 1024 - 300 - 30));
  }

  void confirmBoxLooksAndAnswers() {
    TBoxProbe probe;
    TDialogService* previous = SetDialogService(&probe);
    QPoint placed, requested(3150, 1000);
    bool defaultYes = false, onTop = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString yesText;
    probe.Handler = [&](QMessageBox& box) {
      placed = box.pos();
      defaultYes = box.defaultButton() == box.button(QMessageBox::Yes);
      onTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      icon = box.icon();
      yesText = box.text();
      box.button(QMessageBox::Yes)->click();
      return box.result();
    };
    const bool yes = ConfirmMsg("Close PTR input file:\r\nx.bin?", requested);
    SetDialogService(previous);

    QVERIFY(yes);
    QVERIFY(defaultYes);
    QVERIFY(onTop);
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(yesText, QString("Close PTR input file:\nx.bin?"));  // CR LF shown as one line break
    QVERIFY(Second.contains(placed));
    QVERIFY(placed.x() < requested.x() && placed.y() < requested.y());  // pushed back inside
  }

  void answersOfTheThreeBoxes() {
    TBoxProbe probe;
    TDialogService* previous = SetDialogService(&probe);
    // No, Escape and closing all mean "no".
    probe.Handler = [](QMessageBox& box) {
      box.button(QMessageBox::No)->click();
      return box.result();
    };
    QVERIFY(!ConfirmMsg("Remove?"));
    probe.Handler = [](QMessageBox& box) {
      QTest::keyClick(&box, Qt::Key_Escape);
      return box.result();
    };
    QVERIFY(!ConfirmMsg("Remove?"));
    QList<QMessageBox::Icon> icons;
    QList<qsizetype> buttons;
    probe.Handler = [&](QMessageBox& box) {
      icons << box.icon();
      buttons << box.buttons().size();
      return box.button(QMessageBox::Ok) ? int(QMessageBox::Ok) : 0;
    };
    InfoMsg("done");
    ErrorMsg("failed");
    SetDialogService(previous);
    QCOMPARE(icons, (QList<QMessageBox::Icon>{QMessageBox::Information, QMessageBox::Critical}));
    QCOMPARE(buttons, (QList<qsizetype>{1, 1}));
  }

  void captionWidensTheBox() {
    const QString caption(QString("A rather long caption for a very short message").repeated(2));
    TMessageBox box(mkInformation, "x", NoPoint, caption);
    box.show();
    QCOMPARE(box.windowTitle(), caption);
    QVERIFY(box.width() >= box.fontMetrics().horizontalAdvance(caption) + 50);
    TMessageBox plain(mkInformation, "x", NoPoint, QString());
    plain.show();
    QCOMPARE(plain.windowTitle(), TMessageBox::StandardCaption(mkInformation));
    QVERIFY(plain.width() < box.width());
  }

  // A path of a megabyte is cut in its middle, so that the box keeps to the screen and shows the
  // path's beginning and its file name; the other lines stay whole.
  void longLinesAreCutInTheirMiddle() {
    const QString path = "/home/user/" + QString("deep/").repeated(200000) + "autodump.dmp";
    TMessageBox box(mkError, "Cannot write file:\r\n" + path + "\r\nPermission denied", NoPoint, QString());
    const QStringList lines = box.text().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QString("Cannot write file:"));
    QCOMPARE(lines[1].size(), MessageLineMax + 1);
    QVERIFY(lines[1].startsWith("/home/user/deep/"));
    QVERIFY(lines[1].endsWith("/deep/autodump.dmp"));
    QVERIFY(lines[1].contains(QChar(0x2026)));
    QCOMPARE(lines[2], QString("Permission denied"));
    box.show();
    QVERIFY(box.width() <= Primary.width());
    const QString exact(MessageLineMax, 'x');
    QCOMPARE(ShownMessage(exact), exact);
  }

  void scriptedServiceNeverWaits() {
    TScriptedDialogs dialogs;
    dialogs.AnswerConfirm(true);
    QVERIFY(ConfirmMsg("first?", QPoint(10, 20), "Caption"));
    QVERIFY(!ConfirmMsg("second?"));  // unanswered: No, without a box
    ErrorMsg("bad");
    QCOMPARE(dialogs.Count(dkConfirm), 2);
    QCOMPARE(dialogs.Last(dkConfirm)->Text, QString("second?"));
    QCOMPARE(dialogs.Calls.front().At, QPoint(10, 20));
    QCOMPARE(dialogs.Calls.front().Caption, QString("Caption"));
    QCOMPARE(dialogs.Last(dkError)->Text, QString("bad"));
    QCOMPARE(dialogs.Unanswered(), 1);
    QVERIFY(dialogs.AllUsed());

    // A dialog run modally without a handler is rejected at once.
    QDialog d;
    QCOMPARE(Dialogs().ExecDialog(d), int(QDialog::Rejected));
    QCOMPARE(dialogs.Last(dkModal)->Text, QString("QDialog"));
  }

  void fileDialogFilters() {
    QCOMPARE(FileDialogFilters("Binary files|*.bin|Text files|*.txt;*.asm|all|*.*"),
             (QStringList{"Binary files (*.bin)", "Text files (*.txt *.asm)", "all (*)"}));
    QCOMPARE(FileDialogFilters(""), QStringList());
    QCOMPARE(FileDialogFilters("dangling|"), QStringList());
  }
};

int main(int argc, char** argv) {
  QTemporaryDir dir;
  const QString config = dir.filePath("screens.json");
  QFile f(config);
  if (!f.open(QIODevice::WriteOnly)) return 2;
  f.write(R"({"windowFrameMargins": false, "screens": [
    {"name": "one", "x": 0, "y": 0, "width": 1920, "height": 1040, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
    {"name": "two", "x": 1920, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
  ]})");
  f.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
  QApplication app(argc, argv);
  TFrameMessageBoxTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "FrameMessageBoxTest.moc"
