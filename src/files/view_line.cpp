#include "files/view_line.h"

#include <cmath>
#include <limits>

#include "common/error.h"
#include "common/strings.h"
#include "files/line_fields.h"

int32_t ZoomCode(float zoomFactor) {
    double code = std::nearbyint(10.0 / static_cast<double>(zoomFactor));
    if (std::isnan(code))
        return 20;
    if (code >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (code <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (code == 0.0)
        return 1;
    return static_cast<int32_t>(code);
}

std::string ViewLineText(const TViewRecord& view) {
    return StrFormat("= %d %d %d %d %d %d 1", view.RotX, view.RotZ, ZoomCode(view.ZoomFactor), view.OffsetX,
                     view.OffsetY, 0);
}

std::array<int32_t, 7> ReadViewLineNumbers(std::string_view line) {
    std::string text = Trim(line.empty() ? line : line.substr(1));
    TLineFields fields(text);
    std::array<int32_t, 7> numbers{};
    for (int32_t& n : numbers)
        n = fields.ReadNumber();
    return numbers;
}
