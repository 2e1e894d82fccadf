// The widget gallery: pictures of every widget and dialog in its typical states, for reviewing
// the look. Each family has one section function (GallerySections.h) that adds its pictures.
#pragma once
#include <QColor>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <functional>

class QDialog;
class QGridLayout;
class QWidget;

class TGallery {
public:
  explicit TGallery(const QString& folder);

  // Saves a picture of the widget as <name>.png (a widget without parent is shown offscreen
  // first so that it is laid out and polished).
  void Save(QWidget& widget, const QString& name);
  void SaveImage(const QImage& image, const QString& name);
  // Saves the widget and a copy enlarged `zoom` times without smoothing (<name>-zoom.png), for
  // looking at single pixels.
  void SaveZoomed(QWidget& widget, const QString& name, int zoom);

  // Runs `open`, which opens modal dialogs or message boxes through the dialog service; each one
  // is shown, given to `act` (which may click its buttons and so open further boxes), saved
  // under the next of `names` and closed with its result. No modal loop runs.
  void CaptureDialogs(const QStringList& names, const std::function<void()>& open,
                      const std::function<void(QDialog&)>& act = {});

  // A board: a window of the given colour with a grid to put widgets on, with captions.
  static QWidget* NewBoard(const QColor& colour, QGridLayout*& grid);
  static void AddCaption(QGridLayout* grid, int row, int column, const QString& text, const QColor& colour);

  const QStringList& Saved() const { return FSaved; }
  int Failures() const { return FFailures; }

private:
  QDir FFolder;
  QStringList FSaved;
  int FFailures = 0;
};
