#pragma once
// Reading a model file (.STM): the view line and one block line per stone,
// either as the complete model or as a subassembly to be inserted into it.
//
// Every line is read inside its own error guard: a line that cannot be read
// is reported with its line number and skipped, its stone is freed, and
// reading goes on with the next line.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/color.h"
#include "common/progress.h"
#include "files/view_line.h"
#include "model/block_list.h"
#include "platform/text_file.h"

enum class TLoadMode {
    lmComplete,   // the file becomes the model
    lmSubassembly // the file's stones are inserted into the model as one new group
};

struct TModelReadSettings {
    TLoadMode Mode = TLoadMode::lmComplete;
    // The model's highest group number before the load. A complete load raises
    // it to the highest group read; a subassembly takes the next number.
    int32_t HighestGroup = 0;
    // Subassembly only: the Extra number every inserted stone receives (the
    // model's remembered highest Extra number).
    int32_t ExtraNumber = 0;
    // Subassembly only: replaces colour 0 (black).
    TColor CurrentColor = clWhite;
    // The file the lines come from, named in the error for a text that is not a model.
    std::string FileName;
};

// The box around the stones of a subassembly, in units.
struct TSubassemblyBox {
    int64_t MinX = 0, MinY = 0, MinZ = 0;
    int64_t MaxX = 0, MaxY = 0, MaxZ = 0;
    bool Empty = true;

    void Widen(const TBlock& stone);
};

// The palette's size text " LxWxH" for the proxy stone of a subassembly: the
// box's extents in grid modules and thirds of a module, integer division.
std::string SubassemblySizeText(const TSubassemblyBox& box);

struct TModelReadResult {
    // Complete mode: what the view lines set (the last one wins), none when the
    // file has no view line. Subassembly mode never takes the view.
    std::optional<TViewRecord> View;
    // From the last view line read; 0 when there is none (grid modules and thirds).
    int32_t UnitsFlag = 0;
    // The model's highest group number after the load.
    int32_t HighestGroup = 0;
    // Subassembly mode: the group every inserted stone belongs to.
    int32_t SubassemblyGroup = 0;
    // Complete mode: the highest Extra number read (at least 0). Subassembly
    // mode: the Extra number the stones received. Also stored in the target
    // list's HighestExtraNumber.
    int32_t HighestExtraNumber = 0;
    // Subassembly mode: the box around the inserted stones, and the proxy's
    // size text, empty when no stone could be inserted (no proxy is possible).
    TSubassemblyBox Box;
    std::string ProxySizeText;

    int LinesRead = 0;
    int LinesFailed = 0;
    // Lines whose stone was added although text stood where a number belongs
    // (read as 0, as the file format reads it); each is reported too.
    int LinesReadInPart = 0;
    int StonesAdded = 0;
    int BasePlatesDropped = 0;

    // True when a subassembly load left nothing to insert.
    bool SubassemblyEmpty() const { return ProxySizeText.empty(); }
};

// Told about each line that cannot be read: its number (from 1) and the error text.
using TLineErrorHandler = std::function<void(int lineNumber, const std::string& message)>;

// Reads the lines of a model file. In complete mode the stones go into the
// model (which the caller has emptied); in subassembly mode into the pending
// subassembly list. Stones are inserted in painter's order and belong to the
// list from then on. Line errors go to onLineError. Raises EError, adding
// nothing and reporting no line, when no group number is left for a
// subassembly, and when the lines hold text but not one view line ("=" and at
// least three numbers) or stone line (a kind letter and six numbers): that
// text is not a model. Lines without any text (none, or only blank ones, each
// a line error as anywhere) are an empty model. Progress, when given, is told
// the share of the lines read now and then.
TModelReadResult ReadModelLines(const TStringList& lines, TOwnedBlockList& target,
                                const TModelReadSettings& settings, const TLineErrorHandler& onLineError,
                                const TShareProgress& progress = nullptr);

// Reads the file (looked up exactly, then without regard to letter case) and
// then its lines as ReadModelLines. A file that cannot be read raises EError
// before any stone is added.
TModelReadResult LoadModelFile(const std::filesystem::path& path, TOwnedBlockList& target,
                               const TModelReadSettings& settings, const TLineErrorHandler& onLineError);

// Builds the stone of one block line: its kind letter (a space stands for
// "B"; a letter the program does not know makes a plain block that keeps it),
// then the six numbers of place and size, then the fields that may be left
// out. The whole line is read, however long. Position and extents are
// converted from grid modules and thirds when unitsFlag is 0. Colour, group,
// Extra number and the other mode rules are left to the caller. Raises EError
// for a line that cannot be read, and for one without the six numbers. Text
// where a later number belongs reads as 0; note, when given, then tells the
// user so.
std::unique_ptr<TBlock> ReadBlockLine(const std::string& line, int32_t unitsFlag,
                                      std::string* note = nullptr);
