#pragma once
// A booklet as one web page: every page of paper a block of its size with
// its boxes, texts and pictures placed as on paper, so the page reads on
// screen and prints as the PDF does. The pictures are PNG files in a folder
// beside the page, named after what they show.

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "platform/page_output.h"

class TAtomicFolder;

// Where a booklet's web page goes for --output PATH: a name ending in ".html"
// (or ".htm") is the page itself, with its pictures in NAME_pictures beside
// it; any other name is a folder that receives index.html and pictures/. A
// page named through a symbolic link is the file the link names, and its
// pictures go beside that file.
struct THtmlBookletPlace {
    std::filesystem::path Page;
    std::string PictureFolder;
    // The user named the page itself, not only the folder it goes into.
    bool PageNamed = true;
};
THtmlBookletPlace HtmlBookletPlace(const std::filesystem::path& output);

class THtmlPages final : public TPageOutput {
public:
    // The page and its pictures replace earlier ones only once complete, and
    // only what a booklet made: the user's own page (one the user did not
    // name) or a picture folder that is not an earlier booklet's is refused
    // with EError. Pages dropped unfinished leave nothing behind.
    THtmlPages(const THtmlBookletPlace& place, const TPaper& paper, const std::string& title);
    ~THtmlPages() override;

    void BeginPage() override;
    void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) override;
    void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) override;
    void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) override;
    void Finish() override;
    void Abandon() override;

private:
    void EndPage();

    std::filesystem::path FHtmlFile;
    // The picture folder as the page's links name it.
    std::string FPictureLink;
    std::unique_ptr<TAtomicFolder> FPictures;
    std::string FHtml;
    bool FPageOpen = false;
    bool FFinished = false;
    std::set<std::string> FWritten;
};
