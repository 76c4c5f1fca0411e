#include "render/picture_writer.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "common/error.h"
#include "common/strings.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

const uint32_t* Row(TBitmap& picture, int y) {
    return static_cast<const uint32_t*>(picture.ScanLine(y));
}

bool WriteBmp(TBitmap& picture, std::FILE* file) {
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
        const uint32_t* source = Row(picture, y);
        for (uint32_t x = 0; x < width; ++x)
            row[x] = source[x] & 0xFFFFFF; // B, G, R, 0 in memory
        if (std::fwrite(row.data(), 4, width, file) != width)
            return false;
    }
    return true;
}

bool WritePng(TBitmap& picture, std::FILE* file) {
    const int width = picture.Width(), height = picture.Height();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = Row(picture, y);
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = static_cast<uint8_t>(source[x] >> 16);
            out[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
            out[3 * x + 2] = static_cast<uint8_t>(source[x]);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool ok = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    if (!ok) {
        const std::string message = image.message;
        png_image_free(&image);
        throw EError("PNG: " + message);
    }
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

bool WriteJpeg(TBitmap& picture, std::FILE* file) {
    // Rows are fetched before compressing so nothing with a destructor lives
    // across the jump.
    std::vector<JSAMPROW> rows(static_cast<size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<size_t>(y)] = static_cast<JSAMPROW>(picture.ScanLine(y));
    jpeg_compress_struct info;
    TJpegErrors errors;
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegFailure;
    if (setjmp(errors.Return)) {
        jpeg_destroy_compress(&info);
        throw EError(std::string("JPEG: ") + errors.Message);
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(picture.Width());
    info.image_height = static_cast<JDIMENSION>(picture.Height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX; // 32-bit pixels as they lie in memory
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, &rows[info.next_scanline], 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
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

void SavePictureFile(TBitmap& picture, const std::filesystem::path& path) {
    SavePictureFile(picture, path, PictureFormatOfName(path.filename().string()));
}

void SavePictureFile(TBitmap& picture, const std::filesystem::path& path, TPictureFileFormat format) {
    if (picture.PixelFormat() != pf32bit && picture.PixelFormat() != pfDevice)
        throw EError("Pictures are saved from 32-bit bitmaps");
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw EError("The picture is empty");
    WriteFileAtomically(path, [&](std::FILE* file) {
        switch (format) {
        case ffJpeg:
            return WriteJpeg(picture, file);
        case ffPng:
            return WritePng(picture, file);
        default:
            return WriteBmp(picture, file);
        }
    });
}
