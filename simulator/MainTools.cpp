// TMainForm: the trace, watch and breakpoint windows and the front panel: made once, placed from
// their settings sections at the first showing, shown and hidden by the "&View" items and their
// buttons.
#include <QAction>

#include "BpWin.h"
#include "MainForm.h"
#include "TimeTravelActions.h"
#include "TraceWin.h"
#include "WatchWin.h"

TTraceWin& TMainForm::TraceWin() {
  if (!FTraceWin) {
    FTraceWin = std::make_unique<TTraceWin>(*FController, *this, this);
    connect(FTraceWin.get(), &TToolWindow::Closed, this, [this] { itmTrace->setChecked(false); });
    FTraceWin->TravelToRecord = [this](int record) { return FTravel->TravelToTrace(record); };
  }
  return *FTraceWin;
}

TWatchWin& TMainForm::WatchWin() {
  if (!FWatchWin) {
    FWatchWin = std::make_unique<TWatchWin>(*FController, *this, this);
    connect(FWatchWin.get(), &TToolWindow::Closed, this, [this] { itmWatchList->setChecked(false); });
    connect(FWatchWin.get(), &TWatchWin::WhoWroteAsked, FTravel, &TTimeTravelActions::WhoWrote);
  }
  return *FWatchWin;
}

TBpWin& TMainForm::BpWin() {
  if (!FBpWin) {
    FBpWin = std::make_unique<TBpWin>(*FController, *this, this);
    connect(FBpWin.get(), &TToolWindow::Closed, this, [this] { itmBreakpoints->setChecked(false); });
  }
  return *FBpWin;
}

TToolWindow* TMainForm::ToolWindowOf(QAction* item) {
  if (item == itmTrace) return &TraceWin();
  if (item == itmWatchList) return &WatchWin();
  if (item == itmBreakpoints) return &BpWin();
  return nullptr;
}

void TMainForm::ViewItemToggled(QAction* item, bool on) {
  // Before the first showing the items only hold the stored choice.
  if (!FShown) return;
  if (TToolWindow* w = ToolWindowOf(item)) w->setVisible(on);
  if (item == itmFrontPanel) {
    FrontPanel().setVisible(on);
    PushFrontPanel();
  }
}

void TMainForm::ShowToolWindows() {
  const std::pair<QAction*, const char*> tools[3] = {
      {itmTrace, "TraceWindow"}, {itmWatchList, "WatchWindow"}, {itmBreakpoints, "Breakpoints"}};
  for (const auto& [item, section] : tools) {
    TToolWindow* w = ToolWindowOf(item);
    w->LoadFromIni(FIniName, section);
    w->setVisible(item->isChecked());
  }
  TNovaFrontpanel& panel = FrontPanel();
  panel.LoadFromIni(FIniName, "FrontPanel");
  panel.OnChangeDataSwitch = [this](std::uint16_t value) { SetSwitches(value); };
  panel.OnChangeCommandSwitch = [this](QObject* sender, TNovaCommands c) { FrontPanelCommand(sender, c); };
  // The power knob quits as "Quit" does.
  panel.OnPowerOff = [this] { close(); };
  panel.setVisible(itmFrontPanel->isChecked());
  PushFrontPanel();
}
