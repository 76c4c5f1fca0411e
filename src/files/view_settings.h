#pragma once
// The drawing settings kept in the settings file: the edge darkening factor
// and edge colours (section Main) and the detail level, shading and bit depth
// (section State).

#include <filesystem>

#include "common/color.h"

struct TViewSettings {
    float EdgeFactor = 0.7f;
    bool FixedEdgeColors = false;
    TColor DarkEdgeColor = RGB(50, 50, 50);
    TColor LightEdgeColor = RGB(150, 150, 150);
    int Details = 0; // 0 .. 2
    bool Shading = false;
    // 1 = 8, 2 = 16, 3 = 24, 4 = 32 bits per pixel, 5 = the screen's format;
    // any other value keeps 32 bits.
    int BitDepth = 4;
};

class TIniFile;

// Reads the settings file; a missing file, a missing key or a value that
// cannot be used gives the default.
TViewSettings ReadViewSettings(const std::filesystem::path& settingsFile);
TViewSettings ReadViewSettings(const TIniFile& ini);

// An edge colour as stored: "red, green, blue", split at commas and spaces;
// anything but exactly three whole numbers from 0 to 255 gives black.
TColor EdgeColorFromText(const std::string& text);
