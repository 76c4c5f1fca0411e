#pragma once
// Part library files: sections headed "[name]" with key=value lines, read one
// part at a time from the parts/ folder (the user's, then the shipped one) and
// written one definition at a time.

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/color.h"
#include "partlib/draw_class.h"
#include "platform/text_file.h"

// The file a definition of this part name is saved to alone, parts/NAME.bcp
// in the user folder (empty when there is none); nothing for a name that
// would leave the parts folder.
std::optional<std::filesystem::path> SinglePartFile(const std::string& partName);
// Whether the part library holds a part of this name (without regard to
// letter case): saved alone as NAME.bcp, or in a library file (.dat) of the
// parts folder, the user's or the shipped one. A part saved alone under that
// name is found before it, whatever its file.
bool PartNameInLibrary(const std::string& partName);

// Colour number of the library's colour table to a colour value; numbers not in
// the table give the colour of number 0.
TColor ColorFromNumber(int32_t number);

// No definition sensibly holds more polygons, points or order entries than this;
// a larger (or negative) count in a file is refused rather than allocated.
constexpr int32_t kMaxPartCount = 100000;
// Nor more points in all its polygons together than this.
constexpr int64_t kMaxPartPoints = 1000000;
// Point coordinates and bounding box sizes lie within this many units of 0, as
// stones do; turn offsets, in grid modules, within a twentieth of it.
constexpr int32_t kMaxPartCoordinate = 10'000'000;

// The file a part was read from, and the bytes of text it holds.
struct TPartSource {
    std::filesystem::path Path;
    int64_t Bytes = 0;
};

class TPartReader {
public:
    // Reads part `part` of library file `file`: a parts/PART.bcp file takes
    // precedence over the library file, and the user's copy of either over the
    // shipped one. Raises EError when the file or section is
    // missing or a value is malformed; def is then left unspecified.
    // A section makes no more polygons, no more points and no longer draw
    // orders than it writes numbers, so what a part takes grows with its text
    // and not with a count alone. Returns the file it read.
    static TPartSource Load(TDrawClass& def, const std::string& file, const std::string& part);
    // The same from lines already read (whose origin is named by file).
    static void LoadFromLines(TDrawClass& def, const TStringList& lines, const std::string& file,
                              const std::string& part);

private:
    // Reads the section whose header is at line start.
    static void LoadSection(TDrawClass& def, const TStringList& lines, size_t start, const std::string& file,
                            const std::string& part);
};

// Renders the definition into the line list: an earlier section of the same part
// is deleted, and the new one appended at the end. Clears the modified flag.
void WritePart(TDrawClass& def, TStringList& lines);
