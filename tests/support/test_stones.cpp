#include "test_stones.h"

#include "common/error.h"
#include "model/block_factory.h"

std::unique_ptr<TBlock> StoneInUnits(char kind, int32_t x, int32_t y, int32_t z, int32_t length,
                                     int32_t width, int32_t height, TColor color) {
    std::unique_ptr<TBlock> s = TBlockFactory::Create(kind, 0, 0, 0, 0, 0, 0, color, true, false, false, "");
    s->X = x;
    s->Y = y;
    s->Z = z;
    s->Length = length;
    s->Width = width;
    s->Height = height;
    return s;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EError& e) {
        return e.Message();
    }
    return "";
}
