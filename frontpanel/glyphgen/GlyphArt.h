// Drawing of the lamp and switch pictures. Used by the build-time generator (GlyphGen).
#pragma once
#include <QImage>

// A lamp of side x side pixels: a shaded sphere, lit (yellow, brightest in the centre) or dark
// (olive grey). Transparent outside the sphere.
QImage DrawLampGlyph(int side, bool lit);

enum TLeverPose { lpDown, lpMiddle, lpUp };
// A toggle switch of width x height pixels seen from the front: a round grey bezel in the
// middle and a metal lever pointing down, seen end-on, or pointing up. Transparent outside.
QImage DrawSwitchGlyph(int width, int height, TLeverPose pose);
