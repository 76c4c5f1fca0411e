#pragma once
// The stone palette: pages of entries the user takes stones from, the
// "<Recently used>" page of this run, the fourteen colour swatches with the
// current colour, and the transparent state. The window shows one page at a
// time; every edit of the pages sets the palette-changed flag, so that the
// settings file is written when the program ends.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/color.h"
#include "files/settings_file.h"

struct TPalettePage {
    std::string Name; // "PageN", used only inside the program
    std::vector<std::string> Entries;
    std::string Title;
    int RowHeight = 40;
    float Scale = 0.5f;
};

// The edit menu's items that depend on the shown page and the selected entry.
struct TPaletteMenuState {
    bool Edit = false;       // "&Edit..."
    bool Remove = false;     // "&Remove"
    bool Add = false;        // "&Add..."
    bool Properties = false; // "&Properties..."
    bool RemovePage = false; // "Re&move page"
};

extern const char* const kRecentlyUsedTitle; // "<Recently used>"

class TPalette {
public:
    TPalette();

    std::vector<TPalettePage> Pages;
    // Set by every edit of the pages; the settings file is written when set.
    bool Changed = false;

    // --- showing pages ---
    int CurrentPage() const { return FCurrent; }
    bool ShowingRecent() const { return FShowingRecent; }
    // A real page is shown (not "<Recently used>", and there are pages).
    bool RealPageShown() const;
    // Shows the page; a negative index shows the last one, an index that is
    // not a page shows page 0 (with no page at all the list stays as it is).
    void ShowPage(int index);
    // The page buttons: the page before or after the one shown, wrapping
    // around; from "<Recently used>" the last or the first page.
    void PrevPage();
    void NextPage();
    // The page selector: "<Recently used>" and the page titles; choosing item 0
    // shows the recently used entries, any other item that page.
    std::vector<std::string> SelectorItems() const;
    int SelectorIndex() const { return FShowingRecent ? 0 : FCurrent + 1; }
    void SelectItem(int item);

    // --- the shown list ---
    const std::vector<std::string>& ShownEntries() const;
    // Pixels per row: the shown page's row height, at most 255.
    int ShownRowHeight() const;
    // The previews' zoom: the current page's scale.
    float ShownScale() const;
    // The colour a row's preview and stone take: the current colour, or on the
    // recently used page the colour the entry had when it was taken.
    TColor RowColor(int row) const;
    // The selected row of the list, or -1.
    int SelectedRow = -1;
    void SelectRow(int row) { SelectedRow = row; }
    std::string SelectedEntry() const;

    // --- recently used ---
    std::vector<std::string> RecentEntries;
    std::vector<TColor> RecentColors;
    int RecentRowHeight = 40;
    // Records a taken stone entry: new entries go on top with the colour,
    // known ones move to the top with their colour.
    void NoteTaken(const std::string& entry, TColor color);
    void ClearRecent();

    // --- colours ---
    std::array<TColor, kSwatchCount> Swatches = kDefaultSwatchColors;
    int StartColor = 5;
    TColor CurrentColor;
    bool Transparent = false;

    // --- edits (each sets Changed) ---
    TPaletteMenuState MenuState() const;
    void RemoveSelected();
    // Inserts before the selected entry, or appends; only on a real page.
    void InsertEntry(const std::string& entry);
    // The part editor's results: the selected entry replaced, or an entry
    // appended to the shown page, whose rows grow to at least `rowHeight`.
    void ReplaceSelected(const std::string& entry, int rowHeight);
    void AppendEntry(const std::string& entry, int rowHeight);
    void AddPage();
    // Adds a page and fills it with a "G" entry for every part the part-library
    // file holds. Raises EError when the file cannot be read (the page stays).
    void AddPageFromFile(const std::filesystem::path& partFile);
    // Removes the shown page; only a real page without entries.
    void RemovePage();
    // New title, row height and scale of the shown page; true when any changed.
    bool SetPageProperties(const std::string& title, int rowHeight, float scale);
    // The pages' names and entries from the customize-pages dialog.
    void TakeCustomizedPages(const std::vector<TPalettePage>& pages);
    // The pages in a new order from the reorder-pages dialog.
    void TakeReorderedPages(std::vector<TPalettePage> pages);

    // --- the settings file ---
    void Load(const TSettingsData& settings);
    void Store(TSettingsData& settings) const;

private:
    int FCurrent = 0;
    bool FShowingRecent = false;
};
