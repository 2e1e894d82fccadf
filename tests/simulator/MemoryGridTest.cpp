// The memory grid works from the row height it really has: with a font that needs rows higher
// than 16 px, Goto, the cursor keys, Page Down, Enter, a double click, the PC rule and the cell
// menu all act on and show the row the user sees.
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QtTest>

#include "Fonts.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "NumberUtils.h"
#include "QtText.h"
#include "ScriptedDialogs.h"
#include "TestTempDir.h"
#include "Translate.h"
#include "WindowTestKit.h"

namespace {

// Answers the next value dialog with a value and keeps the description it showed.
void AnswerValueKeepingText(TScriptedDialogs& dialogs, QString& desc, const QString& value) {
  dialogs.OnModal([&desc, value](QDialog& d) {
    auto* v = qobject_cast<TValueDialog*>(&d);
    if (!v) return int(QDialog::Rejected);
    desc = v->DescLabel()->text();
    v->ValueEdit()->setText(value);
    return int(QDialog::Accepted);
  });
}

// The regions of the paint events a widget gets.
class TPaintRecorder : public QObject {
public:
  explicit TPaintRecorder(QWidget* w) { w->installEventFilter(this); }
  QRegion Painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

QString CellText(int row) { return QSafeFormat(QStringLiteral("Memory cell %s - Value:"), QString::fromStdString(FormatWord(row, nmOctal))); }

}  // namespace

class TMemoryGridTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { ActivateLanguage("en"); }

  void gridFontFitsSixteenPixelRows() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMemoryView* g = w.Form.gbMemory->sgMemory;
    QCOMPARE(g->RowHeight(), TMemoryView::DefaultRowHeight);
    QCOMPARE(g->rowHeight(0), TMemoryView::DefaultRowHeight);
    QVERIFY(g->fontMetrics().height() <= g->RowHeight());
  }

  void everyRuleWorksFromTheRealRowHeight() {
    TTempDir dir;
    TScriptedDialogs dialogs;
    TWindow w(dir);
    TMainForm& f = w.Form;
    TNovaMachine& m = f.Machine();
    TMemoryView* g = f.gbMemory->sgMemory;
    g->setFont(PixelFont("Courier New", 24));
    const int h = g->RowHeight();
    QVERIFY(h > TMemoryView::DefaultRowHeight);
    QCOMPARE(g->rowHeight(01000), h);  // what the view lays out
    QCOMPARE(g->VisibleRows(), g->viewport()->height() / h);
    QVERIFY(g->VisibleRows() > 3);
    const auto shown = [g](int row) {
      return g->viewport()->rect().contains(g->visualRect(g->Model()->index(row, TMemoryModel::colContents)));
    };

    // Goto address: the row is selected and in view.
    AnswerValue(dialogs, "1000");
    f.gbMemory->GotoAddressClick();
    QCOMPARE(g->SelectedRow(), 01000);
    QVERIFY(shown(01000));

    // Down on the last fully visible row scrolls it in; Page Down keeps the cursor in view.
    g->setFocus();
    g->SetTopRow(0);
    g->SelectRow(g->VisibleRows() - 1);
    QVERIFY(shown(g->SelectedRow()));
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(g->SelectedRow(), g->VisibleRows());
    QVERIFY(shown(g->SelectedRow()));
    // The row colour follows the cursor across all columns: both whole rows are painted again.
    TPaintRecorder paints(g->viewport());
    QTest::qWait(0);
    QCoreApplication::processEvents();
    paints.Painted = QRegion();
    const int from = g->SelectedRow();
    QTest::keyClick(g, Qt::Key_Up);
    QCoreApplication::processEvents();
    for (int row : {from, from - 1})
      QVERIFY((QRegion(0, g->rowViewportPosition(row), g->viewport()->width(), h) - paints.Painted).isEmpty());
    QTest::keyClick(g, Qt::Key_Down);
    const int before = g->SelectedRow();
    QTest::keyClick(g, Qt::Key_PageDown);
    QVERIFY(g->SelectedRow() > before);
    QVERIFY(shown(g->SelectedRow()));

    // Enter edits the row the user sees, and the cursor moves on to a row still in view.
    g->SelectRow(g->TopRow() + g->VisibleRows() - 1);
    const int seen = g->SelectedRow();
    QString desc;
    AnswerValueKeepingText(dialogs, desc, "7");
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(desc, CellText(seen));
    QCOMPARE(m.Memory[seen].Data, TWord(7));
    QCOMPARE(g->SelectedRow(), seen + 1);
    QVERIFY(shown(seen + 1));

    // A double click acts on the row under the mouse.
    const int clicked = g->TopRow() + 2;
    AnswerValueKeepingText(dialogs, desc, "5");
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                       g->visualRect(g->Model()->index(clicked, TMemoryModel::colContents)).center());
    QCOMPARE(desc, CellText(clicked));
    QCOMPARE(m.Memory[clicked].Data, TWord(5));

    // The PC rule: on the last fully visible line PC becomes the second row.
    g->SetTopRow(0);
    m.PC = TWord(g->VisibleRows() - 1);
    f.ShowRegisters();
    QCOMPARE(g->TopRow(), m.PC - 1);
    QVERIFY(shown(m.PC));
    m.PC = 02000;  // far below: scrolled in, then the second row
    f.ShowRegisters();
    QCOMPARE(g->TopRow(), 01777);

    // The cell menu opens one row below the press.
    const QRect cell = g->visualRect(g->Model()->index(g->TopRow() + 1, TMemoryModel::colAddress));
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, cell.center());
    QVERIFY(f.gbMemory->pmMemory->isVisible());
    QCOMPARE(f.gbMemory->pmMemory->pos().y(), g->viewport()->mapToGlobal(cell.center()).y() + h);
    f.gbMemory->pmMemory->close();
  }
};

QTEST_MAIN(TMemoryGridTest)
#include "MemoryGridTest.moc"
