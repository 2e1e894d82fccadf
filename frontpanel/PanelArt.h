// The front panel's fixed geometry and its painted decoration: the three panels' surfaces
// (frames, dividers, captions, the power knob, the maker's badge), drawn once into pictures.
//
// Positions of lamps, switches and captions are panel coordinates; each panel's drawing surface
// is inset by SurfaceInset, so surface coordinate = panel coordinate - SurfaceInset.
#pragma once
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QSize>

namespace fpArt {
constexpr int Width = 972;
constexpr int UpperHeight = 175;
constexpr int LowerHeight = 81;
constexpr int BaseHeight = 44;
constexpr int Height = UpperHeight + LowerHeight + BaseHeight;  // 300
constexpr int SurfaceInset = 4;

constexpr int AddressLampTop = 27;
constexpr int DataLampTop = 67;
constexpr int DataSwitchTop = 117;
constexpr int BitLabelTop = 108;
inline int AddressLampLeft(int i) { return 265 + 30 * i + 20 * (i / 3); }
inline int DataLampLeft(int i) { return 215 + 30 * i + 20 * ((i + 2) / 3); }
constexpr QPoint CarryLampAt{185, 67};
// RUN, IOW, FETCH, DEFER, EXECUTE.
constexpr QPoint StatusLampAt[5] = {{825, 27}, {870, 27}, {825, 67}, {870, 67}, {915, 67}};

// AC0 .. AC3, RESET/STOP, START/CONTINUE, DEPOSIT/DEP NEXT, EXAMINE/EXA NEXT, MEM STEP/INST
// STEP, PROG LOAD.
constexpr int CommandSwitchTop = 25;
constexpr int CommandSwitchLeft[10] = {135, 205, 275, 345, 415, 475, 545, 615, 685, 755};

// The power knob on the upper surface; a press closer than KnobRadius to its centre quits.
constexpr QPoint KnobCentre{60, 90};
constexpr int KnobRadius = 20;
bool OnPowerKnob(QPoint surfacePoint);

constexpr QSize UpperSurface{Width - 2 * SurfaceInset, UpperHeight - 2 * SurfaceInset};
constexpr QSize LowerSurface{Width - 2 * SurfaceInset, LowerHeight - 2 * SurfaceInset};
constexpr QSize BaseSurface{Width - 2 * SurfaceInset, BaseHeight - 2 * SurfaceInset};

// The panels' colours.
extern const QColor UpperColor;  // #616161
extern const QColor LowerColor;  // #D6DBDC
extern const QColor BaseColor;   // #B09050

// The panel's lettering: the window font (a free stand-in for "Tahoma") at a pixel size, and
// the badge font (a geometric sans standing in for "Futura Md BT").
QFont LetterFont(int pixelSize, bool bold);
QFont BadgeFont(int pixelSize);
// Point sizes of the panel's lettering as pixels (96 dots per inch).
constexpr int Pt6 = 8, Pt7 = 9, Pt8 = 11, Pt14 = 19;

QPixmap PaintUpperSurface();
QPixmap PaintLowerSurface();
QPixmap PaintBaseSurface();
}  // namespace fpArt
