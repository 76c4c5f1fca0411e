#include "render/picture_writer.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "common/error.h"
#include "common/strings.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "render/picture_rows.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Reports the rows written now and then, not for every row.
class TRowProgress {
public:
    TRowProgress(const TWriteProgress& progress, int rows) : FProgress(progress), FRows(rows) {}
    void Row(int done) {
        if (FProgress && (done % 64 == 0 || done == FRows))
            FProgress(static_cast<double>(done) / FRows);
    }

private:
    const TWriteProgress& FProgress;
    int FRows;
};

bool WriteBmp(TPictureRows& picture, std::FILE* file, TRowProgress& progress) {
    const uint32_t width = static_cast<uint32_t>(picture.Width());
    const uint32_t height = static_cast<uint32_t>(picture.Height());
    const uint32_t imageSize = width * height * 4;
    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    Put32(header, 14 + 40 + imageSize); // file size
    Put32(header, 0);                   // reserved
    Put32(header, 14 + 40);             // offset of the pixels
    Put32(header, 40);                  // size of the info header
    Put32(header, width);
    Put32(header, height); // positive: rows bottom-up
    Put16(header, 1);      // planes
    Put16(header, 32);     // bits per pixel
    Put32(header, 0);      // no compression
    Put32(header, imageSize);
    Put32(header, 3780); // 96 dpi in pixels per metre
    Put32(header, 3780);
    Put32(header, 0);
    Put32(header, 0);
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size())
        return false;
    std::vector<uint32_t> row(width);
    for (int y = picture.Height() - 1; y >= 0; --y) {
        const uint32_t* source = picture.Row(y);
        for (uint32_t x = 0; x < width; ++x)
            row[x] = source[x] & 0xFFFFFF; // B, G, R, 0 in memory
        if (std::fwrite(row.data(), 4, width, file) != width)
            return false;
        progress.Row(picture.Height() - y);
    }
    return true;
}

// libpng reports errors through a callback that must not return; it jumps
// back to the writer, which then raises the message as an error.
struct TPngErrors {
    std::jmp_buf Return;
    char Message[256] = "";
};

[[noreturn]] void PngFailure(png_structp png, png_const_charp message) {
    auto* errors = static_cast<TPngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->Message, sizeof errors->Message, "%s", message);
    std::longjmp(errors->Return, 1);
}

void PngWarning(png_structp, png_const_charp) {}

int PngFilterOf(TPngFilter filter) {
    switch (filter) {
    case TPngFilter::None:
        return PNG_FILTER_NONE;
    case TPngFilter::Sub:
        return PNG_FILTER_SUB;
    case TPngFilter::Up:
        return PNG_FILTER_UP;
    case TPngFilter::Paeth:
        return PNG_FILTER_PAETH;
    default:
        return PNG_ALL_FILTERS;
    }
}

// The write structures of libpng, destroyed however writing ends.
struct TPngWrite {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    TPngWrite() = default;
    TPngWrite(const TPngWrite&) = delete;
    TPngWrite& operator=(const TPngWrite&) = delete;
    ~TPngWrite() {
        if (Png != nullptr)
            png_destroy_write_struct(&Png, &Info);
    }
};

bool WritePng(TPictureRows& picture, std::FILE* file, const TPngCompression& compression,
              TRowProgress& progress) {
    // The 32-bit pixels (B, G, R, unused in memory) are written as they lie,
    // as RGB. An error of the library jumps back here past its own calls
    // only; everything with a destructor lives from before the jump's mark,
    // and a row that cannot be made raises its error between those calls.
    const int height = picture.Height();
    TPngErrors errors;
    TPngWrite write;
    write.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, PngFailure, PngWarning);
    if (write.Png == nullptr)
        throw EError("PNG: out of memory");
    write.Info = png_create_info_struct(write.Png);
    png_structp png = write.Png;
    png_infop info = write.Info;
    if (setjmp(errors.Return))
        throw EError(std::string("PNG: ") + errors.Message);
    if (info == nullptr)
        png_error(png, "out of memory");
    png_init_io(png, file);
    png_set_compression_level(png, std::clamp(compression.Level, 0, 9));
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PngFilterOf(compression.Filter));
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, reinterpret_cast<png_const_bytep>(picture.Row(y)));
        progress.Row(y + 1);
    }
    png_write_end(png, nullptr);
    return true;
}

// libjpeg reports errors through a callback that must not return; it jumps
// back to the writer, which then raises the message as an error.
struct TJpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Return;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFailure(j_common_ptr info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Return, 1);
}

// The compression structure of libjpeg, destroyed however writing ends (which
// does nothing while it has not been created: it starts all zero).
struct TJpegWrite {
    jpeg_compress_struct Info{};
    TJpegWrite() = default;
    TJpegWrite(const TJpegWrite&) = delete;
    TJpegWrite& operator=(const TJpegWrite&) = delete;
    ~TJpegWrite() { jpeg_destroy_compress(&Info); }
};

bool WriteJpeg(TPictureRows& picture, std::FILE* file, TRowProgress& progress, const std::string& comment) {
    // As with PNG, the library's errors jump back here past its own calls only.
    TJpegErrors errors;
    TJpegWrite write;
    jpeg_compress_struct& info = write.Info;
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegFailure;
    if (setjmp(errors.Return))
        throw EError(std::string("JPEG: ") + errors.Message);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(picture.Width());
    info.image_height = static_cast<JDIMENSION>(picture.Height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX; // 32-bit pixels as they lie in memory
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    if (!comment.empty())
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data()),
                          static_cast<unsigned int>(std::min<size_t>(comment.size(), 65533)));
    while (info.next_scanline < info.image_height) {
        // The library only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPROW>(
            reinterpret_cast<const JSAMPLE*>(picture.Row(static_cast<int>(info.next_scanline))));
        jpeg_write_scanlines(&info, &row, 1);
        progress.Row(static_cast<int>(info.next_scanline));
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

TPictureFileFormat PictureFormatOfName(const std::string& fileName) {
    const std::string lower = LowerCase(fileName);
    if (lower.find(".jpg") != std::string::npos)
        return ffJpeg;
    if (lower.find(".png") != std::string::npos)
        return ffPng;
    return ffBmp;
}

void SavePictureFile(TBitmap& picture, const std::filesystem::path& path, const TWriteProgress& progress) {
    SavePictureFile(picture, path, PictureFormatOfName(path.filename().string()), progress);
}

namespace {

void SavePicture(TPictureRows& picture, const std::filesystem::path& path, TPictureFileFormat format,
                 const TPngCompression& compression, const TWriteProgress& progress,
                 const std::string& comment = {},
                 const TFileOperations& operations = TFileOperations::System()) {
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw EError("The picture is empty");
    TRowProgress rows(progress, picture.Height());
    WriteFileAtomically(
        path,
        [&](std::FILE* file) {
            switch (format) {
            case ffJpeg:
                return WriteJpeg(picture, file, rows, comment);
            case ffPng:
                return WritePng(picture, file, compression, rows);
            default:
                return WriteBmp(picture, file, rows);
            }
        },
        operations);
}

} // namespace

// Measured on a 3200 x 2400 scene (bench/render_bench, BM_PngCompression):
// level 3 without a filter writes it in about a quarter of the time of the
// library's default (level 6, adaptive filters) and 11 % larger. Scenes are
// large areas of flat colour, which the filters do not help.
const TPngCompression kPngCompression{3, TPngFilter::None};

namespace {

// The rows of a 32-bit bitmap, the only kind these overloads save.
TBitmapRows RowsOf32BitBitmap(TBitmap& picture) {
    if (picture.PixelFormat() != pf32bit && picture.PixelFormat() != pfDevice)
        throw EError("Pictures are saved from 32-bit bitmaps");
    return TBitmapRows(picture);
}

} // namespace

void SavePictureFile(TBitmap& picture, const std::filesystem::path& path, TPictureFileFormat format,
                     const TWriteProgress& progress) {
    TBitmapRows rows = RowsOf32BitBitmap(picture);
    SavePicture(rows, path, format, kPngCompression, progress);
}

void SaveJpegFile(TBitmap& picture, const std::filesystem::path& path, const std::string& comment,
                  const TFileOperations& operations) {
    TBitmapRows rows = RowsOf32BitBitmap(picture);
    SavePicture(rows, path, ffJpeg, kPngCompression, nullptr, comment, operations);
}

void SavePngFile(TBitmap& picture, const std::filesystem::path& path, const TPngCompression& compression,
                 const TWriteProgress& progress) {
    TBitmapRows rows = RowsOf32BitBitmap(picture);
    SavePicture(rows, path, ffPng, compression, progress);
}

std::string PngData(TBitmap& picture) {
    TBitmapRows rows = RowsOf32BitBitmap(picture);
    if (rows.Width() <= 0 || rows.Height() <= 0)
        throw EError("The picture is empty");
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* memory = open_memstream(&buffer, &size);
    if (memory == nullptr)
        throw EError("PNG: out of memory");
    const TWriteProgress noProgress;
    TRowProgress none(noProgress, rows.Height());
    bool written = false;
    try {
        written = WritePng(rows, memory, kPngCompression, none);
    } catch (...) {
        std::fclose(memory);
        std::free(buffer);
        throw;
    }
    const bool closed = std::fclose(memory) == 0;
    std::string data = written && closed ? std::string(buffer, size) : std::string();
    std::free(buffer);
    if (data.empty())
        throw EError("PNG: the picture could not be encoded");
    return data;
}

void SavePictureFile(TPictureRows& picture, const std::filesystem::path& path,
                     const TWriteProgress& progress) {
    SavePicture(picture, path, PictureFormatOfName(path.filename().string()), kPngCompression, progress);
}
