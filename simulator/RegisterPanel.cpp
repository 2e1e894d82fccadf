#include "RegisterPanel.h"
#include "ToolIcons.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>

#include "Fonts.h"
#include "Indicators.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MessageBoxes.h"
#include "Navigator.h"
#include "NovaUtils.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RangeText.h"
#include "ScreenPlacement.h"
#include "Translate.h"

TActivityIndicator::TActivityIndicator(QWidget* parent) : QWidget(parent) {
  setObjectName("aiRun");
  setFixedSize(16, 16);
  FTimer.setInterval(200);
  connect(&FTimer, &QTimer::timeout, this, [this] {
    FFrame = (FFrame + 1) % 8;
    update();
  });
}

void TActivityIndicator::SetAnimate(bool on) {
  if (on == FTimer.isActive()) return;
  if (on)
    FTimer.start();
  else
    FTimer.stop();
  update();
}

void TActivityIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRect r = rect().adjusted(1, 1, -2, -2);
  p.setPen(palette().color(QPalette::Mid));
  p.setBrush(palette().color(QPalette::Base));
  p.drawEllipse(r);
  if (!Animate()) return;
  p.setBrush(palette().color(QPalette::Highlight));
  p.drawPie(r, (90 - FFrame * 45) * 16, -45 * 16);
}

TNumberEdit* MakeRegisterEdit(QWidget* parent, const char* name, int bits) {
  auto* e = new TNumberEdit(parent);
  e->setObjectName(name);
  e->SetBits(std::uint16_t(bits));
  e->SetPrefix(false);
  e->SetNumMode(nmOctal);
  e->setReadOnly(true);
  e->setFont(PixelFont("Courier New", 13, true));
  e->SetValue(0);
  return e;
}

namespace {
QToolButton* SmallButton(QWidget* parent, const char* name, TToolIcon icon) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(ToolIcon(icon));
  b->setFixedSize(22, 22);
  return b;
}
QCheckBox* BytesBox(QWidget* parent, const char* name) {
  auto* c = new QCheckBox("B", parent);
  c->setObjectName(name);
  return c;
}
TSpotIndicator* Spot(QWidget* parent, const char* name) {
  auto* s = new TSpotIndicator(parent);
  s->setObjectName(name);
  s->setFixedSize(16, 16);
  s->SetColorOff(QColor(255, 0, 0));
  s->SetColorOn(QColor(0, 255, 0));
  return s;
}
}  // namespace

TRegisterPanel::TRegisterPanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName("gbRegister");
  setMouseTracking(true);
  edPC = MakeRegisterEdit(this, "edPC");
  btPC = SmallButton(this, "btPC", TToolIcon::GotoPC);
  edCmd = MakeRegisterEdit(this, "edCmd");
  edCommand = new QLineEdit(this);
  edCommand->setObjectName("edCommand");
  edCommand->setReadOnly(true);
  edCommand->setFont(PixelFont("Courier New", 13, true));
  edAdr = MakeRegisterEdit(this, "edAdr");
  edAdr->setFocusPolicy(Qt::ClickFocus);
  edAdr->setMouseTracking(true);
  btAddWatch = SmallButton(this, "btAddWatch", TToolIcon::AddWatch);
  siIntEn = Spot(this, "siIntEn");
  siIrq = Spot(this, "siIrq");
  siRun = Spot(this, "siRun");
  aiRun = new TActivityIndicator(this);
  edCarry = MakeRegisterEdit(this, "edCarry", 1);
  edCarry->SetDigits(1);
  aiSkip = new TArrowIndicator(this);
  aiSkip->setObjectName("aiSkip");
  aiSkip->setFixedSize(16, 16);
  aiSkip->SetDirection(adRight);
  cbPC = BytesBox(this, "cbPC");
  cbCmd = BytesBox(this, "cbCmd");
  const char* acNames[4] = {"edAC0", "edAC1", "edAC2", "edAC3"};
  const char* cbNames[4] = {"cbAC0", "cbAC1", "cbAC2", "cbAC3"};
  for (int i = 0; i < 4; ++i) {
    edAC[i] = MakeRegisterEdit(this, acNames[i]);
    cbAC[i] = BytesBox(this, cbNames[i]);
  }
  for (QLabel*& l : FLabels) l = new QLabel(this);
  for (QLabel*& l : FAcLabels) l = new QLabel(this);

  auto* g = new QGridLayout(this);
  g->setContentsMargins(6, 4, 6, 4);
  g->setVerticalSpacing(3);
  int row = 0;
  g->addWidget(FLabels[0], row, 0);
  g->addWidget(edPC, row, 1);
  g->addWidget(cbPC, row, 2);
  g->addWidget(btPC, row, 3);
  ++row;
  g->addWidget(FLabels[1], row, 0);
  g->addWidget(edCmd, row, 1);
  g->addWidget(cbCmd, row, 2);
  ++row;
  g->addWidget(edCommand, row, 1, 1, 3);
  ++row;
  g->addWidget(FLabels[2], row, 0);
  g->addWidget(edAdr, row, 1);
  g->addWidget(btAddWatch, row, 3);
  ++row;
  auto* lamps = new QHBoxLayout;
  lamps->addWidget(FLabels[3]);
  lamps->addWidget(siIntEn);
  lamps->addSpacing(6);
  lamps->addWidget(FLabels[4]);
  lamps->addWidget(siIrq);
  lamps->addSpacing(6);
  lamps->addWidget(FLabels[5]);
  lamps->addWidget(siRun);
  lamps->addWidget(aiRun);
  lamps->addStretch();
  g->addLayout(lamps, row, 0, 1, 4);
  ++row;
  auto* carry = new QHBoxLayout;
  carry->addWidget(edCarry);
  edCarry->setFixedWidth(28);
  carry->addSpacing(12);
  carry->addWidget(FLabels[7]);
  carry->addWidget(aiSkip);
  carry->addStretch();
  g->addWidget(FLabels[6], row, 0);
  g->addLayout(carry, row, 1, 1, 3);
  for (int i = 0; i < 4; ++i) {
    ++row;
    g->addWidget(FAcLabels[i], row, 0);
    g->addWidget(edAC[i], row, 1);
    g->addWidget(cbAC[i], row, 2);
  }
  g->setRowStretch(row + 1, 1);

  for (QWidget* w : {static_cast<QWidget*>(edPC), static_cast<QWidget*>(edCmd), static_cast<QWidget*>(edCommand),
                     static_cast<QWidget*>(edCarry), static_cast<QWidget*>(edAC[0]), static_cast<QWidget*>(edAC[1]),
                     static_cast<QWidget*>(edAC[2]), static_cast<QWidget*>(edAC[3]), static_cast<QWidget*>(edAdr)})
    w->installEventFilter(this);
  auto bytes = [](QCheckBox* box, TNumberEdit* edit) {
    QObject::connect(box, &QCheckBox::toggled, edit, [edit](bool on) { edit->SetBytes(on); });
  };
  bytes(cbPC, edPC);
  bytes(cbCmd, edCmd);
  for (int i = 0; i < 4; ++i) bytes(cbAC[i], edAC[i]);
  RetranslateUi();
}

void TRegisterPanel::Attach(TMachineController& controller, TNavigator& navigator) {
  FController = &controller;
  FNavigator = &navigator;
  connect(&controller, &TMachineController::OnRegistersChanged, this, [this] { ShowRegisters(); });
  connect(&controller, &TMachineController::OnWordsChanged, this, [this](int first, int count) {
    const int pc = FController->Machine().PC;
    if (pc >= first && pc < first + count) ShowRegisters();
  });
  connect(&controller, &TMachineController::OnRunStateChanged, this, [this] { ShowRunState(); });
  connect(&controller, &TMachineController::OnSymbolsChanged, this, [this] { ShowRegisters(); });
  connect(this, &TRegisterPanel::FieldClicked, this, [this](QWidget* field) { EditField(field); });
  connect(this, &TRegisterPanel::AdrHover, this, [this](bool over) { ShowAdrHint(over); });
  connect(btPC, &QToolButton::clicked, this, [this] { FNavigator->ShowAddress(FController->Machine().PC); });
  connect(btAddWatch, &QToolButton::clicked, this, [this] { AddWatchClick(); });
}

void TRegisterPanel::SetNumFormat(TNumMode mode) {
  FNumFormat = mode;
  for (TNumberEdit* e : {edPC, edCmd, edAdr, edAC[0], edAC[1], edAC[2], edAC[3]}) {
    const bool empty = e->text().isEmpty();
    e->SetNumMode(mode);
    if (empty) e->clear();
  }
}

void TRegisterPanel::ShowRegisters() {
  if (!FController) return;
  TNovaMachine& m = FController->Machine();
  siIntEn->SetIndicate(m.IntEnable);
  siIrq->SetIndicate(m.IrqFlag);
  const TWord word = m.ReadMemory(m.PC);
  edPC->SetValue(m.PC);
  edCmd->SetValue(word);
  // Operands by name while labels are shown (the field has no room for the place's label).
  edCommand->setText(ToQString(CommandToStr(m.PC & nova::AddrMask, word, FNumFormat, false, FController->ShownSymbols())));
  edCarry->SetValue(m.Carry);
  for (int i = 0; i < 4; ++i) edAC[std::size_t(i)]->SetValue(m.AC[std::size_t(i)]);
  const bool skip = m.EvaluateAtPC();
  const int adr = FController->EffAddr();
  if (adr >= 0)
    edAdr->SetValue(adr);
  else
    edAdr->clear();
  aiSkip->SetIndicate(skip);
  aiSkip->SetDirection(skip ? adDown : adRight);
  siRun->SetIndicate(m.Running());
}

void TRegisterPanel::ShowRunState() {
  if (!FController) return;
  const TNovaMachine& m = FController->Machine();
  const bool run = m.Running();
  const bool grey = run && !m.ShowEachStep;
  const QPalette::ColorRole role = grey ? QPalette::Button : QPalette::Base;
  for (QLineEdit* e : findChildren<QLineEdit*>()) {
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(role));
    e->setPalette(p);
  }
  aiRun->SetAnimate(run);
  siRun->SetIndicate(run);
}

void TRegisterPanel::EditField(QWidget* field) {
  if (!FController || field == edAdr) return;
  TNovaMachine& m = FController->Machine();
  if (field == edCmd || field == edCommand) {
    std::uint16_t v = m.ReadMemory(m.PC);
    if (FNavigator->CommandDialog().Execute(BelowLeft(edCmd), QtText("Assembler command:"), m.PC, FNumFormat, v))
      m.WriteWord(m.PC, v);
    return;
  }
  QString desc;
  TNumberEdit* edit = static_cast<TNumberEdit*>(field);
  std::uint16_t v = 0;
  int ac = -1;
  if (field == edPC) {
    desc = QtText("Program counter:");
    v = m.PC;
  } else if (field == edCarry) {
    desc = QtText("Carry:");
    v = m.Carry;
  } else {
    for (int i = 0; i < 4; ++i)
      if (field == edAC[std::size_t(i)]) ac = i;
    if (ac < 0) return;
    static const char* const texts[4] = {N_("Accumulator 0:"), N_("Accumulator 1:"), N_("Accumulator 2:"),
                                         N_("Accumulator 3:")};
    desc = QtText(texts[ac]);
    v = m.AC[std::size_t(ac)];
  }
  TValueDialog& dialog = FNavigator->ValueDialog();
  if (!dialog.Execute(BelowLeft(edit), desc, FNumFormat, v)) return;
  if (dialog.ValueEdit()->CheckError()) return;
  if (field == edPC) {
    if (v > nova::AddrMask) {
      ErrorMsg(AddressOutOfRangeText(nova::AddrMask, FNumFormat), BelowLeft(edit), QString(), window());
      return;
    }
    m.SetPC(v);
  } else if (field == edCarry) {
    m.SetCarry(v);
    edAC[0]->setFocus();
  } else {
    m.SetAC(ac, v);
    edAC[std::size_t((ac + 1) % 4)]->setFocus();
  }
}

void TRegisterPanel::RetranslateUi() {
  setTitle(QtText("Register"));
  FLabels[0]->setText(QtText("PC:"));
  FLabels[1]->setText(QtText("CMD:"));
  FLabels[2]->setText(QtText("ADR:"));
  FLabels[3]->setText(QtText("INTEN:"));
  FLabels[4]->setText(QtText("IRQ:"));
  FLabels[5]->setText(QtText("RUN:"));
  FLabels[6]->setText(QtText("CRY:"));
  FLabels[7]->setText(QtText("Skip:"));
  FAcLabels[0]->setText(QtText("AC0:"));
  FAcLabels[1]->setText(QtText("AC1:"));
  FAcLabels[2]->setText(QtText("AC2:"));
  FAcLabels[3]->setText(QtText("AC3:"));
  btPC->setToolTip(QtText("Goto PC"));
  btAddWatch->setToolTip(QtText("Watch memory location"));
}

bool TRegisterPanel::eventFilter(QObject* watched, QEvent* event) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (w == edAdr) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) emit AdrHover(true);
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    emit FieldClicked(w);
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    if (enter && (w == edCarry || w == edAC[0] || w == edAC[1] || w == edAC[2] || w == edAC[3])) {
      emit FieldClicked(w);
      return true;
    }
  }
  return false;
}

void TRegisterPanel::mouseMoveEvent(QMouseEvent* event) {
  emit AdrHover(false);
  QGroupBox::mouseMoveEvent(event);
}

void TRegisterPanel::AddWatchClick() {
  if (edAdr->text().isEmpty()) {
    WarningBeep();
    return;
  }
  FController->Machine().AddWatch(TWord(edAdr->Value() & 077777));
}

void TRegisterPanel::ShowAdrHint(bool show) {
  if (!show || edAdr->text().isEmpty()) {
    if (HintWin) HintWin->hide();
    return;
  }
  if (!HintWin) {
    HintWin = new QLabel(window(), Qt::ToolTip);
    HintWin->setObjectName("HintWin");
    HintWin->setAutoFillBackground(true);
    HintWin->setBackgroundRole(QPalette::ToolTipBase);
    HintWin->setForegroundRole(QPalette::ToolTipText);
    HintWin->setPalette(QToolTip::palette());
    HintWin->setFrameShape(QFrame::Box);
  }
  const TWord a = TWord(edAdr->Value() & 077777);
  const TWord word = FController->Machine().ReadMemory(a);
  HintWin->setFont(edAdr->font());
  HintWin->setText("=> " + ToQString(FormatWord(word, FNumFormat)) + " - " + FController->CommandText(a, word, FNumFormat));
  const QFontMetrics fm(HintWin->font());
  HintWin->resize(fm.horizontalAdvance(HintWin->text()) + 10, fm.height() + 5);
  HintWin->move(edAdr->mapToGlobal(QPoint(20, edAdr->height() + 2)));
  HintWin->show();
}

void TRegisterPanel::WindowActivation(bool active) {
  if (!active) {
    ShowAdrHint(false);
  } else if (HintWin) {
    HintWin->setFont(edAdr->font());
    HintWin->setPalette(QToolTip::palette());
  }
}
