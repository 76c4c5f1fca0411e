#pragma once
// Saving pictures as BMP (32 bits per pixel), PNG or JPEG.

#include <filesystem>
#include <string>

class TBitmap;

enum TPictureFileFormat { ffBmp, ffPng, ffJpeg };

// The format a file name asks for: JPEG when its lower-cased name contains
// ".jpg" anywhere, else PNG when it contains ".png", else BMP.
TPictureFileFormat PictureFormatOfName(const std::string& fileName);

// Saves a 32-bit picture in the format its name asks for. The file is replaced
// only once written completely; raises EError on failure.
void SavePictureFile(TBitmap& picture, const std::filesystem::path& path);
void SavePictureFile(TBitmap& picture, const std::filesystem::path& path, TPictureFileFormat format);
