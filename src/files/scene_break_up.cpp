#include "files/scene_break_up.h"

#include <system_error>
#include <unordered_map>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"

namespace fs = std::filesystem;

std::vector<std::string> SplitGroupTokens(const std::string& line) {
    std::vector<std::string> tokens;
    size_t pos = 0;
    const size_t n = line.size();
    while (true) {
        std::string token;
        if (pos < n && line[pos] == '"') {
            ++pos;
            while (pos < n) {
                if (line[pos] == '"') {
                    if (pos + 1 < n && line[pos + 1] == '"') {
                        token += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                token += line[pos++];
            }
            // Anything glued to the closing quote still belongs to the token.
            while (pos < n && line[pos] != ' ' && line[pos] != ',')
                token += line[pos++];
        } else {
            while (pos < n && line[pos] != ' ' && line[pos] != ',')
                token += line[pos++];
        }
        tokens.push_back(std::move(token));
        if (pos >= n)
            return tokens;
        ++pos; // the separator
    }
}

int32_t GroupKeyOf(const std::string& line) {
    if (line.size() <= 10)
        return 0;
    std::string text = UpperCase(Trim(line));
    if (text.empty() || text[0] == '=')
        return 0;
    std::vector<std::string> tokens = SplitGroupTokens(text);
    size_t index = text[0] == 'G' ? 14 : 12;
    if (index >= tokens.size())
        return 0;
    return StrToInt(tokens[index]);
}

std::vector<TStringList> SplitSceneLines(TStringList lines, const TShareProgress& progress) {
    std::optional<std::string> viewLine;
    size_t first = 0;
    if (!lines.empty() && !lines.front().empty() && lines.front()[0] == '=') {
        viewLine = lines.front();
        first = 1;
    }
    // Every group token is read before anything is split, so a bad one splits nothing.
    std::vector<int32_t> keys;
    keys.reserve(lines.size() - first);
    for (size_t i = first; i < lines.size(); ++i) {
        keys.push_back(GroupKeyOf(lines[i]));
        if (progress && i % 4096 == 4095)
            progress(static_cast<double>(i) / static_cast<double>(lines.size()));
    }

    // Each group's file is found through its key, so the split takes as long
    // as the scene is long, however many groups it holds.
    std::vector<TStringList> files;
    std::unordered_map<int32_t, size_t> fileOfKey;
    for (size_t i = first; i < lines.size(); ++i) {
        const auto [place, isNew] = fileOfKey.try_emplace(keys[i - first], files.size());
        if (isNew) {
            files.emplace_back();
            if (viewLine)
                files.back().push_back(*viewLine);
        }
        files[place->second].push_back(std::move(lines[i]));
    }
    return files;
}

std::optional<fs::path> BreakUpFolder(const std::string& scenePath) {
    size_t pos = UpperCase(scenePath).find(".STM");
    if (pos == std::string::npos)
        return std::nullopt;
    return fs::path(scenePath.substr(0, pos));
}

std::optional<TBreakUpResult> BreakUpScene(const std::string& scenePath, const TShareProgress& progress) {
    std::optional<fs::path> folder = BreakUpFolder(scenePath);
    if (!folder)
        return std::nullopt;
    // Splitting is the first tenth of the work; writing one file per group the rest.
    TShareProgress splitting;
    if (progress)
        splitting = [&](double done) { progress(done / 10); };
    std::vector<TStringList> files = SplitSceneLines(LoadLines(scenePath), splitting);
    TBreakUpResult result;
    result.Folder = *folder;
    if (files.empty())
        return result;
    std::error_code error;
    if (!fs::is_directory(*folder, error)) {
        fs::create_directories(*folder, error);
        if (error)
            throw EError(StrFormat("Cannot create folder \"%s\". %s", folder->string().c_str(),
                                   error.message().c_str()));
    }
    result.Files.reserve(files.size());
    for (size_t n = 0; n < files.size(); ++n) {
        fs::path file = *folder / StrFormat("%zu.stm", n);
        SaveLines(file, files[n]);
        result.Files.push_back(file);
        if (progress)
            progress(0.1 + 0.9 * static_cast<double>(n + 1) / static_cast<double>(files.size()));
    }
    return result;
}
