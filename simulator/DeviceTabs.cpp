#include "DeviceTabs.h"
#include "ToolIcons.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPainter>
#include <QScrollBar>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>
#include <QUrl>
#include <QMenu>
#include <QContextMenuEvent>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "Fonts.h"
#include "HistoryCombo.h"
#include "MachineController.h"
#include "NumberEd.h"
#include "Peripherals.h"
#include "QtText.h"
#include "ReaderCombo.h"

// ---- pages

namespace {
QToolButton* Button(QWidget* parent, const QString& name, TToolIcon icon) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(ToolIcon(icon));
  return b;
}
QLineEdit* Field(QWidget* parent, const QString& name, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  e->setFixedWidth(width);
  e->setText("0");
  return e;
}
TNumberEdit* ByteField(QWidget* parent, const QString& name) {
  auto* e = new TNumberEdit(parent);
  e->setObjectName(name);
  e->SetBits(8);
  e->SetPrefix(false);
  e->SetNumMode(nmOctal);
  e->setReadOnly(true);
  e->setFixedWidth(90);
  e->SetValue(0);
  return e;
}
}  // namespace

TDeviceTabs::TDeviceTabs(QWidget* parent) : QTabWidget(parent) {
  setObjectName("pcDevices");
  BuildReader(Ttr, pdTtr, "Ttr");
  BuildOutput(Ttp, pdTtp, "Ttp");
  BuildReader(Ptr, pdPtr, "Ptr");
  BuildOutput(Ptp, pdPtp, "Ptp");
  LptPage = new QWidget(this);
  auto* g = new QGridLayout(LptPage);
  edLpt = new QLineEdit(LptPage);
  edLpt->setObjectName("edLpt");
  edLpt->setReadOnly(true);
  btLptOpen = Button(LptPage, "btLptOpen", TToolIcon::OpenFile);
  btLptClose = Button(LptPage, "btLptClose", TToolIcon::CloseFile);
  mmLpt = new QPlainTextEdit(LptPage);
  mmLpt->setObjectName("mmLpt");
  mmLpt->setReadOnly(true);
  mmLpt->setMaximumBlockCount(TConsole::MaxLines);
  mmLpt->setFont(PixelFont("Courier New", 13));
  g->addWidget(edLpt, 0, 0);
  g->addWidget(btLptOpen, 0, 1);
  g->addWidget(btLptClose, 0, 2);
  g->addWidget(mmLpt, 1, 0, 1, 3);
  connect(btLptOpen, &QToolButton::clicked, this, [this] { OutputOpenClick(pdLpt); });
  connect(btLptClose, &QToolButton::clicked, this, [this] { OutputCloseClick(pdLpt); });
  addTab(Ttr.Page, QString());
  addTab(Ttp.Page, QString());
  addTab(Ptr.Page, QString());
  addTab(Ptp.Page, QString());
  addTab(LptPage, QString());
  setCurrentWidget(Ptr.Page);
  setAcceptDrops(true);
  RetranslateUi();
}

int TDeviceTabs::ReaderAt(QPoint pos) const {
  const QPoint onBar = tabBar()->mapFrom(this, pos);
  const int tab = tabBar()->rect().contains(onBar) ? tabBar()->tabAt(onBar) : currentIndex();
  if (tab < 0) return -1;
  if (widget(tab) == Ttr.Page) return pdTtr;
  if (widget(tab) == Ptr.Page) return pdPtr;
  return -1;
}

QString TDeviceTabs::DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return QString();
  return data->urls().front().toLocalFile();
}

void TDeviceTabs::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDeviceTabs::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty() && ReaderAt(event->position().toPoint()) >= 0)
    event->acceptProposedAction();
  else
    event->ignore();
}

void TDeviceTabs::dropEvent(QDropEvent* event) {
  const QString file = DroppedFile(event->mimeData());
  const int dev = ReaderAt(event->position().toPoint());
  if (file.isEmpty() || dev < 0) return;
  event->acceptProposedAction();
  ReaderFileDropped(TPeriphDevice(dev), file);
}

void TDeviceTabs::BuildReader(TReaderPage& p, TPeriphDevice dev, const char* prefix) {
  const QString px = QString::fromLatin1(prefix);
  p.Page = new QWidget(this);
  p.Page->setObjectName("ts" + px);
  p.edFile = new TReaderCombo(p.Page);
  p.edFile->setObjectName("ed" + px);
  p.edFile->setEditable(false);
  p.edFile->setMinimumWidth(200);
  p.edFile->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // The reader's file history keeps 50 tapes, shown 15 rows at a time.
  p.edFile->setMaxVisibleItems(15);
  SetHistoryMax(p.edFile, ReaderHistoryMax);
  p.btOpen = Button(p.Page, "bt" + px + "Open", TToolIcon::OpenFile);
  // The TTY reader's close and reset buttons keep their historical names.
  const QString closeName = dev == pdTtr ? "edTtrClose" : "bt" + px + "Close";
  const QString resetName = dev == pdTtr ? "edTtrReset" : "bt" + px + "Reset";
  p.btClose = Button(p.Page, closeName, TToolIcon::CloseFile);
  p.btReset = Button(p.Page, resetName, TToolIcon::Rewind);
  p.edTotal = Field(p.Page, "ed" + px + "Total", 80);
  p.edPos = Field(p.Page, "ed" + px + "Pos", 80);
  p.edByte = ByteField(p.Page, "ed" + px + "Byte");
  p.rbBinFile = new QRadioButton(p.Page);
  p.rbBinFile->setObjectName("rb" + px + "BinFile");
  p.rbTextFile = new QRadioButton(p.Page);
  p.rbTextFile->setObjectName("rb" + px + "TextFile");
  p.rbBinFile->setChecked(true);
  auto* g = new QGridLayout(p.Page);
  g->addWidget(p.edFile, 0, 0, 1, 4);
  g->addWidget(p.btOpen, 0, 4);
  g->addWidget(p.btClose, 0, 5);
  g->addWidget(p.btReset, 0, 6);
  auto* lTotal = new QLabel(p.Page);
  lTotal->setObjectName("lbTotal");
  auto* lPos = new QLabel(p.Page);
  lPos->setObjectName("lbPos");
  auto* lByte = new QLabel(p.Page);
  lByte->setObjectName("lbByte");
  g->addWidget(lTotal, 1, 0);
  g->addWidget(p.edTotal, 1, 1);
  g->addWidget(p.rbBinFile, 1, 2, 1, 2);
  g->addWidget(lPos, 2, 0);
  g->addWidget(p.edPos, 2, 1);
  g->addWidget(p.rbTextFile, 2, 2, 1, 2);
  g->addWidget(lByte, 3, 0);
  g->addWidget(p.edByte, 3, 1);
  p.lbLabel = new QLabel(p.Page);
  p.lbLabel->setObjectName("lb" + px + "Label");
  p.lbLabel->setTextFormat(Qt::PlainText);
  g->addWidget(p.lbLabel, 4, 0, 1, 7);
  g->setRowStretch(5, 1);
  g->setColumnStretch(3, 1);
  connect(p.btOpen, &QToolButton::clicked, this, [this, dev] { ReaderOpenClick(dev); });
  connect(p.btClose, &QToolButton::clicked, this, [this, dev] { ReaderCloseClick(dev); });
  connect(p.btReset, &QToolButton::clicked, this, [this, dev] { ReaderResetClick(dev); });
  TReaderPage* page = &p;
  connect(p.edFile, &QComboBox::activated, this, [this, dev, page](int index) {
    ReaderHistoryChosen(dev, page->edFile->itemText(index));
  });
  // The text choice of a reader is the peripherals' option; the radios follow it.
  connect(p.rbTextFile, &QRadioButton::toggled, this, [this, dev](bool on) {
    if (FController) Peripherals().SetTextChoice(dev, on);
  });
}

void TDeviceTabs::BuildOutput(TOutputPage& p, TPeriphDevice dev, const char* prefix) {
  const QString px = QString::fromLatin1(prefix);
  p.Page = new QWidget(this);
  p.Page->setObjectName("ts" + px);
  p.edFile = new QLineEdit(p.Page);
  p.edFile->setObjectName("ed" + px);
  p.edFile->setReadOnly(true);
  p.btOpen = Button(p.Page, "bt" + px + "Open", TToolIcon::OpenFile);
  p.btClose = Button(p.Page, dev == pdTtp ? "edTtpClose" : "bt" + px + "Close", TToolIcon::CloseFile);
  p.edPos = Field(p.Page, "ed" + px + "Pos", 80);
  p.edByte = ByteField(p.Page, "ed" + px + "Byte");
  auto* g = new QGridLayout(p.Page);
  g->addWidget(p.edFile, 0, 0, 1, 3);
  g->addWidget(p.btOpen, 0, 3);
  g->addWidget(p.btClose, 0, 4);
  auto* lPos = new QLabel(p.Page);
  lPos->setObjectName("lbPos");
  auto* lByte = new QLabel(p.Page);
  lByte->setObjectName("lbByte");
  g->addWidget(lPos, 1, 0);
  g->addWidget(p.edPos, 1, 1);
  g->addWidget(lByte, 2, 0);
  g->addWidget(p.edByte, 2, 1);
  g->setRowStretch(3, 1);
  g->setColumnStretch(2, 1);
  connect(p.btOpen, &QToolButton::clicked, this, [this, dev] { OutputOpenClick(dev); });
  connect(p.btClose, &QToolButton::clicked, this, [this, dev] { OutputCloseClick(dev); });
}

void TDeviceTabs::RetranslateUi() {
  setTabText(0, QtText("TTY Reader"));
  setTabText(1, QtText("TTY Punch"));
  setTabText(2, QtText("PTR"));
  setTabText(3, QtText("PTP"));
  setTabText(4, QtText("LPT"));
  for (QWidget* page : {Ttr.Page, Ttp.Page, Ptr.Page, Ptp.Page}) {
    if (auto* l = page->findChild<QLabel*>("lbTotal")) l->setText(QtText("Total:"));
    if (auto* l = page->findChild<QLabel*>("lbPos")) l->setText(QtText("Position:"));
    if (auto* l = page->findChild<QLabel*>("lbByte")) l->setText(QtText("Byte:"));
  }
  for (TReaderPage* p : {&Ttr, &Ptr}) {
    p->rbBinFile->setText(QtText("Binary file"));
    p->rbTextFile->setText(QtText("Text file"));
    if (!p->Label.isEmpty()) p->lbLabel->setText(QSafeFormat(QtText("Label: %s"), p->Label));
  }
  Ttr.btOpen->setToolTip(QtText("Select input file for TTY reader"));
  Ptr.btOpen->setToolTip(QtText("Select input file for PTR"));
  Ttr.btClose->setToolTip(QtText("Close input file for TTY reader"));
  Ptr.btClose->setToolTip(QtText("Close input file for PTR"));
  Ttr.btReset->setToolTip(QtText("Reset input file for TTY reader"));
  Ptr.btReset->setToolTip(QtText("Reset input file for PTR"));
  Ttp.btOpen->setToolTip(QtText("Select output file for TTY punch"));
  Ptp.btOpen->setToolTip(QtText("Select output file for PTP"));
  btLptOpen->setToolTip(QtText("Select output file for LPT"));
  Ttp.btClose->setToolTip(QtText("Close output file for TTY punch"));
  Ptp.btClose->setToolTip(QtText("Close output file for PTP"));
  btLptClose->setToolTip(QtText("Close output file for LPT"));
}

TReaderPage& TDeviceTabs::Reader(int dev) { return dev == pdTtr ? Ttr : Ptr; }

TOutputPage* TDeviceTabs::Output(int dev) {
  if (dev == pdTtp) return &Ttp;
  if (dev == pdPtp) return &Ptp;
  return nullptr;
}

void TDeviceTabs::Attach(TMachineController& controller, const std::string& workPath) {
  FController = &controller;
  FWorkPath = &workPath;
  TPeripherals& p = controller.Peripherals();
  for (TPeriphDevice dev : {pdTtr, pdPtr}) Reader(dev).edFile->Attached = [&p, dev] { return p.InputFile(dev) != nullptr; };
  connect(&controller, &TMachineController::OnPrinterLines, this,
          [this](const QStringList& lines, bool cleared) { AddPrinterLines(lines, cleared); });
  connect(&controller, &TMachineController::OnDevicePositionChanged, this,
          [this](int dev, qint64 pos, int byte) { ShowPosition(dev, pos, byte); });
  connect(&controller, &TMachineController::OnDeviceAttachmentChanged, this, [this](int dev) { ShowAttachment(dev); });
  connect(&controller, &TMachineController::OnPeripheralOptionsChanged, this, [this, &p] {
    for (TPeriphDevice dev : {pdTtr, pdPtr}) {
      TReaderPage& page = Reader(dev);
      ((dev == pdTtr ? p.TtrText : p.PtrText) ? page.rbTextFile : page.rbBinFile)->setChecked(true);
    }
  });
}

TPeripherals& TDeviceTabs::Peripherals() const { return FController->Peripherals(); }

void TDeviceTabs::SetNumFormat(TNumMode mode) {
  for (TNumberEdit* e : {Ptr.edByte, Ptp.edByte}) {
    const bool empty = e->text().isEmpty();
    e->SetNumMode(mode);
    if (empty) e->clear();
  }
}

void TDeviceTabs::ShowAttachment(int dev) {
  if (!FController || (dev != pdTtr && dev != pdPtr)) return;
  TPeripherals& p = FController->Peripherals();
  TReaderPage& page = Reader(dev);
  TInputStream* f = p.InputFile(TPeriphDevice(dev));
  page.edFile->update();
  page.edTotal->setText(QString::number(f ? f->Size() : 0));
  const bool text = f && (dev == pdTtr ? p.TtrText : p.PtrText);
  (text ? page.rbTextFile : page.rbBinFile)->setChecked(true);
  QStringList dots;
  if (f && f->Start() > 0)
    for (const std::string& line : tape::LabelDots(f->Label.Frames)) dots << ToQString(line);
  ShowLabel(dev, f && f->Start() > 0 ? ToQString(f->Label.Text) : QString(), dots);
}

void TDeviceTabs::ShowPosition(int dev, qint64 pos, int byte) {
  QLineEdit* edPos = nullptr;
  TNumberEdit* edByte = nullptr;
  if (dev == pdTtr || dev == pdPtr) {
    edPos = Reader(dev).edPos;
    edByte = Reader(dev).edByte;
  } else if (TOutputPage* p = Output(dev)) {
    edPos = p->edPos;
    edByte = p->edByte;
  }
  if (!edPos) return;
  edPos->setText(QString::number(pos));
  if (byte >= 0) edByte->SetValue(byte);
}

void TDeviceTabs::ShowLabel(int dev, const QString& text, const QStringList& dots) {
  TReaderPage& p = Reader(dev);
  p.Label = text;
  QLabel* l = p.lbLabel;
  l->setText(text.isEmpty() ? QString() : QSafeFormat(QtText("Label: %s"), text));
  l->setToolTip(dots.isEmpty() ? QString() : "<pre>" + dots.join('\n').toHtmlEscaped() + "</pre>");
}

void TDeviceTabs::ClearPrinter() {
  mmLpt->clear();
  FLptEmpty = true;
}

void TDeviceTabs::AddPrinterLines(const QStringList& lines, bool cleared) {
  if (cleared) ClearPrinter();
  if (lines.isEmpty()) return;
  QTextCursor c(mmLpt->document());
  c.movePosition(QTextCursor::End);
  c.beginEditBlock();
  for (const QString& line : lines) {
    if (!FLptEmpty) c.insertBlock();
    c.insertText(line);
    FLptEmpty = false;
  }
  c.endEditBlock();
  mmLpt->setTextCursor(c);
  mmLpt->ensureCursorVisible();
}
