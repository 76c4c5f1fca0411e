#include "app/parts_list_output.h"

#include <algorithm>
#include <memory>

#include "app/model_document.h"
#include "app/palette.h"
#include "app/scene_view.h"
#include "export/parts_list_files.h"
#include "model/block.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "render/picture_writer.h"
#include "render/stone_preview.h"

TPartsNaming TPartsListOutput::Naming() const {
    TPartsNaming naming;
    naming.Swatches = FPalette.Swatches;
    for (const TPalettePage& page : FPalette.Pages)
        for (const std::string& entry : page.Entries)
            naming.AddEntry(entry);
    return naming;
}

TPartsList TPartsListOutput::Make() const {
    const auto& stones = FDocument.Model().Stones();
    return MakePartsList(std::span<const TBlock* const>(stones.data(), stones.size()), Naming());
}

std::string TPartsListOutput::PreviewPng(const TPartsRow& row) const {
    if (!row.Example)
        return {};
    // The preview draws the stone about the origin, as the palette's stones lie.
    const std::unique_ptr<TBlock> stone = CreateCopy(*row.Example);
    stone->X = stone->Y = stone->Z = 0;
    TBitmap picture(kPreviewSize, kPreviewSize, pf32bit);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clWhite;
    canvas.FillRect(Rect(0, 0, kPreviewSize, kPreviewSize));
    // Large stones are drawn smaller, so that every stone fits the square.
    const float across = static_cast<float>(
        std::max<int64_t>(int64_t{stone->Length} + stone->Width,
                          int64_t{stone->Height} + (int64_t{stone->Length} + stone->Width) / 2));
    const float scale = across > 0 ? std::clamp(0.8f * kPreviewSize / across, 0.01f, 1.2f) : 1.0f;
    DrawStonePreview(picture, *stone, FScene.View(), scale);
    return PngData(picture);
}

void TPartsListOutput::Save(const TPartsList& list, const std::filesystem::path& path) const {
    const std::string model = std::filesystem::path(FDocument.OpenFileName()).filename().string();
    const std::string title = model.empty() ? "Parts list" : "Parts list of " + model;
    SavePartsList(path, list, title, [this](const TPartsRow& row) { return PreviewPng(row); });
}
