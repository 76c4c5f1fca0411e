#pragma once
// The parts of a shipped library file, read through the program's reader.

#include <string>
#include <vector>

#include "partlib/draw_class.h"
#include "platform/text_file.h"

// The sections of a library file: each header with the lines up to the next
// empty line or header.
std::vector<TStringList> Sections(const TStringList& lines);
// Every part of the file in data/parts of the source tree, in file order.
std::vector<TDrawClass> ShippedParts(const std::string& fileName);
TDrawClass ShippedPart(const std::string& fileName, const std::string& partName);
