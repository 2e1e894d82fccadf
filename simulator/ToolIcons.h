// Pictures of the main window's tool buttons, painted by our own code at start-up (16 x 16 and
// a 32 x 32 version for screens with a high pixel density). The disabled look comes from QIcon.
#pragma once
#include <QIcon>

enum class TToolIcon {
  Reset,
  SetPC,
  Run,
  Step,
  StepOver,
  StepOut,
  ReverseStep,
  ReverseRun,
  Stop,
  ProgramLoad,
  ShowSteps,
  Breakpoints,
  Watch,
  Trace,
  FrontPanel,
  Info,
  Quit,
  GotoPC,
  AddWatch,
  SwitchesToPC,
  OpenFile,
  CloseFile,
  Rewind,
};

QIcon ToolIcon(TToolIcon kind);
