#include "HistoryCombo.h"

#include <QApplication>
#include <algorithm>
#include <QComboBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyleOptionComboBox>
#include <vector>

#include "IniFile.h"
#include "QtText.h"

namespace {

constexpr const char* NoButtonProperty = "corvaneNoDropDownButton";
constexpr const char* HistoryMaxProperty = "corvaneHistoryMax";

bool ButtonHidden(const QWidget* w) { return w != nullptr && w->property(NoButtonProperty).toBool(); }

// Draws and hit-tests combo boxes marked with the property without their arrow part; the edit
// field takes its room.
class TNoDropDownStyle : public QProxyStyle {
public:
  QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                       const QWidget* widget) const override {
    if (cc == CC_ComboBox && ButtonHidden(widget)) {
      if (sc == SC_ComboBoxArrow) return QRect();
      if (sc == SC_ComboBoxEditField) {
        QRect field = QProxyStyle::subControlRect(cc, opt, sc, widget);
        const QRect arrow = QProxyStyle::subControlRect(cc, opt, SC_ComboBoxArrow, widget);
        if (arrow.isValid()) field = field.united(QRect(arrow.left(), field.top(), arrow.width(), field.height()));
        return field;
      }
    }
    return QProxyStyle::subControlRect(cc, opt, sc, widget);
  }

  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* painter,
                          const QWidget* widget) const override {
    if (cc == CC_ComboBox && ButtonHidden(widget)) {
      // Drawn as the panel of a line edit. A combo box drawn without its arrow part would do, but
      // styles keep their combo box pictures by size and state, not by parts: the picture without
      // the arrow would then stand in for every combo box of that size, the arrow lost on all.
      QStyleOptionFrame frame;
      frame.QStyleOption::operator=(*opt);
      frame.lineWidth = QProxyStyle::pixelMetric(PM_DefaultFrameWidth, opt, widget);
      frame.midLineWidth = 0;
      frame.state |= State_Sunken;
      QProxyStyle::drawPrimitive(PE_PanelLineEdit, &frame, painter, widget);
      return;
    }
    QProxyStyle::drawComplexControl(cc, opt, painter, widget);
  }
};

QStyle* NoDropDownStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new TNoDropDownStyle;
    style->setParent(qApp);
  }
  return style;
}

std::vector<std::string> ToVector(const QStringList& list) {
  std::vector<std::string> v;
  v.reserve(static_cast<std::size_t>(list.size()));
  for (const QString& s : list) v.push_back(FromQString(s));
  return v;
}

QStringList ToList(const std::vector<std::string>& v) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(v.size()));
  for (const std::string& s : v) list << ToQString(s);
  return list;
}

void SelectFirst(QComboBox* combo) {
  if (combo->count() > 0) combo->setCurrentIndex(0);
  UpdateDropDownButton(combo);
}

}  // namespace

void AddToHistory(QStringList& list, const QString& text, int max) {
  std::vector<std::string> v = ToVector(list);
  AddToHistory(v, FromQString(text), max);
  list = ToList(v);
}

bool LoadHistory(const TIniFile& ini, std::string_view section, QStringList& list, int max, bool quote,
                 std::string_view prefix) {
  std::vector<std::string> v;
  if (!LoadHistory(ini, section, v, max, quote, prefix)) return false;
  list = ToList(v);
  return true;
}

void SaveHistory(TIniFile& ini, std::string_view section, const QStringList& list, bool erase, int max, bool quote,
                 std::string_view prefix) {
  SaveHistory(ini, section, ToVector(list), erase, max, quote, prefix);
}

QStringList ComboItems(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

void SetComboItems(QComboBox* combo, const QStringList& items) {
  const QSignalBlocker block(combo);
  combo->clear();
  combo->addItems(items);
  if (combo->isEditable() && items.isEmpty()) combo->setEditText(QString());
}

void SetHistoryMax(QComboBox* combo, int max) { combo->setProperty(HistoryMaxProperty, std::max(1, max)); }

int HistoryMax(const QComboBox* combo) {
  const QVariant max = combo->property(HistoryMaxProperty);
  return max.isValid() ? max.toInt() : combo->maxVisibleItems();
}

void AddToHistory(QComboBox* combo, const QString& text) {
  if (text.isEmpty()) {
    UpdateDropDownButton(combo);
    return;
  }
  QStringList items = ComboItems(combo);
  AddToHistory(items, text, HistoryMax(combo));
  SetComboItems(combo, items);
  SelectFirst(combo);
}

bool LoadHistory(QComboBox* combo, const TIniFile& ini, std::string_view section, bool quote,
                 std::string_view prefix) {
  QStringList items;
  const bool found = LoadHistory(ini, section, items, HistoryMax(combo), quote, prefix);
  if (found) SetComboItems(combo, items);
  SelectFirst(combo);
  return found;
}

void SaveHistory(QComboBox* combo, TIniFile& ini, std::string_view section, bool erase, int max, bool quote,
                 std::string_view prefix) {
  SaveHistory(ini, section, ComboItems(combo), erase, max, quote, prefix);
}

bool SaveHistory(QComboBox* combo, const std::string& fileName, std::string_view section, bool erase, int max,
                 bool quote, std::string_view prefix) {
  TIniFile ini(fileName);
  SaveHistory(combo, ini, section, erase, max, quote, prefix);
  return ini.UpdateFile();
}

void ShowDropDownButton(QComboBox* combo, bool show) {
  if (HasDropDownButton(combo) == show) return;
  combo->setProperty(NoButtonProperty, !show);
  if (combo->style() != NoDropDownStyle()) {
    combo->setStyle(NoDropDownStyle());
  } else {
    // The edit field of an editable combo box takes the arrow's room or gives it back: the box
    // lays itself out again as after a change of style.
    QEvent changed(QEvent::StyleChange);
    QCoreApplication::sendEvent(combo, &changed);
  }
  combo->update();
}

bool HasDropDownButton(const QComboBox* combo) { return !ButtonHidden(combo); }

void UpdateDropDownButton(QComboBox* combo, int minEntries) { ShowDropDownButton(combo, combo->count() >= minEntries); }
