#include "files/model_preview.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
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

const char* const kOwnPreviewComment = "Stonemill model preview";

bool IsOwnPreview(const fs::path& picture) {
    // The markers before the picture's data: the start of image, then
    // segments of a marker and a big-endian length that counts itself. The
    // comment comes among the first few, before the scan.
    std::ifstream in(picture, std::ios::binary);
    std::array<unsigned char, 4096> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const size_t size = static_cast<size_t>(in.gcount());
    if (size < 2 || head[0] != 0xFF || head[1] != 0xD8)
        return false;
    const size_t commentLength = std::strlen(kOwnPreviewComment);
    size_t at = 2;
    while (at + 4 <= size && head[at] == 0xFF) {
        const unsigned char marker = head[at + 1];
        const size_t length = size_t{head[at + 2]} << 8 | head[at + 3];
        if (marker == 0xDA || length < 2) // the scan: no comment came before it
            return false;
        if (marker == 0xFE && length - 2 == commentLength && at + 4 + commentLength <= size)
            return std::memcmp(&head[at + 4], kOwnPreviewComment, commentLength) == 0;
        at += 2 + length;
    }
    return false;
}

std::optional<fs::path> PreviewFileToWrite(const fs::path& model) {
    fs::path jpeg = model;
    jpeg.replace_extension(".jpg");
    std::error_code error;
    if (fs::exists(jpeg, error))
        return IsOwnPreview(jpeg) ? std::optional<fs::path>(jpeg) : std::nullopt;
    fs::path bitmap = model;
    bitmap.replace_extension(".bmp");
    if (fs::exists(bitmap, error))
        return std::nullopt;
    return jpeg;
}

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
