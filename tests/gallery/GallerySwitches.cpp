// Two-position switches up and down, momentary switches in all three positions, at every height,
// on the colours of the front panel's two parts.
#include <QGridLayout>
#include <QMouseEvent>
#include <QApplication>
#include <memory>

#include "Gallery.h"
#include "GallerySections.h"
#include "Switches.h"

namespace {

// Holds a momentary switch pressed in its upper or lower half.
void Press(TBiMomSwitch3D& sw, bool up) {
  const QPointF at(sw.width() / 2.0, up ? 1.0 : sw.height() - 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, sw.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&sw, &press);
}

int Height(TGlyphHeight h) { return SwitchGlyphSize(h).height(); }

}  // namespace

void GallerySwitches(TGallery& gallery) {
  for (QColor colour : {QColor(0x61, 0x61, 0x61), QColor(0xD6, 0xDB, 0xDC)}) {
    const bool upper = colour.red() < 0x80;
    const QColor text = upper ? Qt::white : Qt::black;
    QGridLayout* grid;
    std::unique_ptr<QWidget> board(TGallery::NewBoard(colour, grid));
    const char* positions[] = {"toggle down", "toggle up", "momentary", "pushed up", "pushed down"};
    for (int p = 0; p < 5; ++p) TGallery::AddCaption(grid, 0, p, positions[p], text);
    for (int h = gh32; h <= gh96; ++h) {
      for (int p = 0; p < 5; ++p) {
        QWidget* w;
        if (p < 2) {
          auto* sw = new TSwitch3D;
          sw->SetGlyphHeight(TGlyphHeight(h));
          sw->SetState(p == 1 ? ssOn : ssOff);
          w = sw;
        } else {
          auto* sw = new TBiMomSwitch3D;
          sw->SetGlyphHeight(TGlyphHeight(h));
          if (p > 2) Press(*sw, p == 3);
          w = sw;
        }
        grid->addWidget(w, h + 1, p, Qt::AlignCenter);
      }
    }
    gallery.SaveZoomed(*board, upper ? "switches-dark" : "switches-light", 2);
  }

  // Single switches, every picture.
  for (int h = gh32; h <= gh96; ++h) {
    const auto height = TGlyphHeight(h);
    TSwitch3D toggle;
    toggle.SetGlyphHeight(height);
    gallery.Save(toggle, QString("switch-down-%1").arg(Height(height)));
    toggle.SetState(ssOn);
    gallery.Save(toggle, QString("switch-up-%1").arg(Height(height)));
    TBiMomSwitch3D momentary;
    momentary.SetGlyphHeight(height);
    gallery.Save(momentary, QString("momentary-middle-%1").arg(Height(height)));
  }
}
