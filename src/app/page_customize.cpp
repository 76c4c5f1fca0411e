#include "app/page_customize.h"

#include <utility>

namespace {
const std::vector<std::string> kNoEntries;
}

TPageCustomize::TPageCustomize(const std::vector<TPalettePage>& pages, int currentPage) : FPages(pages) {
    if (currentPage >= 0 && currentPage < static_cast<int>(FPages.size())) {
        Left.Item = Right.Item = currentPage + 1;
        Left.Page = Right.Page = currentPage;
    }
}

const std::vector<std::string>& TPageCustomize::Entries(const TSide& side) const {
    return side.Page >= 0 ? FPages[static_cast<size_t>(side.Page)].Entries : kNoEntries;
}

void TPageCustomize::Choose(TSide& side, int item) {
    if (item < 0 || item > static_cast<int>(FPages.size()))
        return;
    side.Item = item;
    if (item == 0)
        return;
    side.Page = item - 1;
    side.Selected = -1;
}

void TPageCustomize::Move(TSide& from, TSide& to) {
    // Both boxes must show two different real pages.
    if (from.Item < 1 || to.Item < 1 || from.Item == to.Item)
        return;
    auto& source = FPages[static_cast<size_t>(from.Page)].Entries;
    auto& target = FPages[static_cast<size_t>(to.Page)].Entries;
    if (from.Selected < 0 || from.Selected >= static_cast<int>(source.size()))
        return;
    const std::string entry = source[static_cast<size_t>(from.Selected)];
    source.erase(source.begin() + from.Selected);
    if (to.Selected >= 0 && to.Selected < static_cast<int>(target.size()))
        target.insert(target.begin() + to.Selected + 1, entry);
    else
        target.push_back(entry);
    // The selection stays at its place, so it falls on the next entry.
    if (from.Selected >= static_cast<int>(source.size()))
        from.Selected = -1;
}

void TPageCustomize::MoveRight() {
    Move(Left, Right);
}

void TPageCustomize::MoveLeft() {
    Move(Right, Left);
}

void TPageCustomize::Up() {
    if (Right.Page < 0 || Right.Selected <= 0)
        return;
    auto& entries = FPages[static_cast<size_t>(Right.Page)].Entries;
    if (Right.Selected >= static_cast<int>(entries.size()))
        return;
    std::swap(entries[static_cast<size_t>(Right.Selected)], entries[static_cast<size_t>(Right.Selected - 1)]);
    --Right.Selected;
}

void TPageCustomize::Down() {
    if (Right.Page < 0 || Right.Selected < 0)
        return;
    auto& entries = FPages[static_cast<size_t>(Right.Page)].Entries;
    if (Right.Selected + 1 >= static_cast<int>(entries.size()))
        return;
    std::swap(entries[static_cast<size_t>(Right.Selected)], entries[static_cast<size_t>(Right.Selected + 1)]);
    ++Right.Selected;
}
