// TStatusLine: the stop reason and the measured speed.
#include "StatusLine.h"

#include <QLabel>

#include "MachineController.h"
#include "QtText.h"
#include "Throttle.h"
#include "Translate.h"

TStatusLine::TStatusLine(TMachineController& controller, QWidget* parent)
    : QObject(parent), FController(controller) {
  lbStatus = new QLabel(parent);
  lbStatus->setObjectName("lbStatus");
  // A long line goes on in a second line (its whole text also in the tooltip), never widens the
  // window.
  lbStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lbStatus->setWordWrap(true);
  lbSpeed = new QLabel(parent);
  lbSpeed->setObjectName("lbSpeed");
  lbSpeed->hide();
  connect(&controller, &TMachineController::OnSpeedMeasured, this,
          [this](double ips, double ratio) { ShowMeasuredSpeed(ips, ratio); });
  connect(&controller, &TMachineController::OnRunningChanged, this, [this](bool on) {
    if (on)
      ShowStopReason();
    else
      lbSpeed->hide();
  });
}

void TStatusLine::ShowStop(TStopReason reason) {
  if (reason == srRefused) return;
  FShownStop = reason;
  ShowStopReason();
}

void TStatusLine::ShowStopReason() {
  const TNovaMachine& m = FController.Machine();
  if (m.Running()) {
    // While running the line says so; the measured speed stands beside it.
    lbStatus->setText(QtText("Running"));
    return;
  }
  if (FShownStop < 0) return;
  QString text = ToQString(StopReasonText(TStopReason(FShownStop)));
  const QString detail = ToQString(m.LastStopDetail()).replace(QStringLiteral("\r\n"), " ");
  // A data breakpoint's detail, and a detail that begins with the reason (a step out stopped
  // first), say it all.
  if (!detail.isEmpty() && (FShownStop == srData || detail.startsWith(text)))
    text = detail;
  else if (!detail.isEmpty())
    text += QStringLiteral(": ") + detail;
  lbStatus->setText(text);
  lbStatus->setToolTip(text);
}

void TStatusLine::ShowText(const QString& text) {
  FShownStop = -1;
  lbStatus->setText(text);
  lbStatus->setToolTip(text);
}

void TStatusLine::ShowMeasuredSpeed(double ips, double ratio) {
  const TNovaMachine& m = FController.Machine();
  if (!m.Running()) return;
  QString text = QSafeFormat(QtText("%s instructions/s"), QString::number(ips, 'f', 0));
  if (m.Speed() == speed::Nova800 && ratio >= 0)
    text += QStringLiteral(", ") + QString::number(ratio, 'f', 2) + QStringLiteral("x");
  lbSpeed->setText(text);
  lbSpeed->show();
}
