#pragma once
// The reorder-pages dialog's working state: a copy of the pages in which the
// selected page moves up or down, its title, entries, row height and scale
// together, the selection following it.

#include <vector>

#include "app/palette.h"

class TPageReorder {
public:
    explicit TPageReorder(std::vector<TPalettePage> pages) : FPages(std::move(pages)) {}

    const std::vector<TPalettePage>& Pages() const { return FPages; }
    std::vector<TPalettePage> TakePages() { return std::move(FPages); }
    int Selected = -1;

    void Up1();
    void Up10();
    void Home();
    void Down1();
    void Down10();
    void End();

private:
    bool MoveUp();
    bool MoveDown();
    std::vector<TPalettePage> FPages;
};
