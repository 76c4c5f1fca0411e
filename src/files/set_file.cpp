#include "files/set_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "files/caption_rule.h"
#include "platform/text_file.h"

TSetList ReadSetFile(const std::filesystem::path& path) {
    TSetList list;
    int number = 0;
    for (const std::string& line : LoadLines(path)) {
        ++number;
        if (Trim(line).empty())
            continue;
        const size_t comma = line.find(',');
        const std::string caption = SetCaption(Trim(line.substr(0, comma)));
        int count = 0;
        if (comma != std::string::npos) {
            try {
                count = StrToInt(Trim(line.substr(comma + 1)));
            } catch (const EError& failure) {
                throw EError("Line " + std::to_string(number) + " of " + path.filename().string() + ": " +
                             failure.what());
            }
        }
        auto same =
            std::find_if(list.begin(), list.end(), [&](const auto& e) { return SameText(e.first, caption); });
        if (same == list.end())
            list.emplace_back(caption, count);
        else // a sum beyond the int range stays at its end
            same->second = static_cast<int>(std::clamp<int64_t>(int64_t{same->second} + count,
                                                                std::numeric_limits<int>::min(),
                                                                std::numeric_limits<int>::max()));
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
    return list;
}
