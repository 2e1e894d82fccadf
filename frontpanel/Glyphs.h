// Lamp and switch pictures: their names, sizes and the cached pictures themselves.
// The pictures are drawn by the generator in glyphgen/ at build time and linked in as the
// resource folder ":/glyphs".
#pragma once
#include <QPixmap>
#include <QSize>
#include <QString>

class QImage;

enum TGlyphSize : int { gs16, gs24, gs32, gs48, gs64, gs96 };
enum TGlyphHeight : int { gh32, gh48, gh64, gh96 };
enum TSwitchPosition : int { spOff, spNeutral, spOn };  // lever down, middle, up

// Side of a lamp picture in pixels; any value outside the enumeration counts as gs24.
int LampGlyphPixels(TGlyphSize size);
// "Lamp24" when lit, "Dark24" when dark.
QString LampGlyphName(bool lightOn, TGlyphSize size);

// Width and height of a switch picture (21 x 32 ... 64 x 96); other values count as gh32.
QSize SwitchGlyphSize(TGlyphHeight height);
// "SwitchU32" (spOff), "SwitchM32" (spNeutral), "SwitchO32" (spOn) ...
QString SwitchGlyphName(TSwitchPosition position, TGlyphHeight height);

// The picture of that name from the resources, with its transparent colour applied (see
// ApplyTransparentColor); loaded once and shared. A null pixmap for an unknown name.
QPixmap LoadGlyph(const QString& name);

// Pictures are drawn transparently: every pixel of the colour of the bottom-left pixel is made
// fully transparent. A picture whose bottom-left pixel is already transparent is left unchanged.
void ApplyTransparentColor(QImage& image);
