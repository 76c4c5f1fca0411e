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
        FStop = true;
        FCalls.clear();
    }
    FChanged.notify_all();
    FThread.join();
}

void TPagesOnThread::Run() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FChanged.wait(lock, [this] { return FStop || !FCalls.empty(); });
        if (FStop)
            return;
        auto [call, newPage] = std::move(FCalls.front());
        FCalls.pop_front();
        FBusy = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            if (!FFailure)
                call();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        FBusy = false;
        if (failure && !FFailure)
            FFailure = failure;
        if (newPage)
            --FPagesWaiting;
        FChanged.notify_all();
    }
}

void TPagesOnThread::RaiseFailure() {
    if (FFailure)
        std::rethrow_exception(FFailure);
}

void TPagesOnThread::Queue(std::function<void()> call, bool newPage) {
    std::unique_lock lock(FMutex);
    if (newPage)
        FChanged.wait(lock, [this] { return FPagesWaiting < FPagesAhead || FFailure; });
    RaiseFailure();
    FCalls.emplace_back(std::move(call), newPage);
    if (newPage)
        ++FPagesWaiting;
    FChanged.notify_all();
}

void TPagesOnThread::BeginPage() {
    Queue([this] { FPages.BeginPage(); }, true);
}

void TPagesOnThread::Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    Queue([=, this] { FPages.Box(rect, fill, border, borderMm); }, false);
}

void TPagesOnThread::Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
    Queue([=, this] { FPages.Text(rect, text, style); }, false);
}

void TPagesOnThread::Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) {
    auto copy = std::make_shared<TBitmap>(picture.Width(), picture.Height(), pf32bit);
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(copy->ScanLine(y), picture.ScanLine(y), sizeof(uint32_t) * static_cast<size_t>(picture.Width()));
    Queue([=, this] { FPages.Picture(rect, *copy, name, recurs); }, false);
}

void TPagesOnThread::Finish() {
    Queue([this] { FPages.Finish(); }, false);
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return (FCalls.empty() && !FBusy) || FFailure; });
    RaiseFailure();
}
