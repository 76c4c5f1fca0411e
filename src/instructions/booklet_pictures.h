#pragma once
// The pictures of a building-instructions booklet, drawn by the program's own
// renderer from the view's angles and look over the paper (or a callout's
// ground), anti-aliased:
// the finished model, the model after each step with the step's stones drawn
// as they are and the earlier ones faded, each callout's group as it grows,
// and every stone of the parts list alone. The model's pictures all show the
// whole finished model's box at the size of the picture, so every step is
// seen at the same scale.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "instructions/booklet_layout.h"
#include "platform/bitmap.h"
#include "view/render_state.h"

class TBlock;
class TBlockList;
class TBookletContent;
class TOwnedBlockList;
struct TBuildStep;

// How far the earlier steps' stones are faded toward the paper: 0 not at all, 1 white.
constexpr double kEarlierStepsFade = 0.62;

// A colour faded toward white by the share.
TColor FadedColor(TColor color, double share);

class TBookletPictures {
public:
    // Takes the look (angles, shading, edges) of the view; the content must
    // outlive the pictures.
    TBookletPictures(const TBookletContent& content, const TRenderState& look);
    ~TBookletPictures();
    TBookletPictures(const TBookletPictures&) = delete;
    TBookletPictures& operator=(const TBookletPictures&) = delete;

    // The shapes of the model's and the callouts' pictures.
    const TBookletShapes& Shapes() const { return FShapes; }

    // The picture, 32 bits at its size in pixels. It stays valid until the
    // next call; the cover's and those of parts and groups, drawn once, while
    // these pictures live.
    TBitmap& Picture(const TPictureRef& ref);

    // A box of model space, in double: far sides summed without overflow.
    struct TBox {
        double Low[3] = {0, 0, 0}, High[3] = {0, 0, 0};
    };

private:
    // A model built up step by step: the stones of the steps so far, copies
    // in painter's order, the last step's stones kept in their own colours.
    struct TGrowingModel {
        std::unique_ptr<TOwnedBlockList> Stones;
        int Steps = 0;
        std::vector<TBlock*> Newest;
    };
    void Grow(TGrowingModel& model, const std::vector<TBuildStep>& steps, int through);
    void Draw(TBlockList& stones, const TBox& box, TBitmap& target, TColor background);
    double ShapeOf(const TBox& box);

    const TBookletContent& FContent;
    TRenderState FView;
    TBox FModelBox;
    std::vector<TBox> FCalloutBoxes;
    TBookletShapes FShapes;
    TGrowingModel FModel, FCallout;
    int FCalloutIndex = -1;
    TBitmap FScratch;
    std::map<std::string, std::unique_ptr<TBitmap>> FKept;
};
