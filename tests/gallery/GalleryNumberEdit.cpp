// The number edit control in every base, with and without prefix and bytes view.
#include <QGridLayout>
#include <QLabel>
#include <memory>

#include "Gallery.h"
#include "GallerySections.h"
#include "NumberEd.h"

void GalleryNumberEdit(TGallery& gallery) {
  const struct { TNumMode Mode; const char* Name; } modes[] = {
      {nmBin, "binary"}, {nmOctal, "octal"}, {nmDecimal, "decimal"}, {nmZeroDec, "zero-filled decimal"}, {nmHex, "hex"}};
  QGridLayout* grid;
  std::unique_ptr<QWidget> board(TGallery::NewBoard(QColor(0xF0, 0xF0, 0xF0), grid));
  const char* columns[] = {"", "no prefix", "prefix", "bytes", "bytes, prefix"};
  for (int c = 1; c < 5; ++c) TGallery::AddCaption(grid, 0, c, columns[c], Qt::black);
  int row = 1;
  for (const auto& m : modes) {
    grid->addWidget(new QLabel(m.Name), row, 0);
    for (int c = 1; c < 5; ++c) {
      auto* edit = new TNumberEdit;
      edit->SetBits(16);
      edit->SetPrefix(c == 2 || c == 4);
      edit->SetBytes(c >= 3);
      edit->SetNumMode(m.Mode);
      edit->SetValue(0xA5F0);
      edit->setMinimumWidth(m.Mode == nmBin ? 190 : 90);
      grid->addWidget(edit, row, c);
    }
    ++row;
  }
  // Grouped binary, as the memory step field shows it.
  grid->addWidget(new QLabel("binary, groups of 4"), row, 0);
  auto* grouped = new TNumberEdit;
  grouped->SetBits(16);
  grouped->SetPrefix(false);
  grouped->SetGroupDigits(4);
  grouped->SetNumMode(nmBin);
  grouped->SetValue(5);
  grid->addWidget(grouped, row, 1, 1, 2);
  gallery.Save(*board, "number-edits");

  for (const auto& m : modes) {
    for (bool bytes : {false, true}) {
      TNumberEdit single;
      single.SetBits(16);
      single.SetBytes(bytes);
      single.SetNumMode(m.Mode);
      single.SetValue(255);
      single.resize(m.Mode == nmBin ? 200 : 100, single.sizeHint().height());
      gallery.Save(single, QString("number-edit-%1%2").arg(QString(m.Name).replace(' ', '-'), bytes ? "-bytes" : ""));
    }
  }
}
