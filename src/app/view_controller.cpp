#include "app/view_controller.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "model/block_list.h"
#include "view/render_state.h"

const char* const TViewController::kZoomChoices[10] = {"5",  "10", "20",  "25",  "40",
                                                       "50", "75", "100", "200", "400"};

TViewController::TViewController(TRenderState& view) : FView(view) {
    FView.ViewScale = 0.5f;
    RotationChanged();
    RecordView();
}

void TViewController::Redraw() {
    if (OnRedraw)
        OnRedraw();
}

void TViewController::RotationChanged() {
    FView.SetRotation(FRotX.Position, FRotY.Position, FRotZ.Position);
    Redraw();
}

void TViewController::OffsetChanged() {
    FView.ViewOffsetX = static_cast<float>(std::nearbyint(FWidth / 2.0) - FOffsetX.Position);
    FView.ViewOffsetY = static_cast<float>(std::nearbyint(FHeight / 2.0) - FOffsetY.Position);
    Redraw();
}

// A scroll bar fires its change only when its position really moves.
void TViewController::SetRotX(int position) {
    position = FRotX.Clamp(position);
    if (position == FRotX.Position)
        return;
    FRotX.Position = position;
    RotationChanged();
}

void TViewController::SetRotY(int position) {
    position = FRotY.Clamp(position);
    if (position == FRotY.Position)
        return;
    FRotY.Position = position;
    RotationChanged();
}

void TViewController::SetRotZ(int position) {
    position = FRotZ.Clamp(position);
    if (position == FRotZ.Position)
        return;
    FRotZ.Position = position;
    RotationChanged();
}

void TViewController::SetOffsetX(int position) {
    position = FOffsetX.Clamp(position);
    if (position == FOffsetX.Position)
        return;
    FOffsetX.Position = position;
    OffsetChanged();
}

void TViewController::SetOffsetY(int position) {
    position = FOffsetY.Clamp(position);
    if (position == FOffsetY.Position)
        return;
    FOffsetY.Position = position;
    OffsetChanged();
}

void TViewController::Batch(const std::function<void()>& change) {
    const bool suppressed = FView.SuppressRedraw, skipping = FView.SkipPainting;
    FView.SuppressRedraw = true;
    FView.SkipPainting = true;
    auto finish = [&] {
        FView.SuppressRedraw = suppressed;
        FView.SkipPainting = skipping;
        Redraw();
    };
    try {
        change();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TViewController::SetViewAngles(int tilt, int turn) {
    Batch([&] {
        SetRotX(tilt);
        SetRotZ(turn);
    });
}

void TViewController::FixedView(int tag) {
    switch (tag) {
    case 0:
        SetViewAngles(0, FRotZ.Position);
        break;
    case 1:
        SetViewAngles(FRotX.Position, 0);
        break;
    case 2:
        SetViewAngles(FRotX.Position, 270);
        break;
    case 3:
        SetViewAngles(FRotX.Position, 90);
        break;
    case 4:
        SetViewAngles(FRotX.Position, 180);
        break;
    case 5:
        SetViewAngles(70, 30);
        break;
    case 6:
        SetViewAngles(70, 210);
        break;
    case 7:
        SetViewAngles(70, 150);
        break;
    case 8:
        SetViewAngles(70, 330);
        break;
    case 9:
        SetViewAngles(90, FRotZ.Position);
        break;
    default:
        break;
    }
}

void TViewController::RecordView() {
    FRecorded = {FRotX.Position, FRotZ.Position, FOffsetX.Position, FOffsetY.Position};
}

void TViewController::RestoreView() {
    Batch([&] {
        FView.ViewAnchor = {};
        SetRotX(FRecorded.RotX);
        SetRotZ(FRecorded.RotZ);
        SetOffsetX(FRecorded.OffsetX);
        SetOffsetY(FRecorded.OffsetY);
    });
}

void TViewController::RotateUp() {
    SetRotX(FRotX.Position + FRotX.SmallChange);
}

void TViewController::RotateDown() {
    SetRotX(FRotX.Position - FRotX.SmallChange);
}

void TViewController::RotateLeft() {
    SetRotZ((FRotZ.Position == 0 ? 360 : FRotZ.Position) - 5);
}

void TViewController::RotateRight() {
    SetRotZ((FRotZ.Position == 360 ? 0 : FRotZ.Position) + 5);
}

void TViewController::MouseRotate(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    int turn = FRotZ.Position + dx;
    if (turn < 0)
        turn = 360;
    else if (turn > 360)
        turn = 0;
    int tilt = FRotX.Position - dy;
    tilt = tilt < 0 ? 0 : tilt > 180 ? 180 : tilt;
    SetViewAngles(tilt, turn);
}

float TViewController::Zoom() const {
    return FView.ViewScale;
}

void TViewController::SetZoom(float scale) {
    FView.ViewScale = scale;
    Redraw();
}

std::string TViewController::ZoomText() const {
    return std::to_string(static_cast<long>(std::nearbyint(static_cast<double>(FView.ViewScale) * 100)));
}

void TViewController::ZoomIn() {
    SetZoom(static_cast<float>(static_cast<double>(FView.ViewScale) * 1.1));
}

void TViewController::ZoomOut() {
    SetZoom(static_cast<float>(static_cast<double>(FView.ViewScale) / 1.1));
}

void TViewController::Wheel(int delta) {
    if (delta < 0)
        ZoomIn();
    else if (delta > 0)
        ZoomOut();
}

void TViewController::CenterModel(const TBlockList& model, bool fit) {
    FView.ViewAnchor = {};
    int32_t cx = 0, cy = 0, cz = 0;
    if (model.Count() == 0) {
        FView.ViewScale = 0.5f;
    } else {
        const TExtents e = model.GetExtents();
        cx = (e.MinX + e.MaxX) / 2;
        cy = (e.MinY + e.MaxY) / 2;
        cz = (e.MinZ + e.MaxZ) / 2;
        if (fit) {
            const float scale = FView.ViewScale;
            FView.ViewScale = 1.0f;
            const TPoint high = FView.ProjectPoint(e.MaxX, e.MaxY, e.MaxZ);
            const TPoint low = FView.ProjectPoint(e.MinX, e.MinY, e.MinZ);
            FView.ViewScale = scale;
            // A model flat in either direction keeps the zoom.
            if (high.x != low.x && high.y != low.y) {
                const double fitX = static_cast<double>(FWidth) / (high.x - low.x);
                const double fitY = static_cast<double>(FHeight) / (high.y - low.y);
                FView.ViewScale = static_cast<float>(0.9 * std::min(std::fabs(fitX), std::fabs(fitY)));
            }
        }
    }
    TPoint p = FView.ProjectPoint(cx, cy, cz);
    int64_t x = int64_t{p.x} + FOffsetX.Position - FWidth / 2;
    int64_t y = int64_t{p.y} + FOffsetY.Position - FHeight / 2;
    if (x < FOffsetX.Min || x > FOffsetX.Max || y < FOffsetY.Min || y > FOffsetY.Max) {
        // Farther than the offsets reach: the view is laid out from the model's centre.
        FView.ViewAnchor = {cx, cy, cz};
        p = FView.ProjectPoint(cx, cy, cz);
        x = int64_t{p.x} + FOffsetX.Position - FWidth / 2;
        y = int64_t{p.y} + FOffsetY.Position - FHeight / 2;
    }
    Batch([&] {
        SetOffsetX(static_cast<int>(std::clamp<int64_t>(x, INT_MIN, INT_MAX)));
        SetOffsetY(static_cast<int>(std::clamp<int64_t>(y, INT_MIN, INT_MAX)));
    });
}

void TViewController::Resize(int width, int height) {
    FWidth = width;
    FHeight = height;
    FView.ViewOffsetX = static_cast<float>(std::nearbyint(FWidth / 2.0) - FOffsetX.Position);
    FView.ViewOffsetY = static_cast<float>(std::nearbyint(FHeight / 2.0) - FOffsetY.Position);
}

void TViewController::FitModel(const TBlockList& model) {
    FView.ViewAnchor = {};
    if (model.Count() > 0 && FWidth > 0 && FHeight > 0) {
        const TExtents e = model.GetExtents();
        const float scale = FView.ViewScale;
        FView.ViewScale = 1.0f;
        int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
        for (int corner = 0; corner < 8; ++corner) {
            const TPoint p = FView.ProjectPoint(corner & 1 ? e.MaxX : e.MinX, corner & 2 ? e.MaxY : e.MinY,
                                                corner & 4 ? e.MaxZ : e.MinZ);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        FView.ViewScale = scale;
        if (maxX > minX && maxY > minY)
            FView.ViewScale =
                static_cast<float>(0.9 * std::min(static_cast<double>(FWidth) / (maxX - minX),
                                                  static_cast<double>(FHeight) / (maxY - minY)));
    }
    CenterModel(model, false);
}

void TViewController::FitFromAbove(const TBlockList& model) {
    SetViewAngles(0, FRotZ.Position);
    SetViewAngles(FRotX.Position, 0);
    CenterModel(model, true);
}
