// Stones up to the largest the model holds, of every kind, drawn fitted into a
// small picture: against the same stone at an ordinary size where the kind's
// shape grows with the stone, else against the stone's projected box.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <string>

#include "model/block.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "render/scene_pass.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

namespace {

constexpr int kWidth = 120, kHeight = 90;
constexpr TColor kStone = RGB(200, 40, 40);

// A box part as large as asked, registered under huge.dat.
std::string BoxPart(int32_t n) {
    const std::string name = "box" + std::to_string(n);
    auto part = std::make_unique<TDrawClass>();
    part->FileName = "huge.dat";
    part->PartName = name;
    part->SetBoundingBox(n, n, n);
    part->AddPolygon({{0, 0, 0}, {n, 0, 0}, {n, n, 0}, {0, n, 0}});
    part->AddPolygon({{0, 0, n}, {n, 0, n}, {n, n, n}, {0, n, n}});
    part->AddPolygon({{0, 0, 0}, {n, 0, 0}, {n, 0, n}, {0, 0, n}});
    part->AddPolygon({{0, n, 0}, {n, n, 0}, {n, n, n}, {0, n, n}});
    part->AddPolygon({{0, 0, 0}, {0, n, 0}, {0, n, n}, {0, 0, n}});
    part->AddPolygon({{n, 0, 0}, {n, n, 0}, {n, n, n}, {n, 0, n}});
    TPartRegistry::Instance().Register(part);
    return name;
}

std::unique_ptr<TBlock> Stone(char kind, int32_t place, int32_t size) {
    std::unique_ptr<TBlock> s;
    if (kind == 'G')
        s = std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, kStone, true, false, false, "huge.dat",
                                            BoxPart(size), "");
    else
        s = TBlockFactory::Create(kind, 0, 0, 0, 0, 0, 0, kStone, true, false, false, "");
    s->X = s->Y = s->Z = place;
    s->Length = s->Width = s->Height = size;
    CheckStoneInRange(*s);
    return s;
}

// The view from the front right, fitted to the stone's box and laid out from its centre.
void Fit(TRenderState& view, const TBlock& s) {
    view.SetRotation(70, 0, 330);
    view.Shading = false;
    view.ViewAnchor = {static_cast<int32_t>(s.X + int64_t{s.Length} / 2),
                       static_cast<int32_t>(s.Y + int64_t{s.Width} / 2),
                       static_cast<int32_t>(s.Z + int64_t{s.Height} / 2)};
    view.ViewScale = 1.0f;
    double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
    for (int corner = 0; corner < 8; ++corner) {
        const TPoint p =
            view.ProjectPoint(s.X + (corner & 1 ? s.Length : 0), s.Y + (corner & 2 ? s.Width : 0),
                              s.Z + (corner & 4 ? s.Height : 0));
        left = std::min<double>(left, p.x), right = std::max<double>(right, p.x);
        top = std::min<double>(top, p.y), bottom = std::max<double>(bottom, p.y);
    }
    view.ViewScale = static_cast<float>(0.8 * std::min(kWidth / (right - left), kHeight / (bottom - top)));
    view.ViewOffsetX = kWidth / 2;
    view.ViewOffsetY = kHeight / 2;
}

QImage Draw(TBlock& s, TRenderState& view) {
    TBlockList list;
    list.Add(&s);
    TBitmap picture(kWidth, kHeight, pf32bit);
    DrawScenePlain(picture, list, view, TBackground{clWhite, nullptr});
    return picture.ToImage();
}

bool IsStone(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0xC82828;
}

class HugeStones : public ::testing::Test {
protected:
    void SetUp() override { CutState().Reset(); }
    TTempProgramFolder folder;
};

} // namespace

TEST_F(HugeStones, EveryKindIsDrawnAtEverySizeUpToTheBound) {
    for (const char kind : {'B', 'R', 'T', 'N', 'C', 'I', 'E', 'G', 'W', 'D', 'O'}) {
        // The shapes of windows, doors and wheels keep some sizes in units.
        const bool grows = kind != 'W' && kind != 'D' && kind != 'O';
        std::unique_ptr<TBlock> ordinary = Stone(kind, 0, 200);
        TRenderState ordinaryView;
        Fit(ordinaryView, *ordinary);
        const QImage reference = Draw(*ordinary, ordinaryView);
        for (const int32_t size : {20'000, 1'000'000, kLargestCoordinate})
            for (const int32_t place : {-kLargestCoordinate, 0, kLargestCoordinate}) {
                std::unique_ptr<TBlock> s = Stone(kind, place, size);
                TRenderState view;
                Fit(view, *s);
                const QImage picture = Draw(*s, view);
                const std::string what =
                    std::string(1, kind) + " of " + std::to_string(size) + " at " + std::to_string(place);
                int stone = 0, differ = 0;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x) {
                        stone += IsStone(picture.pixel(x, y));
                        differ += picture.pixel(x, y) != reference.pixel(x, y);
                    }
                // The box fills about half the picture; the stone shows in much of
                // it, a wheel in its hub.
                EXPECT_GT(stone, kWidth * kHeight / (kind == 'O' ? 60 : 8)) << what;
                if (grows) {
                    EXPECT_LT(differ, kWidth * kHeight / 50) << what;
                }
                if (kind == 'O')
                    continue; // a wheel's centre lies a fixed height above its base
                // Nothing of the stone's colour beyond its projected box.
                int left = kWidth, right = -1, top = kHeight, bottom = -1;
                for (int corner = 0; corner < 8; ++corner) {
                    const TPoint p = view.ProjectPoint(s->X + (corner & 1 ? s->Length : 0),
                                                       s->Y + (corner & 2 ? s->Width : 0),
                                                       s->Z + (corner & 4 ? s->Height : 0));
                    left = std::min(left, p.x), right = std::max(right, p.x);
                    top = std::min(top, p.y), bottom = std::max(bottom, p.y);
                }
                int outside = 0;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x)
                        outside += IsStone(picture.pixel(x, y)) &&
                                   (x < left - 1 || x > right + 1 || y < top - 1 || y > bottom + 1);
                EXPECT_EQ(outside, 0) << what;
            }
    }
}

TEST_F(HugeStones, ARoundStoneSeenCloseFromAboveIsItsCircle) {
    // A round stone ten million units across, seen from above at full size:
    // its edge crosses the picture, which the rasteriser hands to the canvas
    // and the canvas paints beyond what its painter can.
    std::unique_ptr<TBlock> s = Stone('R', -kLargestCoordinate / 2, kLargestCoordinate);
    s->Y = 0;
    for (const TPixelFormat format : {pf32bit, pf16bit, pf24bit})
        for (const float scale : {0.2f, 0.5f, 1.0f, 3.0f}) {
            TRenderState view;
            view.SetRotation(0, 0, 0);
            view.ViewScale = scale;
            view.ViewOffsetX = kWidth / 2;
            view.ViewOffsetY = kHeight / 2;
            TBlockList list;
            list.Add(s.get());
            TBitmap picture(kWidth, kHeight, format);
            DrawScenePlain(picture, list, view, TBackground{clWhite, nullptr});
            const QImage image = picture.ToImage();
            // The circle's centre and radius on the screen.
            const TPoint centre = view.ProjectPoint(0, kLargestCoordinate / 2, 0);
            const double radius = kLargestCoordinate / 2.0 * scale;
            int wrong = 0, inside = 0;
            for (int y = 1; y < kHeight - 2; ++y)
                for (int x = 1; x < kWidth - 1; ++x) {
                    const double d = std::hypot(x - centre.x, y - centre.y) - radius;
                    const bool white = (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
                    if (d < -2) {
                        wrong += white;
                        ++inside;
                    } else if (d > 2) {
                        wrong += !white;
                    }
                }
            EXPECT_GT(inside, kWidth * kHeight / 4) << format << " " << scale;
            EXPECT_EQ(wrong, 0) << format << " " << scale;
        }
}
