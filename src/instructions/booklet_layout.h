#pragma once
// The pages of a building-instructions booklet, laid out on paper: a cover,
// the steps in order (each with its number, the parts it adds and a picture
// of the model so far, every step at the same scale), callouts framed before
// the step that sets their group on the model, and the parts list at the end.
// The layout says where each picture goes and which one; the pictures are
// drawn when a page is.

#include <string>
#include <vector>

#include "common/color.h"
#include "platform/page_output.h"

class TBookletContent;

enum class TPictureKind {
    Cover,       // the finished model
    Step,        // the model after main step Index
    CalloutStep, // callout Index's group after its step Sub
    Part,        // the stone of row Index of the parts list
    Group,       // callout Index's finished group
};

struct TPictureRef {
    TPictureKind Kind = TPictureKind::Cover;
    int Index = 0;
    int Sub = 0;
    int Width = 0, Height = 0; // pixels
    TColor Background = clWhite;
    // A name telling this picture from every other of the booklet ("step-12").
    std::string Name() const;
    // Whether the booklet shows the picture more than once: a part's or a group's.
    bool Recurs() const { return Kind == TPictureKind::Part || Kind == TPictureKind::Group; }
};

struct TPageItem {
    enum TKind { ikBox, ikText, ikPicture };
    TKind Kind = ikBox;
    TPageRect Rect;
    TColor Fill = clWhite, Border = clBlack;
    double BorderMm = 0;
    std::string Text;
    TTextStyle Style;
    TPictureRef Picture;
};

struct TBookletPage {
    std::vector<TPageItem> Items;
};

// The shapes of the pictures: height over width of the finished model and
// of every callout's group, as the view shows them.
struct TBookletShapes {
    double Model = 0.75;
    std::vector<double> Callouts;
};

// Pictures of steps are drawn at this resolution, the cover at a higher one.
constexpr double kStepPixelsPerMm = 150 / 25.4;
constexpr double kCoverPixelsPerMm = 200 / 25.4;

// The booklet's pages.
std::vector<TBookletPage> LayOutBooklet(const TBookletContent& content, const TPaper& paper,
                                        const TBookletShapes& shapes);
