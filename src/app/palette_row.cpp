#include "app/palette_row.h"

#include "common/error.h"
#include "files/palette_entry.h"
#include "model/block.h"
#include "platform/bitmap.h"
#include "render/stone_preview.h"
#include "view/render_state.h"

TPaletteRowPainter::TPaletteRowPainter(TRenderState& view, const std::filesystem::path& programFolder)
    : FView(view), FProgramFolder(programFolder) {}

void TPaletteRowPainter::Draw(TBitmap& picture, const TPaletteRow& row) {
    const int width = picture.Width(), height = picture.Height();
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = row.Selected ? clBtnShadow : WindowColor;
    canvas.FillRect(Rect(0, 0, width, height));
    canvas.Brush.Color = clGray;
    canvas.FrameRect(Rect(0, 0, width, height));

    const TPaletteEntry entry = ParseEntry(row.Entry);
    if (entry.IsModel)
        DrawModelPicture(picture, row.Entry);
    else
        DrawStone(picture, row);

    TCanvas& text = picture.Canvas();
    text.Font = Font;
    text.Brush.Style = bsClear;
    const TEntryCaption caption = EntryCaption(row.Entry);
    text.Font.Color = caption.Color;
    text.TextOut(1, 1, caption.Text);
    if (row.Supply) {
        // None left is crossed out, yet can still be placed: the count then
        // goes on below zero, in red, saying how many the set lacks.
        const int supply = *row.Supply;
        text.Font.Color = supply > 0 ? clBlue : clRed;
        if (supply <= 0) {
            text.Pen.Color = clRed;
            text.MoveTo(0, 0);
            text.LineTo(width, height);
            text.MoveTo(width, 0);
            text.LineTo(0, height);
        }
        text.TextOut(width / 2 - 5, height - 14, std::to_string(supply));
    }
    text.Refresh();
}

void TPaletteRowPainter::DrawModelPicture(TBitmap& picture, const std::string& entry) {
    const TModelEntryFiles files = ModelEntryFiles(ParseEntry(entry), FProgramFolder);
    TBitmap* shown = files.Picture ? FPictures.Get(*files.Picture) : nullptr;
    TCanvas& canvas = picture.Canvas();
    if (shown == nullptr) {
        canvas.Font = Font;
        canvas.Font.Color = clBlack;
        canvas.Brush.Style = bsClear;
        canvas.TextOut(10, 30, "< No Picture >");
        return;
    }
    // The colour of the picture's top-left pixel is its background.
    const TColor key = static_cast<const uint32_t*>(shown->ScanLine(0))[0];
    canvas.DrawTransparent(0, 1, *shown, RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF));
}

void TPaletteRowPainter::DrawStone(TBitmap& picture, const TPaletteRow& row) {
    std::unique_ptr<TBlock> stone;
    try {
        stone = CreateEntryStone(row.Entry);
    } catch (const EError&) {
        return; // a part that cannot be loaded shows no preview
    }
    if (!stone)
        return;
    stone->Color = row.Color;
    stone->Transparent = row.Transparent;
    DrawStonePreview(picture, *stone, FView, row.Scale);
}
