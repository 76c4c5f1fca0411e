#pragma once
// The picture shown beside a model file in the open dialog: a ".jpg" of the
// same name, else a ".bmp", and where it is drawn in the preview box.

#include <filesystem>
#include <optional>

// The picture file for a model file: its extension replaced by ".jpg" (or
// ".jpg" added), else by ".bmp", when that is a file that can be read.
std::optional<std::filesystem::path> ModelPictureFile(const std::filesystem::path& model);

struct TPreviewPlace {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
// Where a picture of the given size is drawn in a box: unscaled and centred
// when it fits, else scaled to fit in proportion at the box's top left corner.
TPreviewPlace PreviewPlace(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);
