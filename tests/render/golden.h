#pragma once
// Golden pictures: a rendered picture is compared pixel by pixel with a PNG
// under tests/render/golden. A mismatch writes the picture and a difference
// picture beside the build so the fault can be seen. With
// STONEMILL_UPDATE_GOLDEN=1 the goldens are written instead (look at every one
// before committing it).

#include <string>

#include <gtest/gtest.h>

class QImage;
class TBitmap;

::testing::AssertionResult MatchesGolden(const std::string& name, const TBitmap& picture);
::testing::AssertionResult MatchesGolden(const std::string& name, const QImage& picture);
