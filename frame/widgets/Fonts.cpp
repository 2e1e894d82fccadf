#include "Fonts.h"

#include <QStringList>

void InstallFontSubstitutes() {
  // Liberation Mono has the metrics of "Courier New"; Liberation Sans those of the usual
  // proportional UI fonts, the closest free match for "Tahoma".
  QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
  QFont::insertSubstitutions(QStringLiteral("Courier"), {QStringLiteral("Liberation Mono")});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")});
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
  InstallFontSubstitutes();
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  if (family.contains(QStringLiteral("Courier"), Qt::CaseInsensitive)) font.setStyleHint(QFont::TypeWriter);
  return font;
}
