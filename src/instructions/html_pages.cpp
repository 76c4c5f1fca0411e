#include "instructions/html_pages.h"

#include <cstdio>
#include <regex>
#include <system_error>

#include "common/error.h"
#include "common/strings.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "render/picture_writer.h"

namespace fs = std::filesystem;

namespace {

std::string Mm(double value) {
    return StrFormat("%.2fmm", value);
}

std::string Place(const TPageRect& r) {
    return "left:" + Mm(r.X) + ";top:" + Mm(r.Y) + ";width:" + Mm(r.Width) + ";height:" + Mm(r.Height);
}

std::string CssColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return StrFormat("#%02x%02x%02x", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// Whether the folder holds nothing but pictures a booklet names, so that
// replacing it loses nothing of the user's.
bool HoldsOnlyBookletPictures(const fs::path& folder) {
    static const std::regex picture(
        "(cover|step-[0-9]+|callout-[0-9]+-[0-9]+|part-[0-9]+|group-[0-9]+)\\.png");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (!it->is_regular_file(error) || !std::regex_match(it->path().filename().string(), picture))
            return false;
    return !error;
}

} // namespace

THtmlBookletPlace HtmlBookletPlace(const fs::path& output) {
    const std::string extension = LowerCase(output.extension().string());
    if (extension == ".html" || extension == ".htm")
        return {output, output.stem().string() + "_pictures"};
    return {output / "index.html", "pictures"};
}

THtmlPages::THtmlPages(const fs::path& htmlFile, const std::string& pictureFolder, const TPaper& paper,
                       const std::string& title)
    : FHtmlFile(htmlFile), FPictureFolder(pictureFolder), FPaper(paper) {
    const fs::path folder = htmlFile.parent_path().empty() ? fs::path(".") : htmlFile.parent_path();
    std::error_code error;
    const fs::path pictures = folder / pictureFolder;
    if (fs::exists(pictures, error) &&
        (!fs::is_directory(pictures, error) || !HoldsOnlyBookletPictures(pictures)))
        throw EError(StrFormat("The pictures of the building instructions go into \"%s\", which holds other "
                               "files. Choose another place for the instructions.",
                               pictures.string().c_str()));
    fs::create_directories(folder, error);
    FPartialPictures = folder / ("." + pictureFolder + ".partial");
    fs::remove_all(FPartialPictures, error);
    if (!fs::create_directories(FPartialPictures, error) || error)
        throw EError(
            StrFormat("The building instructions cannot be written to \"%s\".", htmlFile.string().c_str()));
    FHtml = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    AppendHtmlText(FHtml, title);
    FHtml +=
        "</title>\n<style>\n"
        "body{margin:0;padding:8mm 0;background:#8a8f96;font-family:\"DejaVu Sans\",Verdana,sans-serif}\n"
        ".page{position:relative;overflow:hidden;margin:0 auto 8mm;background:#fff;"
        "box-shadow:0 1mm 3mm rgba(0,0,0,.4);width:" +
        Mm(paper.Width) + ";height:" + Mm(paper.Height) +
        "}\n"
        ".page>*{position:absolute;box-sizing:border-box;margin:0}\n"
        ".page>div.t{display:flex;align-items:center;white-space:nowrap;overflow:hidden;"
        "text-overflow:ellipsis}\n"
        ".page>div.t>span{overflow:hidden;text-overflow:ellipsis;width:100%}\n"
        "@media print{body{padding:0;background:none}.page{margin:0;box-shadow:none;"
        "break-after:page}}\n"
        "@page{size:" +
        Mm(paper.Width) + " " + Mm(paper.Height) + ";margin:0}\n</style>\n</head>\n<body>\n";
}

THtmlPages::~THtmlPages() {
    Abandon();
}

void THtmlPages::Abandon() {
    if (FFinished)
        return;
    std::error_code ignored;
    fs::remove_all(FPartialPictures, ignored);
    FFinished = true;
}

void THtmlPages::EndPage() {
    if (FPageOpen)
        FHtml += "</section>\n";
    FPageOpen = false;
}

void THtmlPages::BeginPage() {
    EndPage();
    FHtml += "<section class=\"page\">\n";
    FPageOpen = true;
}

void THtmlPages::Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    FHtml += "<div style=\"" + Place(rect) + ";background:" + CssColor(fill);
    if (borderMm > 0)
        FHtml += ";border:" + Mm(borderMm) + " solid " + CssColor(border);
    FHtml += "\"></div>\n";
}

void THtmlPages::Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
    const char* align = style.Align == TTextAlign::Left     ? "left"
                        : style.Align == TTextAlign::Centre ? "center"
                                                            : "right";
    FHtml += "<div class=\"t\" style=\"" + Place(rect) + StrFormat(";font-size:%.1fpt", style.Points) +
             (style.Bold ? ";font-weight:bold" : "") + ";color:" + CssColor(style.Color) +
             ";text-align:" + align + "\"><span>";
    AppendHtmlText(FHtml, text);
    FHtml += "</span></div>\n";
}

void THtmlPages::Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool) {
    // Every picture is written once under its name, recurring or not.
    const std::string file = name + ".png";
    if (FWritten.insert(file).second)
        SavePictureFile(picture, FPartialPictures / file, ffPng);
    FHtml += "<img src=\"" + FPictureFolder + "/" + file + "\" alt=\"\" style=\"" + Place(rect) + "\">\n";
}

void THtmlPages::Finish() {
    EndPage();
    FHtml += "</body>\n</html>\n";
    // The folder of an earlier booklet is replaced; the constructor made sure
    // it holds only such pictures.
    const fs::path pictures = FPartialPictures.parent_path() / FPictureFolder;
    std::error_code error;
    fs::remove_all(pictures, error);
    fs::rename(FPartialPictures, pictures, error);
    if (error)
        throw EError(StrFormat("The pictures of the building instructions cannot be written to \"%s\".",
                               pictures.string().c_str()));
    WriteFileAtomically(FHtmlFile, [&](std::FILE* file) {
        return std::fwrite(FHtml.data(), 1, FHtml.size(), file) == FHtml.size();
    });
    FFinished = true;
}
