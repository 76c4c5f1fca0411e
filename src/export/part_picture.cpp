#include "export/part_picture.h"

#include "common/strings.h"
#include "platform/bitmap.h"
#include "platform/picture_file.h"

namespace fs = std::filesystem;

bool IsPlainPictureName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name.find_first_of("/\\") != std::string::npos)
        return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < ' ')
            return false;
    const std::string extension = LowerCase(fs::path(name).extension().string());
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg" || extension == ".bmp";
}

std::optional<fs::path> PartPictureFile(const std::string& name, const TPictureFinder& find) {
    if (!IsPlainPictureName(name) || !find)
        return std::nullopt;
    const std::optional<fs::path> file = find(name);
    std::error_code error;
    if (!file || !fs::is_regular_file(*file, error))
        return std::nullopt;
    TBitmap picture;
    if (!LoadPictureFile(*file, picture, pf32bit) || picture.Width() < 1 || picture.Height() < 1)
        return std::nullopt;
    return file;
}
