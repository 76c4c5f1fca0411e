#pragma once
// The picture shown beside a model file in the open dialog: a ".jpg" of the
// same name, else a ".bmp", and where it is drawn in the preview box; and
// where the program puts the preview it saves with a model.

#include <filesystem>
#include <optional>
#include <string>

// The picture file for a model file: its extension replaced by ".jpg" (or
// ".jpg" added), else by ".bmp", when that is a file that can be read.
std::optional<std::filesystem::path> ModelPictureFile(const std::filesystem::path& model);

struct TPreviewPlace {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
// Where a picture of the given size is drawn in a box: unscaled and centred
// when it fits, else scaled to fit in proportion at the box's top left corner.
TPreviewPlace PreviewPlace(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

// The comment of the JPEG previews the program saves beside models, which
// tells them from pictures the user put there.
extern const char* const kOwnPreviewComment; // "Stonemill model preview"

// Whether the file is a JPEG picture that carries that comment.
bool IsOwnPreview(const std::filesystem::path& picture);

// Where the preview of a model saved under this name goes: its ".jpg" (the
// extension replaced, or added), unless the user's own picture is already
// shown for the model there (a ".jpg" without our comment, or, with no
// ".jpg", a ".bmp"); then none, and the user's picture stays.
std::optional<std::filesystem::path> PreviewFileToWrite(const std::filesystem::path& model);
