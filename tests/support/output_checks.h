#pragma once
// Every output that carries names (the OBJ with its library, glTF, 3MF,
// LDraw, the parts lists as CSV, web page and set file, and a booklet's web
// page) written for a small model under the given names, each read back by
// a strict reader of its format. Shared by the tests and the fuzz harness.

#include <filesystem>
#include <string>

struct TOutputNames {
    std::string File;      // the outputs' file name, without its extension
    std::string Label;     // a palette entry's label
    std::string StoneName; // a stone's own name
    std::string Part;      // a part's name, a section of a part file
    std::string Title;     // the booklet's title
};

// Writes the outputs into a new folder "outputs" in the folder (the
// program's folder, whose parts/ receives the part), removed afterwards, and
// returns the first problem a reader finds, or "" for none. A name the
// program refuses to write under (an EError) is no problem.
std::string OutputsProblem(const TOutputNames& names, const std::filesystem::path& folder);
