#include "app/page_reorder.h"

#include <utility>

bool TPageReorder::MoveUp() {
    if (Selected <= 0 || Selected >= static_cast<int>(FPages.size()))
        return false;
    std::swap(FPages[static_cast<size_t>(Selected)], FPages[static_cast<size_t>(Selected - 1)]);
    --Selected;
    return true;
}

bool TPageReorder::MoveDown() {
    if (Selected < 0 || Selected + 1 >= static_cast<int>(FPages.size()))
        return false;
    std::swap(FPages[static_cast<size_t>(Selected)], FPages[static_cast<size_t>(Selected + 1)]);
    ++Selected;
    return true;
}

void TPageReorder::Up1() {
    MoveUp();
}

void TPageReorder::Up10() {
    for (int i = 0; i < 10 && MoveUp(); ++i) {
    }
}

void TPageReorder::Home() {
    while (MoveUp()) {
    }
}

void TPageReorder::Down1() {
    MoveDown();
}

void TPageReorder::Down10() {
    for (int i = 0; i < 10 && MoveDown(); ++i) {
    }
}

void TPageReorder::End() {
    while (MoveDown()) {
    }
}
