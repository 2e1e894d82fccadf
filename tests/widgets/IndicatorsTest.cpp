// Indicators and their pictures: spot painting, arrow outlines, lamp pictures and sizes.
#include <QApplication>
#include <QImage>
#include <QtTest>

#include "Glyphs.h"
#include "Indicators.h"
#include "WidgetGeometry.h"
#include "WidgetTestUtils.h"

namespace {

QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRgb Rgb(const QColor& c) { return c.rgb(); }

bool Near(QRgb a, QRgb b, int tolerance = 3) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace

Q_DECLARE_METATYPE(TArrowDirection)
Q_DECLARE_METATYPE(TArrowPolygon)

class TIndicatorsTest : public QObject {
  Q_OBJECT
private slots:
  void SpotCentreStaysInsideItsBorderBox() {
    TSpotIndicator spot;
    spot.resize(16, 16);
    spot.SetIndicate(true);
    const QImage image = Shot(spot);
    QCOMPARE(image.pixel(8, 8), Rgb(Qt::red));
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == Rgb(Qt::red)) {
          ++coloured;
          QVERIFY2(x >= 3 && x < 13 && y >= 3 && y < 13, qPrintable(QString("red at %1,%2").arg(x).arg(y)));
        }
    QVERIFY(coloured >= 50);  // a filled disc, not a dot
    // The rings: grey outline at the upper left, silver at the lower right, white between.
    QCOMPARE(image.pixel(0, 8), qRgb(0x80, 0x80, 0x80));
    QCOMPARE(image.pixel(15, 8), qRgb(0xC0, 0xC0, 0xC0));
    QCOMPARE(image.pixel(2, 8), qRgb(0xFF, 0xFF, 0xFF));
  }

  void SpotIsACircleOfTheHeightWhateverTheWidth() {
    TSpotIndicator spot;
    spot.resize(40, 16);
    spot.SetColorOff(Qt::blue);
    const QImage image = Shot(spot);
    QCOMPARE(image.pixel(8, 8), Rgb(Qt::blue));
    QVERIFY(image.pixel(30, 8) != Rgb(Qt::blue));
  }

  void BorderMovesTheCentre() {
    TSpotIndicator spot;
    spot.resize(16, 16);
    spot.SetIndicate(true);
    spot.SetBorder(5);
    const QImage image = Shot(spot);
    QCOMPARE(image.pixel(8, 8), Rgb(Qt::red));
    QVERIFY(image.pixel(4, 8) != Rgb(Qt::red));
  }

  void DisabledIndicatorsShowTheButtonFace() {
    for (bool indicate : {false, true}) {
      TSpotIndicator spot;
      spot.resize(16, 16);
      spot.SetIndicate(indicate);
      spot.setEnabled(false);
      QCOMPARE(Shot(spot).pixel(8, 8), spot.palette().color(QPalette::Button).rgb());

      TArrowIndicator arrow;
      arrow.resize(17, 17);
      arrow.SetIndicate(indicate);
      arrow.setEnabled(false);
      QCOMPARE(Shot(arrow).pixel(8, 12), arrow.palette().color(QPalette::Button).rgb());
    }
  }

  void ArrowFillFollowsIndicate() {
    TArrowIndicator arrow;
    arrow.resize(17, 17);
    QCOMPARE(Shot(arrow).pixel(8, 12), qRgb(0x00, 0x80, 0x00));
    arrow.SetIndicate(true);
    const QImage on = Shot(arrow);
    QCOMPARE(on.pixel(8, 12), Rgb(Qt::red));
    QCOMPARE(on.pixel(4, 12), Rgb(Qt::black));  // the outline
    QVERIFY(on.pixel(1, 14) != Rgb(Qt::red));   // outside the shaft
  }

  void ArrowPolygons_data() {
    QTest::addColumn<TArrowDirection>("direction");
    QTest::addColumn<int>("side");
    QTest::addColumn<TArrowPolygon>("expected");
    QTest::newRow("up 17") << adUp << 17
        << TArrowPolygon{{{8, 0}, {0, 8}, {4, 8}, {4, 16}, {12, 16}, {12, 8}, {16, 8}, {8, 0}}};
    QTest::newRow("right 17") << adRight << 17
        << TArrowPolygon{{{16, 8}, {8, 0}, {8, 4}, {0, 4}, {0, 12}, {8, 12}, {8, 16}, {16, 8}}};
    QTest::newRow("down 17") << adDown << 17
        << TArrowPolygon{{{8, 16}, {0, 8}, {4, 8}, {4, 0}, {12, 0}, {12, 8}, {16, 8}, {8, 16}}};
    QTest::newRow("left 17") << adLeft << 17
        << TArrowPolygon{{{0, 8}, {8, 0}, {8, 4}, {16, 4}, {16, 12}, {8, 12}, {8, 16}, {0, 8}}};
    // Scale 5/16: 8 * 5/16 = 2.5 rounds to the even 2, 12 * 5/16 = 3.75 to 4.
    QTest::newRow("up 6, halves to even") << adUp << 6
        << TArrowPolygon{{{2, 0}, {0, 2}, {1, 2}, {1, 5}, {4, 5}, {4, 2}, {5, 2}, {2, 0}}};
    // Scale 23/16: 8 -> 11.5 -> 12 (even), 4 -> 5.75 -> 6, 12 -> 17.25 -> 17.
    QTest::newRow("right 24") << adRight << 24
        << TArrowPolygon{{{23, 12}, {12, 0}, {12, 6}, {0, 6}, {0, 17}, {12, 17}, {12, 23}, {23, 12}}};
  }
  void ArrowPolygons() {
    QFETCH(TArrowDirection, direction);
    QFETCH(int, side);
    QFETCH(TArrowPolygon, expected);
    QCOMPARE(ArrowPolygon(direction, side, side), expected);
  }

  void ArrowFollowsItsSizeAndDirection() {
    TArrowIndicator arrow;
    QCOMPARE(arrow.ArrowSize(), QSize(0, 0));
    arrow.resize(17, 17);
    Shot(arrow);
    QCOMPARE(arrow.ArrowSize(), QSize(17, 17));
    QCOMPARE(arrow.Arrow(), ArrowPolygon(adUp, 17, 17));
    arrow.SetDirection(adLeft);
    QCOMPARE(arrow.Arrow(), ArrowPolygon(adLeft, 17, 17));
    arrow.resize(33, 9);
    Shot(arrow);
    QCOMPARE(arrow.Arrow(), ArrowPolygon(adLeft, 33, 9));
  }

  void SettingTheSameDirectionDoesNotRepaint() {
    TArrowIndicator arrow;
    arrow.resize(17, 17);
    arrow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&arrow, 60000));
    QApplication::processEvents();
    TEventCounter paints(&arrow, QEvent::Paint);
    arrow.SetDirection(adUp);
    QApplication::processEvents();
    QCOMPARE(paints.Count, 0);
    arrow.SetDirection(adDown);
    QTRY_VERIFY(paints.Count > 0);
  }

  void LampStartsLitAt24() {
    TLamp3D lamp;
    QVERIFY(lamp.LightOn());
    QCOMPARE(lamp.GlyphSize(), gs24);
    QCOMPARE(lamp.size(), QSize(24, 24));
    QCOMPARE(lamp.Picture().toImage(), LoadGlyph("Lamp24").toImage());
    QCOMPARE(lamp.focusPolicy(), Qt::NoFocus);
  }

  void LampPictureFollowsLightAndSize() {
    TLamp3D lamp;
    lamp.SetGlyphSize(gs96);
    QCOMPARE(lamp.size(), QSize(96, 96));
    lamp.SetLightOn(false);
    QCOMPARE(lamp.Picture().toImage(), LoadGlyph("Dark96").toImage());
    lamp.SetGlyphSize(gs16);
    QCOMPARE(lamp.size(), QSize(16, 16));
    QCOMPARE(lamp.Picture().toImage(), LoadGlyph("Dark16").toImage());
    lamp.SetIndicate(true);  // the same as LightOn
    QCOMPARE(lamp.Picture().toImage(), LoadGlyph("Lamp16").toImage());
  }

  void LampIsNeverSmallerThanItsPicture() {
    TLamp3D lamp;
    lamp.SetGlyphSize(gs16);
    lamp.resize(10, 10);
    QCOMPARE(lamp.size(), QSize(16, 16));
    lamp.setGeometry(0, 0, 40, 12);
    QCOMPARE(lamp.size(), QSize(40, 16));
  }

  void PictureNames() {
    QCOMPARE(LampGlyphName(true, gs16), QString("Lamp16"));
    QCOMPARE(LampGlyphName(false, gs96), QString("Dark96"));
    QCOMPARE(LampGlyphName(true, TGlyphSize(17)), QString("Lamp24"));
    QCOMPARE(SwitchGlyphName(spOff, gh32), QString("SwitchU32"));
    QCOMPARE(SwitchGlyphName(spNeutral, gh64), QString("SwitchM64"));
    QCOMPARE(SwitchGlyphName(spOn, gh96), QString("SwitchO96"));
    QCOMPARE(SwitchGlyphName(spOn, TGlyphHeight(-1)), QString("SwitchO32"));
    QCOMPARE(SwitchGlyphSize(gh48), QSize(32, 48));
    QCOMPARE(SwitchGlyphSize(gh64), QSize(43, 64));
    QCOMPARE(SwitchGlyphSize(TGlyphHeight(9)), QSize(21, 32));
  }

  // Every picture is there at its size, transparent in the corners, and shows its look: the
  // lamps' centre colours, the lever at the bottom (U), in the middle (M) or at the top (O).
  void PicturesShowTheirLooks() {
    for (int i = gs16; i <= gs96; ++i) {
      const int side = LampGlyphPixels(TGlyphSize(i));
      for (bool lit : {true, false}) {
        const QString name = LampGlyphName(lit, TGlyphSize(i));
        const QImage image = LoadGlyph(name).toImage();
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);
        const QRgb centre = image.pixel(side / 2, side / 2);
        QVERIFY2(Near(centre, lit ? qRgb(0xFE, 0xFB, 0x01) : qRgb(0x96, 0x96, 0x94)), qPrintable(name));
      }
    }
    for (int h = gh32; h <= gh96; ++h) {
      const QSize size = SwitchGlyphSize(TGlyphHeight(h));
      const int x = size.width() / 2;
      for (TSwitchPosition pos : {spOff, spNeutral, spOn}) {
        const QString name = SwitchGlyphName(pos, TGlyphHeight(h));
        const QImage image = LoadGlyph(name).toImage();
        QCOMPARE(image.size(), size);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        const bool top = qAlpha(image.pixel(x, 2)) == 255;
        const bool bottom = qAlpha(image.pixel(x, size.height() - 3)) == 255;
        QVERIFY2(top == (pos == spOn) && bottom == (pos == spOff), qPrintable(name));
        QCOMPARE(qAlpha(image.pixel(x, size.height() / 2)), 255);  // the bezel
      }
    }
  }

  void BottomLeftColourIsNotDrawn() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(255, 0, 0));
    ApplyTransparentColor(image);
    QCOMPARE(qAlpha(image.pixel(0, 3)), 0);
    QCOMPARE(qAlpha(image.pixel(3, 0)), 0);
    QCOMPARE(image.pixel(1, 1), qRgba(255, 0, 0, 255));
  }

  void ClicksReachTheHandlers() {
    TSpotIndicator spot;
    spot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spot, 60000));
    QObject* clicked = nullptr;
    int doubles = 0;
    spot.OnClick = [&](QObject* sender) { clicked = sender; };
    spot.OnDblClick = [&](QObject*) { ++doubles; };
    QTest::mouseClick(&spot, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked, &spot);
    QTest::mouseDClick(&spot, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(doubles, 1);
  }
};

QTEST_MAIN(TIndicatorsTest)
#include "IndicatorsTest.moc"
