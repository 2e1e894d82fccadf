// The memory watch list window.
#include "WatchWin.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include "MachineController.h"
#include "Navigator.h"
#include "MessageBoxes.h"
#include "QtText.h"

namespace {
// The first column: the alert box (a green tick when on) and the changed dot (red when changed).
class TWatchMarkDelegate : public QStyledItemDelegate {
public:
  TWatchMarkDelegate(TWatchModel* model, QObject* parent) : QStyledItemDelegate(parent), FModel(model) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(p, option, index);
    if (index.column() != TWatchModel::colMarks) return;
    const TWatchMem* w = FModel->Entry(index.row());
    if (!w) return;  // a row past the list paints nothing
    const QRect r = option.rect;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    const QRect box(r.left() + 3, r.top() + (r.height() - 12) / 2, 12, 12);
    p->setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p->setBrush(Qt::white);
    p->drawRect(box.adjusted(0, 0, -1, -1));
    if (w->Alert) {
      p->setPen(QPen(QColor(0x00, 0xA0, 0x00), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      const QPointF tick[3] = {QPointF(box.left() + 2.5, box.top() + 6), QPointF(box.left() + 5, box.top() + 9),
                               QPointF(box.left() + 9.5, box.top() + 2.5)};
      p->drawPolyline(tick, 3);
    }
    const QRect dot(box.right() + 5, r.top() + (r.height() - 16) / 2, 16, 16);
    p->setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p->setBrush(w->Changed ? QColor(Qt::red) : QColor(0xA0, 0xA0, 0xA0));
    p->drawEllipse(QRectF(dot).adjusted(2.5, 2.5, -2.5, -2.5));
    p->restore();
  }

private:
  TWatchModel* FModel;
};
}  // namespace

TWatchWin::TWatchWin(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : TToolWindow(controller, navigator, new TWatchModel(controller.Machine()), "WatchWin", parent) {
  const int widths[TWatchModel::colCount] = {40, 100, 180, 200};
  for (int c = 0; c < TWatchModel::colCount; ++c) lvList->setColumnWidth(c, widths[c]);
  lvList->setItemDelegateForColumn(TWatchModel::colMarks, new TWatchMarkDelegate(Watches(), lvList));
  // The selection stays visible when the list has no focus.
  QPalette pal = lvList->palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  lvList->setPalette(pal);
  lvList->viewport()->installEventFilter(this);
  btAdd = AddBarButton("btAdd", QStringLiteral("+"));
  btRemove = AddBarButton("btRemove", QStringLiteral("\u2212"));
  btDeleteAll = AddBarButton("btDeleteAll", QStringLiteral("\u2715"));
  connect(btAdd, &QToolButton::clicked, this, [this] { btAddClick(); });
  connect(btRemove, &QToolButton::clicked, this, [this] { btRemoveClick(); });
  connect(btDeleteAll, &QToolButton::clicked, this, [this] { btDeleteAllClick(); });
  pmList = new QMenu(this);
  pmList->setObjectName("pmList");
  itmWhoWrote = pmList->addAction(QString(), this, [this] { WhoWroteClick(); });
  lvList->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lvList, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    const int row = lvList->rowAt(at.y());
    if (!Watches()->Entry(row)) return;
    SelectRow(row);
    pmList->popup(lvList->viewport()->mapToGlobal(at));
  });
  TMachineController* c = &controller;
  connect(c, &TMachineController::OnWatchCountChanged, this, [this](int n) {
    if (FSwitchingAlert)
      Refresh();
    else
      UpdateView(n);
  });
  connect(c, &TMachineController::OnMemoryChanged, this, [this] { Refresh(); });
  resize(560, 260);
  RetranslateUi();
}

void TWatchWin::RetranslateUi() {
  setWindowTitle(QtText("Memory watch list"));
  btAdd->setToolTip(QtText("Add watched location"));
  btRemove->setToolTip(QtText("Remove watched location"));
  btDeleteAll->setToolTip(QtText("Delete all watches"));
  itmWhoWrote->setText(QtText("W&ho wrote this word?"));
  TToolWindow::RetranslateUi();
}

void TWatchWin::SetColumnWidths(int listWidth) {
  const int w = SharedWidth(listWidth - lvList->columnWidth(TWatchModel::colMarks) -
                                lvList->columnWidth(TWatchModel::colCommand) - 21,
                            3);
  lvList->setColumnWidth(TWatchModel::colAddress, w);
  lvList->setColumnWidth(TWatchModel::colContents, 2 * w);
}

void TWatchWin::btAddClick() {
  int addr = 0;
  if (!AskAddress(btAdd, QtText("Add location to watch list:"), addr)) return;
  FController.Machine().AddWatch(TWord(addr));
}

void TWatchWin::btRemoveClick() {
  const int row = SelectedRow();
  const TWatchMem* w = Watches()->Entry(row);
  if (!w) return;
  FController.Machine().RemoveWatch(w->Addr);
  SelectAfterRemoval(row);
}

void TWatchWin::WhoWroteClick() {
  if (const TWatchMem* w = Watches()->Entry(SelectedRow())) emit WhoWroteAsked(w->Addr);
}

void TWatchWin::btDeleteAllClick() {
  if (FController.Machine().Watch.empty()) return;
  if (!ConfirmMsg(QtText("Delete all items from watch list") + "?", NoPoint, QString(), this)) return;
  FController.Machine().ClearWatches();
}

void TWatchWin::ToggleAlert(int row) {
  const TWatchMem* w = Watches()->Entry(row);
  if (!w) return;
  // The list keeps its selection: only the entry's mark changes.
  FSwitchingAlert = true;
  FController.Machine().SetWatchAlert(w->Addr, !w->Alert);
  FSwitchingAlert = false;
}

bool TWatchWin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvList->viewport() && event->type() == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    const int right = lvList->columnViewportPosition(TWatchModel::colMarks) + lvList->columnWidth(TWatchModel::colMarks);
    const int row = lvList->rowAt(at.y());
    if (at.x() < right && row >= 0) ToggleAlert(row);
  }
  return TToolWindow::eventFilter(watched, event);
}
