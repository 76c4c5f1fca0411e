#include "golden.h"

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "platform/bitmap.h"

namespace fs = std::filesystem;

namespace {

fs::path GoldenFolder() {
    return fs::path(STONEMILL_SOURCE_DIR) / "tests" / "render" / "golden";
}

fs::path FailureFolder() {
    fs::path folder = fs::current_path() / "golden-failures";
    fs::create_directories(folder);
    return folder;
}

} // namespace

::testing::AssertionResult MatchesGolden(const std::string& name, const TBitmap& picture) {
    return MatchesGolden(name, picture.ToImage());
}

::testing::AssertionResult MatchesGolden(const std::string& name, const QImage& rendered) {
    const QImage actual = rendered.convertToFormat(QImage::Format_RGB32);
    const fs::path golden = GoldenFolder() / (name + ".png");
    const char* update = std::getenv("STONEMILL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        fs::create_directories(golden.parent_path());
        if (!actual.save(QString::fromStdString(golden.string())))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    QImage expected;
    if (!expected.load(QString::fromStdString(golden.string())))
        return ::testing::AssertionFailure() << "no golden picture " << golden;
    expected = expected.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    QImage difference(actual.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    if (expected.size() == actual.size()) {
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                if ((actual.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF)) {
                    ++differing;
                    difference.setPixel(x, y, qRgb(255, 0, 0));
                }
    }
    if (expected.size() == actual.size() && differing == 0)
        return ::testing::AssertionSuccess();
    const fs::path folder = FailureFolder();
    actual.save(QString::fromStdString((folder / (name + ".actual.png")).string()));
    difference.save(QString::fromStdString((folder / (name + ".diff.png")).string()));
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ (size " << actual.width() << "x" << actual.height()
           << " vs " << expected.width() << "x" << expected.height() << "); see " << folder;
}
