// Types shared by the dialog service and the frame's dialogs.
#pragma once
#include <QFlags>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

#include "ScreenPlacement.h"

class QWidget;
class TShellDirDialog;
class TSelectFromListDialog;

// Closing codes of the list dialog; OK and Cancel are QDialog's Accepted and Rejected.
enum TModalResult : int { mrCancel = 0, mrOk = 1, mrPrompt = 10 };

enum TSelectOption : unsigned { soPrompt = 1, soEdit = 2, soOrder = 4, soMulti = 8 };
Q_DECLARE_FLAGS(TSelectOptions, TSelectOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSelectOptions)

// Case conversion of the list entries when the list dialog closes other than by Cancel.
enum TTextChange { tcNone, tcLower, tcUpper };

// Entry check of the list dialog: true when the text is a valid entry.
using TCheckEntry = std::function<bool(const QString&)>;

// Everything of a list dialog call except the list and the preselected entry.
struct TSelectFromListArgs {
  QPoint Pos = NoPoint;
  QString Title;
  QString Desc;
  QString Hint;
  TSelectOptions Options;
  int Cols = 1;
  TTextChange Convert = tcNone;
  QString Default;  // comma separated; empty: no "Default" button
  bool ShowCancel = true;
  TCheckEntry CheckEntry;
};

// The one-line text input with a history (TInputTextDialog).
struct TInputTextArgs {
  QPoint At = NoPoint;
  QString Title;
  QString Desc;
  bool Sorted = false;          // the history list is kept sorted
  QString FontName;             // empty: the dialog's font
  bool ShowCharTable = false;   // offer the button "Character table"
  QWidget* Parent = nullptr;
};

// The button choice dialog (TSelectDialog).
enum TSelectIcon { siInformation, siWarning, siError, siQuestion };

struct TSelectArgs {
  QString Title;
  QString Message;              // one line of text per line
  bool BoldMessage = false;
  TSelectIcon Icon = siQuestion;
  QStringList Choices;
  QString LastButton;           // empty: "Cancel"
  int Preselect = -1;           // index of the choice with the focus; -1: the last button
  QPoint At = NoPoint;
  QWidget* Parent = nullptr;
};

// The standard open and save file dialogs. Filter in pairs "Description|patterns|...", patterns
// separated by ";" ("Binary files|*.bin|all|*.*").
struct TFileDialogArgs {
  QString Title;
  QString Filter;
  int FilterIndex = 0;          // the pair shown first, from 0
  QString Folder;               // start folder
  QString FileName;             // proposed name (save dialog)
  QString DefaultExt;           // appended by the save dialog to a name without extension
  bool MultiSelect = false;     // open dialog: several files
};
