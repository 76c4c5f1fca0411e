#pragma once
// The five roof stones: a sloped roof, the ridge, the corner, the ridge corner
// and the ridge end. They share the box of TBlock and draw sloped faces.

#include <utility>

#include "model/block.h"

// A roof stone sloping down across its width.
class TRoof : public TBlock {
public:
    template <class... Args> explicit TRoof(Args&&... args) : TBlock(std::forward<Args>(args)...) {
        Kind = 'T';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TRoof(); }
};

// The ridge: two slopes meeting at the top.
class TRoofTop : public TRoof {
public:
    template <class... Args> explicit TRoofTop(Args&&... args) : TRoof(std::forward<Args>(args)...) {
        Kind = 'N';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TRoofTop(); }
};

// An outer roof corner.
class TRoofCorner : public TRoof {
public:
    template <class... Args> explicit TRoofCorner(Args&&... args) : TRoof(std::forward<Args>(args)...) {
        Kind = 'C';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TRoofCorner(); }
};

// The corner where two ridges meet.
class TRoofTopCorner : public TRoofCorner {
public:
    template <class... Args>
    explicit TRoofTopCorner(Args&&... args) : TRoofCorner(std::forward<Args>(args)...) {
        Kind = 'I';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TRoofTopCorner(); }
};

// The end of a ridge, sloping on three sides.
class TRoofTopEnd : public TRoofTop {
public:
    template <class... Args> explicit TRoofTopEnd(Args&&... args) : TRoofTop(std::forward<Args>(args)...) {
        Kind = 'E';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TRoofTopEnd(); }
};
