#include "instructions/booklet_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "instructions/booklet_pictures.h"
#include "platform/bitmap.h"
#include "platform/page_output.h"

namespace {

// The rectangle of a 32-bit picture whose pixels are not the background's;
// empty when all are.
TRect PaintedRect(TBitmap& picture, TColor background) {
    const TColor rgb = ColorToRGB(background);
    const uint32_t paper =
        (uint32_t(GetRValue(rgb)) << 16) | (uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
    int left = picture.Width(), right = 0, top = picture.Height(), bottom = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const auto* row = static_cast<const uint32_t*>(picture.ScanLine(y));
        int first = 0, last = picture.Width() - 1;
        while (first <= last && (row[first] & 0xFFFFFF) == paper)
            ++first;
        if (first > last)
            continue;
        while ((row[last] & 0xFFFFFF) == paper)
            --last;
        left = std::min(left, first);
        right = std::max(right, last + 1);
        top = std::min(top, y);
        bottom = y + 1;
    }
    return left < right ? Rect(left, top, right, bottom) : Rect(0, 0, 0, 0);
}

// A step's picture is mostly paper where later steps will build: only the
// part that holds stones goes onto the page, in its place, so that the page
// looks the same and the document carries far fewer pixels.
void PlaceStepPicture(TPageOutput& output, const TPageItem& item, TBitmap& picture) {
    const TRect painted = PaintedRect(picture, item.Picture.Background);
    if (painted.Width() <= 0)
        return;
    const double mmX = item.Rect.Width / picture.Width(), mmY = item.Rect.Height / picture.Height();
    const TPageRect place{item.Rect.X + painted.Left * mmX, item.Rect.Y + painted.Top * mmY,
                          painted.Width() * mmX, painted.Height() * mmY};
    if (painted.Width() == picture.Width() && painted.Height() == picture.Height()) {
        output.Picture(place, picture, item.Picture.Name(), false);
        return;
    }
    TBitmap part(painted.Width(), painted.Height(), pf32bit);
    for (int y = 0; y < painted.Height(); ++y)
        std::memcpy(part.ScanLine(y),
                    static_cast<const uint32_t*>(picture.ScanLine(painted.Top + y)) + painted.Left,
                    sizeof(uint32_t) * static_cast<size_t>(painted.Width()));
    output.Picture(place, part, item.Picture.Name(), false);
}

} // namespace

void DrawBookletPage(const TBookletPage& page, TBookletPictures& pictures, TPageOutput& output) {
    output.BeginPage();
    for (const TPageItem& item : page.Items) {
        switch (item.Kind) {
        case TPageItem::ikBox:
            output.Box(item.Rect, item.Fill, item.Border, item.BorderMm);
            break;
        case TPageItem::ikText:
            output.Text(item.Rect, item.Text, item.Style);
            break;
        case TPageItem::ikPicture:
            if (item.Picture.Recurs())
                output.Picture(item.Rect, pictures.Picture(item.Picture), item.Picture.Name(), true);
            else
                PlaceStepPicture(output, item, pictures.Picture(item.Picture));
            break;
        }
    }
}

bool WriteBooklet(const std::vector<TBookletPage>& pages, TBookletPictures& pictures, TPageOutput& output,
                  const TBookletProgress& progress) {
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        DrawBookletPage(pages[static_cast<size_t>(i)], pictures, output);
        if (progress && !progress(i + 1, count))
            return false;
    }
    output.Finish();
    return true;
}
