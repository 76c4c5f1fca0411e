#pragma once
// Writing a model file (.STM): the view line, then one block line per stone
// in list order, with CR LF line ends.

#include <filesystem>
#include <string>

#include "files/view_line.h"
#include "model/block_list.h"
#include "platform/text_file.h"

enum class TSaveMode {
    smComplete, // every stone, base plates included
    smSelected, // stones whose Selected flag is set
    smDisplayed // stones that pass the cut test
};

// Whether a save (or an export) in the mode takes the stone. The displayed
// mode runs the cut test, which updates the stone's Cut flag.
bool StoneIsSaved(TBlock& stone, TSaveMode mode);

// The block line of one stone, in units. A general stone ("G") writes its part
// file and part name between Transparent and Group; one without a part writes
// them empty. Spaces and control characters inside the word fields (name,
// part file, part name) are written as "_", so a word never splits into two
// fields or breaks the line.
std::string BlockLineText(const TBlock& stone);

// The lines of a model file for the mode. The displayed mode runs the cut test
// on every stone, which updates the stones' Cut flags.
TStringList ModelFileLines(const TBlockList& model, const TViewRecord& view, TSaveMode mode);

// Writes the model file. The text goes to a temporary file that replaces the
// target only when it is complete, so a failure leaves an existing file as it
// was. Raises EError when the file cannot be written.
void SaveModelFile(const std::filesystem::path& path, const TBlockList& model, const TViewRecord& view,
                   TSaveMode mode);
