#pragma once
// Pages drawn by Qt's painter: a PDF file with real, searchable text, and a
// picture of one page for showing it on screen. The header names no Qt class.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/page_output.h"

// A PDF document of pages of the paper's size, written as the program's
// atomic writer writes a file: it takes the place of the file (or of the
// file a link names) only when finished, a device or FIFO is written as it
// is, and a document dropped unfinished leaves nothing behind. Raises EError
// with the reason when the file cannot be written.
class TPdfPages final : public TPageOutput {
public:
    TPdfPages(const std::filesystem::path& path, const TPaper& paper, const std::string& title);
    ~TPdfPages() override;

    void BeginPage() override;
    void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) override;
    void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) override;
    void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) override;
    void Finish() override;
    void Abandon() override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// A page drawn into a 32-bit picture `widthPixels` wide, as tall as the
// paper's shape makes it; the picture holds it once Finish is called. Only
// the first page begun is drawn.
class TPagePicture final : public TPageOutput {
public:
    TPagePicture(TBitmap& target, const TPaper& paper, int widthPixels);
    ~TPagePicture() override;

    void BeginPage() override;
    void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) override;
    void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) override;
    void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) override;
    void Finish() override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
