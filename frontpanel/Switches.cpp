#include "Switches.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "WidgetGeometry.h"

// --- TCustomSwitch3D ---

TCustomSwitch3D::TCustomSwitch3D(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  SetGlyphHeight(gh32);
}

void TCustomSwitch3D::LoadPicture() { FBitMap = LoadGlyph(SwitchGlyphName(FPosition, FGlyphHeight)); }

void TCustomSwitch3D::SetGlyphHeight(TGlyphHeight value) {
  FGlyphHeight = value;
  LoadPicture();
  const QSize size = SwitchGlyphSize(FGlyphHeight);
  setMinimumSize(size);
  resize(size);
  updateGeometry();
  update();
}

void TCustomSwitch3D::SetPosition(TSwitchPosition value) {
  FPosition = value;
  LoadPicture();
  update();
}

QSize TCustomSwitch3D::sizeHint() const { return SwitchGlyphSize(FGlyphHeight); }

void TCustomSwitch3D::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, FBitMap);
}

// --- TSwitch3D ---

TSwitch3D::TSwitch3D(QWidget* parent) : TCustomSwitch3D(parent) { SetPosition(spOff); }

void TSwitch3D::SetState(TSwitchState value) {
  FState = value;
  SetPosition(value == ssOn ? spOn : spOff);
}

void TSwitch3D::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (FState == ssOff) {
    SetState(ssOn);
    if (OnUpClick) OnUpClick(this);
  } else {
    SetState(ssOff);
    if (OnDownClick) OnDownClick(this);
  }
}

void TSwitch3D::keyPressEvent(QKeyEvent* event) {
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_D: SetState(ssOff); return;
    case Qt::Key_U: SetState(ssOn); return;
    case Qt::Key_Minus:
      if (keypad) {
        SetState(ssOff);
        return;
      }
      break;
    case Qt::Key_Plus:
      if (keypad) {
        SetState(ssOn);
        return;
      }
      break;
    default: break;
  }
  TCustomSwitch3D::keyPressEvent(event);
}

// --- TBiMomSwitch3D ---

TBiMomSwitch3D::TBiMomSwitch3D(QWidget* parent) : TCustomSwitch3D(parent) { SetPosition(spNeutral); }

void TBiMomSwitch3D::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (IsLowerHalf(int(event->position().y()), height())) {
    SetPosition(spOff);
    if (OnDownClick) OnDownClick(this);
  } else {
    SetPosition(spOn);
    if (OnUpClick) OnUpClick(this);
  }
}

void TBiMomSwitch3D::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  SetPosition(spNeutral);
}
