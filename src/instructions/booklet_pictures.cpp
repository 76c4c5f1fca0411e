#include "instructions/booklet_pictures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "instructions/booklet_content.h"
#include "model/block.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "render/scene_pass.h"

namespace {

// The share of a picture the model's box fills across its tighter side.
constexpr double kFill = 0.94;

// Opens the cut box while a picture is drawn: a booklet shows every stone,
// whatever the user has cut away in the view.
class TCutOpened {
public:
    TCutOpened() : FSaved(CutState()) { CutState().Reset(); }
    ~TCutOpened() { CutState() = FSaved; }
    TCutOpened(const TCutOpened&) = delete;
    TCutOpened& operator=(const TCutOpened&) = delete;

private:
    TCutState FSaved;
};

// A copy of the stone without the user's marks.
std::unique_ptr<TBlock> CleanCopy(const TBlock& stone) {
    std::unique_ptr<TBlock> copy = CreateCopy(stone);
    copy->Selected = false;
    return copy;
}

template <typename TStones> TBookletPictures::TBox BoxOf(const TStones& stones) {
    TBookletPictures::TBox box;
    bool first = true;
    for (const TBlock* s : stones) {
        const double low[3] = {double(s->X), double(s->Y), double(s->Z)};
        const double high[3] = {low[0] + s->Length, low[1] + s->Width, low[2] + s->Height};
        for (int a = 0; a < 3; ++a) {
            box.Low[a] = first ? low[a] : std::min(box.Low[a], low[a]);
            box.High[a] = first ? high[a] : std::max(box.High[a], high[a]);
        }
        first = false;
    }
    return box;
}

int32_t ToModel(double value) {
    return static_cast<int32_t>(std::clamp(std::round(value), double(std::numeric_limits<int32_t>::min()),
                                           double(std::numeric_limits<int32_t>::max())));
}

// The box's outline on the screen at a trial scale, its anchor in the box's middle.
struct TOutline {
    double Scale, Width, Height;
};
TOutline OutlineOf(TRenderState& view, const TBookletPictures::TBox& box) {
    const double largest =
        std::max({box.High[0] - box.Low[0], box.High[1] - box.Low[1], box.High[2] - box.Low[2], 1.0});
    view.ViewScale = static_cast<float>(8192 / largest);
    view.ViewOffsetX = view.ViewOffsetY = 0;
    view.ViewAnchor = {ToModel((box.Low[0] + box.High[0]) / 2), ToModel((box.Low[1] + box.High[1]) / 2),
                       ToModel((box.Low[2] + box.High[2]) / 2)};
    int minX = std::numeric_limits<int>::max(), maxX = std::numeric_limits<int>::min();
    int minY = minX, maxY = maxX;
    for (int corner = 0; corner < 8; ++corner) {
        const TPoint p = view.Project(ToModel(corner & 1 ? box.High[0] : box.Low[0]),
                                      ToModel(corner & 2 ? box.High[1] : box.Low[1]),
                                      ToModel(corner & 4 ? box.High[2] : box.Low[2]), 0);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {view.ViewScale, std::max(1.0, double(maxX) - minX), std::max(1.0, double(maxY) - minY)};
}

} // namespace

TColor FadedColor(TColor color, double share) {
    const TColor rgb = ColorToRGB(color);
    auto fade = [&](int channel) { return static_cast<int>(std::lround(channel + (255 - channel) * share)); };
    return RGB(fade(GetRValue(rgb)), fade(GetGValue(rgb)), fade(GetBValue(rgb)));
}

TBookletPictures::TBookletPictures(const TBookletContent& content, const TRenderState& look)
    : FContent(content), FScratch(1, 1, pf32bit) {
    FView.TakeLookOf(look);
    FModelBox = BoxOf(content.Stones());
    FShapes.Model = ShapeOf(FModelBox);
    const TBuildPlan& plan = content.Plan();
    for (size_t c = 0; c < plan.Callouts.size(); ++c) {
        FCalloutBoxes.push_back(
            BoxOf(plan.Steps[static_cast<size_t>(content.StepOfCallout(static_cast<int>(c)))].Stones));
        FShapes.Callouts.push_back(ShapeOf(FCalloutBoxes.back()));
    }
}

TBookletPictures::~TBookletPictures() = default;

double TBookletPictures::ShapeOf(const TBox& box) {
    const TOutline outline = OutlineOf(FView, box);
    return outline.Height / outline.Width;
}

void TBookletPictures::Grow(TGrowingModel& model, const std::vector<TBuildStep>& steps, int through) {
    if (!model.Stones || model.Steps > through + 1) {
        // Every stone joins at its place in painter's order, so the same
        // steps give the same order, and the same picture, however the
        // pictures are asked for.
        model.Stones = std::make_unique<TOwnedBlockList>();
        model.Stones->Sort(FView.Octant(), true);
        model.Steps = 0;
        model.Newest.clear();
    }
    while (model.Steps <= through && model.Steps < static_cast<int>(steps.size())) {
        for (TBlock* stone : model.Newest)
            stone->Color = FadedColor(stone->Color, kEarlierStepsFade);
        model.Newest.clear();
        for (const TBlock* stone : steps[static_cast<size_t>(model.Steps)].Stones)
            model.Newest.push_back(model.Stones->InsertSorted(CleanCopy(*stone)));
        ++model.Steps;
    }
}

void TBookletPictures::Draw(TBlockList& stones, const TBox& box, TBitmap& target, TColor background) {
    const int width = target.Width(), height = target.Height();
    const TOutline outline = OutlineOf(FView, box);
    FView.ViewScale =
        static_cast<float>(outline.Scale * kFill * std::min(width / outline.Width, height / outline.Height));
    FView.ViewOffsetX = static_cast<float>(width / 2);
    FView.ViewOffsetY = static_cast<float>(height / 2);
    TCutOpened open;
    DrawSceneAntiAliased(target, Rect(0, 0, width, height), width, height, stones, FView,
                         TBackground{background, nullptr});
}

TBitmap& TBookletPictures::Picture(const TPictureRef& ref) {
    const std::string name = ref.Name();
    if (auto kept = FKept.find(name);
        kept != FKept.end() && kept->second->Width() == ref.Width && kept->second->Height() == ref.Height)
        return *kept->second;
    const TBuildPlan& plan = FContent.Plan();
    switch (ref.Kind) {
    case TPictureKind::Step:
        Grow(FModel, plan.Steps, ref.Index);
        FScratch.SetSize(ref.Width, ref.Height);
        Draw(*FModel.Stones, FModelBox, FScratch, ref.Background);
        return FScratch;
    case TPictureKind::CalloutStep:
        if (FCalloutIndex != ref.Index) {
            FCallout = TGrowingModel();
            FCalloutIndex = ref.Index;
        }
        Grow(FCallout, plan.Callouts[static_cast<size_t>(ref.Index)].Steps, ref.Sub);
        FScratch.SetSize(ref.Width, ref.Height);
        Draw(*FCallout.Stones, FCalloutBoxes[static_cast<size_t>(ref.Index)], FScratch, ref.Background);
        return FScratch;
    case TPictureKind::Cover:
    case TPictureKind::Part:
    case TPictureKind::Group:
        break;
    }
    // Whole stones in their own colours, drawn once: the finished model, a
    // finished group, a stone of the parts list.
    std::vector<const TBlock*> shown;
    if (ref.Kind == TPictureKind::Cover)
        shown = FContent.Stones();
    else if (ref.Kind == TPictureKind::Group)
        shown = plan.Steps[static_cast<size_t>(FContent.StepOfCallout(ref.Index))].Stones;
    else
        shown = {FContent.Parts().Rows[static_cast<size_t>(ref.Index)].Example.get()};
    TOwnedBlockList stones;
    for (const TBlock* stone : shown)
        stones.Add(CleanCopy(*stone));
    stones.Sort(FView.Octant(), true);
    auto picture = std::make_unique<TBitmap>(ref.Width, ref.Height, pf32bit);
    Draw(stones, BoxOf(shown), *picture, ref.Background);
    return *(FKept[name] = std::move(picture));
}
