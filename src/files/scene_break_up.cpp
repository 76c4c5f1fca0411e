#include "files/scene_break_up.h"

#include <system_error>

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

std::vector<TStringList> SplitSceneLines(TStringList lines) {
    std::optional<std::string> viewLine;
    if (!lines.empty() && !lines.front().empty() && lines.front()[0] == '=') {
        viewLine = lines.front();
        lines.erase(lines.begin());
    }
    std::vector<int32_t> keys;
    keys.reserve(lines.size());
    for (const std::string& line : lines)
        keys.push_back(GroupKeyOf(line));

    std::vector<TStringList> files;
    std::vector<int32_t> fileKeys;
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t file = 0;
        while (file < fileKeys.size() && fileKeys[file] != keys[i])
            ++file;
        if (file == fileKeys.size()) {
            fileKeys.push_back(keys[i]);
            files.emplace_back();
            if (viewLine)
                files.back().push_back(*viewLine);
        }
        files[file].push_back(lines[i]);
    }
    return files;
}

std::optional<fs::path> BreakUpFolder(const std::string& scenePath) {
    size_t pos = UpperCase(scenePath).find(".STM");
    if (pos == std::string::npos)
        return std::nullopt;
    return fs::path(scenePath.substr(0, pos));
}

std::optional<TBreakUpResult> BreakUpScene(const std::string& scenePath) {
    std::optional<fs::path> folder = BreakUpFolder(scenePath);
    if (!folder)
        return std::nullopt;
    std::vector<TStringList> files = SplitSceneLines(LoadLines(scenePath));
    TBreakUpResult result;
    result.Folder = *folder;
    for (size_t n = 0; n < files.size(); ++n) {
        std::error_code error;
        if (!fs::is_directory(*folder, error)) {
            fs::create_directories(*folder, error);
            if (error)
                throw EError(StrFormat("Cannot create folder \"%s\". %s", folder->string().c_str(),
                                       error.message().c_str()));
        }
        fs::path file = *folder / StrFormat("%zu.stm", n);
        SaveLines(file, files[n]);
        result.Files.push_back(file);
    }
    return result;
}
