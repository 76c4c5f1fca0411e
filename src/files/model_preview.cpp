#include "files/model_preview.h"

#include <cstdint>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool ReadableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && !error;
}

// a * b / c rounded to the nearest whole number, halves away from zero.
int MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0)
        return 0;
    const int64_t n = a * b;
    const bool negative = (n < 0) != (c < 0);
    const int64_t magnitude = n < 0 ? -n : n, divisor = c < 0 ? -c : c;
    const int64_t q = (2 * magnitude + divisor) / (2 * divisor);
    return static_cast<int>(negative ? -q : q);
}

} // namespace

std::optional<fs::path> ModelPictureFile(const fs::path& model) {
    for (const char* extension : {".jpg", ".bmp"}) {
        fs::path candidate = model;
        candidate.replace_extension(extension);
        if (ReadableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

TPreviewPlace PreviewPlace(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight)
        return {(boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2, pictureWidth, pictureHeight};
    // Scaled by the side that is longer in proportion to the box's, so the
    // other fits too.
    if (int64_t{pictureWidth} * boxHeight > int64_t{pictureHeight} * boxWidth)
        return {0, 0, boxWidth, MulDiv(pictureHeight, boxWidth, pictureWidth)};
    return {0, 0, MulDiv(pictureWidth, boxHeight, pictureHeight), boxHeight};
}
