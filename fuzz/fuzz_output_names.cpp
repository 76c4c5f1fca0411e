// Hostile names in every output that carries names: the input is cut at
// 0x1F bytes into the outputs' file name, a palette label, a stone's name, a
// part's name and a booklet's title (missing ones repeat the last), and every
// output written under them is read back by a strict reader of its format
// (JSON, XML, CSV, HTML, OBJ, LDraw).

#include <vector>

#include "fuzz_support.h"
#include "output_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = TextOf(data, size);
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; parts.size() < 5 && (at = text.find('\x1F', start)) != std::string_view::npos;
         start = at + 1)
        parts.emplace_back(text.substr(start, at - start));
    parts.emplace_back(text.substr(start));
    while (parts.size() < 5)
        parts.push_back(parts.back());
    const TOutputNames names{parts[0], parts[1], parts[2], parts[3], parts[4]};
    const std::string problem = OutputsProblem(names, FuzzProgramFolder());
    if (!problem.empty())
        std::fprintf(stderr, "%s\n", problem.c_str());
    Require(problem.empty(), "every output reads back strictly with the names in their fields");
    return 0;
}
