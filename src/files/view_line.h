#pragma once
// The view line of a model file: "=" and seven numbers recording the view the
// model was saved with (rotations, zoom code, offsets, a reserved 0 and the
// units flag).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A view as model files record it: the positions of the rotation and offset
// scroll bars and the zoom factor.
struct TViewRecord {
    int32_t RotX = 0; // vertical rotation, 0..180
    int32_t RotZ = 0; // horizontal rotation, 0..360
    float ZoomFactor = 0.5f;
    int32_t OffsetX = 0; // -5000..5000
    int32_t OffsetY = 0;
    // Set by the reader: false when the line's zoom code was 0, so that only
    // the rotations were taken and ZoomFactor and the offsets hold no news.
    bool HasZoomAndOffsets = true;
    // Set by the reader: the zoom code the line held.
    int32_t ZoomCode = 20;
};

// 10.0 / zoom factor rounded to the nearest integer, halves to the even
// neighbour: 0.5 gives 20, 4 gives 2. A factor above 20 would give 0, which
// cannot be read back, so the code is at least 1; codes beyond the 32-bit
// range are clamped and a factor that is not a number gives 20.
int32_t ZoomCode(float zoomFactor);

// "= RotX RotZ code OffsetX OffsetY 0 1".
std::string ViewLineText(const TViewRecord& view);

// The seven numbers of a view line (the text after "=", trimmed, read with the
// model file's number rule). Raises the conversion error for a malformed number.
std::array<int32_t, 7> ReadViewLineNumbers(std::string_view line);

// Index of the units flag among the seven numbers.
constexpr size_t kViewUnitsField = 6;
