// TAssemblerActions: the assembler in the window. The "Memory dump" menu's items "Assemble source
// file .." (the chosen sources straight into memory, PC to the start, the symbols to the views),
// "Reassemble" (the last sources again, after the user edited them), "Assemble to tape .." (a
// tape file, absolute or program-load) and "Load symbols .." (a symbol file or a listing), and
// the "View" menu's "Show labels". Errors are listed in TAsmErrorsDialog; with any error nothing
// in memory changes, no tape is written and the symbols stay as they were.
//
// The machine is reached through the controller's operations only; while a program runs, it is
// stopped first and the assembly follows once the run has ended.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class TIniFile;
class TMachineController;
class TNavigator;

class TAssemblerActions : public QObject {
  Q_OBJECT
public:
  TAssemblerActions(TMachineController& controller, TNavigator& navigator, QWidget* window);

  // The items, added to the menus (their texts from RetranslateUi).
  void AddToDumpMenu(QMenu* menu);
  void AddToViewMenu(QMenu* menu);
  void RetranslateUi();

  // The sources as one program into memory, remembered for "Reassemble"; false with the errors
  // listed (memory unchanged).
  bool AssembleIntoMemory(const std::vector<std::string>& files);
  void AssembleSourceClick();
  void ReassembleClick();
  void AssembleToTapeClick();
  void LoadSymbolsClick();
  void ShowLabelsClick(bool on);

  const std::vector<std::string>& LastSources() const { return FLastSources; }
  // Where the file dialogs start when no source was chosen yet (the working directory).
  std::function<std::string()> DefaultFolder;

  // Section "Assembler": the last sources and whether labels are shown.
  void ReadSettings(const TIniFile& ini);
  void WriteSettings(TIniFile& ini) const;

  QAction* itmAssemble;
  QAction* itmReassemble;
  QAction* itmAssembleTape;
  QAction* itmLoadSymbols;
  QAction* itmShowLabels;

private:
  // Runs the job now, or once a running program has stopped.
  void WhenStopped(const std::function<void()>& job);
  bool ChooseSources(const QString& title, std::vector<std::string>& files);
  QString StartFolder() const;
  void ShowReassemble();

  TMachineController& FController;
  TNavigator& FNavigator;
  QWidget* FWindow;
  std::vector<std::string> FLastSources;
};
