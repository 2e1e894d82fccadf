// Display-only indicators: a painted round spot, a lamp drawn from its lit or dark picture and a
// painted arrow. None of them takes the input focus.
#pragma once
#include <QColor>
#include <QPixmap>
#include <QWidget>

#include "Glyphs.h"
#include "NotifyEvent.h"
#include "WidgetGeometry.h"

class TCustomIndicator : public QWidget {
  Q_OBJECT
public:
  explicit TCustomIndicator(QWidget* parent = nullptr);

  QColor ColorOn() const { return FColorOn; }
  void SetColorOn(const QColor& value);
  QColor ColorOff() const { return FColorOff; }
  void SetColorOff(const QColor& value);
  bool Indicate() const { return FIndicate; }
  virtual void SetIndicate(bool value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;

  QSize sizeHint() const override { return QSize(16, 16); }

protected:
  // Button face when disabled, else ColorOn while indicating, else ColorOff.
  QColor FillColor() const;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

  QColor FColorOn{Qt::white};
  QColor FColorOff{Qt::black};
  bool FIndicate = false;

private:
  bool FPressed = false;
};

// A round spot of diameter = height: a grey and silver sunken ring around a coloured centre.
class TSpotIndicator : public TCustomIndicator {
  Q_OBJECT
public:
  explicit TSpotIndicator(QWidget* parent = nullptr);
  int Border() const { return FBorder; }
  void SetBorder(int value);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int FBorder = 2;
};

// A lamp that shows the lit picture ("Lamp24") or the dark one ("Dark24"). The widget is never
// smaller than its picture.
class TLamp3D : public TCustomIndicator {
  Q_OBJECT
public:
  explicit TLamp3D(QWidget* parent = nullptr);
  bool LightOn() const { return FIndicate; }
  void SetLightOn(bool value);
  void SetIndicate(bool value) override { SetLightOn(value); }
  // A glowing lamp: the lit picture over the dark one with this opacity (0 to 1); it counts as
  // on from one half. SetLightOn returns to plain on or off.
  void SetBrightness(float value);
  float Brightness() const { return FBrightness; }  // -1: plain on or off
  TGlyphSize GlyphSize() const { return FGlyphSize; }
  void SetGlyphSize(TGlyphSize value);
  // The picture shown now.
  const QPixmap& Picture() const { return FBitMap; }

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void LoadPicture();

  TGlyphSize FGlyphSize = gs24;
  QPixmap FBitMap;
  float FBrightness = -1;
  QPixmap FDarkMap, FLitMap;  // for a glowing lamp
};

// An arrow pointing up, right, down or left, filled with the indicator colour.
class TArrowIndicator : public TCustomIndicator {
  Q_OBJECT
public:
  explicit TArrowIndicator(QWidget* parent = nullptr);
  TArrowDirection Direction() const { return FDir; }
  void SetDirection(TArrowDirection value);
  // The outline as last computed, and the size it was computed for (0 x 0 before the first).
  const TArrowPolygon& Arrow() const { return FArrow; }
  QSize ArrowSize() const { return QSize(FArrowWidth, FArrowHeight); }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void ComputeArrow();

  TArrowDirection FDir = adUp;
  TArrowPolygon FArrow{};
  int FArrowWidth = 0;
  int FArrowHeight = 0;
};
