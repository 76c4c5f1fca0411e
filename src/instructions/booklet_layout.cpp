#include "instructions/booklet_layout.h"

#include <algorithm>
#include <cmath>

#include "common/error.h"
#include "instructions/booklet_content.h"

namespace {

// Millimetres.
constexpr double kMargin = 12;
constexpr double kFooter = 8;
constexpr double kLabelWidth = 32;
constexpr double kPartWidth = 17, kPartHeight = 21, kPartPicture = 14;
constexpr double kPartsPadding = 2;
constexpr double kLargestPicture = 95;
constexpr double kCellGap = 6;
constexpr double kCalloutPadding = 3;
constexpr int kMostCellsPerPage = 4;
constexpr double kListCellHeight = 18;
constexpr int kListColumns = 3;

constexpr TColor kGrey = RGB(90, 90, 90);
constexpr TColor kRule = RGB(205, 205, 205);
constexpr TColor kPartsFill = clWhite;
constexpr TColor kPartsBorder = RGB(175, 175, 175);
constexpr TColor kCalloutFill = RGB(235, 241, 251);
constexpr TColor kCalloutBorder = RGB(60, 95, 160);

int Pixels(double mm, double perMm) {
    return std::max(1, static_cast<int>(std::lround(mm * perMm)));
}

TPageItem TextItem(const TPageRect& rect, std::string text, double points, bool bold, TTextAlign align,
                   TColor color = clBlack) {
    TPageItem item;
    item.Kind = TPageItem::ikText;
    item.Rect = rect;
    item.Text = std::move(text);
    item.Style = TTextStyle{points, bold, align, color};
    return item;
}

TPageItem BoxItem(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    TPageItem item;
    item.Kind = TPageItem::ikBox;
    item.Rect = rect;
    item.Fill = fill;
    item.Border = border;
    item.BorderMm = borderMm;
    return item;
}

TPageItem PictureItem(const TPageRect& rect, TPictureKind kind, int index, int sub, double perMm,
                      TColor background = clWhite) {
    TPageItem item;
    item.Kind = TPageItem::ikPicture;
    item.Rect = rect;
    item.Picture =
        TPictureRef{kind, index, sub, Pixels(rect.Width, perMm), Pixels(rect.Height, perMm), background};
    return item;
}

// A picture's size in a width, no taller than the largest picture.
struct TPictureSize {
    double Width, Height;
};
TPictureSize FitPicture(double shape, double width) {
    shape = std::clamp(std::isfinite(shape) ? shape : 1.0, 0.1, 10.0);
    if (width * shape <= kLargestPicture)
        return {width, width * shape};
    return {kLargestPicture / shape, kLargestPicture};
}

// One step as it is laid out: its number, its parts, its picture.
struct TStepCell {
    std::string Label;
    const TStepParts* Parts;
    TPictureKind Kind;
    int Index, Sub;
    TPictureSize Picture;
    bool InCallout;
};

class TBookletPager {
public:
    TBookletPager(const TPaper& paper, std::vector<TBookletPage>& pages)
        : FPaper(paper), FPages(pages), FLeft(kMargin), FWidth(paper.Width - 2 * kMargin),
          FBottom(paper.Height - kMargin - kFooter) {}

    double Width() const { return FWidth; }

    void Cover(const TBookletContent& content, double shape) {
        TBookletPage& page = FPages.emplace_back();
        const double top = kMargin + 8;
        page.Items.push_back(
            TextItem({FLeft, top, FWidth, 14}, content.Title(), 26, true, TTextAlign::Centre));
        const int stones = static_cast<int>(content.Stones().size());
        page.Items.push_back(
            TextItem({FLeft, top + 16, FWidth, 8},
                     StrFormat("%d %s · %d %s", stones, stones == 1 ? "stone" : "stones", content.StepCount(),
                               content.StepCount() == 1 ? "step" : "steps"),
                     12, false, TTextAlign::Centre, kGrey));
        const double pictureTop = top + 32, pictureBottom = FBottom - 16;
        const double room = pictureBottom - pictureTop;
        shape = std::clamp(std::isfinite(shape) ? shape : 1.0, 0.1, 10.0);
        TPictureSize size{FWidth, FWidth * shape};
        if (size.Height > room)
            size = {room / shape, room};
        page.Items.push_back(PictureItem({FLeft + (FWidth - size.Width) / 2,
                                          pictureTop + (room - size.Height) / 2, size.Width, size.Height},
                                         TPictureKind::Cover, 0, 0, kCoverPixelsPerMm));
        page.Items.push_back(TextItem({FLeft, FBottom - 10, FWidth, 10}, "Building instructions", 16, true,
                                      TTextAlign::Centre, kGrey));
    }

    // Places the step below the last one, on a new page when it does not fit
    // or the page holds the most steps a page shows.
    void Step(const TStepCell& cell) {
        const double height = CellHeight(cell);
        if (!cell.InCallout)
            EndCallout();
        // A callout's steps follow one another inside its frame.
        const bool inRun = FCalloutStart >= 0;
        const double gap = inRun ? 0 : kCellGap;
        if (FCells == 0 || FCells >= kMostCellsPerPage || FY + gap + height > FBottom) {
            EndCallout();
            NewPage();
        } else {
            // A rule parts two steps, in the gap or inside the frame; a
            // frame's edge parts a callout from the steps beside it.
            const double inset = inRun ? kCalloutPadding : 0;
            if (inRun || (!cell.InCallout && !FLastInCallout))
                Page().Items.push_back(
                    BoxItem({FLeft + inset, FY + gap / 2 - 0.15, FWidth - 2 * inset, 0.3}, kRule, kRule, 0));
            FY += gap;
        }
        if (cell.InCallout && FCalloutStart < 0) {
            FCalloutStart = static_cast<int>(Page().Items.size());
            FCalloutTop = FY;
        }
        Place(cell, FY);
        FY += height;
        ++FCells;
        FLastInCallout = cell.InCallout;
    }

    // Ends a run of callout steps: their frame goes beneath them.
    void EndCallout() {
        if (FCalloutStart < 0)
            return;
        auto& items = Page().Items;
        items.insert(items.begin() + FCalloutStart, BoxItem({FLeft, FCalloutTop, FWidth, FY - FCalloutTop},
                                                            kCalloutFill, kCalloutBorder, 0.5));
        FCalloutStart = -1;
    }

    void PartsList(const TPartsList& list) {
        EndCallout();
        NewPage();
        Page().Items.push_back(TextItem({FLeft, FY, FWidth, 10}, "Parts list", 18, true, TTextAlign::Left));
        const int64_t kinds = static_cast<int64_t>(list.Rows.size());
        Page().Items.push_back(
            TextItem({FLeft, FY + 10, FWidth, 6},
                     StrFormat("%lld %s in %lld %s", static_cast<long long>(list.Stones),
                               list.Stones == 1 ? "stone" : "stones", static_cast<long long>(kinds),
                               kinds == 1 ? "kind" : "kinds"),
                     10, false, TTextAlign::Left, kGrey));
        FY += 20;
        const double cellWidth = FWidth / kListColumns;
        for (size_t i = 0; i < list.Rows.size(); ++i) {
            const int column = static_cast<int>(i % kListColumns);
            if (column == 0 && FY + kListCellHeight > FBottom)
                NewPage();
            const TPartsRow& row = list.Rows[i];
            const double x = FLeft + column * cellWidth, y = FY;
            Page().Items.push_back(PictureItem({x + 1, y + 2, kPartPicture, kPartPicture}, TPictureKind::Part,
                                               static_cast<int>(i), 0, kCoverPixelsPerMm));
            const double textX = x + kPartPicture + 3, textWidth = cellWidth - kPartPicture - 5;
            Page().Items.push_back(TextItem({textX, y + 1.5, textWidth, 6},
                                            StrFormat("%lld×", static_cast<long long>(row.Count)), 11, true,
                                            TTextAlign::Left));
            Page().Items.push_back(
                TextItem({textX, y + 7.5, textWidth, 4.5}, row.Name, 8, false, TTextAlign::Left));
            Page().Items.push_back(
                TextItem({textX, y + 12, textWidth, 4.5}, row.ColorName, 8, false, TTextAlign::Left, kGrey));
            if (column == kListColumns - 1 || i + 1 == list.Rows.size())
                FY += kListCellHeight;
        }
    }

    // Numbers every page but the cover.
    void NumberPages() {
        for (size_t i = 1; i < FPages.size(); ++i)
            FPages[i].Items.push_back(TextItem({0, FPaper.Height - kMargin - 5, FPaper.Width, 6},
                                               std::to_string(i + 1), 9, false, TTextAlign::Centre, kGrey));
    }

private:
    TBookletPage& Page() { return FPages.back(); }

    void NewPage() {
        FPages.emplace_back();
        FY = kMargin;
        FCells = 0;
    }

    // The columns of a parts box: as many as its parts, at most what fits
    // beside the step's number (inside a callout's frame too).
    size_t PartsColumns(size_t parts) const {
        const double room = FWidth - kLabelWidth - 2 * kCalloutPadding - 2 * kPartsPadding;
        const size_t most = std::max<size_t>(1, static_cast<size_t>(room / kPartWidth));
        return std::max<size_t>(1, std::min(parts, most));
    }
    double PartsBoxWidth(size_t parts) const {
        return 2 * kPartsPadding + static_cast<double>(PartsColumns(parts)) * kPartWidth;
    }
    double PartsBoxHeight(size_t parts) const {
        const size_t columns = PartsColumns(parts);
        const size_t rows = (parts + columns - 1) / columns;
        return 2 * kPartsPadding + static_cast<double>(rows) * kPartHeight;
    }
    static size_t PartCount(const TStepCell& cell) {
        return cell.Parts->Callout >= 0 ? 1 : cell.Parts->Parts.size();
    }
    double CellHeight(const TStepCell& cell) const {
        const double pad = cell.InCallout ? 2 * kCalloutPadding : 0;
        return pad + std::max(10.0, PartsBoxHeight(PartCount(cell))) + 3 + cell.Picture.Height;
    }

    void Place(const TStepCell& cell, double y) {
        auto& items = Page().Items;
        const double pad = cell.InCallout ? kCalloutPadding : 0;
        const double left = FLeft + pad, width = FWidth - 2 * pad;
        y += pad;
        items.push_back(TextItem({left, y, kLabelWidth, 10}, cell.Label, cell.InCallout ? 13 : 16, true,
                                 TTextAlign::Left, cell.InCallout ? kCalloutBorder : clBlack));
        const size_t parts = PartCount(cell);
        const double boxLeft = left + kLabelWidth, boxHeight = PartsBoxHeight(parts);
        items.push_back(
            BoxItem({boxLeft, y, PartsBoxWidth(parts), boxHeight}, kPartsFill, kPartsBorder, 0.3));
        const size_t columns = PartsColumns(parts);
        for (size_t i = 0; i < parts; ++i) {
            const double x = boxLeft + kPartsPadding + static_cast<double>(i % columns) * kPartWidth;
            const double top = y + kPartsPadding + static_cast<double>(i / columns) * kPartHeight;
            const TPageRect picture{x + (kPartWidth - kPartPicture) / 2, top + 1, kPartPicture, kPartPicture};
            int64_t count = 1;
            if (cell.Parts->Callout >= 0) {
                items.push_back(
                    PictureItem(picture, TPictureKind::Group, cell.Parts->Callout, 0, kCoverPixelsPerMm));
            } else {
                const TStepPart& part = cell.Parts->Parts[i];
                items.push_back(PictureItem(picture, TPictureKind::Part, part.Row, 0, kCoverPixelsPerMm));
                count = part.Count;
            }
            items.push_back(TextItem({x, top + kPartPicture + 1.5, kPartWidth, 5},
                                     StrFormat("%lld×", static_cast<long long>(count)), 10, true,
                                     TTextAlign::Centre));
        }
        const double pictureTop = y + std::max(10.0, boxHeight) + 3;
        items.push_back(PictureItem(
            {left + (width - cell.Picture.Width) / 2, pictureTop, cell.Picture.Width, cell.Picture.Height},
            cell.Kind, cell.Index, cell.Sub, kStepPixelsPerMm, cell.InCallout ? kCalloutFill : clWhite));
    }

    const TPaper FPaper;
    std::vector<TBookletPage>& FPages;
    const double FLeft, FWidth, FBottom;
    double FY = kMargin;
    int FCells = 0;
    int FCalloutStart = -1; // the first item of the open callout's run on this page, or -1
    double FCalloutTop = 0;
    bool FLastInCallout = false;
};

} // namespace

std::string TPictureRef::Name() const {
    switch (Kind) {
    case TPictureKind::Cover:
        return "cover";
    case TPictureKind::Step:
        return StrFormat("step-%d", Index + 1);
    case TPictureKind::CalloutStep:
        return StrFormat("callout-%d-%d", Index + 1, Sub + 1);
    case TPictureKind::Part:
        return StrFormat("part-%d", Index + 1);
    case TPictureKind::Group:
        return StrFormat("group-%d", Index + 1);
    }
    return "picture";
}

std::vector<TBookletPage> LayOutBooklet(const TBookletContent& content, const TPaper& paper,
                                        const TBookletShapes& shapes) {
    std::vector<TBookletPage> pages;
    TBookletPager pager(paper, pages);
    pager.Cover(content, shapes.Model);
    const TPictureSize stepPicture = FitPicture(shapes.Model, pager.Width());
    const TBuildPlan& plan = content.Plan();
    for (int k = 0; k < content.StepCount(); ++k) {
        const int callout = plan.Steps[static_cast<size_t>(k)].CalloutIndex;
        if (callout >= 0) {
            const double shape = static_cast<size_t>(callout) < shapes.Callouts.size()
                                     ? shapes.Callouts[callout]
                                     : shapes.Model;
            const TPictureSize size = FitPicture(shape, pager.Width() - 2 * kCalloutPadding);
            const auto& steps = plan.Callouts[static_cast<size_t>(callout)].Steps;
            for (int j = 0; j < static_cast<int>(steps.size()); ++j)
                pager.Step({StrFormat("Step %d.%d", k + 1, j + 1), &content.CalloutStepParts(callout, j),
                            TPictureKind::CalloutStep, callout, j, size, true});
        }
        pager.Step({StrFormat("Step %d", k + 1), &content.StepParts(k), TPictureKind::Step, k, 0, stepPicture,
                    false});
    }
    pager.PartsList(content.Parts());
    pager.NumberPages();
    return pages;
}
