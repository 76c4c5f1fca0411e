#include "files/model_file_writer.h"

#include "common/error.h"
#include "model/cut_state.h"
#include "partlib/draw_class.h"

namespace {

// A word field as written: every character that would end the field or the
// line (space and the control characters) becomes "_".
std::string WordField(const std::string& word) {
    std::string result = word;
    for (char& c : result) {
        if (static_cast<unsigned char>(c) <= ' ')
            c = '_';
    }
    return result;
}

} // namespace

bool StoneIsSaved(TBlock& stone, TSaveMode mode) {
    switch (mode) {
    case TSaveMode::smComplete:
        return true;
    case TSaveMode::smSelected:
        return stone.Selected;
    case TSaveMode::smDisplayed:
        return InCut(stone);
    }
    return false;
}

std::string BlockLineText(const TBlock& s) {
    const std::string kind(1, s.Kind);
    const int32_t color = static_cast<int32_t>(s.Color);
    const std::string name = WordField(s.Name);
    if (s.Kind == 'G') {
        const std::string file = s.Part ? WordField(s.Part->FileName) : std::string();
        const std::string part = s.Part ? WordField(s.Part->PartName) : std::string();
        return StrFormat("%s %d %d %d %d %d %d %d %d %d %d %d %s %s %d %s %d", kind.c_str(), s.X, s.Y, s.Z,
                         s.Length, s.Width, s.Height, color, s.Tag ? 1 : 0, s.BasePlate ? 1 : 0, s.Turn,
                         s.Transparent ? 1 : 0, file.c_str(), part.c_str(), s.Group, name.c_str(),
                         s.ExtraNumber);
    }
    return StrFormat("%s %d %d %d %d %d %d %d %d %d %d %d %d %s %d", kind.c_str(), s.X, s.Y, s.Z, s.Length,
                     s.Width, s.Height, color, s.Tag ? 1 : 0, s.BasePlate ? 1 : 0, s.Turn,
                     s.Transparent ? 1 : 0, s.Group, name.c_str(), s.ExtraNumber);
}

TStringList ModelFileLines(const TBlockList& model, const TViewRecord& view, TSaveMode mode) {
    TStringList lines;
    lines.reserve(static_cast<size_t>(model.Count()) + 1);
    lines.push_back(ViewLineText(view));
    for (TBlock* stone : model.Stones()) {
        if (StoneIsSaved(*stone, mode))
            lines.push_back(BlockLineText(*stone));
    }
    return lines;
}

void SaveModelFile(const std::filesystem::path& path, const TBlockList& model, const TViewRecord& view,
                   TSaveMode mode) {
    SaveLines(path, ModelFileLines(model, view, mode));
}
