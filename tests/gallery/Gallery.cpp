#include "Gallery.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTextStream>
#include <QWidget>
#include <cstdio>

#include "DialogService.h"

namespace {

void ShowOffscreen(QWidget& widget) {
  if (widget.parentWidget() == nullptr && !widget.isVisible()) {
    widget.show();
    QApplication::processEvents();
    // A board shows its widgets as they rest, without the focus on the first one.
    if (!qobject_cast<QDialog*>(&widget) && widget.focusWidget()) widget.focusWidget()->clearFocus();
  }
  QApplication::processEvents();
}

// Shows and saves every dialog the service is asked to run.
class TCaptureService : public TDialogService {
public:
  TCaptureService(TGallery& gallery, QStringList names, std::function<void(QDialog&)> act)
      : FGallery(gallery), FNames(std::move(names)), FAct(std::move(act)) {}

  int ExecDialog(QDialog& dialog) override {
    const QString name = FNames.isEmpty() ? QString("dialog-%1").arg(++FExtra) : FNames.takeFirst();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    QApplication::processEvents();
    if (FAct) {
      auto act = FAct;
      FAct = nullptr;  // only the first dialog; the boxes it opens are just saved
      act(dialog);
      QApplication::processEvents();
    }
    FGallery.Save(dialog, name);
    const int result = dialog.result();
    dialog.hide();
    return result;
  }

private:
  TGallery& FGallery;
  QStringList FNames;
  std::function<void(QDialog&)> FAct;
  int FExtra = 0;
};

}  // namespace

TGallery::TGallery(const QString& folder) : FFolder(folder) { FFolder.mkpath("."); }

void TGallery::SaveImage(const QImage& image, const QString& name) {
  const QString file = name + ".png";
  if (!image.isNull() && image.save(FFolder.filePath(file), "PNG")) {
    FSaved << file;
  } else {
    ++FFailures;
    std::fprintf(stderr, "gallery: cannot save %s\n", qPrintable(file));
  }
}

void TGallery::Save(QWidget& widget, const QString& name) {
  ShowOffscreen(widget);
  SaveImage(widget.grab().toImage(), name);
}

void TGallery::SaveZoomed(QWidget& widget, const QString& name, int zoom) {
  ShowOffscreen(widget);
  const QImage image = widget.grab().toImage();
  SaveImage(image, name);
  SaveImage(image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation), name + "-zoom");
}

void TGallery::CaptureDialogs(const QStringList& names, const std::function<void()>& open,
                              const std::function<void(QDialog&)>& act) {
  TCaptureService service(*this, names, act);
  TDialogService* previous = SetDialogService(&service);
  open();
  SetDialogService(previous);
}

QWidget* TGallery::NewBoard(const QColor& colour, QGridLayout*& grid) {
  auto* board = new QWidget;
  board->setAutoFillBackground(true);
  QPalette palette = board->palette();
  palette.setColor(QPalette::Window, colour);
  board->setPalette(palette);
  grid = new QGridLayout(board);
  grid->setSpacing(10);
  grid->setContentsMargins(12, 12, 12, 12);
  return board;
}

void TGallery::AddCaption(QGridLayout* grid, int row, int column, const QString& text, const QColor& colour) {
  auto* label = new QLabel(text);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  grid->addWidget(label, row, column, Qt::AlignCenter);
}
