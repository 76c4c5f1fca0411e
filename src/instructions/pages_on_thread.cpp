#include "instructions/pages_on_thread.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/bitmap.h"

TPagesOnThread::TPagesOnThread(TPageOutput& pages, int pagesAhead)
    : FPages(pages), FPagesAhead(std::max(1, pagesAhead)), FThread([this] { Run(); }) {}

TPagesOnThread::~TPagesOnThread() {
    {
        std::lock_guard lock(FMutex);
        FCalls.clear();
        if (!FFinished)
            FCalls.push_back({[this] { FPages.Abandon(); }, false, true});
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
}

void TPagesOnThread::Run() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FStop || !FCalls.empty(); });
        if (FCalls.empty())
            return;
        TCall call = std::move(FCalls.front());
        FCalls.pop_front();
        const bool run = !FFailure || call.EvenAfterFailure;
        FBusy = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            if (run)
                call.Run();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        FBusy = false;
        if (failure && !FFailure)
            FFailure = failure;
        if (call.NewPage)
            --FPagesWaiting;
        FChanged.notify_all();
    }
}

void TPagesOnThread::RaiseFailure() {
    if (FFailure)
        std::rethrow_exception(FFailure);
}

void TPagesOnThread::Queue(TCall call) {
    std::unique_lock lock(FMutex);
    if (call.NewPage)
        FChanged.wait(lock, [this] { return FPagesWaiting < FPagesAhead || FFailure; });
    RaiseFailure();
    if (call.NewPage)
        ++FPagesWaiting;
    FCalls.push_back(std::move(call));
    FChanged.notify_all();
}

void TPagesOnThread::BeginPage() {
    Queue({[this] { FPages.BeginPage(); }, true});
}

void TPagesOnThread::Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    Queue({[=, this] { FPages.Box(rect, fill, border, borderMm); }});
}

void TPagesOnThread::Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
    Queue({[=, this] { FPages.Text(rect, text, style); }});
}

void TPagesOnThread::Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) {
    auto copy = std::make_shared<TBitmap>(picture.Width(), picture.Height(), pf32bit);
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(copy->ScanLine(y), picture.ScanLine(y),
                    sizeof(uint32_t) * static_cast<size_t>(picture.Width()));
    Queue({[=, this] { FPages.Picture(rect, *copy, name, recurs); }});
}

void TPagesOnThread::Finish() {
    Queue({[this] { FPages.Finish(); }});
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return (FCalls.empty() && !FBusy) || FFailure; });
    RaiseFailure();
    FFinished = true;
}
