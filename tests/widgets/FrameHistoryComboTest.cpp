// History lists in combo boxes: the drop-down count as maximum, the first entry selected, the
// drop-down button only with at least two entries, loading and saving settings sections.
#include <QComboBox>
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
    AddToHistory(&combo, "two");
    QVERIFY(HasDropDownButton(&combo));
    QCOMPARE(ArrowWidth(combo), normal);
    SetComboItems(&combo, {});
    UpdateDropDownButton(&combo);
    QVERIFY(!HasDropDownButton(&combo));
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
