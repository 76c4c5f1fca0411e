#pragma once
// Pages of a printed document as a layout describes them: boxes, lines of
// text and pictures placed in millimetres from a page's top-left corner. The
// same calls make a PDF file, a picture of a page, or a web page.

#include <string>

#include "common/color.h"

class TBitmap;

struct TPageRect {
    double X = 0, Y = 0, Width = 0, Height = 0; // millimetres
};

enum class TTextAlign { Left, Centre, Right };

struct TTextStyle {
    double Points = 10;
    bool Bold = false;
    TTextAlign Align = TTextAlign::Left;
    TColor Color = clBlack;
};

// A page size, portrait, in millimetres.
struct TPaper {
    const char* Name;
    double Width, Height;
};
inline constexpr TPaper kPaperA4{"A4", 210.0, 297.0};
inline constexpr TPaper kPaperLetter{"Letter", 215.9, 279.4};

class TPageOutput {
public:
    virtual ~TPageOutput() = default;
    // Starts the next page, blank and white.
    virtual void BeginPage() = 0;
    // A rectangle filled with `fill` and, for a border wider than 0, framed
    // inside its bounds.
    virtual void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) = 0;
    // One line of text (UTF-8), centred vertically in the rectangle and
    // aligned across it; text too long for it ends in an ellipsis.
    virtual void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) = 0;
    // A 32-bit picture stretched over the rectangle. The name tells pictures
    // apart; a picture that recurs is given again under the same name, and is
    // then the same picture (an output may keep it once).
    virtual void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) = 0;
    // Completes the document; until then nothing replaces an earlier one.
    // Raises EError when it cannot be written.
    virtual void Finish() = 0;
    // Drops an unfinished document, leaving nothing behind; an output that
    // is dropped without it does the same when it goes. Called on the thread
    // that drew the pages.
    virtual void Abandon() {}
};
