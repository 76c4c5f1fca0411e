// The POV-Ray scene with hostile names: a part's picture name, the date and
// stone names from the input (one a line), the picture's file made when the
// name can be one. The scene's lines are read back as POV-Ray reads them:
// braces balance outside strings and comments, every string closes on its
// line with printable ASCII and valid escapes only, every name is one POV-Ray
// reads and every stone's object is declared, and the only directives are
// the writer's own. A picture's file name reads back as the file's path.

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>

#include "common/strings.h"
#include "export/pov_scene.h"
#include "fuzz_support.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"

namespace fs = std::filesystem;

namespace {

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsPrintable(char c) {
    return c >= 0x20 && c < 0x7F;
}

std::string NameAt(const std::string& line, size_t& at) {
    const size_t start = at;
    while (at < line.size() && IsNameChar(line[at]))
        ++at;
    return line.substr(start, at - start);
}

// A string literal from its opening quote: its text as POV-Ray reads it,
// with "at" past the closing quote.
std::string StringAt(const std::string& line, size_t& at) {
    std::string text;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        Require(IsPrintable(line[at]), "a string holds printable ASCII only");
        if (line[at] == '\\') {
            ++at;
            Require(at < line.size() && std::string("\\\"'abfnrtv0").find(line[at]) != std::string::npos,
                    "a backslash in a string starts a valid escape");
        }
        text += line[at];
    }
    Require(at < line.size(), "every string closes on its line");
    Require(text.size() <= 255, "no string is longer than POV-Ray reads");
    ++at;
    return text;
}

// The scene's lines read as POV-Ray's tokens; a whole scene includes the
// include file once, and declares the object of every stone.
void CheckScene(const TStringList& lines, const TDeclaredNames& included, bool wholeScene = true) {
    static const std::set<std::string> kDirectives = {"include", "version", "declare", "if",
                                                      "else",    "end",     "object"};
    int depth = 0, includes = 0;
    bool inComment = false;
    std::set<std::string> declared;
    std::vector<std::string> objects;
    for (const auto& [key, spelling] : included)
        declared.insert(spelling);
    for (const std::string& line : lines) {
        for (const char c : line)
            Require(c != '\n' && c != '\r', "a line holds no line break");
        if (line.rfind("#object { ", 0) == 0) {
            size_t at = 10;
            objects.push_back(NameAt(line, at));
        }
        size_t at = 0;
        while (at < line.size()) {
            const char c = line[at];
            if (inComment) {
                inComment = line.compare(at, 2, "*/") != 0;
                at += inComment ? 1 : 2;
            } else if (line.compare(at, 2, "//") == 0) {
                break;
            } else if (line.compare(at, 2, "/*") == 0) {
                inComment = true;
                at += 2;
            } else if (c == '"') {
                StringAt(line, at);
            } else if (c == '{' || c == '}') {
                depth += c == '{' ? 1 : -1;
                Require(depth >= 0, "no brace closes more than was opened");
                ++at;
            } else if (c == '#') {
                ++at;
                const std::string directive = NameAt(line, at);
                Require(kDirectives.contains(directive), "only the writer's own directives");
                includes += directive == "include";
                if (directive == "declare") {
                    while (at < line.size() && line[at] == ' ')
                        ++at;
                    declared.insert(NameAt(line, at));
                }
            } else if (IsNameStart(c)) {
                Require(NameAt(line, at).size() <= 255, "no name is longer than POV-Ray reads");
            } else {
                Require(IsPrintable(c), "printable ASCII outside strings and comments");
                ++at;
            }
        }
    }
    Require(depth == 0, "every brace is closed");
    Require(!inComment, "every comment is closed");
    if (!wholeScene)
        return;
    Require(includes == 1, "the include file alone is included");
    for (const std::string& object : objects)
        Require(object == "polygon" || declared.contains(object), "every stone's object is declared");
}

// The file name a string expression of the scene names: a string, or
// concat() of strings and chr() of character codes.
std::string NamedFile(const std::string& expression) {
    std::string file;
    size_t at = expression.rfind("concat(", 0) == 0 ? 7 : 0;
    while (at < expression.size()) {
        if (expression[at] == '"') {
            file += StringAt(expression, at);
        } else if (expression.compare(at, 4, "chr(") == 0) {
            const size_t end = expression.find(')', at);
            file += static_cast<char>(std::stoi(expression.substr(at + 4, end - at - 4)));
            at = end + 1;
        } else {
            Require(expression.compare(at, 2, ", ") == 0 || expression.substr(at) == ")",
                    "a file name is strings and characters in concat()");
            at += expression[at] == ')' ? 1 : 2;
        }
    }
    return file;
}

void CheckFileName(const std::string& file) {
    const std::optional<std::string> name = PovFileName(file);
    bool plain = true;
    for (const char c : file)
        plain = plain && c != '\0' && static_cast<unsigned char>(c) < 0x80;
    Require(name.has_value() == plain, "a file name is refused only for characters POV-Ray cannot open");
    if (!name)
        return;
    CheckScene({"#declare F = " + *name + ";"}, {}, false);
    Require(NamedFile(*name) == file, "a file name reads back as the file's path");
}

// The part "fuzz.dat, sign": a board with its picture on the first polygon.
TDrawClass& FuzzPart() {
    static TDrawClass* const part = [] {
        auto made = std::make_unique<TDrawClass>();
        made->FileName = "fuzz.dat";
        made->PartName = "sign";
        made->SetBoundingBox(80, 4, 20);
        made->AddPolygon({{80, 0, 20}, {80, 0, 0}, {0, 0, 0}, {0, 0, 20}});
        made->AddPolygon({{0, 4, 0}, {80, 4, 0}, {80, 4, 20}, {0, 4, 20}});
        made->BitmapPolygon = 0;
        made->Modified = false;
        TDrawClass* kept = made.get();
        TPartRegistry::Instance().Register(made);
        return kept;
    }();
    return *part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path parts = FuzzProgramFolder() / "parts";
    std::vector<std::string> fields;
    const std::string_view text = TextOf(data, size);
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        fields.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    const std::string& picture = fields[0];
    CheckFileName(picture);
    FuzzPart().BitmapFileName = picture;
    // The picture's file, when the name can be one and names no file of the library.
    std::error_code error;
    const bool made = !picture.empty() && picture.size() <= 255 && picture.find('/') == std::string::npos &&
                      picture.find('\0') == std::string::npos && picture != "." && picture != ".." &&
                      !fs::exists(parts / picture, error) &&
                      std::ofstream(parts / picture, std::ios::binary).write("GIF89a", 6).good();

    TOwnedBlockList model;
    for (size_t i = 2; i < fields.size() && i < 10; ++i) {
        const int32_t x = static_cast<int32_t>(i) * 100;
        std::unique_ptr<TBlock> stone =
            i % 2 == 0 ? std::make_unique<TGeneralBlock>(x, 0, 0, 0, 0, 0, clWhite, true, false, false,
                                                         "fuzz.dat", "sign", "")
                       : TBlockFactory::Create('B', x, 0, 0, 40, 40, 20, clWhite, true, false, false, "");
        stone->Name = fields[i];
        model.Add(std::move(stone));
    }
    TPovSettings settings;
    settings.Date = fields.size() > 1 ? fields[1] : "";
    settings.PartsFolder = parts;
    const TDeclaredNames included = {{"gwall", "GWall"}, {"gtower", "GTower"}};
    const TStringList lines = PovSceneLines(model, settings, included);
    CheckScene(lines, included);
    // Every picture laid on a sign is the part's picture file.
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] != "      image_map {")
            continue;
        const std::string& named = lines[i + 1];
        const size_t space = named.find(' ', 8);
        Require(space != std::string::npos &&
                    NamedFile(named.substr(space + 1)) == (parts / picture).string(),
                "a picture is laid from the part's picture file");
    }
    if (made)
        fs::remove(parts / picture, error);
    return 0;
}
