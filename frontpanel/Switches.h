// Toggle switches drawn from their pictures: a two-position switch that flips on every click and
// a three-position momentary switch that springs back to the middle.
#pragma once
#include <QPixmap>
#include <QWidget>

#include "Glyphs.h"
#include "NotifyEvent.h"

class TCustomSwitch3D : public QWidget {
  Q_OBJECT
public:
  explicit TCustomSwitch3D(QWidget* parent = nullptr);

  TGlyphHeight GlyphHeight() const { return FGlyphHeight; }
  void SetGlyphHeight(TGlyphHeight value);
  TSwitchPosition Position() const { return FPosition; }
  // The picture shown now.
  const QPixmap& Picture() const { return FBitMap; }

  QSize sizeHint() const override;

protected:
  void SetPosition(TSwitchPosition value);
  void paintEvent(QPaintEvent* event) override;

private:
  void LoadPicture();

  TGlyphHeight FGlyphHeight = gh32;
  TSwitchPosition FPosition = spOff;
  QPixmap FBitMap;
};

enum TSwitchState : int { ssOn, ssOff };

// Two positions: lever up (ssOn) or down (ssOff). Any mouse button flips it; with the focus,
// U or keypad + sets it on and D or keypad - sets it off.
class TSwitch3D : public TCustomSwitch3D {
  Q_OBJECT
public:
  explicit TSwitch3D(QWidget* parent = nullptr);

  TSwitchState State() const { return FState; }
  // Shows the state; raises no event.
  void SetState(TSwitchState value);

  TNotifyEvent OnUpClick;    // after a click has put the lever up
  TNotifyEvent OnDownClick;  // after a click has put the lever down

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  TSwitchState FState = ssOff;
};

// Three positions, resting in the middle. A press in the upper half pushes the lever up and
// raises OnUpClick, one in the lower half pushes it down and raises OnDownClick; releasing the
// button lets it spring back.
class TBiMomSwitch3D : public TCustomSwitch3D {
  Q_OBJECT
public:
  explicit TBiMomSwitch3D(QWidget* parent = nullptr);

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};
