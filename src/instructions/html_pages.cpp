#include "instructions/html_pages.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <regex>
#include <system_error>

#include "common/error.h"
#include "common/strings.h"
#include "platform/atomic_file.h"
#include "platform/atomic_folder.h"
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

// Marks a page as a booklet's, so that a later booklet replaces only what a
// booklet made.
const char* const kGenerator = "<meta name=\"generator\" content=\"Stonemill building instructions\">";

// Whether the file is a booklet's web page.
bool IsBookletPage(const fs::path& page) {
    std::ifstream in(page, std::ios::binary);
    std::string head(2048, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head.find(kGenerator) != std::string::npos;
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

// A file name as a link's path: every byte but letters, digits and "-._~"
// percent-encoded, so that a "#", "?", "%", quote or space in it neither ends
// the link nor the attribute.
std::string LinkPath(const std::string& name) {
    std::string link;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) && byte < 0x80)
            link += c;
        else if (c == '-' || c == '.' || c == '_' || c == '~')
            link += c;
        else
            link += StrFormat("%%%02X", byte);
    }
    return link;
}

[[noreturn]] void RefuseOthers(const fs::path& path) {
    throw EError(StrFormat("The building instructions would replace \"%s\", which Stonemill did not write. "
                           "Choose another place for the instructions.",
                           path.string().c_str()));
}

} // namespace

THtmlBookletPlace HtmlBookletPlace(const fs::path& output) {
    const std::string extension = LowerCase(output.extension().string());
    if (extension != ".html" && extension != ".htm")
        return {output / "index.html", "pictures", false};
    // The pictures go beside the file a link names, under that file's name.
    const fs::path page = FileBehindLinks(output);
    return {page, page.stem().string() + "_pictures", true};
}

THtmlPages::THtmlPages(const THtmlBookletPlace& place, const TPaper& paper, const std::string& title)
    : FHtmlFile(place.Page), FPictureLink(LinkPath(place.PictureFolder)) {
    const fs::path folder = place.Page.parent_path().empty() ? fs::path(".") : place.Page.parent_path();
    const fs::path pictures = folder / place.PictureFolder;
    std::error_code error;
    const bool ownPage = fs::is_regular_file(place.Page, error) && IsBookletPage(place.Page);
    if (!place.PageNamed && fs::exists(place.Page, error) && !ownPage)
        RefuseOthers(place.Page);
    if (fs::exists(fs::symlink_status(pictures, error)) &&
        (!ownPage || fs::is_symlink(pictures, error) || !fs::is_directory(pictures, error) ||
         !HoldsOnlyBookletPictures(pictures)))
        throw EError(StrFormat("The pictures of the building instructions go into \"%s\", which holds other "
                               "files. Choose another place for the instructions.",
                               pictures.string().c_str()));
    if (fs::exists(folder, error) && !fs::is_directory(folder, error))
        throw EError(
            StrFormat("Cannot write the building instructions into \"%s\": it is a file, not a folder.",
                      folder.string().c_str()));
    fs::create_directories(folder, error);
    if (error)
        throw EError(
            StrFormat("Cannot create folder \"%s\". %s", folder.string().c_str(), error.message().c_str()));
    FPictures = std::make_unique<TAtomicFolder>(pictures);
    FHtml = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    FHtml += kGenerator;
    FHtml += "\n<title>";
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
    FPictures->Abandon();
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
        SavePictureFile(picture, FPictures->Partial() / file, ffPng);
    FHtml +=
        "<img src=\"" + FPictureLink + "/" + LinkPath(file) + "\" alt=\"\" style=\"" + Place(rect) + "\">\n";
}

void THtmlPages::Finish() {
    EndPage();
    FHtml += "</body>\n</html>\n";
    // The pictures first, then the page that shows them. The folder of an
    // earlier booklet is replaced; the constructor made sure it holds only
    // such pictures.
    FPictures->Commit();
    WriteFileAtomically(FHtmlFile, [&](std::FILE* file) {
        return std::fwrite(FHtml.data(), 1, FHtml.size(), file) == FHtml.size();
    });
    FFinished = true;
}
