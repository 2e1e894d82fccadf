// History lists in combo boxes: the drop-down count as maximum, the first entry selected, the
// drop-down button only with at least two entries, loading and saving settings sections.
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QtTest>

#include "HistoryCombo.h"
#include "IniFile.h"

namespace {

// Width of the arrow part as the combo box's style lays it out.
int ArrowWidth(QComboBox& combo) {
  QStyleOptionComboBox opt;
  opt.initFrom(&combo);
  opt.editable = combo.isEditable();
  opt.subControls = QStyle::SC_All;
  return combo.style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, &combo).width();
}

}  // namespace

class TFrameHistoryComboTest : public QObject {
  Q_OBJECT
private slots:
  void addKeepsTheDropDownCount() {
    QComboBox combo;
    combo.setEditable(true);
    combo.setMaxVisibleItems(3);
    for (const char* t : {"a", "b", "c", "d"}) AddToHistory(&combo, t);
    QCOMPARE(ComboItems(&combo), (QStringList{"d", "c", "b"}));
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.currentText(), QString("d"));

    AddToHistory(&combo, "B");  // present: moves up in the new spelling, nothing dropped
    QCOMPARE(ComboItems(&combo), (QStringList{"B", "d", "c"}));
    AddToHistory(&combo, "");
    QCOMPARE(ComboItems(&combo), (QStringList{"B", "d", "c"}));
  }

  void dropDownButtonFromTwoEntries() {
    QComboBox combo;
    combo.setEditable(true);
    combo.show();
    const int normal = ArrowWidth(combo);
    QVERIFY(normal > 0);
    AddToHistory(&combo, "one");
    QVERIFY(!HasDropDownButton(&combo));
    QCOMPARE(ArrowWidth(combo), 0);
    QVERIFY(combo.lineEdit()->geometry().right() >= combo.width() - normal);  // the field takes the room
    AddToHistory(&combo, "two");
    QVERIFY(HasDropDownButton(&combo));
    QCOMPARE(ArrowWidth(combo), normal);
    // The field gives the arrow its room back, so the arrow shows.
    QVERIFY(combo.lineEdit()->geometry().right() < combo.width() - normal);
    SetComboItems(&combo, {});
    UpdateDropDownButton(&combo);
    QVERIFY(!HasDropDownButton(&combo));
  }

  // Styles keep their combo box pictures by size and state: a box drawn without its arrow must
  // not lend that picture to one of the same size with its arrow.
  void anArrowShowsBesideABoxWithout() {
    qWarning() << QApplication::style()->name();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QComboBox* without = new QComboBox(&window);
    QComboBox* with = new QComboBox(&window);
    for (QComboBox* combo : {without, with}) {
      combo->setEditable(true);
      layout->addWidget(combo);
    }
    AddToHistory(without, "one");
    AddToHistory(with, "one");
    AddToHistory(with, "two");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(without->size(), with->size());
    QStyleOptionComboBox opt;
    opt.initFrom(with);
    opt.editable = true;
    opt.subControls = QStyle::SC_All;
    const QRect arrow = with->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, with);
    QVERIFY(arrow.width() > 0);
    const QImage a = without->grab().toImage().copy(arrow);  // drawn first
    const QImage b = with->grab().toImage().copy(arrow);
    QVERIFY(a != b);
  }

  void loadFromSettings() {
    TIniFile ini;
    ini.SetText("[Files]\nHistory0=*.bin\nHistory5=say #hi#\nHistory9=late\n[Empty]\n");
    QComboBox combo;
    combo.setEditable(true);
    combo.addItem("kept");
    QVERIFY(!LoadHistory(&combo, ini, "Missing"));
    QCOMPARE(ComboItems(&combo), QStringList{"kept"});

    combo.setMaxVisibleItems(8);  // History9 lies beyond the drop-down count
    QVERIFY(LoadHistory(&combo, ini, "Files", true));
    QCOMPARE(ComboItems(&combo), (QStringList{"*.bin", "say \"hi\""}));
    QCOMPARE(combo.currentText(), QString("*.bin"));
    QVERIFY(HasDropDownButton(&combo));

    QVERIFY(LoadHistory(&combo, ini, "Empty"));  // an existing empty section clears the list
    QCOMPARE(combo.count(), 0);
    QVERIFY(!HasDropDownButton(&combo));
  }

  void saveToSettings() {
    QTemporaryDir dir;
    const std::string file = dir.filePath("Tallis.ini").toStdString();
    {
      TIniFile ini(file);
      ini.WriteString("Directories", "History7", "stale");
      ini.UpdateFile();
    }
    QComboBox combo;
    SetComboItems(&combo, {"/home/u/tapes", "/tmp/\"q\""});
    QVERIFY(SaveHistory(&combo, file, "Directories", true, 50, true));
    const TIniFile ini(file);
    QCOMPARE(ini.ReadSection("Directories"), (std::vector<std::string>{"History0", "History1"}));
    QCOMPARE(ini.ReadString("Directories", "History1", ""), std::string("/tmp/#q#"));

    QComboBox back;
    back.setMaxVisibleItems(50);
    QVERIFY(LoadHistory(&back, ini, "Directories", true));
    QCOMPARE(ComboItems(&back), ComboItems(&combo));
  }
};

QTEST_MAIN(TFrameHistoryComboTest)
#include "FrameHistoryComboTest.moc"
