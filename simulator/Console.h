// The console mmTTO: the teletype's lines, at most MaxLines (the oldest go), fed in blocks from
// the controller's buffer. It keeps its lines itself and paints only the visible ones, so a
// program printing as fast as it can costs the window little. Keys typed into it do not edit it.
//
// A line longer than the console is wide goes on in the rows below it (a teletype line has 72
// characters, more than the console shows at the window's first size): nothing printed is ever
// out of sight. The lines themselves stay whole, for "Copy".
#pragma once
#include <QAbstractScrollArea>
#include <deque>

class TConsole : public QAbstractScrollArea {
  Q_OBJECT
public:
  static constexpr int MaxLines = 5000;
  explicit TConsole(QWidget* parent = nullptr);
  // Applies teletype bytes: CR starts a new line beginning with ">", bytes above 037 are
  // appended to the last line, others are not shown.
  void AddBytes(const QByteArray& bytes);
  const std::deque<QString>& Lines() const { return FLines; }
  int blockCount() const { return int(FLines.size()); }
  QString toPlainText() const;
  // The lines of a text as toPlainText gave it (the newest MaxLines of them), shown from the end.
  void SetPlainText(const QString& text);
  void clear();

  // Characters a row holds at the present width, and the rows all lines take.
  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }
  // The text of the rows shown now, from the top.
  QStringList VisibleRowTexts() const;

  // Rows a line of that many characters takes at the given columns (at least one).
  static int RowsOf(int length, int columns) { return length <= columns ? 1 : (length + columns - 1) / columns; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

signals:
  // "Paste" of the context menu: the clipboard's text is to be typed on the keyboard.
  void PasteRequested();

private:
  void UpdateScrollBar(bool toEnd);
  // Columns from the width and the font; all rows counted again.
  void Relayout();
  int VisibleLines() const;
  int RowsOf(const QString& line) const { return RowsOf(int(line.size()), FColumns); }
  std::deque<QString> FLines{QString()};
  int FColumns = 1;
  int FRows = 1;
};
