// The one-line text inputs and the button choice dialog, run through the dialog service with
// handlers that work the real dialogs.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "InpText.h"
#include "InputString.h"
#include "ScriptedDialogs.h"
#include "SelectDlg.h"

class TFrameInputDialogTest : public QObject {
  Q_OBJECT
private slots:
  void inputStringKeys() {
    TScriptedDialogs dialogs;
    QString caption, tooltip;
    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputStringDialog&>(d);
      caption = dlg.windowTitle();
      tooltip = dlg.Field()->toolTip();
      dlg.Field()->setText("new text");
      QTest::keyClick(dlg.Field(), Qt::Key_Return);
      return dlg.result();
    });
    QString text = "old";
    QVERIFY(InputString(QPoint(50, 50), "", "Comma separated list:", text));
    QCOMPARE(text, QString("new text"));
    QCOMPARE(caption, QString("Edit text"));
    QCOMPARE(tooltip, QString("Comma separated list:"));

    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputStringDialog&>(d);
      caption = dlg.windowTitle();
      dlg.Field()->setText("typed");
      QTest::keyClick(dlg.Field(), Qt::Key_Escape);
      return dlg.result();
    });
    QVERIFY(!InputString(QPoint(50, 50), "Text file types", "x", text));
    QCOMPARE(text, QString("new text"));
    QCOMPARE(caption, QString("Text file types"));
  }

  void wideTextWidensTheDialog() {
    TScriptedDialogs dialogs;
    int shortWidth = 0, longWidth = 0, fieldWidth = 0, textWidth = 0;
    dialogs.OnModal([&](QDialog& d) {
      shortWidth = d.width();
      return int(QDialog::Rejected);
    });
    QString text = "txt,asm";
    InputString(NoPoint, "", "", text);
    text = QString("lst,prn,").repeated(12);
    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputStringDialog&>(d);
      dlg.show();
      longWidth = dlg.width();
      fieldWidth = dlg.Field()->width();
      textWidth = dlg.Field()->fontMetrics().horizontalAdvance(text);
      return int(QDialog::Rejected);
    });
    InputString(NoPoint, "", "", text);
    QCOMPARE(shortWidth, 311);
    QVERIFY(longWidth > 311);
    QVERIFY(fieldWidth >= textWidth);
  }

  void inputTextHistory() {
    TScriptedDialogs dialogs;
    bool buttonWithout = true, buttonWith = false, charTable = true;
    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputTextDialog&>(d);
      buttonWithout = HasButton(dlg);
      return int(QDialog::Rejected);
    });
    QString text = "x";
    TInputTextArgs args;
    QStringList none;
    QVERIFY(!InputText(args, text, &none));
    QVERIFY(none.isEmpty());

    QStringList history;
    for (int i = 0; i < 15; ++i) history << QString("entry%1").arg(i);
    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputTextDialog&>(d);
      buttonWith = HasButton(dlg);
      charTable = dlg.CharTableButton()->isVisibleTo(&dlg);
      dlg.Field()->setEditText("fresh");
      QTest::keyClick(dlg.Field()->lineEdit(), Qt::Key_Return);
      return dlg.result();
    });
    QVERIFY(InputText(args, text, &history));
    QCOMPARE(text, QString("fresh"));
    QCOMPARE(history.size(), 15);
    QCOMPARE(history.front(), QString("fresh"));
    QVERIFY(!history.contains("entry14"));  // the oldest went
    QVERIFY(!buttonWithout);
    QVERIFY(buttonWith);
    QVERIFY(!charTable);

    // An entry typed again in another spelling moves to the front.
    dialogs.OnModal([&](QDialog& d) {
      auto& dlg = static_cast<TInputTextDialog&>(d);
      dlg.Field()->setEditText("ENTRY3");
      dlg.OkButton()->click();
      return dlg.result();
    });
    QVERIFY(InputText(args, text, &history));
    QCOMPARE(history.size(), 15);
    QCOMPARE(history.mid(0, 2), (QStringList{"ENTRY3", "fresh"}));
    QCOMPARE(std::count_if(history.begin(), history.end(),
                           [](const QString& e) { return e.compare("entry3", Qt::CaseInsensitive) == 0; }),
             1);
  }

  void characterTableInsertsAtTheCursor() {
    TInputTextDialog dlg;
    dlg.Field()->setEditText("ab");
    dlg.Field()->lineEdit()->setCursorPosition(1);
    dlg.InsertCharacter(QChar(0xE4));
    QCOMPARE(dlg.Field()->currentText(), QString::fromUtf8("a\u00e4b"));
  }

  void selectDialogLayout() {
    TSelectDialog dlg;
    TSelectArgs args;
    args.Title = "Delete directory";
    args.Message = "Delete \"/tmp/x\"\nsecond line";
    args.BoldMessage = true;
    args.Choices = {"Definitely", "To recycle bin"};
    dlg.Prepare(args);
    dlg.show();
    const auto& b = dlg.ChoiceButtons();
    QCOMPARE(b.size(), 2);
    QCOMPARE(dlg.LastButton()->text(), QString("Cancel"));
    QVERIFY(dlg.LastButton()->isDefault());  // no preselection: the last button
    QCOMPARE(b[0]->y(), dlg.LastButton()->y());  // one row of three
    QVERIFY(b[0]->x() < b[1]->x() && b[1]->x() < dlg.LastButton()->x());
    QCOMPARE(dlg.MessageLabels().size(), 2);
    QVERIFY(dlg.MessageLabels()[0]->font().bold());
    QVERIFY(b[0]->width() >= 105);

    // Four choices: a full row, then the fourth and the last button, aligned right.
    args.Choices = {"a", "b", "c", "d"};
    args.LastButton = "Skip";
    args.Preselect = 1;
    dlg.Prepare(args);
    dlg.show();
    const auto& c = dlg.ChoiceButtons();
    QCOMPARE(c[0]->y(), c[2]->y());
    QVERIFY(c[3]->y() > c[0]->y());
    QCOMPARE(dlg.LastButton()->y(), c[3]->y());
    QCOMPARE(dlg.LastButton()->geometry().right(), c[2]->geometry().right());
    QCOMPARE(dlg.LastButton()->text(), QString("Skip"));
    QVERIFY(c[1]->isDefault());
  }

  void selectDialogResults() {
    TScriptedDialogs dialogs;
    TSelectArgs args;
    args.Choices = {"Definitely", "To recycle bin"};
    dialogs.OnModal([](QDialog& d) {
      static_cast<TSelectDialog&>(d).ChoiceButtons()[1]->click();
      return d.result();
    });
    QCOMPARE(SelectChoice(args), 1);
    dialogs.OnModal([](QDialog& d) {
      static_cast<TSelectDialog&>(d).LastButton()->click();
      return d.result();
    });
    QCOMPARE(SelectChoice(args), -1);
    dialogs.OnModal([](QDialog& d) {
      QTest::keyClick(&d, Qt::Key_Escape);
      return d.result();
    });
    QCOMPARE(SelectChoice(args), -1);
    QCOMPARE(SelectChoice(args), -1);  // unanswered
  }

private:
  static bool HasButton(const TInputTextDialog& dlg);
};

#include "HistoryCombo.h"
bool TFrameInputDialogTest::HasButton(const TInputTextDialog& dlg) { return HasDropDownButton(dlg.Field()); }

QTEST_MAIN(TFrameInputDialogTest)
#include "FrameInputDialogTest.moc"
