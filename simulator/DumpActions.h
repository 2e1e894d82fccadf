// TDumpActions: memory dumps and program listings in the window. The "Memory dump" menu's items
// "Load from file ..", "Reload" (the same dump again, breakpoints kept), "Save to file ..", "Clear
// memory" and "Save as program .." (a listing of the grid's selection in the "Write program"
// dialog's range, columns and base). It keeps the names of the last dump and listing; the window
// names the dump in its caption (CaptionChanged) and shows messages (ErrorReported).
//
// The machine is reached through its operations only; a file that the paper-tape reader has
// attached is never written over.
#pragma once
#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>

#include "NumberUtils.h"

class QAction;
class QWidget;
class TDeviceTabs;
class TMachineController;
class TMemoryPanel;
class TWritePrgDialog;
enum TUndoCommand : int;

class TDumpActions : public QObject {
  Q_OBJECT
public:
  TDumpActions(TMachineController& controller, TMemoryPanel& memory, TDeviceTabs& devices, QWidget* window);
  ~TDumpActions() override;
  void RetranslateUi();
  // The base of the dialogs and of the listing's operands.
  void SetNumFormat(TNumMode mode) { FNumFormat = mode; }

  // A dump into memory (breakpoints kept or cleared); false, with a message, when it cannot be
  // read (memory unchanged). The grid's address history starts again.
  bool LoadDump(const std::string& AFileName, bool AKeepBreakpoints);
  bool SaveDump(const std::string& AFileName);
  // A dump chosen by the user (the file dialog, the command line): loaded as the window's dump,
  // named in the caption and reloadable. False, with a message, when it cannot be loaded.
  bool OpenDump(const std::string& AFileName);
  void LoadDumpClick();
  void ReloadClick();
  void SaveDumpClick();
  void ClearMemoryClick();
  void SaveProgramClick();
  // The "Write program" dialog, made once (the program's start-up order) and reused.
  TWritePrgDialog& WritePrgDialog();

  // What the caption tells of memory besides the program's name: nothing, the image restored at
  // the start, or the dump named DumpName. Each setting tells CaptionChanged.
  enum TCaptionKind { ckPlain, ckRestored, ckDumpLoaded };
  TCaptionKind CaptionKind() const { return FCaptionKind; }
  void SetCaptionKind(TCaptionKind kind);

  // Where the file dialogs start without a dump or listing (the working directory).
  std::function<std::string()> DefaultFolder;
  // The "Write program" dialog opens with its right edge at this field's bottom right corner.
  QWidget* ListingAnchor = nullptr;
  std::string DumpName;
  std::string ListName;

  QAction* itmLoadDump;
  QAction* itmReload;
  QAction* itmSaveDump;
  QAction* itmClearMemory;
  QAction* itmSaveProgram;

signals:
  void CaptionChanged();
  void ErrorReported(const QString& text, QPoint at);

private:
  std::string Folder(const std::string& last) const;
  // Undo of a dump command puts back the dump named in the caption as well.
  void RecordUndo(TUndoCommand command);

  TMachineController& FController;
  TMemoryPanel& FMemory;
  TDeviceTabs& FDevices;
  QWidget* FWindow;
  TNumMode FNumFormat = nmOctal;
  TCaptionKind FCaptionKind = ckPlain;
  std::unique_ptr<TWritePrgDialog> FWritePrgDialog;
};
