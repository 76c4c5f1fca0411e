#pragma once
// Pages handed on to another output on a thread of their own: while the
// pictures of the next pages are drawn, the earlier pages are compressed and
// written. Calls reach the output in the order they were made.

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/page_output.h"

class TPagesOnThread final : public TPageOutput {
public:
    // At most pagesAhead pages wait for the output at a time; pictures are
    // copied, so the caller may draw the next ones into the same bitmaps.
    explicit TPagesOnThread(TPageOutput& pages, int pagesAhead = 2);
    // Drops what still waits and stops the thread; an unfinished output is
    // abandoned on the thread that drew its pages (a painter's fonts belong
    // to the thread that used them).
    ~TPagesOnThread() override;
    TPagesOnThread(const TPagesOnThread&) = delete;
    TPagesOnThread& operator=(const TPagesOnThread&) = delete;

    // Raise the output's first failure (EError) once it is known.
    void BeginPage() override;
    void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) override;
    void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) override;
    void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) override;
    // Waits until every page is written and the output finished.
    void Finish() override;

private:
    struct TCall {
        std::function<void()> Run;
        bool NewPage = false;
        bool EvenAfterFailure = false;
    };
    void Queue(TCall call);
    void RaiseFailure();
    void Run();

    TPageOutput& FPages;
    const int FPagesAhead;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<TCall> FCalls;
    int FPagesWaiting = 0;
    bool FBusy = false, FStop = false, FFinished = false;
    std::exception_ptr FFailure;
    std::thread FThread;
};
