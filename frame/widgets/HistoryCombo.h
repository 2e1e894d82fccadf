// History lists in combo boxes: the drop-down count (maxVisibleItems) is the maximum unless the
// combo box was given a history maximum of its own (SetHistoryMax: a long list shown a few rows
// at a time), the first entry is selected afterwards, and the drop-down button shows only with at
// least 2 entries. The rules themselves are the frame's (History.h).
#pragma once
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "History.h"

class QComboBox;

// The frame's rule on a QStringList.
void AddToHistory(QStringList& list, const QString& text, int max);
// Loads the section into the list; false (list unchanged) when the section does not exist.
bool LoadHistory(const TIniFile& ini, std::string_view section, QStringList& list, int max = DefaultHistoryMax,
                 bool quote = false, std::string_view prefix = DefaultHistoryPrefix);
void SaveHistory(TIniFile& ini, std::string_view section, const QStringList& list, bool erase,
                 int max = DefaultHistoryMax, bool quote = false, std::string_view prefix = DefaultHistoryPrefix);

// The most entries the combo box's history keeps.
void SetHistoryMax(QComboBox* combo, int max);
int HistoryMax(const QComboBox* combo);

void AddToHistory(QComboBox* combo, const QString& text);
bool LoadHistory(QComboBox* combo, const TIniFile& ini, std::string_view section, bool quote = false,
                 std::string_view prefix = DefaultHistoryPrefix);
void SaveHistory(QComboBox* combo, TIniFile& ini, std::string_view section, bool erase, int max = DefaultHistoryMax,
                 bool quote = false, std::string_view prefix = DefaultHistoryPrefix);
// The same on the named settings file, written at once; false when it cannot be written.
bool SaveHistory(QComboBox* combo, const std::string& fileName, std::string_view section, bool erase,
                 int max = DefaultHistoryMax, bool quote = false, std::string_view prefix = DefaultHistoryPrefix);

QStringList ComboItems(const QComboBox* combo);
// Replaces the entries; an editable combo box then shows the first one (or nothing).
void SetComboItems(QComboBox* combo, const QStringList& items);

// Shows or hides the drop-down button (the list can still be opened from the keyboard).
void ShowDropDownButton(QComboBox* combo, bool show);
bool HasDropDownButton(const QComboBox* combo);
// Button only with at least minEntries entries.
void UpdateDropDownButton(QComboBox* combo, int minEntries = 2);
