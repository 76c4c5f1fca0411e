#pragma once
// Window, door and wheel: stones drawn from built-in pieces rather than a part
// definition. They share the data and string form of TBlock.

#include <utility>

#include "model/block.h"

// A window with frame, sill and glass.
class TWindow : public TBlock {
public:
    template <class... Args> explicit TWindow(Args&&... args) : TBlock(std::forward<Args>(args)...) {
        Kind = 'W';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TWindow(); }
};

// A door: the window frame with leaves instead of sill and glass.
class TDoor : public TWindow {
public:
    template <class... Args> explicit TDoor(Args&&... args) : TWindow(std::forward<Args>(args)...) {
        Kind = 'D';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TDoor(); }
};

// A wheel.
class TWheel : public TWindow {
public:
    template <class... Args> explicit TWheel(Args&&... args) : TWindow(std::forward<Args>(args)...) {
        Kind = 'O';
    }

protected:
    TBlock* NewOfSameClass() const override { return new TWheel(); }
};
