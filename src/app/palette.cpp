#include "app/palette.h"

#include <algorithm>

#include "platform/text_file.h"

const char* const kRecentlyUsedTitle = "<Recently used>";

namespace {
const std::vector<std::string> kNoEntries;
}

TPalette::TPalette() : CurrentColor(Swatches[static_cast<size_t>(StartColor)]) {}

bool TPalette::RealPageShown() const {
    return !FShowingRecent && FCurrent >= 0 && FCurrent < static_cast<int>(Pages.size());
}

void TPalette::ShowPage(int index) {
    const int count = static_cast<int>(Pages.size());
    if (index < 0)
        index = count - 1;
    if (index >= 0 && index < count) {
        FCurrent = index;
        FShowingRecent = false;
    } else {
        FCurrent = 0;
        if (count == 0)
            return;
        FShowingRecent = false;
    }
    SelectedRow = -1; // other entries show: none is selected
}

// "<Recently used>" stands before the first page, as in the page selector:
// from there the arrows go on to the first page or round to the last.
void TPalette::PrevPage() {
    ShowPage(FShowingRecent ? -1 : FCurrent - 1);
}

void TPalette::NextPage() {
    const int next = FShowingRecent ? 0 : FCurrent + 1;
    ShowPage(next < static_cast<int>(Pages.size()) ? next : 0);
}

std::vector<std::string> TPalette::SelectorItems() const {
    std::vector<std::string> items{kRecentlyUsedTitle};
    for (const TPalettePage& page : Pages)
        items.push_back(page.Title);
    return items;
}

void TPalette::SelectItem(int item) {
    if (item == 0) {
        FShowingRecent = true;
        SelectedRow = -1;
    } else {
        ShowPage(item - 1);
    }
}

const std::vector<std::string>& TPalette::ShownEntries() const {
    if (FShowingRecent)
        return RecentEntries;
    return RealPageShown() ? Pages[static_cast<size_t>(FCurrent)].Entries : kNoEntries;
}

int TPalette::ShownRowHeight() const {
    int height = RecentRowHeight;
    if (!FShowingRecent && RealPageShown())
        height = Pages[static_cast<size_t>(FCurrent)].RowHeight;
    return std::min(255, height);
}

float TPalette::ShownScale() const {
    if (FCurrent >= 0 && FCurrent < static_cast<int>(Pages.size()))
        return Pages[static_cast<size_t>(FCurrent)].Scale;
    return 0.5f;
}

TColor TPalette::RowColor(int row) const {
    if (FShowingRecent && row >= 0 && row < static_cast<int>(RecentColors.size()))
        return RecentColors[static_cast<size_t>(row)];
    return CurrentColor;
}

std::string TPalette::SelectedEntry() const {
    const auto& entries = ShownEntries();
    return SelectedRow >= 0 && SelectedRow < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(SelectedRow)]
               : std::string();
}

void TPalette::NoteTaken(const std::string& entry, TColor color) {
    auto it = std::find(RecentEntries.begin(), RecentEntries.end(), entry);
    if (it == RecentEntries.end()) {
        RecentEntries.insert(RecentEntries.begin(), entry);
        RecentColors.insert(RecentColors.begin(), color);
        if (!FShowingRecent && RealPageShown())
            RecentRowHeight = std::max(RecentRowHeight, Pages[static_cast<size_t>(FCurrent)].RowHeight);
        return;
    }
    const size_t at = static_cast<size_t>(it - RecentEntries.begin());
    std::rotate(RecentEntries.begin(), it, it + 1);
    if (at < RecentColors.size())
        std::rotate(RecentColors.begin(), RecentColors.begin() + static_cast<std::ptrdiff_t>(at),
                    RecentColors.begin() + static_cast<std::ptrdiff_t>(at) + 1);
}

void TPalette::ClearRecent() {
    RecentEntries.clear();
    RecentColors.clear();
    RecentRowHeight = 40;
    if (FShowingRecent)
        SelectedRow = -1;
}

TPaletteMenuState TPalette::MenuState() const {
    TPaletteMenuState state;
    const bool real = RealPageShown();
    const bool selected = real && SelectedRow >= 0 && SelectedRow < static_cast<int>(ShownEntries().size());
    state.Edit = state.Remove = selected;
    state.Add = state.Properties = real;
    state.RemovePage = real && Pages[static_cast<size_t>(FCurrent)].Entries.empty();
    return state;
}

void TPalette::RemoveSelected() {
    if (!MenuState().Remove)
        return;
    auto& entries = Pages[static_cast<size_t>(FCurrent)].Entries;
    entries.erase(entries.begin() + SelectedRow);
    SelectedRow = -1;
    Changed = true;
}

void TPalette::InsertEntry(const std::string& entry) {
    if (!RealPageShown())
        return;
    auto& entries = Pages[static_cast<size_t>(FCurrent)].Entries;
    if (SelectedRow >= 0 && SelectedRow < static_cast<int>(entries.size()))
        entries.insert(entries.begin() + SelectedRow, entry);
    else
        entries.push_back(entry);
    Changed = true;
    ShowPage(FCurrent);
}

void TPalette::ReplaceSelected(const std::string& entry, int rowHeight) {
    if (!MenuState().Edit)
        return;
    TPalettePage& page = Pages[static_cast<size_t>(FCurrent)];
    page.Entries[static_cast<size_t>(SelectedRow)] = entry;
    page.RowHeight = std::max(page.RowHeight, rowHeight);
    Changed = true;
    ShowPage(FCurrent);
}

void TPalette::AppendEntry(const std::string& entry, int rowHeight) {
    if (!RealPageShown() || entry.empty())
        return;
    TPalettePage& page = Pages[static_cast<size_t>(FCurrent)];
    page.Entries.push_back(entry);
    page.RowHeight = std::max(page.RowHeight, rowHeight);
    Changed = true;
    ShowPage(FCurrent);
}

void TPalette::AddPage() {
    TPalettePage page;
    page.Name = page.Title = "Page" + std::to_string(Pages.size());
    Pages.push_back(page);
    Changed = true;
    ShowPage(static_cast<int>(Pages.size()) - 1);
}

void TPalette::AddPageFromFile(const std::filesystem::path& partFile) {
    AddPage();
    const TStringList lines = LoadLines(partFile);
    auto& entries = Pages.back().Entries;
    const std::string fileName = partFile.filename().string();
    for (const std::string& line : lines) {
        const size_t open = line.find('[');
        if (open == std::string::npos)
            continue;
        const size_t close = line.find(']');
        if (close == std::string::npos || close <= open + 1)
            continue;
        entries.push_back("G " + fileName + ", " + line.substr(open + 1, close - open - 1));
    }
    ShowPage(static_cast<int>(Pages.size()) - 1);
}

void TPalette::RemovePage() {
    if (!MenuState().RemovePage)
        return;
    Pages.erase(Pages.begin() + FCurrent);
    Changed = true;
    ShowPage(FCurrent);
}

bool TPalette::SetPageProperties(const std::string& title, int rowHeight, float scale) {
    if (!RealPageShown())
        return false;
    TPalettePage& page = Pages[static_cast<size_t>(FCurrent)];
    if (page.Title == title && page.RowHeight == rowHeight && page.Scale == scale)
        return false;
    page.Title = title;
    page.RowHeight = rowHeight;
    page.Scale = scale;
    Changed = true;
    ShowPage(FCurrent);
    return true;
}

void TPalette::TakeCustomizedPages(const std::vector<TPalettePage>& pages) {
    for (size_t i = 0; i < Pages.size() && i < pages.size(); ++i) {
        Pages[i].Name = pages[i].Name;
        Pages[i].Entries = pages[i].Entries;
    }
    Changed = true;
    ShowPage(FCurrent);
}

void TPalette::TakeReorderedPages(std::vector<TPalettePage> pages) {
    Pages = std::move(pages);
    Changed = true;
    ShowPage(FCurrent);
}

void TPalette::Load(const TSettingsData& settings) {
    Swatches = settings.Swatches;
    StartColor = settings.StartColor;
    CurrentColor = Swatches[static_cast<size_t>(StartColor)];
    Pages.clear();
    for (size_t i = 0; i < settings.Pages.size(); ++i) {
        const TPageSettings& stored = settings.Pages[i];
        Pages.push_back(
            {"Page" + std::to_string(i + 1), stored.Entries, stored.Title, stored.Height, stored.Scale});
    }
    ClearRecent();
    FShowingRecent = false;
    ShowPage(0);
}

void TPalette::Store(TSettingsData& settings) const {
    settings.Swatches = Swatches;
    settings.StartColor = StartColor;
    settings.Pages.clear();
    for (const TPalettePage& page : Pages)
        settings.Pages.push_back({page.Title, page.RowHeight, page.Scale, page.Entries});
}
