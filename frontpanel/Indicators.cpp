#include "Indicators.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The pixel box (left, top)-(right, bottom), right and bottom excluded, as the rectangle that a
// 1-pixel outline drawn with QPainter covers exactly.
QRect OutlineBox(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left - 1, bottom - top - 1);
}

}  // namespace

// --- TCustomIndicator ---

TCustomIndicator::TCustomIndicator(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  resize(16, 16);
}

void TCustomIndicator::SetColorOn(const QColor& value) {
  FColorOn = value;
  update();
}

void TCustomIndicator::SetColorOff(const QColor& value) {
  FColorOff = value;
  update();
}

void TCustomIndicator::SetIndicate(bool value) {
  FIndicate = value;
  update();
}

QColor TCustomIndicator::FillColor() const {
  if (!isEnabled()) return palette().color(QPalette::Button);
  return FIndicate ? FColorOn : FColorOff;
}

void TCustomIndicator::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

void TCustomIndicator::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FPressed = true;
  QWidget::mousePressEvent(event);
}

void TCustomIndicator::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) FPressed = false;
  if (click && OnClick) OnClick(this);
  QWidget::mouseReleaseEvent(event);
}

void TCustomIndicator::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
  else QWidget::mouseDoubleClickEvent(event);
}

// --- TSpotIndicator ---

TSpotIndicator::TSpotIndicator(QWidget* parent) : TCustomIndicator(parent) {
  FColorOff = Qt::white;
  FColorOn = Qt::red;
}

void TSpotIndicator::SetBorder(int value) {
  FBorder = value;
  update();
}

void TSpotIndicator::paintEvent(QPaintEvent*) {
  const int h = height();
  const QColor silver(0xC0, 0xC0, 0xC0);
  QPainter p(this);
  // The sunken ring: grey outline, its lower right half redrawn in silver, a silver inner ring.
  p.setBrush(Qt::white);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawEllipse(OutlineBox(0, 0, h, h));
  // The pie from (0, h) counter-clockwise to (h, 0): the same outline, below the diagonal.
  p.setPen(silver);
  p.save();
  p.setClipRegion(QRegion(QPolygon({QPoint(h + 1, -1), QPoint(h + 1, h + 1), QPoint(-1, h + 1)})));
  p.drawEllipse(OutlineBox(0, 0, h, h));
  p.restore();
  p.drawEllipse(OutlineBox(1, 1, h - 1, h - 1));
  // The coloured centre.
  const int b = FBorder;
  if (h - 2 * b - 2 >= 2) {
    p.setBrush(FillColor());
    p.drawEllipse(OutlineBox(b + 1, b + 1, h - b - 1, h - b - 1));
  }
}

// --- TLamp3D ---

TLamp3D::TLamp3D(QWidget* parent) : TCustomIndicator(parent) {
  FIndicate = true;
  SetGlyphSize(gs24);
}

void TLamp3D::LoadPicture() {
  FBitMap = LoadGlyph(LampGlyphName(FIndicate, FGlyphSize));
  const int side = LampGlyphPixels(FGlyphSize);
  setMinimumSize(side, side);
}

void TLamp3D::SetLightOn(bool value) {
  FIndicate = value;
  FBrightness = -1;
  LoadPicture();
  update();
}

void TLamp3D::SetBrightness(float value) {
  value = value < 0 ? 0 : value > 1 ? 1 : value;
  if (value == FBrightness) return;
  if (FDarkMap.isNull()) {
    FDarkMap = LoadGlyph(LampGlyphName(false, FGlyphSize));
    FLitMap = LoadGlyph(LampGlyphName(true, FGlyphSize));
  }
  FBrightness = value;
  FIndicate = value >= 0.5f;
  update();
}

void TLamp3D::SetGlyphSize(TGlyphSize value) {
  FGlyphSize = value;
  FDarkMap = FLitMap = QPixmap();
  LoadPicture();
  const int side = LampGlyphPixels(FGlyphSize);
  setMinimumSize(side, side);
  resize(side, side);
  updateGeometry();
  update();
}

QSize TLamp3D::sizeHint() const {
  const int side = LampGlyphPixels(FGlyphSize);
  return QSize(side, side);
}

void TLamp3D::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (FBrightness < 0) {
    p.drawPixmap(0, 0, FBitMap);
    return;
  }
  p.drawPixmap(0, 0, FDarkMap);
  p.setOpacity(FBrightness);
  p.drawPixmap(0, 0, FLitMap);
}

// --- TArrowIndicator ---

TArrowIndicator::TArrowIndicator(QWidget* parent) : TCustomIndicator(parent) {
  FColorOff = QColor(0x00, 0x80, 0x00);
  FColorOn = Qt::red;
}

void TArrowIndicator::ComputeArrow() {
  FArrowWidth = width();
  FArrowHeight = height();
  FArrow = ArrowPolygon(FDir, FArrowWidth, FArrowHeight);
}

void TArrowIndicator::SetDirection(TArrowDirection value) {
  if (value == FDir) return;
  FDir = value;
  ComputeArrow();
  update();
}

void TArrowIndicator::paintEvent(QPaintEvent*) {
  if (width() != FArrowWidth || height() != FArrowHeight) ComputeArrow();
  QPainter p(this);
  p.setBrush(FillColor());
  p.setPen(isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Disabled, QPalette::Mid));
  p.drawPolygon(FArrow.data(), int(FArrow.size()));
}
