#include "output_checks.h"

#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "common/error.h"
#include "export/model_export.h"
#include "export/parts_list.h"
#include "export/parts_list_files.h"
#include "instructions/html_pages.h"
#include "model/block_factory.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "strict_readers.h"
#include "zip_part.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A name the file system takes as one file name.
std::string FileName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    if (name.size() > 60)
        name.resize(60);
    return name.empty() || name == "." || name == ".." ? "out" : name;
}

// A name a part file's section header can carry.
std::string SectionName(std::string name) {
    std::string section;
    for (const char c : name)
        if (c != ']' && c != '\n' && c != '\r' && c != '\0')
            section += c;
    return section.empty() ? "p" : section;
}

// The JSON chunk of a binary glTF file.
std::string GlbJson(const std::string& glb) {
    if (glb.size() < 20 || glb.compare(16, 4, "JSON") != 0)
        return {};
    uint32_t length = 0;
    std::memcpy(&length, glb.data() + 12, 4);
    return length <= glb.size() - 20 ? glb.substr(20, length) : std::string();
}

std::string Named(const std::string& what, const std::string& problem) {
    return problem.empty() ? problem : what + ": " + problem;
}

// Writes the export, or tells nothing when the program refuses the name.
bool Exported(const std::vector<const TBlock*>& stones, const fs::path& path) {
    try {
        ExportStones(stones, path, {});
        return true;
    } catch (const EError&) {
        return false;
    }
}

std::string ExportsProblem(const std::vector<const TBlock*>& stones, const fs::path& folder,
                           const std::string& file) {
    if (Exported(stones, folder / (file + ".obj"))) {
        const std::string obj = Read(folder / (file + ".obj"));
        if (const std::string problem = ObjProblem(obj); !problem.empty())
            return Named("OBJ", problem);
        std::smatch library;
        if (!std::regex_search(obj, library, std::regex("mtllib ([^\n]*)\n")))
            return "OBJ: no material library";
        const fs::path mtl = folder / library[1].str();
        if (!fs::is_regular_file(mtl))
            return "OBJ: the material library is not where the file names it";
        if (const std::string problem = ObjProblem(Read(mtl)); !problem.empty())
            return Named("MTL", problem);
    }
    if (Exported(stones, folder / (file + ".glb")))
        if (const std::string problem = JsonProblem(GlbJson(Read(folder / (file + ".glb"))));
            !problem.empty())
            return Named("glTF", problem);
    if (Exported(stones, folder / (file + ".3mf"))) {
        for (const char* part : {"3D/3dmodel.model", "[Content_Types].xml", "_rels/.rels"})
            if (const std::string problem = XmlProblem(ZipPart(folder / (file + ".3mf"), part));
                !problem.empty())
                return Named(std::string("3MF ") + part, problem);
    }
    if (Exported(stones, folder / (file + ".mpd")))
        if (const std::string problem = LdrawProblem(Read(folder / (file + ".mpd")), stones.size() + 1);
            !problem.empty())
            return Named("LDraw", problem);
    return {};
}

std::string PartsListsProblem(const std::vector<const TBlock*>& stones, const TOutputNames& names) {
    TPartsNaming naming;
    naming.AddEntry("2x4x3|" + names.Label);
    const TPartsList list = MakePartsList(stones, naming);
    if (const std::string problem = CsvProblem(PartsCsvText(list), 4); !problem.empty())
        return Named("CSV", problem);
    const std::set<std::string> tags{"html",  "head",  "meta",  "title", "style", "body", "h1",   "table",
                                     "thead", "tbody", "tfoot", "tr",    "th",    "td",   "span", "img"};
    if (const std::string problem = HtmlProblem(PartsHtmlText(list, names.Title, nullptr), tags,
                                                {"lang", "charset", "class", "style", "colspan"});
        !problem.empty())
        return Named("parts list page", problem);
    try {
        std::istringstream lines(PartsSetText(list));
        size_t count = 0;
        for (std::string line; std::getline(lines, line); ++count)
            if (!std::regex_match(line, std::regex("[^\r\n]*, [0-9]+")))
                return "set file: a line that is no caption and count: " + line;
        // Captions the caption rule makes one share a line.
        if (count == 0 || count > list.CaptionCounts.size())
            return "set file: " + std::to_string(count) + " lines";
    } catch (const EError&) {
        // A caption with a comma cannot be a set's: refused, not written.
    }
    return {};
}

std::string BookletProblem(const TOutputNames& names, const fs::path& folder, const std::string& file) {
    const fs::path page = folder / (file + ".html");
    try {
        THtmlPages html(HtmlBookletPlace(page), kPaperA4, names.Title);
        TBitmap picture(2, 2, pf32bit);
        html.BeginPage();
        html.Text({10, 10, 80, 8}, names.Title, {});
        html.Text({10, 20, 80, 8}, names.Label, {});
        html.Text({10, 30, 80, 8}, names.Part, {});
        html.Picture({10, 40, 20, 20}, picture, "cover", false);
        html.Finish();
    } catch (const EError&) {
        return {};
    }
    const std::string text = Read(page);
    const std::set<std::string> tags{"html", "head",    "meta", "title", "style",
                                     "body", "section", "div",  "span",  "img"};
    if (const std::string problem =
            HtmlProblem(text, tags, {"lang", "charset", "name", "content", "class", "style", "src", "alt"});
        !problem.empty())
        return Named("booklet page", problem);
    std::smatch source;
    if (!std::regex_search(text, source, std::regex("<img src=\"([^\"]*)\"")))
        return "booklet page: no picture";
    std::string link;
    const std::string encoded = source[1];
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size()) {
            link += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (std::string("\"'<>&#? ").find(encoded[i]) != std::string::npos) {
            return "booklet page: a picture link with a raw " + std::string(1, encoded[i]);
        } else {
            link += encoded[i];
        }
    }
    if (!fs::is_regular_file(folder / link))
        return "booklet page: the picture link leads nowhere: " + link;
    return {};
}

} // namespace

std::string OutputsProblem(const TOutputNames& names, const fs::path& folder) {
    const std::string file = FileName(names.File);
    const std::string part = SectionName(names.Part);
    std::ofstream(folder / "parts" / "hostile.dat", std::ios::binary)
        << "[" << part << "]\nNP=1\nBB=20,20,20\nP1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\n";
    TPartRegistry::Instance().Clear();
    std::vector<std::unique_ptr<TBlock>> owned;
    owned.push_back(TBlockFactory::Create('B', 0, 0, 0, 2, 4, 3, clRed, true, false, false, names.StoneName));
    owned.back()->Caption = "2x4x3";
    owned.push_back(TBlockFactory::Create('R', 3, 0, 0, 1, 1, 3, clBlue, true, false, false, ""));
    owned.back()->Caption = names.Label;
    try {
        owned.push_back(std::make_unique<TGeneralBlock>(5, 0, 0, 0, 0, 0, clYellow, true, false, false,
                                                        "hostile.dat", part, names.StoneName));
        owned.back()->Caption = part;
    } catch (const EError&) {
        // A name the part reader cannot find: the model goes without it.
    }
    std::vector<const TBlock*> stones;
    for (const auto& stone : owned)
        stones.push_back(stone.get());
    // Each call writes into a folder of its own, removed afterwards.
    const fs::path outputs = folder / "outputs";
    std::error_code ignored;
    fs::remove_all(outputs, ignored);
    fs::create_directories(outputs);
    std::string problem = ExportsProblem(stones, outputs, file);
    if (problem.empty())
        problem = PartsListsProblem(stones, names);
    if (problem.empty())
        problem = BookletProblem(names, outputs, file);
    owned.clear();
    TPartRegistry::Instance().Clear();
    fs::remove_all(outputs, ignored);
    return problem;
}
