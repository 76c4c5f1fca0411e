#pragma once
// A value held the way a scroll bar holds it: an integer position clamped to a
// range, with the small and large steps of its arrows and page clicks.

struct TScrollValue {
    int Position = 0;
    int Min = 0;
    int Max = 0;
    int SmallChange = 1;
    int LargeChange = 1;

    int Clamp(int value) const { return value < Min ? Min : value > Max ? Max : value; }
};
