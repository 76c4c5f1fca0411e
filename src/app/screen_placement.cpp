#include "app/screen_placement.h"

#include <algorithm>
#include <cstdint>

namespace {

// The start of a span of the given length moved into [low, high); a span
// longer than that starts at low.
int KeepSpan(int64_t start, int64_t length, int64_t low, int64_t high) {
    return static_cast<int>(std::max(low, std::min(start, high - length)));
}

} // namespace

TRect KeepOnScreen(const TRect& window, const TRect& screen) {
    const int64_t width = int64_t{window.Right} - window.Left;
    const int64_t height = int64_t{window.Bottom} - window.Top;
    const int left = KeepSpan(window.Left, width, screen.Left, screen.Right);
    const int top = KeepSpan(window.Top, height, screen.Top, screen.Bottom);
    return Rect(left, top, static_cast<int>(left + width), static_cast<int>(top + height));
}
