// The main window's status line: why the last run or step stopped ("Running" while a program
// runs, the stop's detail after the reason) and, while running, the measured speed. It listens to
// the controller; the window places its labels and hands it each stop reason.
#pragma once
#include <QObject>

#include "NovaMachine.h"

class QLabel;
class QWidget;
class TMachineController;

class TStatusLine : public QObject {
  Q_OBJECT
public:
  // The labels are made as children of parent.
  TStatusLine(TMachineController& controller, QWidget* parent);
  // A run or step ended for this reason (srRefused changes nothing).
  void ShowStop(TStopReason reason);
  // A text of its own (where a journey in time arrived); it stands until the next stop.
  void ShowText(const QString& text);
  // The texts again in the current language.
  void RetranslateUi() { ShowStopReason(); }
  void ShowMeasuredSpeed(double ips, double ratio);

  QLabel* lbStatus;
  QLabel* lbSpeed;  // measured instructions per second while running

private:
  void ShowStopReason();

  TMachineController& FController;
  int FShownStop = -1;  // the stop reason in the line (-1: none yet)
};
