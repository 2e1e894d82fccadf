// TTimeTravelActions: going back in time in the window, and whole-machine states.
// - "Memory dump" > "Save machine state .." / "Load machine state ..": .nvs files (a refused file,
//   and the attached files that could not be attached again, in an error box).
// - "Actions" > "Reverse step" (Shift+F7) and "Reverse run" (Shift+F9), also on the buttons that
//   take these actions; enabled while there is history to go back into and no run is under way.
// - "Preferences" > "History size ..": off or a number of instructions, kept in the settings.
// - "Who wrote this word?" (the grid's and the watch list's menus) with "Go there", and journeys
//   to a moment (a trace record).
// After each journey the status line tells where the machine is now; the first journey back over
// output says once that what was printed, punched or written stays.
//
// The machine is reached through the controller and the run commands (TRunControl) only.
#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "NumberUtils.h"

class QAction;
class QMenu;
class QWidget;
class TIniFile;
class TMachineController;
class TRunControl;
class TWhoWroteDialog;

class TTimeTravelActions : public QObject {
  Q_OBJECT
public:
  TTimeTravelActions(TMachineController& controller, TRunControl& run, QWidget* window);
  ~TTimeTravelActions() override;

  void RetranslateUi();

  // "Save machine state ..": the file dialog, then the state into the file (an error in a box).
  void SaveStateClick();
  // "Load machine state ..": the file dialog, then the state from the file.
  void LoadStateClick();
  bool SaveState(const std::string& name);
  // False with the reason in a box when the file is refused (the machine stays as it was); a
  // file of the state that could not be attached again is reported, the rest is loaded (true).
  bool LoadState(const std::string& name);

  void ReverseStepClick();
  void ReverseRunClick();
  // To just before the instruction of a trace record; false when the history does not reach it.
  bool TravelToTrace(int index);
  // The word's last write within the history in TWhoWroteDialog; "Go there" travels to just
  // after it.
  void WhoWrote(int addr);

  // "History size ..": asks for off or a number of instructions.
  void HistorySizeClick();
  // 0: off.
  void SetHistorySize(std::uint64_t instructions);

  // "Config" > "HistorySize" (0: off; none: the default size).
  void ReadSettings(const TIniFile& ini);
  void WriteSettings(TIniFile& ini) const;

  // The window's number base for the texts; whether a file may be written (not a reader's tape).
  std::function<TNumMode()> NumFormat;
  std::function<bool(const std::string&)> MayWrite;
  // The word selected in the memory grid (-1: none).
  std::function<int()> GridAddress;
  // Where the file dialogs start.
  std::function<std::string()> DefaultFolder;

  QAction* itmSaveState;
  QAction* itmLoadState;
  QAction* itmReverseStep;
  QAction* itmReverseRun;
  QAction* itmHistorySize;
  QAction* itmWhoWrote;  // the memory grid's item, for the word GridAddress tells

signals:
  // A text for the status line.
  void StatusText(const QString& text);

private:
  // The actions' enabled state from the machine's.
  void ShowEnabled();
  // The status line after a journey: Prefix with the step number, and the reason when one.
  void Arrived(const char* format, const QString& reason = QString());
  QString StateFilter() const;
  QString FileFolder() const;

  TMachineController& FController;
  TRunControl& FRun;
  QWidget* FWindow;
  std::string FStateName;        // the state file chosen last
  bool FOutputStays = false;     // the last journey went back over output
  bool FOutputToldOnce = false;  // that is said once
  std::unique_ptr<TWhoWroteDialog> FWhoWrote;
};
