#pragma once
// The customize-pages dialog's working state: a copy of every page's entries,
// two page boxes each showing one page's entries, and the moves of entries
// from one page to the other and up and down the right-hand page.

#include <vector>

#include "app/palette.h"

class TPageCustomize {
public:
    // Both sides start on the palette's current page.
    TPageCustomize(const std::vector<TPalettePage>& pages, int currentPage);

    struct TSide {
        // The page box's item: 0 "<Recently used>", i the page i - 1.
        int Item = 0;
        // The page whose entries the list shows, or -1.
        int Page = -1;
        int Selected = -1;
    };
    TSide Left, Right;

    const std::vector<TPalettePage>& Pages() const { return FPages; }
    const std::vector<std::string>& Entries(const TSide& side) const;
    // Chooses a page box item; "<Recently used>" leaves the list as it was.
    void Choose(TSide& side, int item);

    void MoveRight(); // the left list's selected entry to the right page
    void MoveLeft();  // the right list's selected entry to the left page
    void Up();        // the right list's selected entry one place up
    void Down();      // ... one place down

private:
    void Move(TSide& from, TSide& to);
    std::vector<TPalettePage> FPages;
};
