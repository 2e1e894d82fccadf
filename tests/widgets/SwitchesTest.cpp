// Toggle and momentary switches: mouse, keys, events and pictures.
#include <QtTest>

#include "Glyphs.h"
#include "Switches.h"

namespace {

struct TClicks {
  int Up = 0;
  int Down = 0;
  QObject* Sender = nullptr;
  TSwitchPosition PositionSeen = spNeutral;
};

template <class TSwitch>
void Bind(TSwitch& sw, TClicks& clicks) {
  sw.OnUpClick = [&](QObject* s) {
    ++clicks.Up;
    clicks.Sender = s;
    clicks.PositionSeen = sw.Position();
  };
  sw.OnDownClick = [&](QObject* s) {
    ++clicks.Down;
    clicks.Sender = s;
    clicks.PositionSeen = sw.Position();
  };
}

void ShowAndWait(QWidget& w) {
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w, 60000));
}

}  // namespace

class TSwitchesTest : public QObject {
  Q_OBJECT
private slots:
  void SwitchStartsDownAt32() {
    TSwitch3D sw;
    QCOMPARE(sw.State(), ssOff);
    QCOMPARE(sw.Position(), spOff);
    QCOMPARE(sw.size(), QSize(21, 32));
    QCOMPARE(sw.Picture().toImage(), LoadGlyph("SwitchU32").toImage());
  }

  void AnyButtonToggles() {
    TSwitch3D sw;
    ShowAndWait(sw);
    TClicks clicks;
    Bind(sw, clicks);
    QTest::mousePress(&sw, Qt::LeftButton, {}, QPoint(10, 30));
    QCOMPARE(sw.State(), ssOn);
    QCOMPARE(clicks.Up, 1);
    QCOMPARE(clicks.Down, 0);
    QCOMPARE(clicks.Sender, &sw);
    QCOMPARE(clicks.PositionSeen, spOn);  // the event comes after the lever moved
    QCOMPARE(sw.Picture().toImage(), LoadGlyph("SwitchO32").toImage());
    QTest::mouseRelease(&sw, Qt::LeftButton, {}, QPoint(10, 30));
    QTest::mousePress(&sw, Qt::RightButton, {}, QPoint(2, 2));
    QCOMPARE(sw.State(), ssOff);
    QCOMPARE(clicks.Down, 1);
    QCOMPARE(clicks.PositionSeen, spOff);
  }

  void SettingStateRaisesNoEvent() {
    TSwitch3D sw;
    TClicks clicks;
    Bind(sw, clicks);
    sw.SetState(ssOn);
    QCOMPARE(sw.Position(), spOn);
    sw.SetState(ssOff);
    QCOMPARE(sw.Position(), spOff);
    QCOMPARE(clicks.Up + clicks.Down, 0);
  }

  void KeysSetTheStateWithoutEvents() {
    TSwitch3D sw;
    ShowAndWait(sw);
    sw.setFocus();
    TClicks clicks;
    Bind(sw, clicks);
    QTest::keyClick(&sw, Qt::Key_U);
    QCOMPARE(sw.State(), ssOn);
    QTest::keyClick(&sw, Qt::Key_Minus);  // the main keyboard's minus does nothing
    QCOMPARE(sw.State(), ssOn);
    QTest::keyClick(&sw, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(sw.State(), ssOff);
    QTest::keyClick(&sw, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(sw.State(), ssOn);
    QTest::keyClick(&sw, Qt::Key_D);
    QCOMPARE(sw.State(), ssOff);
    QTest::keyClick(&sw, Qt::Key_X);
    QCOMPARE(sw.State(), ssOff);
    QCOMPARE(clicks.Up + clicks.Down, 0);
  }

  void GlyphHeightSetsSizeAndPicture() {
    TSwitch3D sw;
    sw.SetState(ssOn);
    sw.SetGlyphHeight(gh96);
    QCOMPARE(sw.size(), QSize(64, 96));
    QCOMPARE(sw.Picture().toImage(), LoadGlyph("SwitchO96").toImage());
    sw.resize(30, 30);
    QCOMPARE(sw.size(), QSize(64, 96));
    sw.SetGlyphHeight(gh48);
    QCOMPARE(sw.size(), QSize(32, 48));
  }

  void MomentaryRestsInTheMiddle() {
    TBiMomSwitch3D sw;
    QCOMPARE(sw.Position(), spNeutral);
    QCOMPARE(sw.size(), QSize(21, 32));
    QCOMPARE(sw.Picture().toImage(), LoadGlyph("SwitchM32").toImage());
  }

  void MomentaryHalves_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("down");
    QTest::newRow("top") << 0 << false;
    QTest::newRow("y 16 is still the upper half") << 16 << false;
    QTest::newRow("y 17 is the lower half") << 17 << true;
    QTest::newRow("bottom") << 31 << true;
  }
  void MomentaryHalves() {
    QFETCH(int, y);
    QFETCH(bool, down);
    TBiMomSwitch3D sw;
    ShowAndWait(sw);
    TClicks clicks;
    Bind(sw, clicks);
    QTest::mousePress(&sw, Qt::LeftButton, {}, QPoint(10, y));
    QCOMPARE(sw.Position(), down ? spOff : spOn);
    QCOMPARE(clicks.PositionSeen, down ? spOff : spOn);
    QCOMPARE(clicks.Down, down ? 1 : 0);
    QCOMPARE(clicks.Up, down ? 0 : 1);
    QCOMPARE(clicks.Sender, &sw);
    QTest::mouseMove(&sw, QPoint(10, 31 - y));  // holding the button repeats nothing
    QTest::qWait(20);
    QCOMPARE(clicks.Up + clicks.Down, 1);
    QTest::mouseRelease(&sw, Qt::LeftButton, {}, QPoint(10, 31 - y));
    QCOMPARE(sw.Position(), spNeutral);
    QCOMPARE(clicks.Up + clicks.Down, 1);
  }

  void MomentaryWithoutHandlersStillMoves() {
    TBiMomSwitch3D sw;
    ShowAndWait(sw);
    QTest::mousePress(&sw, Qt::RightButton, {}, QPoint(10, 25));
    QCOMPARE(sw.Position(), spOff);
    QTest::mouseRelease(&sw, Qt::RightButton, {}, QPoint(10, 25));
    QCOMPARE(sw.Position(), spNeutral);
  }
};

QTEST_MAIN(TSwitchesTest)
#include "SwitchesTest.moc"
