// The picture loaders: the input written as a part picture and as the picture
// beside a model, under each extension they are looked for by, read into a
// bitmap of a pixel format the input picks, and placed in the open dialog's
// preview box.

#include <QtGlobal>
#include <utility>

#include "files/model_preview.h"
#include "fuzz_support.h"
#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "platform/picture_file.h"
#include "view/picture_cache.h"

namespace {

// A picture that loads is whole: its size, its format, every row there.
void RequireWhole(TBitmap& bitmap, TPixelFormat format) {
    Require(bitmap.Width() >= 1 && bitmap.Height() >= 1, "a loaded picture has pixels");
    Require(bitmap.PixelFormat() == format, "a loaded picture has the format asked for");
    Require(bitmap.ScanLine(bitmap.Height() - 1) != nullptr, "a loaded picture has all its rows");
    // The open dialog's box, and boxes smaller and larger than the picture.
    for (const auto& [w, h] : {std::pair{141, 153}, std::pair{1, 1}, std::pair{4000, 3000}}) {
        const TPreviewPlace place = PreviewPlace(bitmap.Width(), bitmap.Height(), w, h);
        Require(place.Left >= 0 && place.Top >= 0 && place.Width >= 0 && place.Height >= 0,
                "the preview lies in its box");
        Require(place.Left + place.Width <= w && place.Top + place.Height <= h, "the preview fits its box");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Qt's image readers warn of every broken input: thousands of lines a
    // second that would slow the run and hide what breaks.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzProgramFolder();
    const std::string_view bytes = TextOf(data, size);
    constexpr TPixelFormat kFormats[] = {pf32bit, pf24bit, pf16bit, pf15bit, pf8bit};
    const TPixelFormat format = kFormats[size % 5];
    for (const char* name : {"fuzz.png", "fuzz.jpg", "fuzz.bmp"}) {
        WriteFuzzFile(std::string("parts/") + name, bytes);
        TBitmap bitmap;
        if (LoadPictureFile(FuzzProgramFolder() / "parts" / name, bitmap, format))
            RequireWhole(bitmap, format);
        else
            Require(bitmap.Width() == 0 && bitmap.Height() == 0,
                    "a picture that does not load leaves the bitmap");
        // As a part's picture, through the cache the drawing passes share.
        TPictureCache pictures;
        if (TBitmap* picture = pictures.Get(std::filesystem::path("parts") / name))
            RequireWhole(*picture, pf32bit);
        Require(pictures.Get(std::filesystem::path("parts") / name) ==
                    pictures.Get(std::filesystem::path("parts") / name),
                "a picture is read once");
    }
    // The picture beside a model: a JPEG of the model's name, else a BMP.
    const std::filesystem::path model = FuzzProgramFolder() / "fuzz.stm";
    WriteFuzzFile("fuzz.jpg", bytes);
    const auto beside = ModelPictureFile(model);
    Require(beside && *beside == FuzzProgramFolder() / "fuzz.jpg", "the picture beside a model is found");
    TBitmap preview;
    if (LoadPictureFile(*beside, preview, pf32bit))
        RequireWhole(preview, pf32bit);
    return 0;
}
