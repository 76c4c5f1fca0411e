#include "instructions/booklet_writer.h"

#include "instructions/booklet_pictures.h"
#include "platform/page_output.h"

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
            output.Picture(item.Rect, pictures.Picture(item.Picture), item.Picture.Name(), item.Picture.Recurs());
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
