#pragma once
// The parts list of the open model: made with the palette's labels and
// swatch names, each stone's preview drawn as the palette draws its rows,
// and saved as CSV, as a web page with those pictures, or as a set file.

#include <filesystem>
#include <string>

#include "export/parts_list.h"

class TModelDocument;
class TPalette;
class TSceneView;

class TPartsListOutput {
public:
    TPartsListOutput(const TModelDocument& document, const TPalette& palette, TSceneView& scene)
        : FDocument(document), FPalette(palette), FScene(scene) {}

    // Every stone of the model.
    TPartsList Make() const;
    // What the list calls stones and colours: the palette's labels and swatches.
    TPartsNaming Naming() const;
    // The row's stone alone, as PNG data: kPreviewSize pixels square on white.
    std::string PreviewPng(const TPartsRow& row) const;
    static constexpr int kPreviewSize = 64;
    // Saves the list in the format of the file's extension (.csv, .html or
    // .set); the web page is titled after the model's file. Raises EError
    // for another extension and when the file cannot be written.
    void Save(const TPartsList& list, const std::filesystem::path& path) const;

private:
    const TModelDocument& FDocument;
    const TPalette& FPalette;
    TSceneView& FScene;
};
