#include "ReaderCombo.h"

#include <QAbstractItemView>
#include <QDir>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "PathUtils.h"

namespace {

constexpr int TextIndent = 2;

class TReaderItemDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect r = option.rect.adjusted(TextIndent, 0, 0, 0);
    const QString text =
        option.fontMetrics.elidedText(TReaderCombo::ShownName(index.data().toString()), Qt::ElideMiddle, r.width());
    painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
};

}  // namespace

TReaderCombo::TReaderCombo(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new TReaderItemDelegate(this));
}

QString TReaderCombo::ShownName(const QString& name) {
  return QString::fromStdString(HomeRelativePath(name.toStdString(), QDir::homePath().toStdString()));
}

QColor TReaderCombo::EditTextColor() const {
  const bool attached = Attached && Attached();
  return palette().color(attached ? QPalette::Text : QPalette::PlaceholderText);
}

void TReaderCombo::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionComboBox opt;
  initStyleOption(&opt);
  opt.currentText.clear();
  opt.currentIcon = QIcon();
  p.drawComplexControl(QStyle::CC_ComboBox, opt);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
  p.fillRect(field, palette().color(QPalette::Base));
  const QRect r = field.adjusted(TextIndent, 0, 0, 0);
  p.setPen(EditTextColor());
  p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
             fontMetrics().elidedText(ShownName(currentText()), Qt::ElideMiddle, r.width()));
}
