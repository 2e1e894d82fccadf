// Lamps lit and dark at every size; spot and arrow indicators off, on and disabled.
#include <QGridLayout>
#include <memory>

#include "Gallery.h"
#include "GallerySections.h"
#include "Indicators.h"

namespace {

const QColor PanelColour(0x61, 0x61, 0x61);  // the front panel's upper part
const QColor FaceColour(0xF0, 0xF0, 0xF0);   // a window face

}  // namespace

void GalleryLamps(TGallery& gallery) {
  QGridLayout* grid;
  std::unique_ptr<QWidget> board(TGallery::NewBoard(PanelColour, grid));
  for (int i = gs16; i <= gs96; ++i) {
    const auto size = TGlyphSize(i);
    const int side = LampGlyphPixels(size);
    TGallery::AddCaption(grid, 0, i, QString::number(side), Qt::white);
    for (bool lit : {true, false}) {
      auto* lamp = new TLamp3D;
      lamp->SetGlyphSize(size);
      lamp->SetLightOn(lit);
      grid->addWidget(lamp, lit ? 1 : 2, i, Qt::AlignCenter);

      TLamp3D single;
      single.SetGlyphSize(size);
      single.SetLightOn(lit);
      gallery.Save(single, QString("lamp-%1-%2").arg(lit ? "lit" : "dark").arg(side));
    }
  }
  gallery.SaveZoomed(*board, "lamps", 3);
}

void GalleryIndicators(TGallery& gallery) {
  // Spots at two heights and one wide spot; off, on, disabled.
  {
    QGridLayout* grid;
    std::unique_ptr<QWidget> board(TGallery::NewBoard(FaceColour, grid));
    const char* states[] = {"off", "on", "disabled"};
    for (int s = 0; s < 3; ++s) {
      TGallery::AddCaption(grid, 0, s, states[s], Qt::black);
      int row = 1;
      for (QSize size : {QSize(16, 16), QSize(24, 24), QSize(40, 16)}) {
        auto* spot = new TSpotIndicator;
        spot->setFixedSize(size);
        spot->SetIndicate(s == 1);
        spot->setEnabled(s != 2);
        grid->addWidget(spot, row++, s, Qt::AlignCenter);
      }
      TSpotIndicator single;
      single.resize(16, 16);
      single.SetIndicate(s == 1);
      single.setEnabled(s != 2);
      gallery.Save(single, QString("spot-%1").arg(states[s]));
    }
    gallery.SaveZoomed(*board, "spots", 4);
  }
  // Arrows in every direction; off, on, disabled.
  {
    QGridLayout* grid;
    std::unique_ptr<QWidget> board(TGallery::NewBoard(FaceColour, grid));
    const char* directions[] = {"up", "right", "down", "left"};
    const char* states[] = {"off", "on", "disabled"};
    for (int d = adUp; d <= adLeft; ++d) {
      TGallery::AddCaption(grid, 0, d, directions[d], Qt::black);
      for (int s = 0; s < 3; ++s) {
        auto* arrow = new TArrowIndicator;
        arrow->setFixedSize(17, 17);
        arrow->SetDirection(TArrowDirection(d));
        arrow->SetIndicate(s == 1);
        arrow->setEnabled(s != 2);
        grid->addWidget(arrow, s + 1, d, Qt::AlignCenter);
      }
    }
    for (int s = 0; s < 3; ++s) TGallery::AddCaption(grid, s + 1, 4, states[s], Qt::black);
    gallery.SaveZoomed(*board, "arrows", 4);
    for (int s = 0; s < 3; ++s) {
      TArrowIndicator single;
      single.resize(17, 17);
      single.SetIndicate(s == 1);
      single.setEnabled(s != 2);
      gallery.Save(single, QString("arrow-up-%1").arg(states[s]));
    }
  }
}
