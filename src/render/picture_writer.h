#pragma once
// Saving pictures as BMP (32 bits per pixel), PNG or JPEG, row by row.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/atomic_file.h"

class TBitmap;
class TPictureRows;

enum TPictureFileFormat { ffBmp, ffPng, ffJpeg };

// The format a file name asks for: JPEG when its lower-cased name contains
// ".jpg" anywhere, else PNG when it contains ".png", else BMP.
TPictureFileFormat PictureFormatOfName(const std::string& fileName);

// Told while a picture is written: the share of its rows written, 0 .. 1.
using TWriteProgress = std::function<void(double written)>;

// How PNG pictures are compressed: the deflate level (0 none .. 9 smallest)
// and the filter applied to every row before (adaptive: the library picks one
// per row). PNG stays lossless at every setting.
enum class TPngFilter { Adaptive, None, Sub, Up, Paeth };
struct TPngCompression {
    int Level;
    TPngFilter Filter;
};
// What pictures are saved with.
extern const TPngCompression kPngCompression;

// Saves a 32-bit picture in the format its name asks for. The file is replaced
// only once written completely; raises EError on failure.
void SavePictureFile(TBitmap& picture, const std::filesystem::path& path,
                     const TWriteProgress& progress = nullptr);
void SavePictureFile(TBitmap& picture, const std::filesystem::path& path, TPictureFileFormat format,
                     const TWriteProgress& progress = nullptr);
// Saves a picture handed out row by row (rows as large as the picture allows,
// never all of it at once) in the format its name asks for.
void SavePictureFile(TPictureRows& picture, const std::filesystem::path& path,
                     const TWriteProgress& progress = nullptr);
// Saves it as JPEG with a comment (a COM marker before the picture's data),
// through the file operations given.
void SaveJpegFile(TBitmap& picture, const std::filesystem::path& path, const std::string& comment,
                  const TFileOperations& operations = TFileOperations::System());
// The picture as the bytes of a PNG file, for pictures carried inside other
// files; raises EError on failure.
std::string PngData(TBitmap& picture);
// Saves it as PNG compressed as given.
void SavePngFile(TBitmap& picture, const std::filesystem::path& path, const TPngCompression& compression,
                 const TWriteProgress& progress = nullptr);
