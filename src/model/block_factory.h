#pragma once
// Making stones by kind letter, and rebuilding them from their string form.

#include <memory>
#include <string>

#include "model/block.h"

class TBlockFactory {
public:
    // A new stone of the class the kind letter names (any unknown letter gives a
    // plain TBlock carrying that letter). General stones need a part and are
    // made with the TGeneralBlock constructor instead.
    static std::unique_ptr<TBlock> Create(char kind, int32_t x, int32_t y, int32_t z, int32_t length,
                                          int32_t width, int32_t height, TColor color, bool tag,
                                          bool basePlate, bool transparent, const std::string& name);
    // Rebuilds a stone from ToString's form. Raises "Illegal string to
    // CreateFromString: " + text for a wrong field count, the conversion error
    // for a malformed number, and the part library's errors for a missing part.
    static std::unique_ptr<TBlock> CreateFromString(const std::string& text);

private:
    static std::unique_ptr<TBlock> CreateBlank(char kind);
};

inline std::unique_ptr<TBlock> CreateFromString(const std::string& text) {
    return TBlockFactory::CreateFromString(text);
}
