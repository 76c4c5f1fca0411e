// The booklet on small models built here: the pages a layout makes, the step
// pictures, and the web page with its pictures.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "common/error.h"
#include "golden.h"
#include "instructions/booklet_content.h"
#include "instructions/booklet_layout.h"
#include "instructions/booklet_pictures.h"
#include "instructions/booklet_writer.h"
#include "instructions/html_pages.h"
#include "instructions/pages_on_thread.h"
#include "platform/bitmap.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

struct TModel {
    std::vector<std::unique_ptr<TBlock>> Owned;
    std::vector<const TBlock*> Stones;

    void Add(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height, TColor color,
             int32_t group = 0) {
        Owned.push_back(StoneInUnits('B', x, y, z, length, width, height, color));
        Owned.back()->Group = group;
        Stones.push_back(Owned.back().get());
    }
};

// A plate with a wall of loose bricks, a tower of eight bricks made a group,
// and a roof brick on the wall.
TModel SmallHouse() {
    TModel m;
    m.Add(0, 0, 0, 200, 120, 6, RGB(60, 140, 60));
    for (int i = 0; i < 5; ++i)
        m.Add(20 + 30 * i, 20, 6, 30, 20, 20, RGB(200, 40, 30));
    for (int i = 0; i < 8; ++i)
        m.Add(140, 70, 6 + 20 * i, 40, 40, 20, i % 2 ? RGB(90, 90, 90) : RGB(230, 230, 230), 7);
    m.Add(20, 20, 26, 150, 20, 10, RGB(40, 60, 200));
    return m;
}

bool Inside(const TPageRect& r, const TPaper& paper) {
    return r.X >= 0 && r.Y >= 0 && r.X + r.Width <= paper.Width + 1e-9 &&
           r.Y + r.Height <= paper.Height + 1e-9;
}

// A step as the pages show it: its label, the counts of its parts box, and
// its picture.
struct TShownStep {
    std::string Label;
    int64_t Count = 0;
    bool ShowsGroup = false;
    TPictureRef Picture;
    int Page = 0;
};

std::vector<TShownStep> ShownSteps(const std::vector<TBookletPage>& pages, int& partsListPage,
                                   int64_t& partsListCount) {
    static const std::regex label("Step [0-9]+(\\.[0-9]+)?"), count("([0-9]+)×");
    std::vector<TShownStep> steps;
    bool open = false;
    for (size_t p = 0; p < pages.size(); ++p) {
        for (const TPageItem& item : pages[p].Items) {
            if (item.Kind == TPageItem::ikText && item.Text == "Parts list")
                partsListPage = static_cast<int>(p);
            std::smatch match;
            if (item.Kind == TPageItem::ikText && std::regex_match(item.Text, label)) {
                steps.push_back({item.Text, 0, false, {}, static_cast<int>(p)});
                open = true;
            } else if (item.Kind == TPageItem::ikText && std::regex_match(item.Text, match, count)) {
                (partsListPage >= 0 ? partsListCount : steps.back().Count) += std::stoll(match[1]);
            } else if (open && item.Kind == TPageItem::ikPicture) {
                if (item.Picture.Kind == TPictureKind::Group)
                    steps.back().ShowsGroup = true;
                if (item.Picture.Kind == TPictureKind::Step ||
                    item.Picture.Kind == TPictureKind::CalloutStep) {
                    steps.back().Picture = item.Picture;
                    open = false;
                }
            }
        }
    }
    return steps;
}

} // namespace

TEST(Booklet, PagesShowEveryStepInOrderWithItsPartsAtOneScaleAndEndWithThePartsList) {
    TTempProgramFolder folder;
    const TModel m = SmallHouse();
    const TBookletContent content(m.Stones, TPartsNaming(), 3, "Small house");
    const TBuildPlan& plan = content.Plan();
    ASSERT_EQ(plan.Callouts.size(), 1u) << "the tower of eight is built aside";
    TBookletPictures pictures(content, TRenderState());
    for (const TPaper& paper : {kPaperA4, kPaperLetter}) {
        SCOPED_TRACE(paper.Name);
        const std::vector<TBookletPage> pages = LayOutBooklet(content, paper, pictures.Shapes());
        ASSERT_GE(pages.size(), 3u);
        EXPECT_EQ(pages[0].Items[0].Text, "Small house");
        EXPECT_EQ(pages[0].Items[1].Text, "15 stones · " + std::to_string(plan.Steps.size()) + " steps");

        int partsListPage = -1;
        int64_t partsListCount = 0;
        const std::vector<TShownStep> shown = ShownSteps(pages, partsListPage, partsListCount);
        // The callout's steps come right before the step that sets the group down.
        std::vector<std::string> expected;
        std::vector<int64_t> counts;
        for (size_t k = 0; k < plan.Steps.size(); ++k) {
            const TBuildStep& step = plan.Steps[k];
            if (step.CalloutIndex >= 0)
                for (size_t j = 0; j < plan.Callouts[static_cast<size_t>(step.CalloutIndex)].Steps.size();
                     ++j) {
                    expected.push_back("Step " + std::to_string(k + 1) + "." + std::to_string(j + 1));
                    counts.push_back(static_cast<int64_t>(
                        plan.Callouts[static_cast<size_t>(step.CalloutIndex)].Steps[j].Stones.size()));
                }
            expected.push_back("Step " + std::to_string(k + 1));
            counts.push_back(step.CalloutIndex >= 0 ? 1 : static_cast<int64_t>(step.Stones.size()));
        }
        ASSERT_EQ(shown.size(), expected.size());
        std::map<int, int> stepsOnPage;
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].Label, expected[i]);
            EXPECT_EQ(shown[i].Count, counts[i]) << shown[i].Label;
            const bool callout = shown[i].Label.find('.') != std::string::npos;
            EXPECT_EQ(shown[i].Picture.Kind, callout ? TPictureKind::CalloutStep : TPictureKind::Step);
            EXPECT_EQ(shown[i].ShowsGroup,
                      !callout && counts[i] == 1 && shown[i - (i > 0)].Label.find('.') != std::string::npos);
            // Every step of the model, and every step of the callout, at one size.
            const TShownStep& first = *std::find_if(shown.begin(), shown.end(), [&](const TShownStep& s) {
                return s.Picture.Kind == shown[i].Picture.Kind;
            });
            EXPECT_EQ(shown[i].Picture.Width, first.Picture.Width);
            EXPECT_EQ(shown[i].Picture.Height, first.Picture.Height);
            ++stepsOnPage[shown[i].Page];
        }
        for (const auto& [page, count] : stepsOnPage)
            EXPECT_LE(count, 4) << "page " << page + 1;
        EXPECT_EQ(partsListPage, static_cast<int>(pages.size()) - 1);
        EXPECT_EQ(partsListCount, 15);
        for (size_t p = 0; p < pages.size(); ++p) {
            for (const TPageItem& item : pages[p].Items)
                EXPECT_TRUE(Inside(item.Rect, paper)) << "page " << p + 1 << ": " << item.Text;
            if (p > 0) {
                EXPECT_EQ(pages[p].Items.back().Text, std::to_string(p + 1)) << "the page's number";
            }
        }
    }
}

TEST(Booklet, StepPicturesShowNewStonesAsTheyAreAndEarlierOnesFadedTheSameInAnyOrder) {
    TTempProgramFolder folder;
    TModel m;
    m.Add(0, 0, 0, 40, 20, 20, RGB(200, 40, 30));
    m.Add(100, 0, 0, 40, 20, 20, RGB(40, 60, 200));
    const TBookletContent content(m.Stones, TPartsNaming(), 1, "Two bricks");
    ASSERT_EQ(content.StepCount(), 2);
    const TPictureRef first{TPictureKind::Step, 0, 0, 96, 64};
    const TPictureRef second{TPictureKind::Step, 1, 0, 96, 64};

    // Seen as the program starts: tilted 70 degrees, turned 330.
    TRenderState look;
    look.SetRotation(70, 0, 330);
    TBookletPictures pictures(content, look);
    const QImage second1 = pictures.Picture(second).ToImage();
    const QImage first1 = pictures.Picture(first).ToImage();
    EXPECT_TRUE(MatchesGolden("booklet_step", second1));
    EXPECT_EQ(pictures.Picture(second).ToImage(), second1) << "drawn again after an earlier step";
    TBookletPictures fresh(content, look);
    fresh.Picture(first);
    EXPECT_EQ(fresh.Picture(second).ToImage(), second1) << "drawn after the step before it";

    // The first brick's pixels are lighter once it is an earlier step's,
    // and not paper white.
    int lighter = 0, pixels = 0;
    for (int y = 0; y < first1.height(); ++y)
        for (int x = 0; x < first1.width() / 2; ++x) {
            const QRgb before = first1.pixel(x, y), after = second1.pixel(x, y);
            if ((before & 0xFFFFFF) == 0xFFFFFF)
                continue;
            ++pixels;
            lighter += qGray(after) > qGray(before) && (after & 0xFFFFFF) != 0xFFFFFF;
        }
    EXPECT_GT(pixels, 100);
    EXPECT_GT(lighter, pixels * 9 / 10);
    EXPECT_EQ(FadedColor(RGB(0, 100, 255), 0.5), RGB(128, 178, 255));
}

TEST(Booklet, WebPageHoldsEveryPageAndItsPicturesAndAStoppedOneLeavesNothing) {
    TTempProgramFolder folder;
    const TModel m = SmallHouse();
    const TBookletContent content(m.Stones, TPartsNaming(), 6, "Small <house>");
    TBookletPictures pictures(content, TRenderState());
    const std::vector<TBookletPage> pages = LayOutBooklet(content, kPaperA4, pictures.Shapes());

    const THtmlBookletPlace place = HtmlBookletPlace(folder.Path() / "book.html");
    EXPECT_EQ(place.PictureFolder, "book_pictures");
    EXPECT_EQ(HtmlBookletPlace(folder.Path() / "web").Page, folder.Path() / "web" / "index.html");
    {
        THtmlPages html(place, kPaperA4, content.Title());
        EXPECT_TRUE(WriteBooklet(pages, pictures, html));
    }
    const std::string text = folder.ReadFile(place.Page);
    EXPECT_NE(text.find("<title>Small &lt;house&gt;</title>"), std::string::npos);
    EXPECT_NE(text.find("<span>Step 1</span>"), std::string::npos);
    size_t sections = 0, images = 0;
    for (size_t at = text.find("<section"); at != std::string::npos; at = text.find("<section", at + 1))
        ++sections;
    EXPECT_EQ(sections, pages.size());
    const std::regex source("<img src=\"(book_pictures/[a-z0-9-]+\\.png)\"");
    for (std::sregex_iterator it(text.begin(), text.end(), source), end; it != end; ++it, ++images) {
        QImage picture;
        EXPECT_TRUE(picture.load(QString::fromStdString((folder.Path() / (*it)[1].str()).string())))
            << (*it)[1];
    }
    EXPECT_GT(images, pages.size());

    // Written again, the earlier booklet's page and pictures are replaced.
    {
        THtmlPages html(place, kPaperA4, content.Title());
        EXPECT_TRUE(WriteBooklet(pages, pictures, html));
    }

    // Stopped after the second page: neither page nor pictures are left.
    const fs::path stopped = folder.Path() / "stopped.html";
    const std::set<fs::path> before(fs::directory_iterator(folder.Path()), fs::directory_iterator());
    {
        THtmlPages html(HtmlBookletPlace(stopped), kPaperA4, content.Title());
        EXPECT_FALSE(WriteBooklet(pages, pictures, html, [](int done, int) { return done < 2; }));
    }
    EXPECT_EQ(std::set<fs::path>(fs::directory_iterator(folder.Path()), fs::directory_iterator()), before);
}

namespace {

// A web page of one page with one picture, written to the output.
void WriteSmallWebPage(const fs::path& output, const std::string& title = "t") {
    THtmlPages html(HtmlBookletPlace(output), kPaperA4, title);
    TBitmap picture(4, 4, pf32bit);
    html.BeginPage();
    html.Text({10, 10, 50, 8}, title, {});
    html.Picture({10, 20, 40, 40}, picture, "cover", false);
    html.Finish();
}

// The targets of a page's pictures, percent-decoded.
std::vector<std::string> PictureLinks(const std::string& page) {
    std::vector<std::string> links;
    const std::regex image("<img src=\"([^\"<>]*)\"");
    for (std::sregex_iterator it(page.begin(), page.end(), image), end; it != end; ++it) {
        const std::string encoded = (*it)[1];
        std::string decoded;
        for (size_t i = 0; i < encoded.size(); ++i)
            if (encoded[i] == '%' && i + 2 < encoded.size()) {
                decoded += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                EXPECT_EQ(std::string("\"'<>&#? ").find(encoded[i]), std::string::npos) << encoded;
                decoded += encoded[i];
            }
        links.push_back(decoded);
    }
    return links;
}

} // namespace

TEST(Booklet, AWebPageReplacesOnlyWhatABookletMadeAndItsNamesStayInTheirPlaces) {
    TTempProgramFolder folder;
    const fs::path& root = folder.Path();
    const std::string refused = "Choose another place for the instructions.";

    // The user's own page in the folder named as the booklet's, and a
    // pictures folder the user filled, are refused and kept.
    fs::create_directories(root / "site");
    std::ofstream(root / "site" / "index.html") << "<h1>my homepage</h1>";
    EXPECT_NE(ErrorOf([&] { WriteSmallWebPage(root / "site"); }).find(refused), std::string::npos);
    EXPECT_EQ(folder.ReadFile(root / "site" / "index.html"), "<h1>my homepage</h1>");
    fs::create_directories(root / "holiday_pictures");
    std::ofstream(root / "holiday_pictures" / "cover.png") << "my photo";
    EXPECT_NE(ErrorOf([&] { WriteSmallWebPage(root / "holiday.html"); }).find(refused), std::string::npos);
    EXPECT_EQ(folder.ReadFile(root / "holiday_pictures" / "cover.png"), "my photo");
    // A folder under the name the unfinished pictures once had is nobody's business.
    fs::create_directories(root / ".book_pictures.partial");
    std::ofstream(root / ".book_pictures.partial" / "data.txt") << "precious";
    WriteSmallWebPage(root / "book.html");
    EXPECT_EQ(folder.ReadFile(root / ".book_pictures.partial" / "data.txt"), "precious");
    // A booklet's own folder output is replaced by the next booklet.
    WriteSmallWebPage(root / "web");
    WriteSmallWebPage(root / "web", "again");
    EXPECT_NE(folder.ReadFile(root / "web" / "index.html").find("again"), std::string::npos);

    // Quotes, "#", "%", spaces and bytes beyond ASCII in the output's name
    // stay in the picture links, which lead to the pictures.
    for (const std::string name : {"x\" onerror=\"alert(1);.html", "My #1 house?.html", "a%41&b\xE9.html"}) {
        WriteSmallWebPage(root / name);
        const std::string page = folder.ReadFile(root / name);
        // Every picture is a tag of three attributes, none of them added by the name.
        const std::regex tag("<img src=\"[^\"<>]*\" alt=\"[^\"<>]*\" style=\"[^\"<>]*\">");
        EXPECT_EQ(std::distance(std::sregex_iterator(page.begin(), page.end(), tag), std::sregex_iterator()),
                  1)
            << name;
        const std::vector<std::string> links = PictureLinks(page);
        ASSERT_EQ(links.size(), 1u) << name;
        EXPECT_TRUE(fs::is_regular_file(root / links[0])) << name << " -> " << links[0];
    }
    // The page is UTF-8 whatever code page its text came in.
    WriteSmallWebPage(root / "latin.html", "caf\xE9 \xED\xA0\x80");
    EXPECT_NE(folder.ReadFile(root / "latin.html").find("caf\xC3\xA9 \xC3\xAD\xC2\xA0\xC2\x80"),
              std::string::npos);

    // Written through a link, the page goes to the file the link names and
    // its pictures beside that file.
    fs::create_directories(root / "other");
    fs::create_symlink("other/real.html", root / "link.html");
    WriteSmallWebPage(root / "link.html");
    EXPECT_TRUE(fs::is_symlink(root / "link.html"));
    const std::vector<std::string> links = PictureLinks(folder.ReadFile(root / "other" / "real.html"));
    ASSERT_EQ(links.size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(root / "other" / links[0])) << links[0];
    EXPECT_FALSE(fs::exists(root / "link_pictures"));
}

namespace {

// Records the calls it gets as text, failing at the picture of a given name.
class TRecordingPages final : public TPageOutput {
public:
    std::string Calls, FailAt;
    void BeginPage() override { Calls += "page;"; }
    void Box(const TPageRect& r, TColor fill, TColor, double) override {
        Calls += StrFormat("box %.1f %06x;", r.X, fill);
    }
    void Text(const TPageRect&, const std::string& text, const TTextStyle&) override { Calls += text + ";"; }
    void Picture(const TPageRect&, TBitmap& picture, const std::string& name, bool) override {
        if (name == FailAt)
            throw EError("The disk is full.");
        Calls += StrFormat("%s %dx%d %08x;", name.c_str(), picture.Width(), picture.Height(),
                           *static_cast<const uint32_t*>(picture.ScanLine(picture.Height() / 2)));
    }
    void Finish() override { Calls += "finish"; }
};

} // namespace

TEST(Booklet, PagesWrittenOnAThreadArriveInOrderAndAFailureThereIsRaised) {
    TTempProgramFolder folder;
    const TModel m = SmallHouse();
    const TBookletContent content(m.Stones, TPartsNaming(), 2, "Small house");
    TBookletPictures pictures(content, TRenderState());
    const std::vector<TBookletPage> pages = LayOutBooklet(content, kPaperA4, pictures.Shapes());
    TRecordingPages direct, handedOn;
    EXPECT_TRUE(WriteBooklet(pages, pictures, direct));
    {
        TPagesOnThread onThread(handedOn, 1);
        EXPECT_TRUE(WriteBooklet(pages, pictures, onThread));
    }
    EXPECT_EQ(handedOn.Calls, direct.Calls);
    EXPECT_TRUE(direct.Calls.ends_with("finish"));

    TRecordingPages failing;
    failing.FailAt = "step-3";
    TPagesOnThread onThread(failing, 1);
    EXPECT_EQ(ErrorOf([&] { WriteBooklet(pages, pictures, onThread); }), "The disk is full.");
    EXPECT_FALSE(failing.Calls.ends_with("finish"));
}
