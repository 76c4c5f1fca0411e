#pragma once
// What the model needs of the view to find stones on the screen: the screen
// point of a model point and the viewing octant. The render state provides it.

#include "platform/polygon_region.h"

class TProjector {
public:
    virtual ~TProjector() = default;
    // Screen point of a model point (units), projected with the rows of the
    // given quarter turn (0..3).
    virtual TPoint ProjectPoint(int x, int y, int z, int quarterTurn = 0) const = 0;
    // The viewing octant 0..7.
    virtual int ViewOctant() const = 0;
};
