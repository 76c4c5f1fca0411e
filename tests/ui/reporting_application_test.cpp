// The window's application object: a failure that leaves an event handler,
// running out of memory or any other, is shown in the error box in the
// program's words, once, and the window handles its next events as before.

#include <QTest>
#include <QWidget>
#include <new>
#include <stdexcept>

#include "common/error.h"
#include "ui/reporting_application.h"
#include "ui_test_support.h"

namespace {

// A window whose clicks fail in turn as told, and whose paints may fail.
class TFailingWindow : public QWidget {
public:
    int Clicks = 0;
    bool FailPaint = false;
    int Paints = 0;

protected:
    void mousePressEvent(QMouseEvent*) override {
        switch (++Clicks) {
        case 1:
            throw std::bad_alloc();
        case 2:
            throw std::length_error("vector::_M_default_append");
        case 3:
            throw EError("Part p in file f.dat is not loaded");
        default:
            break;
        }
    }
    void paintEvent(QPaintEvent*) override {
        ++Paints;
        if (FailPaint)
            throw std::bad_alloc();
    }
};

} // namespace

class TReportingApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void FailuresOfEventHandlersAreShownInTheProgramsWords() {
        TFailingWindow window;
        window.resize(100, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TModalRecorder recorder;
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(&window, Qt::LeftButton);
        QTRY_COMPARE(recorder.Texts.size(), 3);
        QCOMPARE(recorder.Texts[0],
                 "The command could not be carried out. There is not enough memory for it.");
        QCOMPARE(recorder.Texts[1], "The command could not be carried out.");
        QCOMPARE(recorder.Texts[2], "Part p in file f.dat is not loaded");
        QCOMPARE(window.Clicks, 4);

        // A paint that fails is told; the window paints again once it can.
        window.FailPaint = true;
        window.repaint();
        QTRY_COMPARE(recorder.Texts.size(), 4);
        QCOMPARE(recorder.Texts[3], recorder.Texts[0]);
        window.FailPaint = false;
        const int paints = window.Paints;
        window.repaint();
        QCOMPARE(window.Paints, paints + 1);
    }
};

int main(int argc, char** argv) {
    TReportingApplication application(argc, argv);
    TReportingApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "reporting_application_test.moc"
