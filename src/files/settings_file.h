#pragma once
// The settings file Stonemill.ini: the drawing settings, the fourteen colour
// swatches, the POV-Ray program, the palette pages with their entries, and
// the tool-tip state. The program writes the key layout of version 2 (one
// section "PageN" per page with Title, Height, Scale, Count and BrickN keys)
// and still reads version 1, whose page sections hold plain lines.
//
// A missing file, a missing key or a value that cannot be used gives that
// key's default; reading never fails.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/color.h"
#include "files/view_settings.h"

constexpr int kSwatchCount = 14;
// The swatches' colours when the file names none, in swatch order.
extern const std::array<TColor, kSwatchCount> kDefaultSwatchColors;
extern const char* const kDefaultPovRayProgram; // "/usr/bin/povray"

struct TPageSettings {
    std::string Title;
    int Height = 65;
    float Scale = 0.5f;
    std::vector<std::string> Entries;
};

struct TSettingsData {
    int Version = 1;
    TViewSettings View;
    int StartColor = 5;
    std::string PovRayEng = kDefaultPovRayProgram;
    std::array<TColor, kSwatchCount> Swatches = kDefaultSwatchColors;
    std::vector<TPageSettings> Pages;
    bool Hints = false;
    // The file could not be read (it exists but is unreadable): the message.
    std::string ReadError;
};

TSettingsData ReadSettingsFile(const std::filesystem::path& path);

// Writes every key in the version 2 layout into the file, keeping what else
// it holds: the keys of Main in place, each page's section written anew at
// the end, then State written anew. Sections of pages beyond the page count
// stay. With fromVersion1 the old Main and page sections are dropped first.
// Raises EError when the file cannot be written.
void WriteSettingsFile(const std::filesystem::path& path, const TSettingsData& data, bool fromVersion1);

// A page scale as the file holds it: "%5.2f".
std::string ScaleText(float scale);
