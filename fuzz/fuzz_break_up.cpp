// Breaking up a scene: every line's tokens and group, the scene's lines split
// into files exactly as a plain search among the files made so far splits
// them, with progress that only grows, and for scenes of a few groups the
// files written and read back.

#include <algorithm>
#include <optional>

#include "common/error.h"
#include "files/scene_break_up.h"
#include "fuzz_support.h"

namespace {

// The split by searching each line's file among all the files made so far.
std::vector<TStringList> PlainSplit(const TStringList& lines) {
    size_t first = 0;
    std::optional<std::string> viewLine;
    if (!lines.empty() && !lines.front().empty() && lines.front()[0] == '=') {
        viewLine = lines.front();
        first = 1;
    }
    std::vector<TStringList> files;
    std::vector<int32_t> keys;
    for (size_t i = first; i < lines.size(); ++i) {
        const int32_t key = GroupKeyOf(lines[i]);
        const size_t file = static_cast<size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
        if (file == keys.size()) {
            keys.push_back(key);
            files.emplace_back();
            if (viewLine)
                files.back().push_back(*viewLine);
        }
        files[file].push_back(lines[i]);
    }
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = TextOf(data, size);
    const TStringList lines = SplitLines(text);
    bool keysRead = true;
    for (const std::string& line : lines) {
        Require(!SplitGroupTokens(line).empty(), "every line has a token");
        try {
            GroupKeyOf(line);
        } catch (const EError&) {
            keysRead = false;
        }
    }
    if (!lines.empty())
        if (const auto folder = BreakUpFolder(lines.front()))
            Require(lines.front().rfind(folder->string(), 0) == 0,
                    "the break-up folder is the path's beginning");

    std::vector<double> shares;
    std::vector<TStringList> files;
    try {
        files = SplitSceneLines(lines, [&](double share) { shares.push_back(share); });
    } catch (const EError&) {
        Require(!keysRead, "only a bad group token stops the split");
        return 0;
    }
    Require(keysRead, "a bad group token stops the split");
    Require(files == PlainSplit(lines), "the split is the plain search's split");
    Require(std::is_sorted(shares.begin(), shares.end()), "progress only grows");
    Require(shares.empty() || (shares.front() >= 0 && shares.back() <= 1), "progress is a share");

    if (files.size() > 8)
        return 0;
    const std::filesystem::path scene = WriteFuzzFile("scene.stm", text);
    const std::optional<TBreakUpResult> result = BreakUpScene(scene.string());
    Require(result.has_value() && result->Files.size() == files.size(), "one file is written per group");
    for (size_t n = 0; n < files.size(); ++n)
        Require(LoadLines(result->Files[n]) == files[n], "each file reads back as the lines of its group");
    return 0;
}
