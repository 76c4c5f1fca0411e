#include "ui/long_work.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <thread>

namespace {

// The wait cursor and the progress in the status bar, for as long as it lives.
class TBusyDisplay {
public:
    TBusyDisplay(QMainWindow& window, const std::string& what)
        : FBar(*window.statusBar()), FBarWasHidden(FBar.isHidden()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        FLabel = new QLabel(QString::fromStdString(what + "..."), &FBar);
        FProgress = new QProgressBar(&FBar);
        FProgress->setObjectName("LongWorkProgress");
        FProgress->setRange(0, 1000);
        FProgress->setMaximumWidth(240);
        FBar.addWidget(FLabel);
        FBar.addPermanentWidget(FProgress);
        FBar.show();
    }
    ~TBusyDisplay() {
        delete FLabel;
        delete FProgress;
        FBar.setHidden(FBarWasHidden); // the window's own status line stays
        QApplication::restoreOverrideCursor();
    }
    TBusyDisplay(const TBusyDisplay&) = delete;
    TBusyDisplay& operator=(const TBusyDisplay&) = delete;

    void Show(double done) { FProgress->setValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * 1000)); }

private:
    QStatusBar& FBar;
    bool FBarWasHidden;
    QLabel* FLabel;
    QProgressBar* FProgress;
};

} // namespace

void RunLongWorkInWindow(QMainWindow& window, const std::string& what, const TLongWorkGate::TLongWork& work) {
    std::atomic<double> done{0};
    std::promise<void> ended;
    std::future<void> result = ended.get_future();
    std::thread worker([&] {
        try {
            work([&](double share) { done.store(share); });
            ended.set_value();
        } catch (...) {
            ended.set_exception(std::current_exception());
        }
    });
    struct TJoin {
        std::thread& Worker;
        ~TJoin() { Worker.join(); }
    } join{worker};

    if (result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        TBusyDisplay display(window, what);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            display.Show(done.load());
            if (result.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
                loop.quit();
        });
        poll.start(40);
        loop.exec();
    }
    result.get(); // raises what the work raised
}
