#pragma once
// Reading picture files (BMP, PNG, JPEG and the other formats the platform
// knows) into bitmaps.

#include <filesystem>

#include "platform/bitmap.h"

// Loads the picture into the bitmap, converted to the given pixel format.
// Returns false, leaving the bitmap as it was, when the file is missing or
// holds no picture.
bool LoadPictureFile(const std::filesystem::path& path, TBitmap& bitmap, TPixelFormat pixelFormat = pf32bit);
