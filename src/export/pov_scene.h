#pragma once
// The model as a scene for the POV-Ray ray tracer: test.pov, which includes
// the stone objects and materials of smBlocks.inc and holds one object line
// per named stone, and povray.ini with the picture's size. Stones are named
// objects: a stone named "wall" is the object "Gwall" of the include file;
// names the include file lacks get mock-ups made from the stone's part (or
// box) in the scene itself.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "common/color.h"
#include "platform/text_file.h"

class TBlock;
class TBlockList;

struct TPovSettings {
    std::array<int32_t, 3> Light = {0, 5, 2};
    // The view: its angles in radians and its scale.
    float AngleX = 0, AngleZ = 0, ViewScale = 0.5f;
    // The colours written as the materials Color1, Color2 and Color3.
    std::array<TColor, 3> Materials = {RGB(232, 229, 178), RGB(207, 94, 75), RGB(143, 146, 169)};
    // Today's date as the desktop writes it short.
    std::string Date;
    // Where the pictures laid on parts lie.
    std::filesystem::path PartsFolder;
};

// The names the include file declares, lower-cased, each with its spelling
// there. Raises EError when the file cannot be read.
using TDeclaredNames = std::map<std::string, std::string>;
TDeclaredNames ReadDeclaredNames(const std::filesystem::path& includeFile);

// The object name of a stone name: "G" and the name, with "-" (and anything
// else a POV-Ray name cannot hold: it holds ASCII letters, digits and "_") as
// "_". POV-Ray reads names of up to 255 characters: a longer one is cut and
// ends in "_" and 16 hex digits made from the whole stone name.
std::string PovName(const std::string& stoneName);

// A file name as the scene writes it for POV-Ray: in double quotes, with
// quotes, backslashes and control characters made by chr() in a concat()
// (in a file name POV-Ray reads no backslash escape but the quote's), and in
// pieces short enough for POV-Ray's strings. Nothing for a name POV-Ray
// cannot open: it reads characters beyond ASCII as spaces.
std::optional<std::string> PovFileName(const std::string& file);

// The lines of test.pov. Stones without a name are left out, and so are
// part pictures that are not files of a known format in the parts folder.
TStringList PovSceneLines(const TBlockList& model, const TPovSettings& settings,
                          const TDeclaredNames& declared);

// "%g" as POV-Ray reads it: up to 15 significant digits, "." as decimal point.
std::string PovNumber(double value);

// Writes test.pov and povray.ini into the folder, with the names the include
// file in includeFolder declares. A stone whose kind letter is a space gets
// "B". Raises EError when the include file cannot be read or a file cannot be
// written, before anything else is written.
void WritePovScene(TBlockList& model, const TPovSettings& settings,
                   const std::filesystem::path& includeFolder, const std::filesystem::path& folder);

extern const char* const kPovIncludeFile; // "smBlocks.inc"

// Today's date in the desktop's short form.
std::string ShortDateToday();
