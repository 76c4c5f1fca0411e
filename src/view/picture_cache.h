#pragma once
// Pictures laid onto the faces of stones, read from their files once and kept
// for every later drawing pass instead of being read again for each stone.

#include <filesystem>
#include <map>
#include <memory>

class TBitmap;

class TPictureCache {
public:
    TPictureCache();
    ~TPictureCache();
    TPictureCache(const TPictureCache&) = delete;
    TPictureCache& operator=(const TPictureCache&) = delete;

    // The 32-bit picture of the file, read on first use; none when the file is
    // missing or holds no picture (also remembered, until Clear). A relative
    // path names a file of the program's data, taken from the user folder
    // when it is there and else from the shipped data.
    TBitmap* Get(const std::filesystem::path& path);
    // Forgets every picture, so that files are read anew.
    void Clear();
    int Count() const { return static_cast<int>(FPictures.size()); }

private:
    std::map<std::filesystem::path, std::unique_ptr<TBitmap>> FPictures;
};
