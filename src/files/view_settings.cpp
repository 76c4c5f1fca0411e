#include "files/view_settings.h"

#include <cmath>
#include <vector>

#include "common/convert.h"
#include "common/error.h"
#include "platform/ini_file.h"

TColor EdgeColorFromText(const std::string& text) {
    // Each channel must be a whole number from 0 to 255.
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
    int channels[3] = {};
    try {
        for (size_t i = 0; i < 3; ++i)
            channels[i] = StrToInt(tokens[i]);
    } catch (const EError&) {
        return clBlack;
    }
    for (int channel : channels)
        if (channel < 0 || channel > 255)
            return clBlack;
    return RGB(channels[0], channels[1], channels[2]);
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
    // Edges are drawn at 0 % to 100 % of the face colour.
    s.EdgeFactor = edgeFactor >= 0 && edgeFactor <= 1 ? static_cast<float>(edgeFactor) : 0.7f;
    s.FixedEdgeColors = ini.ReadInteger("Main", "FixedEdgeColors", 0) != 0;
    s.DarkEdgeColor = EdgeColorFromText(ini.ReadString("Main", "DarkEdgeColor", "50, 50, 50"));
    s.LightEdgeColor = EdgeColorFromText(ini.ReadString("Main", "LightEdgeColor", "150, 150, 150"));
    const int details = ini.ReadInteger("State", "Details", 0);
    s.Details = details >= 0 && details <= 2 ? details : 0;
    s.Shading = ini.ReadInteger("State", "Shading", 0) != 0;
    s.BitDepth = ini.ReadInteger("State", "BitDepth", 4);
    return s;
}
