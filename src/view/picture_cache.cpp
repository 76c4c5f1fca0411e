#include "view/picture_cache.h"

#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "platform/picture_file.h"

TPictureCache::TPictureCache() = default;
TPictureCache::~TPictureCache() = default;

TBitmap* TPictureCache::Get(const std::filesystem::path& path) {
    auto it = FPictures.find(path);
    if (it == FPictures.end()) {
        auto picture = std::make_unique<TBitmap>();
        const auto file = path.is_relative() ? DataFolders().Find(path) : path;
        if (!file || !LoadPictureFile(*file, *picture, pf32bit) || picture->Width() < 1 ||
            picture->Height() < 1)
            picture.reset();
        it = FPictures.emplace(path, std::move(picture)).first;
    }
    return it->second.get();
}

void TPictureCache::Clear() {
    FPictures.clear();
}
