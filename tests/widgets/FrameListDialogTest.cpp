// The list editing dialog, driven through the dialog service: the handler of the dialog's own
// modal run presses its buttons; nested text inputs and confirmations come from scripted answers.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "NumberUtils.h"
#include "ScriptedDialogs.h"
#include "SelectFromListDlg.h"

namespace {

bool IsOctal(const QString& text) {
  std::int64_t v;
  return TryParseOctal(text.toStdString(), v);
}

using TActions = std::function<void(TSelectFromListDialog&)>;

// Runs the dialog as the simulator's "Predefined switches" call; the actions run while it is open,
// then "OK" (or "Cancel") is clicked.
int RunSwitches(TScriptedDialogs& dialogs, TSelectFromListDialog& dlg, QStringList& list, QString& text,
                const TActions& actions, bool cancel = false) {
  dialogs.OnModal([&](QDialog&) {
    actions(dlg);
    (cancel ? dlg.CancelButton() : dlg.OkButton())->click();
    return dlg.result();
  });
  return dlg.Execute(QPoint(200, 200), "Predefined switches", "", "Octal values only", soEdit | soOrder, 1, tcNone,
                     "000012,177777", list, text, true, IsOctal);
}

int CurrentRow(const TSelectFromListDialog& dlg) {
  const auto selected = dlg.ListBox()->selectedItems();
  return selected.isEmpty() ? -1 : dlg.ListBox()->row(selected.first());
}

}  // namespace

class TFrameListDialogTest : public QObject {
  Q_OBJECT
private slots:
  void defaultThenOkLeavesTheDefaultList() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"000012", "000777", "1"};
    QString text;
    dialogs.AnswerConfirm(true);
    const int result = RunSwitches(dialogs, dlg, list, text, [](TSelectFromListDialog& d) { d.DefaultButton()->click(); });
    QCOMPARE(result, int(mrOk));
    QCOMPARE(list, (QStringList{"000012", "177777"}));
    QCOMPARE(dialogs.Last(dkConfirm)->Text, QString("Reset to default values?"));
    QVERIFY(dialogs.AllUsed());
  }

  void addChecksEntries() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"000012", "177777"};
    QString text;
    dialogs.AnswerInput("9");
    dialogs.AnswerInput("177");
    QStringList afterRejected;
    int selectedAfterAdd = -1;
    QPoint addButtonCorner;
    RunSwitches(dialogs, dlg, list, text, [&](TSelectFromListDialog& d) {
      d.AddButton()->click();
      afterRejected = d.Entries();
      d.AddButton()->click();
      selectedAfterAdd = CurrentRow(d);
      addButtonCorner = d.AddButton()->mapToGlobal(QPoint(0, d.AddButton()->height()));
    });
    QCOMPARE(afterRejected, (QStringList{"000012", "177777"}));
    QCOMPARE(dialogs.Count(dkError), 1);
    QCOMPARE(dialogs.Last(dkError)->Text, QString("Invalid entry: \"9\""));
    QCOMPARE(list, (QStringList{"000012", "177777", "177"}));
    QCOMPARE(selectedAfterAdd, 2);
    QCOMPARE(text, QString("177"));  // the selected entry comes back
    const TDialogCall* input = dialogs.Last(dkInputString);
    QCOMPARE(input->Caption, QString("Add item"));
    QCOMPARE(input->Value, QString());
    QCOMPARE(input->At, addButtonCorner + QPoint(-100, 10));
  }

  void removeSelectsTheNeighbour() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"a", "b", "c"};
    QString text = "C";  // preselection ignores case
    dialogs.AnswerConfirm(false);
    dialogs.AnswerConfirm(true);
    QStringList afterDeclined;
    int selected = -2;
    RunSwitchesNoCheck(dialogs, dlg, list, text, [&](TSelectFromListDialog& d) {
      d.RemoveButton()->click();
      afterDeclined = d.Entries();
      d.RemoveButton()->click();
      selected = CurrentRow(d);
    });
    QCOMPARE(afterDeclined, (QStringList{"a", "b", "c"}));
    QCOMPARE(dialogs.Last(dkConfirm)->Text, QString("Remove item: \"c\"?"));
    QCOMPARE(list, (QStringList{"a", "b"}));
    QCOMPARE(selected, 1);
    QCOMPARE(text, QString("b"));
  }

  void moveButtons() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"a", "b", "c"};
    QString text;
    QStringList afterUnselectedDown, afterFirstUp;
    int selected = -1;
    RunSwitchesNoCheck(dialogs, dlg, list, text, [&](TSelectFromListDialog& d) {
      d.DownButton()->click();  // nothing selected yet
      afterUnselectedDown = d.Entries();
      d.ListBox()->setCurrentRow(0);
      d.UpButton()->click();  // first entry: stays
      afterFirstUp = d.Entries();
      d.DownButton()->click();
      d.DownButton()->click();
      d.DownButton()->click();  // last entry: stays
      selected = CurrentRow(d);
    });
    QCOMPARE(afterUnselectedDown, (QStringList{"a", "b", "c"}));
    QCOMPARE(afterFirstUp, (QStringList{"a", "b", "c"}));
    QCOMPARE(list, (QStringList{"b", "c", "a"}));
    QCOMPARE(selected, 2);
    QCOMPARE(text, QString("a"));
  }

  void cancelKeepsTheCallersValues() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"000012", "177777"};
    QString text = "177777";
    dialogs.AnswerInput("17");
    dialogs.AnswerConfirm(true);
    const int result = RunSwitches(
        dialogs, dlg, list, text,
        [](TSelectFromListDialog& d) {
          d.AddButton()->click();
          d.RemoveButton()->click();
          d.ListBox()->setCurrentRow(0);
          d.DownButton()->click();
        },
        true);
    QCOMPARE(result, int(mrCancel));
    QCOMPARE(list, (QStringList{"000012", "177777"}));
    QCOMPARE(text, QString("177777"));
  }

  void changeAndDoubleClickApplyTheCheck() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"000012", "177777"};
    QString text = "000012";
    dialogs.AnswerInput("8");   // Change: rejected
    dialogs.AnswerInput("12");  // Change: accepted
    dialogs.AnswerInput("x");   // double click: rejected as well
    RunSwitches(dialogs, dlg, list, text, [&](TSelectFromListDialog& d) {
      d.ChangeButton()->click();
      d.ChangeButton()->click();
      d.show();
      QListWidget* lb = d.ListBox();
      const QPoint second = lb->visualItemRect(lb->item(1)).center();
      QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, second);
      QTest::mouseDClick(lb->viewport(), Qt::LeftButton, {}, second);
    });
    QCOMPARE(list, (QStringList{"12", "177777"}));
    QCOMPARE(dialogs.Count(dkError), 2);
    QCOMPARE(dialogs.Last(dkError)->Text, QString("Invalid entry: \"x\""));
    QCOMPARE(dialogs.Last(dkInputString)->Caption, QString("Edit item"));
    QCOMPARE(dialogs.Last(dkInputString)->Value, QString("177777"));
  }

  void doubleClickWithoutEditClosesWithOk() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"x", "y"};
    QString text;
    dialogs.OnModal([&](QDialog&) {
      dlg.show();
      QListWidget* lb = dlg.ListBox();
      QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(1)).center());
      QTest::mouseDClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(1)).center());
      return dlg.result();
    });
    QCOMPARE(dlg.Execute(NoPoint, "Pick", "", "", {}, 1, tcNone, "", list, text), int(mrOk));
    QCOMPARE(text, QString("y"));
  }

  void multiSelectionAndConversion() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"a", "b", "c"};
    QString text;
    dialogs.OnModal([&](QDialog&) {
      dlg.ListBox()->item(1)->setSelected(true);
      dlg.ListBox()->item(2)->setSelected(true);
      dlg.OkButton()->click();
      return dlg.result();
    });
    QCOMPARE(dlg.Execute(NoPoint, "Pick", "", "", soMulti | soEdit, 1, tcUpper, "", list, text), int(mrOk));
    QCOMPARE(text, QString("B|C"));
    QCOMPARE(list, (QStringList{"A", "B", "C"}));

    // Several selected entries go after one confirmation.
    dialogs.AnswerConfirm(true);
    dialogs.OnModal([&](QDialog&) {
      dlg.ListBox()->item(0)->setSelected(true);
      dlg.ListBox()->item(2)->setSelected(true);
      dlg.RemoveButton()->click();
      dlg.OkButton()->click();
      return dlg.result();
    });
    dlg.Execute(NoPoint, "Pick", "", "", soMulti | soEdit, 1, tcNone, "", list, text);
    QCOMPARE(dialogs.Last(dkConfirm)->Text, QString("Remove all selected items?"));
    QCOMPARE(list, (QStringList{"B"}));
    QCOMPARE(text, QString());  // nothing selected any more
  }

  void promptAndListWithoutEdit() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"a", "b"};
    QString text = "B";
    bool promptShown = false, editShown = true, cancelShown = true;
    dialogs.OnModal([&](QDialog&) {
      promptShown = dlg.PromptButton()->isVisibleTo(&dlg);
      editShown = dlg.EditGroup()->isVisibleTo(&dlg);
      cancelShown = dlg.CancelButton()->isVisibleTo(&dlg);
      dlg.ListBox()->item(0)->setText("changed");
      dlg.PromptButton()->click();
      return dlg.result();
    });
    QCOMPARE(dlg.Execute(NoPoint, "Pick", "", "", soPrompt, 1, tcNone, "", list, text, false), int(mrPrompt));
    QVERIFY(promptShown);
    QVERIFY(!editShown);
    QVERIFY(!cancelShown);
    QCOMPARE(list, (QStringList{"a", "b"}));  // without soEdit the list is not written back
    QCOMPARE(text, QString("b"));
  }

  void hiddenPartsLeaveNoGap() {
    TScriptedDialogs dialogs;
    TSelectFromListDialog dlg;
    QStringList list{"a"};
    QString text;
    int hintWithMove = 0, hintWithoutMove = 0, heightWithMove = 0, heightWithoutMove = 0;
    bool defaultShown = true;
    auto measure = [&](int& hintY, int& height) {
      dialogs.OnModal([&](QDialog&) {
        dlg.show();
        hintY = dlg.HintLabel()->y();
        height = dlg.height();
        defaultShown = dlg.DefaultButton()->isVisibleTo(&dlg);
        return int(mrCancel);
      });
    };
    measure(hintWithMove, heightWithMove);
    dlg.Execute(NoPoint, "T", "", "hint", soEdit | soOrder, 1, tcNone, "", list, text);
    QVERIFY(!defaultShown);  // no default list: no "Default" button
    measure(hintWithoutMove, heightWithoutMove);
    dlg.Execute(NoPoint, "T", "", "hint", soEdit, 1, tcNone, "", list, text);
    QVERIFY(hintWithoutMove < hintWithMove);
    QVERIFY(heightWithoutMove <= heightWithMove);
  }

  void splitDefaultList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("commas") << "000012,177777" << QStringList{"000012", "177777"};
    QTest::newRow("blanks and commas") << " a  b,c ,, d" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("quoted") << "\"x, y\",z" << QStringList{"x, y", "z"};
    QTest::newRow("quote in quotes") << "\"say \"\"hi\"\"\" q" << QStringList{"say \"hi\"", "q"};
    QTest::newRow("unclosed quote") << "\"open end" << QStringList{"open end"};
    QTest::newRow("empty") << "" << QStringList{};
  }
  void splitDefaultList() {
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QCOMPARE(TSelectFromListDialog::SplitDefaultList(text), entries);
  }

private:
  static int RunSwitchesNoCheck(TScriptedDialogs& dialogs, TSelectFromListDialog& dlg, QStringList& list,
                                QString& text, const TActions& actions) {
    dialogs.OnModal([&](QDialog&) {
      actions(dlg);
      dlg.OkButton()->click();
      return dlg.result();
    });
    return dlg.Execute(QPoint(200, 200), "List", "Entries", "", soEdit | soOrder, 1, tcNone, "", list, text);
  }
};

QTEST_MAIN(TFrameListDialogTest)
#include "FrameListDialogTest.moc"
