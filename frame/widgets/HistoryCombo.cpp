#include "HistoryCombo.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <vector>

#include "IniFile.h"
#include "QtText.h"

namespace {

constexpr const char* NoButtonProperty = "corvaneNoDropDownButton";

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
      if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(opt)) {
        QStyleOptionComboBox copy(*combo);
        copy.subControls &= ~SC_ComboBoxArrow;
        QProxyStyle::drawComplexControl(cc, &copy, painter, widget);
        return;
      }
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

void AddToHistory(QComboBox* combo, const QString& text) {
  if (text.isEmpty()) {
    UpdateDropDownButton(combo);
    return;
  }
  QStringList items = ComboItems(combo);
  AddToHistory(items, text, combo->maxVisibleItems());
  SetComboItems(combo, items);
  SelectFirst(combo);
}

bool LoadHistory(QComboBox* combo, const TIniFile& ini, std::string_view section, bool quote,
                 std::string_view prefix) {
  QStringList items;
  const bool found = LoadHistory(ini, section, items, combo->maxVisibleItems(), quote, prefix);
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
  if (!show) combo->setStyle(NoDropDownStyle());
  combo->update();
}

bool HasDropDownButton(const QComboBox* combo) { return !ButtonHidden(combo); }

void UpdateDropDownButton(QComboBox* combo, int minEntries) { ShowDropDownButton(combo, combo->count() >= minEntries); }
