// Fonts named by the windows ("Courier New", "Tahoma") map to metric-compatible free fonts
// (Liberation) so that the windows' geometry holds.
#pragma once
#include <QFont>
#include <QString>

// Registers the substitutes with QFont; harmless to call more than once.
void InstallFontSubstitutes();
// A font of the named family (substitute applied) and pixel size; bold on request.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false);
