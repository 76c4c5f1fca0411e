#pragma once
// A booklet as one web page: every page of paper a block of its size with
// its boxes, texts and pictures placed as on paper, so the page reads on
// screen and prints as the PDF does. The pictures are PNG files in a folder
// beside the page, named after what they show.

#include <filesystem>
#include <set>
#include <string>

#include "platform/page_output.h"

class THtmlPages final : public TPageOutput {
public:
    // The page is written to htmlFile, its pictures into the folder of that
    // name beside it. Both replace earlier ones only once complete; pages
    // dropped unfinished leave nothing behind. Raises EError when the folder
    // cannot be made, and when the picture folder is there already holding
    // anything but a booklet's pictures.
    THtmlPages(const std::filesystem::path& htmlFile, const std::string& pictureFolder, const TPaper& paper,
               const std::string& title);
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
    std::string FPictureFolder;
    std::filesystem::path FPartialPictures;
    TPaper FPaper;
    std::string FHtml;
    bool FPageOpen = false;
    bool FFinished = false;
    std::set<std::string> FWritten;
};

// Where a booklet's web page goes for --output PATH: a name ending in ".html"
// (or ".htm") is the page itself, with its pictures in NAME_pictures beside
// it; any other name is a folder that receives index.html and pictures/.
struct THtmlBookletPlace {
    std::filesystem::path Page;
    std::string PictureFolder;
};
THtmlBookletPlace HtmlBookletPlace(const std::filesystem::path& output);
