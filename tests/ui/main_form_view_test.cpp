// The main window's view controls, driven as a user drives them: the fixed
// views, the rotate and zoom buttons, the zoom list, the wheel, the offset
// bars, the home button, the mouse, the keys, the rendering options and the
// hint field. Every visible change draws exactly one picture.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "ui_test_support.h"

namespace {

QScrollBar* Bar(TWindowFixture& f, const char* name) {
    return f.Find<QScrollBar>(name);
}

void SendWheel(QWidget* widget, int delta) {
    const QPoint local = widget->rect().center();
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void SendEnter(QWidget* widget) {
    const QPointF local(2, 2);
    QEnterEvent event(local, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
}

const char* const kModel = "= 70 330 20 0 0 0 1\r\n"
                           "B 0 0 0 80 40 20 244 1 0 0 0 0  0\r\n"
                           "B 80 0 0 40 40 40 32768 1 0 0 0 0  0\r\n"
                           "B 0 40 0 40 80 13 11724264 1 0 0 0 0  0\r\n";

} // namespace

class TMainFormViewTest : public QObject {
    Q_OBJECT
private slots:
    void StartsWithTheStartView() {
        TWindowFixture f;
        QCOMPARE(f.Form().windowTitle(), QString("Stonemill Ver 1.42"));
        QCOMPARE(Bar(f, "RotX")->value(), 70);
        QCOMPARE(Bar(f, "RotZ")->value(), 330);
        QVERIFY(!Bar(f, "RotX")->isVisible());
        QVERIFY(!Bar(f, "RotY")->isVisible());
        QVERIFY(!Bar(f, "RotZ")->isVisible());
        QVERIFY(Bar(f, "OffsetX")->isVisible());
        QVERIFY(Bar(f, "OffsetY")->isVisible());
        QCOMPARE(Bar(f, "OffsetX")->orientation(), Qt::Horizontal);
        QCOMPARE(Bar(f, "OffsetY")->orientation(), Qt::Vertical);
        QCOMPARE(Bar(f, "OffsetX")->minimum(), -5000);
        QCOMPARE(Bar(f, "OffsetX")->maximum(), 5000);
        QCOMPARE(Bar(f, "RotZ")->maximum(), 360);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("50"));
        // The picture has the paint box's size.
        auto* paintBox = f.Find<QWidget>("PaintBox1");
        QCOMPARE(f.App().Scene.Picture().Width(), paintBox->width());
        QCOMPARE(f.App().Scene.Picture().Height(), paintBox->height());
    }

    void ToolbarsAndTheirButtons() {
        TWindowFixture f;
        struct TBar {
            const char* Name;
            const char* Title;
            Qt::ToolBarArea Area;
            QStringList Buttons;
        };
        const TBar bars[] = {
            {"tbMainMenu",
             "Main menu",
             Qt::TopToolBarArea,
             {"ExitButton", "btnClear", "btnOpen", "btnSave", "btnSavePic", "btnPrint", "btnOptions"}},
            {"tbBrickSelection",
             "Brick selection",
             Qt::TopToolBarArea,
             {"btnPointer", "btnTransparent", "btnColorDlg", "btnAbout"}},
            {"tbViewAdjustment",
             "View Adjustment",
             Qt::TopToolBarArea,
             {"btnRotUp", "btnRotDown", "btnRotLeft", "btnRotRight", "btnWireFrame", "btnWireBase",
              "btnZoomIn", "btnZoomOut", "btnZoomToFit", "btnViewKeys"}},
            {"tbFixedViews",
             "Fixed Views",
             Qt::BottomToolBarArea,
             {"btnTopView", "btnFromFront", "btnFromRight", "btnFromLeft", "btnFromBack", "btnFrontLeft",
              "btnBackRight", "btnBackLeft", "btnFrontRight", "btnFrontView", "btnRestoreView"}},
        };
        for (const TBar& expected : bars) {
            auto* bar = f.Find<QToolBar>(expected.Name);
            QVERIFY2(bar != nullptr, expected.Name);
            QCOMPARE(bar->windowTitle(), QString(expected.Title));
            QCOMPARE(f.Form().toolBarArea(bar), expected.Area);
            QVERIFY(bar->isMovable());
            QStringList buttons;
            for (QToolButton* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
                if (!button->objectName().isEmpty() && !button->objectName().startsWith("qt_"))
                    buttons << button->objectName();
            QCOMPARE(buttons, expected.Buttons);
        }
        QVERIFY(f.Find<QToolBar>("tbViewAdjustment")->findChild<QComboBox*>("cbZoom") != nullptr);
        auto* hint = f.Find<QLineEdit>("edHint");
        QVERIFY(hint->isReadOnly());
        QCOMPARE(f.Form().toolBarArea(qobject_cast<QToolBar*>(hint->parentWidget())), Qt::BottomToolBarArea);
        QCOMPARE(f.Find<QToolButton>("ExitButton")->text(), QString("Exit"));
        QCOMPARE(f.Find<QToolButton>("btnRestoreView")->text(), QString("R"));
        // The home button sits inside the view, beside the offset bars.
        QCOMPARE(f.Find<QToolButton>("btnHome")->parentWidget(), f.Find<QWidget>("Panel3"));
    }

    void FixedViewsDrawOnceAndKeepWhatTheyDoNotSet() {
        TWindowFixture f;
        struct TCase {
            const char* Button;
            int Tilt, Turn;
        };
        // From tilt 40 and turn 100: "unchanged" keeps these.
        const TCase cases[] = {{"btnTopView", 0, 100},     {"btnFromFront", 40, 0},
                               {"btnFromRight", 40, 270},  {"btnFromLeft", 40, 90},
                               {"btnFromBack", 40, 180},   {"btnFrontLeft", 70, 30},
                               {"btnBackRight", 70, 210},  {"btnBackLeft", 70, 150},
                               {"btnFrontRight", 70, 330}, {"btnFrontView", 90, 100}};
        f.App().Scene.Control().SetZoom(0.75f);
        for (const TCase& c : cases) {
            f.App().Scene.Control().SetViewAngles(40, 100);
            const int passes = f.App().Scene.PassCount();
            f.Click(c.Button);
            QCOMPARE(f.App().Scene.PassCount(), passes + 1);
            QCOMPARE(f.App().Scene.Control().RotX().Position, c.Tilt);
            QCOMPARE(f.App().Scene.Control().RotZ().Position, c.Turn);
            // The hidden bars show the angles.
            QCOMPARE(Bar(f, "RotX")->value(), c.Tilt);
            QCOMPARE(Bar(f, "RotZ")->value(), c.Turn);
            QCOMPARE(f.App().Scene.Control().Zoom(), 0.75f);
        }
    }

    void RestoreOriginalViewKeepsTheZoom() {
        TWindowFixture f;
        f.App().Scene.Control().SetViewAngles(10, 20);
        Bar(f, "OffsetX")->triggerAction(QAbstractSlider::SliderPageStepAdd);
        f.Click("btnZoomIn");
        QCOMPARE(f.App().Scene.Control().OffsetX().Position, 100);
        const int passes = f.App().Scene.PassCount();
        f.Click("btnRestoreView");
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        QCOMPARE(f.App().Scene.Control().RotX().Position, 70);
        QCOMPARE(f.App().Scene.Control().RotZ().Position, 330);
        QCOMPARE(f.App().Scene.Control().OffsetX().Position, 0);
        QCOMPARE(Bar(f, "OffsetX")->value(), 0);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("55"));
    }

    void RotateButtonsWrapTheTurnAndClampTheTilt() {
        TWindowFixture f;
        TViewController& view = f.App().Scene.Control();
        view.SetRotZ(0);
        int passes = f.App().Scene.PassCount();
        f.Click("btnRotLeft");
        QCOMPARE(view.RotZ().Position, 355);
        QCOMPARE(Bar(f, "RotZ")->value(), 355);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        view.SetRotZ(360);
        passes = f.App().Scene.PassCount();
        f.Click("btnRotRight");
        QCOMPARE(view.RotZ().Position, 5);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        view.SetRotX(175);
        passes = f.App().Scene.PassCount();
        f.Click("btnRotUp");
        QCOMPARE(view.RotX().Position, 180);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        f.Click("btnRotUp");
        QCOMPARE(view.RotX().Position, 180);
        QCOMPARE(Bar(f, "RotX")->value(), 180);
        // Nothing changed, nothing drawn.
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        view.SetRotX(5);
        f.Click("btnRotDown");
        f.Click("btnRotDown");
        QCOMPARE(view.RotX().Position, 0);
    }

    void HeldButtonsRepeat() {
        TWindowFixture f;
        for (const char* name :
             {"btnRotUp", "btnRotDown", "btnRotLeft", "btnRotRight", "btnZoomIn", "btnZoomOut"}) {
            auto* button = f.Find<QToolButton>(name);
            QVERIFY(button->autoRepeat());
            QCOMPARE(button->autoRepeatDelay(), 400);
            QCOMPARE(button->autoRepeatInterval(), 200);
        }
        QVERIFY(!f.Find<QToolButton>("btnTopView")->autoRepeat());
        // Held for a second: repeats from 400 ms on, and the release counts.
        f.App().Scene.Control().SetRotZ(100);
        auto* left = f.Find<QToolButton>("btnRotLeft");
        QTest::mousePress(left, Qt::LeftButton);
        QTest::qWait(1000);
        QTest::mouseRelease(left, Qt::LeftButton);
        const int steps = (100 - f.App().Scene.Control().RotZ().Position) / 5;
        QVERIFY2(steps >= 2, qPrintable(QString::number(steps)));
    }

    void ZoomButtonsAndTheZoomList() {
        TWindowFixture f;
        auto* zoom = f.Find<QComboBox>("cbZoom");
        QStringList items;
        for (int i = 0; i < zoom->count(); ++i)
            items << zoom->itemText(i);
        QCOMPARE(items, QStringList({"5", "10", "20", "25", "40", "50", "75", "100", "200", "400"}));

        int passes = f.App().Scene.PassCount();
        f.Click("btnZoomIn");
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        QCOMPARE(zoom->currentText(), QString("55"));
        f.Click("btnZoomOut");
        QCOMPARE(zoom->currentText(), QString("50"));
        QVERIFY(qAbs(f.App().Scene.Control().Zoom() - 0.5f) < 1e-6f);

        // Picking "200" from the list.
        zoom->showPopup();
        QAbstractItemView* list = zoom->view();
        QTRY_VERIFY(list->isVisible());
        passes = f.App().Scene.PassCount();
        const QRect item = list->visualRect(list->model()->index(8, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(f.App().Scene.Control().Zoom(), 2.0f);
        QCOMPARE(zoom->currentText(), QString("200"));
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        // Typing into the list changes nothing.
        zoom->setFocus();
        QTest::keyClicks(zoom, "75");
        QTest::keyClick(zoom, Qt::Key_Down);
        QTest::keyClick(zoom, Qt::Key_Up);
        QTest::keyClicks(zoom->lineEdit(), "4");
        QCOMPARE(f.App().Scene.Control().Zoom(), 2.0f);
        QCOMPARE(zoom->currentText(), QString("200"));
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
    }

    void TheWheelZoomsOnlyInsideTheView() {
        TWindowFixture f;
        TViewController& view = f.App().Scene.Control();
        int passes = f.App().Scene.PassCount();
        // Rolling down zooms in, up zooms out.
        SendWheel(f.Find<QWidget>("PaintBox1"), -120);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("55"));
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        SendWheel(f.Find<QWidget>("PaintBox1"), 120);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("50"));
        // Over the offset bar (inside the view panel) the wheel zooms and does not scroll.
        SendWheel(Bar(f, "OffsetX"), -120);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("55"));
        QCOMPARE(view.OffsetX().Position, 0);
        // Outside the view nothing zooms.
        passes = f.App().Scene.PassCount();
        SendWheel(f.Find<QWidget>("edHint"), -120);
        SendWheel(f.Find<QWidget>("btnRotUp"), -120);
        QCOMPARE(f.Find<QComboBox>("cbZoom")->currentText(), QString("55"));
        QCOMPARE(f.App().Scene.PassCount(), passes);
    }

    void OffsetBarsMoveTheViewWithoutEcho() {
        TWindowFixture f;
        TViewController& view = f.App().Scene.Control();
        const float originX = f.App().Scene.View().ViewOffsetX;
        int passes = f.App().Scene.PassCount();
        Bar(f, "OffsetX")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(view.OffsetX().Position, 5);
        QCOMPARE(f.App().Scene.View().ViewOffsetX, originX - 5);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        Bar(f, "OffsetY")->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(view.OffsetY().Position, -100);
        QCOMPARE(f.App().Scene.PassCount(), passes + 2);
        // The core writes the bars; that draws once, not once more per bar.
        passes = f.App().Scene.PassCount();
        view.RestoreView();
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        QCOMPARE(Bar(f, "OffsetX")->value(), 0);
        QCOMPARE(Bar(f, "OffsetY")->value(), 0);
    }

    void HomeCentresTheModelKeepingAnglesAndZoom() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("m.stm", kModel), TLoadMode::lmComplete);
        f.App().Scene.Control().SetZoom(0.8f);
        const int passes = f.App().Scene.PassCount();
        f.Click("btnHome");
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        // The model's centre now projects onto the middle of the view.
        const TExtents e = f.App().Document.Model().GetExtents();
        const TPoint centre = f.App().Scene.View().ProjectPoint((e.MinX + e.MaxX) / 2, (e.MinY + e.MaxY) / 2,
                                                                (e.MinZ + e.MaxZ) / 2);
        auto* paintBox = f.Find<QWidget>("PaintBox1");
        QVERIFY(qAbs(centre.x - paintBox->width() / 2) <= 1);
        QVERIFY(qAbs(centre.y - paintBox->height() / 2) <= 1);
        QCOMPARE(Bar(f, "OffsetX")->value(), f.App().Scene.Control().OffsetX().Position);
        QCOMPARE(f.App().Scene.Control().RotX().Position, 70);
        QCOMPARE(f.App().Scene.Control().RotZ().Position, 330);
        QCOMPARE(f.App().Scene.Control().Zoom(), 0.8f);
    }

    // From every fixed view, far off and zoomed in, Ctrl + 0 (or the button)
    // brings the whole model into the view; the views menu names its keys.
    void ZoomToFitFramesTheModelFromEveryFixedView() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("m.stm", kModel), TLoadMode::lmComplete);
        auto* paintBox = f.Find<QWidget>("PaintBox1");
        const TExtents e = f.App().Document.Model().GetExtents();
        const char* views[] = {"btnTopView",   "btnFromFront", "btnFromRight", "btnFromLeft",
                               "btnFromBack",  "btnFrontLeft", "btnBackRight", "btnBackLeft",
                               "btnFrontRight", "btnFrontView"};
        for (const char* button : views) {
            f.Click(button);
            f.App().Scene.Control().SetZoom(8.0f);
            f.App().Scene.Control().SetOffsetX(900);
            if (QString(button).contains("From"))
                f.Click("btnZoomToFit");
            else
                QTest::keyClick(&f.Form(), Qt::Key_0, Qt::ControlModifier);
            for (int corner = 0; corner < 8; ++corner) {
                const TPoint p = f.App().Scene.View().ProjectPoint(
                    corner & 1 ? e.MaxX : e.MinX, corner & 2 ? e.MaxY : e.MinY, corner & 4 ? e.MaxZ : e.MinZ);
                QVERIFY2(p.x >= 0 && p.x < paintBox->width() && p.y >= 0 && p.y < paintBox->height(), button);
            }
        }
        QVERIFY(f.Find<QToolButton>("btnZoomToFit")->toolTip().endsWith("(Ctrl+0)"));
        QStringList items;
        for (QAction* action : f.Find<QToolButton>("btnViewKeys")->menu()->actions())
            items << action->text();
        QCOMPARE(items, QStringList({"Zoom in a little\tKeypad +, +, =", "Zoom out a little\tKeypad -, -",
                                     "Fit the model seen from above\tT"}));
    }

    void ShiftRightDragTurnsTheView() {
        TWindowFixture f;
        auto* paintBox = f.Find<QWidget>("PaintBox1");
        const QPoint from(100, 100), to(112, 95);
        QTest::mousePress(paintBox, Qt::RightButton, Qt::ShiftModifier, from);
        const int passes = f.App().Scene.PassCount();
        QMouseEvent move(QEvent::MouseMove, to, paintBox->mapToGlobal(to), Qt::NoButton, Qt::RightButton,
                         Qt::ShiftModifier);
        QApplication::sendEvent(paintBox, &move);
        QTest::mouseRelease(paintBox, Qt::RightButton, Qt::ShiftModifier, to);
        // One degree per pixel: 12 to the right turns, 5 up tilts.
        QCOMPARE(f.App().Scene.Control().RotZ().Position, 342);
        QCOMPARE(f.App().Scene.Control().RotX().Position, 75);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        // Without Shift the drag does not turn the view.
        QTest::mousePress(paintBox, Qt::RightButton, Qt::NoModifier, from);
        QMouseEvent plain(QEvent::MouseMove, to, paintBox->mapToGlobal(to), Qt::NoButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(paintBox, &plain);
        QTest::mouseRelease(paintBox, Qt::RightButton, Qt::NoModifier, to);
        QCOMPARE(f.App().Scene.Control().RotZ().Position, 342);
    }

    void ThePaintBoxShowsThePictureAndFollowsTheWindowSize() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("m.stm", kModel), TLoadMode::lmComplete);
        auto* paintBox = f.Find<QWidget>("PaintBox1");
        QImage shown = paintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage picture = f.App().Scene.Picture().ToImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), picture.size());
        QVERIFY(shown == picture);
        // Some stone is drawn, not only the white background.
        bool coloured = false;
        for (int y = 0; y < picture.height() && !coloured; ++y)
            for (int x = 0; x < picture.width() && !coloured; ++x)
                coloured = picture.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(coloured);

        const int passes = f.App().Scene.PassCount();
        f.Form().resize(f.Form().width() - 100, f.Form().height() - 50);
        QTRY_COMPARE(f.App().Scene.Picture().Width(), paintBox->width());
        QCOMPARE(f.App().Scene.Picture().Height(), paintBox->height());
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
    }

    void KeysRunTheirCommandsWhateverHasFocus() {
        TWindowFixture f;
        TViewController& view = f.App().Scene.Control();
        f.Form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.Form()));
        f.Find<QComboBox>("cbZoom")->setFocus();
        QTest::keyClick(f.Find<QComboBox>("cbZoom"), Qt::Key_End);
        QCOMPARE(view.RotX().Position, 0);
        QTest::keyClick(&f.Form(), Qt::Key_F9);
        QCOMPARE(view.RotX().Position, 70);
        QCOMPARE(view.RotZ().Position, 330);
        QTest::keyClick(&f.Form(), Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(view.RotZ().Position, 180);
        // Alt + F4 is not "From left".
        QTest::keyClick(&f.Form(), Qt::Key_F4, Qt::AltModifier);
        QCOMPARE(view.RotZ().Position, 180);
        // W and the keypad's "*" press and release the wireframe button.
        QTest::keyClick(&f.Form(), Qt::Key_W);
        QVERIFY(f.App().Scene.View().Wireframe);
        QVERIFY(f.Find<QToolButton>("btnWireFrame")->isChecked());
        QTest::keyClick(&f.Form(), Qt::Key_Asterisk, Qt::KeypadModifier);
        QVERIFY(!f.App().Scene.View().Wireframe);
        QTest::keyClick(&f.Form(), Qt::Key_Asterisk);
        QVERIFY(!f.App().Scene.View().Wireframe);
    }

    void WireframeButtonKeepsAndRestoresTheDrawingOptions() {
        TWindowFixture f;
        f.App().Scene.SetDetailLevel(2);
        f.App().Scene.SetShading(true);
        auto* button = f.Find<QToolButton>("btnWireFrame");
        QVERIFY(button->isCheckable());
        int passes = f.App().Scene.PassCount();
        f.Click("btnWireFrame");
        QVERIFY(button->isChecked());
        QVERIFY(f.App().Scene.View().Wireframe);
        QCOMPARE(f.App().Scene.View().DetailLevel, 0);
        QVERIFY(!f.App().Scene.View().Shading);
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        f.Click("btnWireFrame");
        QVERIFY(!button->isChecked());
        QCOMPARE(f.App().Scene.View().DetailLevel, 2);
        QVERIFY(f.App().Scene.View().Shading);
        QCOMPARE(f.App().Scene.PassCount(), passes + 2);
    }

    void RenderingOptionsMenu() {
        TWindowFixture f;
        auto* button = f.Find<QToolButton>("btnWireBase");
        QStringList captions, depths;
        WithMenu(button, [&](QMenu* menu) {
            captions = MenuCaptions(menu);
            for (QAction* action : menu->actions())
                if (action->menu() != nullptr)
                    depths = MenuCaptions(action->menu());
        });
        QCOMPARE(captions,
                 QStringList({"No details", "More detail (decorations)", "Even more detail (bitmaps)", "-",
                              "Shading", "AntiAlias (slow)", "BitDepth", "-", "Adjust light direction...",
                              "Edge darkening...", "Background &picture...", "Restore background &color", "-",
                              "Mark matching blocks", "Mark matching blocks (AND color)", "-",
                              "Refresh display"}));
        QCOMPARE(depths, QStringList({"&8", "&16", "&24", "&32", "&Device"}));
        QVERIFY(f.Form().findChild<QAction*>("mi32bit")->isChecked());
        QVERIFY(f.Form().findChild<QAction*>("miNoDetails")->isChecked());

        // A detail level: only its item is checked, and the wireframe button comes up.
        f.Click("btnWireFrame");
        int passes = f.App().Scene.PassCount();
        WithMenu(button, [](QMenu* menu) { ClickMenuItem(menu, "More detail (decorations)"); });
        QCOMPARE(f.App().Scene.View().DetailLevel, 1);
        QVERIFY(f.Form().findChild<QAction*>("miMoreDetail")->isChecked());
        QVERIFY(!f.Form().findChild<QAction*>("miNoDetails")->isChecked());
        QVERIFY(!f.Find<QToolButton>("btnWireFrame")->isChecked());
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);

        const bool shading = f.App().Scene.View().Shading;
        QCOMPARE(f.Form().findChild<QAction*>("miShading")->isChecked(), shading);
        WithMenu(button, [](QMenu* menu) { ClickMenuItem(menu, "Shading"); });
        QCOMPARE(f.App().Scene.View().Shading, !shading);
        QCOMPARE(f.Form().findChild<QAction*>("miShading")->isChecked(), !shading);
        QCOMPARE(f.App().Scene.PassCount(), passes + 2);

        // A bit depth from the submenu, then anti-aliasing, which goes back to 32 bits.
        WithMenu(button, [&](QMenu*) { f.Form().findChild<QAction*>("mi16bit")->trigger(); });
        QCOMPARE(f.App().Scene.BitDepth(), bd16);
        QCOMPARE(f.App().Scene.Picture().PixelFormat(), pf16bit);
        QVERIFY(f.Form().findChild<QAction*>("mi16bit")->isChecked());
        WithMenu(button, [](QMenu* menu) { ClickMenuItem(menu, "AntiAlias (slow)"); });
        QVERIFY(f.App().Scene.View().AntiAlias);
        QVERIFY(f.Form().findChild<QAction*>("miAntiAlias")->isChecked());
        QCOMPARE(f.App().Scene.BitDepth(), bd32);
        QVERIFY(f.Form().findChild<QAction*>("mi32bit")->isChecked());
        QVERIFY(!f.Form().findChild<QAction*>("mi16bit")->isChecked());

        passes = f.App().Scene.PassCount();
        WithMenu(button, [](QMenu* menu) { ClickMenuItem(menu, "Refresh display"); });
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void TheHintFieldShowsTheHintUnderTheMouse() {
        TWindowFixture f;
        auto* hint = f.Find<QLineEdit>("edHint");
        const std::pair<const char*, const char*> hints[] = {
            {"btnRotUp", "Rotate up"},
            {"btnRotLeft", "Rotate left"},
            {"btnClear", "New model"},
            {"btnOpen", "Load a model or sub-assembly"},
            {"btnSave", "Save model (or selection)"},
            {"btnZoomIn", "Zoom in"},
            {"btnZoomOut", "Zoom out"},
            {"btnTopView", "Top view"},
            {"btnFrontRight", "Front right"},
            {"btnRestoreView", "Restore original view"},
            {"btnHome", "Restore standard view"},
            {"cbZoom", "Zoom (%)"},
        };
        for (const auto& [name, text] : hints) {
            SendEnter(f.Find<QWidget>(name));
            QCOMPARE(hint->text(), QString(text));
        }
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(f.Find<QWidget>("btnHome"), &leave);
        QCOMPARE(hint->text(), QString());
    }

    void ToolTipsAreOff() {
        TWindowFixture f;
        auto* button = f.Find<QWidget>("btnRotUp");
        const QPoint local = button->rect().center();
        QHelpEvent event(QEvent::ToolTip, local, button->mapToGlobal(local));
        QApplication::sendEvent(button, &event);
        QTest::qWait(50);
        QVERIFY(!QToolTip::isVisible());
    }
};

QTEST_MAIN(TMainFormViewTest)
#include "main_form_view_test.moc"
