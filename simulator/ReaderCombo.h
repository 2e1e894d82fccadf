// The reader file lists edTtr and edPtr: drop-down lists of earlier tapes, drawn by the window.
// The entries sit on the window colour (the open list's selected entry on the highlight colour),
// 2 px from the left edge; the shown name is in the text colour only while its file is attached,
// greyed otherwise, so a glance tells whether the reader has a tape. A file inside the home folder
// is shown as "~/..." (the entries themselves keep the full names).
#pragma once
#include <QComboBox>
#include <functional>

class TReaderCombo : public QComboBox {
  Q_OBJECT
public:
  explicit TReaderCombo(QWidget* parent = nullptr);
  // Whether the reader has a file attached; asked at each paint.
  std::function<bool()> Attached;
  // The text colour of the edit part as painted now.
  QColor EditTextColor() const;
  // How an entry is shown.
  static QString ShownName(const QString& name);

protected:
  void paintEvent(QPaintEvent* event) override;
};
