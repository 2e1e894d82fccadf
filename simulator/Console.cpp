#include "Console.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include "Fonts.h"
#include "Peripherals.h"
#include "QtText.h"

namespace {
constexpr int LeftMargin = 4;
constexpr int RightMargin = 2;
constexpr int TopMargin = 2;
}  // namespace

TConsole::TConsole(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("mmTTO");
  setFont(PixelFont("Courier New", 13));
  setFocusPolicy(Qt::ClickFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), [this] { viewport()->update(); });
  Relayout();
}

void TConsole::AddBytes(const QByteArray& bytes) {
  const bool atEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
  FRows -= RowsOf(FLines.back());
  for (char ch : bytes) {
    const auto b = std::uint8_t(ch);
    switch (ConsoleAction(b)) {
      case caNewLine:
        FRows += RowsOf(FLines.back());
        if (FLines.size() >= std::size_t(MaxLines)) {
          FRows -= RowsOf(FLines.front());
          FLines.pop_front();
        }
        FLines.emplace_back(QStringLiteral(">"));
        break;
      case caAppend: FLines.back() += QChar(b); break;
      case caNone: break;
    }
  }
  FRows += RowsOf(FLines.back());
  UpdateScrollBar(atEnd);
  viewport()->update();
}

QString TConsole::toPlainText() const {
  QStringList all(FLines.begin(), FLines.end());
  return all.join('\n');
}

void TConsole::SetPlainText(const QString& text) {
  const QStringList lines = text.split('\n');
  const qsizetype first = std::max<qsizetype>(0, lines.size() - MaxLines);
  FLines.assign(lines.begin() + first, lines.end());
  Relayout();
  UpdateScrollBar(true);
  viewport()->update();
}

void TConsole::clear() {
  FLines.assign(1, QString());
  FRows = 1;
  UpdateScrollBar(true);
  viewport()->update();
}

int TConsole::VisibleLines() const {
  return std::max(1, (viewport()->height() - TopMargin) / std::max(1, fontMetrics().lineSpacing()));
}

void TConsole::Relayout() {
  // The teletype font has one width for every character.
  const int charWidth = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
  FColumns = std::max(1, (viewport()->width() - LeftMargin - RightMargin) / charWidth);
  FRows = 0;
  for (const QString& line : FLines) FRows += RowsOf(line);
}

void TConsole::UpdateScrollBar(bool toEnd) {
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, FRows - VisibleLines()));
  bar->setPageStep(VisibleLines());
  if (toEnd) bar->setValue(bar->maximum());
}

void TConsole::resizeEvent(QResizeEvent* event) {
  const bool atEnd = verticalScrollBar()->value() >= verticalScrollBar()->maximum();
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
  UpdateScrollBar(atEnd);
}

void TConsole::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    Relayout();
    UpdateScrollBar(true);
  }
}

QStringList TConsole::VisibleRowTexts() const {
  QStringList rows;
  const int first = verticalScrollBar()->value();
  const int count = VisibleLines() + 1;  // a partly shown last row too
  int row = 0;
  for (const QString& line : FLines) {
    const int n = RowsOf(line);
    if (row + n > first) {
      for (int i = std::max(0, first - row); i < n && int(rows.size()) < count; ++i)
        rows << line.mid(qsizetype(i) * FColumns, FColumns);
      if (int(rows.size()) >= count) break;
    }
    row += n;
  }
  return rows;
}

void TConsole::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.setFont(font());
  p.setPen(palette().color(QPalette::Text));
  const int h = fontMetrics().lineSpacing();
  const QStringList rows = VisibleRowTexts();
  for (int i = 0; i < int(rows.size()); ++i)
    p.drawText(QRect(LeftMargin, TopMargin + i * h, viewport()->width() - LeftMargin, h),
               Qt::AlignLeft | Qt::AlignVCenter, rows[i]);
}

void TConsole::keyPressEvent(QKeyEvent* event) {
  // Nothing typed edits the console; Ctrl+C copies its text.
  if (event->matches(QKeySequence::Copy)) QGuiApplication::clipboard()->setText(toPlainText());
  event->ignore();
}

void TConsole::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(QtText("Copy"), this, [this] { QGuiApplication::clipboard()->setText(toPlainText()); });
  QAction* paste = menu.addAction(QtText("Paste"), this, [this] { emit PasteRequested(); });
  paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
  menu.exec(event->globalPos());
}
