#include "files/view_settings.h"

#include <cmath>
#include <vector>

#include "common/convert.h"
#include "common/error.h"
#include "platform/ini_file.h"

TColor EdgeColorFromText(const std::string& text) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : text + ",") {
        if (c == ',' || c == ' ') {
            if (!token.empty())
                tokens.push_back(token);
            token.clear();
        } else {
            token += c;
        }
    }
    if (tokens.size() != 3)
        return clBlack;
    try {
        return RGB(StrToInt(tokens[0]), StrToInt(tokens[1]), StrToInt(tokens[2]));
    } catch (const EError&) {
        return clBlack;
    }
}

TViewSettings ReadViewSettings(const std::filesystem::path& settingsFile) {
    try {
        return ReadViewSettings(TIniFile(settingsFile));
    } catch (const EError&) {
        return TViewSettings(); // an unreadable file counts as none
    }
}

TViewSettings ReadViewSettings(const TIniFile& ini) {
    TViewSettings s;
    const double edgeFactor = ini.ReadFloat("Main", "EdgeFactor", 0.7);
    s.EdgeFactor = std::isfinite(edgeFactor) ? static_cast<float>(edgeFactor) : 0.7f;
    s.FixedEdgeColors = ini.ReadInteger("Main", "FixedEdgeColors", 0) != 0;
    s.DarkEdgeColor = EdgeColorFromText(ini.ReadString("Main", "DarkEdgeColor", "50, 50, 50"));
    s.LightEdgeColor = EdgeColorFromText(ini.ReadString("Main", "LightEdgeColor", "150, 150, 150"));
    const int details = ini.ReadInteger("State", "Details", 0);
    s.Details = details >= 0 && details <= 2 ? details : 0;
    s.Shading = ini.ReadInteger("State", "Shading", 0) != 0;
    s.BitDepth = ini.ReadInteger("State", "BitDepth", 4);
    return s;
}
