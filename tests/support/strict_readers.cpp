#include "strict_readers.h"

#include <cctype>
#include <charconv>
#include <cstdint>

namespace {

// The length of the UTF-8 sequence at the text's start, 0 when invalid:
// written apart from the program's own, which the readers check.
size_t Utf8Length(std::string_view t) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(t[i]); };
    const unsigned char lead = b(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    else
        return 0;
    if (t.size() < length || b(1) < low || b(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((b(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

// --- JSON ---

class TJson {
public:
    explicit TJson(std::string_view text) : FText(text) {}
    std::string Problem() {
        if (!IsUtf8(FText))
            return "not UTF-8";
        Space();
        if (!Value(0))
            return FProblem;
        Space();
        return FAt == FText.size() ? "" : "text after the value at " + std::to_string(FAt);
    }

private:
    bool Fail(const std::string& what) {
        FProblem = what + " at " + std::to_string(FAt);
        return false;
    }
    void Space() {
        while (FAt < FText.size() && std::string_view(" \t\r\n").find(FText[FAt]) != std::string_view::npos)
            ++FAt;
    }
    bool Eat(char c) {
        Space();
        if (FAt < FText.size() && FText[FAt] == c) {
            ++FAt;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (FText.substr(FAt, word.size()) != word)
            return Fail("an unknown word");
        FAt += word.size();
        return true;
    }
    bool String() {
        if (!Eat('"'))
            return Fail("no string");
        while (FAt < FText.size() && FText[FAt] != '"') {
            const auto c = static_cast<unsigned char>(FText[FAt]);
            if (c < 0x20)
                return Fail("a control character in a string");
            if (c == '\\') {
                ++FAt;
                if (FAt >= FText.size())
                    return Fail("a cut escape");
                const char e = FText[FAt];
                if (e == 'u') {
                    for (int k = 1; k <= 4; ++k)
                        if (FAt + k >= FText.size() ||
                            !std::isxdigit(static_cast<unsigned char>(FText[FAt + k])))
                            return Fail("a bad \\u escape");
                    FAt += 4;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return Fail("a bad escape");
                }
            }
            ++FAt;
        }
        if (FAt >= FText.size())
            return Fail("an unclosed string");
        ++FAt;
        return true;
    }
    bool Number() {
        const size_t start = FAt;
        if (FAt < FText.size() && FText[FAt] == '-')
            ++FAt;
        auto digits = [&] {
            const size_t from = FAt;
            while (FAt < FText.size() && std::isdigit(static_cast<unsigned char>(FText[FAt])))
                ++FAt;
            return FAt - from;
        };
        const size_t whole = FAt;
        const size_t n = digits();
        if (n == 0 || (n > 1 && FText[whole] == '0'))
            return Fail("a bad number");
        if (FAt < FText.size() && FText[FAt] == '.') {
            ++FAt;
            if (digits() == 0)
                return Fail("a bad fraction");
        }
        if (FAt < FText.size() && (FText[FAt] == 'e' || FText[FAt] == 'E')) {
            ++FAt;
            if (FAt < FText.size() && (FText[FAt] == '+' || FText[FAt] == '-'))
                ++FAt;
            if (digits() == 0)
                return Fail("a bad exponent");
        }
        return FAt > start;
    }
    bool Value(int depth) {
        if (depth > 200)
            return Fail("too deep");
        Space();
        if (FAt >= FText.size())
            return Fail("no value");
        switch (FText[FAt]) {
        case '{':
            ++FAt;
            if (Eat('}'))
                return true;
            do {
                Space();
                if (!String() || !Eat(':') || !Value(depth + 1))
                    return FProblem.empty() ? Fail("a bad member") : false;
            } while (Eat(','));
            return Eat('}') || Fail("an unclosed object");
        case '[':
            ++FAt;
            if (Eat(']'))
                return true;
            do {
                if (!Value(depth + 1))
                    return false;
            } while (Eat(','));
            return Eat(']') || Fail("an unclosed array");
        case '"':
            return String();
        case 't':
            return Word("true");
        case 'f':
            return Word("false");
        case 'n':
            return Word("null");
        default:
            return Number();
        }
    }

    std::string_view FText;
    size_t FAt = 0;
    std::string FProblem;
};

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsNameChar(char c) {
    return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

// An entity or character reference at text[at] == '&'; its length, 0 when bad.
size_t ReferenceLength(std::string_view text, size_t at) {
    const size_t end = text.find(';', at);
    if (end == std::string_view::npos || end - at > 10)
        return 0;
    const std::string_view name = text.substr(at + 1, end - at - 1);
    static const std::set<std::string_view> known{"amp", "lt", "gt", "quot", "apos"};
    if (known.contains(name))
        return end - at + 1;
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        uint32_t value = 0;
        const auto [p, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (error == std::errc() && p == digits.data() + digits.size() && !digits.empty() && value > 0)
            return end - at + 1;
    }
    return 0;
}

// Text between tags: no "<", every "&" a reference.
std::string TextProblem(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<')
            return "a \"<\" in text";
        if (text[i] == '&' && ReferenceLength(text, i) == 0)
            return "a bare \"&\" in text";
    }
    return {};
}

struct TTag {
    std::string Name;
    bool Closing = false, Empty = false;
    std::vector<std::pair<std::string, std::string>> Attributes;
};

// Reads a tag at text[at] == '<' up to its ">"; at moves behind it.
std::string ReadTag(std::string_view text, size_t& at, TTag& tag) {
    ++at;
    if (at < text.size() && text[at] == '/') {
        tag.Closing = true;
        ++at;
    }
    const size_t nameStart = at;
    while (at < text.size() && IsNameChar(text[at]))
        ++at;
    tag.Name = std::string(text.substr(nameStart, at - nameStart));
    if (tag.Name.empty() || !IsNameStart(tag.Name[0]))
        return "a tag without a name";
    for (;;) {
        const size_t before = at;
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
        if (at >= text.size())
            return "an unclosed tag";
        if (text[at] == '>') {
            ++at;
            return {};
        }
        if (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '>') {
            tag.Empty = true;
            at += 2;
            return {};
        }
        if (at == before || tag.Closing)
            return "an attribute not set apart";
        const size_t attributeStart = at;
        while (at < text.size() && IsNameChar(text[at]))
            ++at;
        const std::string name(text.substr(attributeStart, at - attributeStart));
        if (name.empty() || at + 1 >= text.size() || text[at] != '=' ||
            (text[at + 1] != '"' && text[at + 1] != '\''))
            return "an attribute without a quoted value";
        const char quote = text[at + 1];
        const size_t valueStart = at + 2, valueEnd = text.find(quote, valueStart);
        if (valueEnd == std::string_view::npos)
            return "an unclosed attribute value";
        const std::string_view value = text.substr(valueStart, valueEnd - valueStart);
        if (const std::string problem = TextProblem(value); !problem.empty())
            return problem + " of attribute " + name;
        for (const auto& [other, ignored] : tag.Attributes)
            if (other == name)
                return "attribute " + name + " twice";
        tag.Attributes.emplace_back(name, std::string(value));
        at = valueEnd + 1;
    }
}

bool NumberField(std::string_view field) {
    double value = 0;
    const auto [p, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && p == field.data() + field.size();
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

std::vector<std::string_view> Lines(std::string_view text, bool crlf) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (crlf && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8Length(text.substr(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string JsonProblem(std::string_view text) {
    return TJson(text).Problem();
}

std::string XmlProblem(std::string_view text) {
    if (!IsUtf8(text))
        return "not UTF-8";
    size_t at = 0;
    if (text.substr(0, 5) == "<?xml") {
        at = text.find("?>");
        if (at == std::string_view::npos)
            return "an unclosed declaration";
        at += 2;
    }
    std::vector<std::string> open;
    bool rootSeen = false;
    while (at < text.size()) {
        const size_t next = text.find('<', at);
        const std::string_view between =
            text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at);
        if (open.empty()) {
            for (char c : between)
                if (!std::isspace(static_cast<unsigned char>(c)))
                    return "text outside the root element";
        } else if (const std::string problem = TextProblem(between); !problem.empty()) {
            return problem;
        }
        if (next == std::string_view::npos)
            break;
        at = next;
        TTag tag;
        if (const std::string problem = ReadTag(text, at, tag); !problem.empty())
            return problem;
        if (tag.Closing) {
            if (open.empty() || open.back() != tag.Name)
                return "closing tag " + tag.Name + " does not match";
            open.pop_back();
        } else {
            if (open.empty() && rootSeen)
                return "a second root element";
            rootSeen = true;
            if (!tag.Empty)
                open.push_back(tag.Name);
        }
    }
    return !open.empty() ? "unclosed element " + open.back() : rootSeen ? "" : "no root element";
}

std::string CsvProblem(std::string_view text, size_t columns, std::vector<std::vector<std::string>>* rows) {
    if (!IsUtf8(text))
        return "not UTF-8";
    std::vector<std::string> row;
    size_t at = 0;
    while (at < text.size()) {
        std::string cell;
        if (text[at] == '"') {
            for (++at;; ++at) {
                if (at >= text.size())
                    return "an unclosed quoted cell";
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        cell += '"';
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                cell += text[at];
            }
        } else {
            while (at < text.size() && text[at] != ',' && text[at] != '\r') {
                if (text[at] == '"' || text[at] == '\n')
                    return "a quote or line end in an unquoted cell";
                cell += text[at++];
            }
        }
        if (!cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos)
            return "a cell a spreadsheet runs as a formula: " + cell;
        row.push_back(cell);
        if (at < text.size() && text[at] == ',') {
            ++at;
            continue;
        }
        if (text.substr(at, 2) != "\r\n")
            return "a row that does not end in CR LF";
        at += 2;
        if (row.size() != columns)
            return "a row of " + std::to_string(row.size()) + " cells";
        if (rows)
            rows->push_back(row);
        row.clear();
    }
    return row.empty() ? "" : "a last row without its line end";
}

std::string HtmlProblem(std::string_view text, const std::set<std::string>& tags,
                        const std::set<std::string>& attributes) {
    if (!IsUtf8(text))
        return "not UTF-8";
    size_t at = 0;
    if (text.substr(0, 15) == "<!DOCTYPE html>")
        at = 15;
    while (at < text.size()) {
        const size_t next = text.find('<', at);
        const std::string_view between =
            text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at);
        if (const std::string problem = TextProblem(between); !problem.empty())
            return problem;
        if (next == std::string_view::npos)
            break;
        at = next;
        TTag tag;
        if (const std::string problem = ReadTag(text, at, tag); !problem.empty())
            return problem + " at " + std::to_string(next);
        if (!tags.contains(tag.Name))
            return "a tag " + tag.Name;
        for (const auto& [name, value] : tag.Attributes)
            if (!attributes.contains(name) || name.rfind("on", 0) == 0)
                return "an attribute " + name + " of " + tag.Name;
        // A style sheet runs to its end tag.
        if ((tag.Name == "style" || tag.Name == "script") && !tag.Closing) {
            const size_t end = text.find("</" + tag.Name + ">", at);
            if (end == std::string_view::npos)
                return "an unclosed " + tag.Name;
            at = end;
        }
    }
    return {};
}

std::string ObjProblem(std::string_view text) {
    static const std::set<std::string_view> numbers{"v",  "vt", "vn", "Kd", "Ka", "Ks",
                                                    "Ke", "Ns", "Ni", "d",  "Tr", "illum"};
    static const std::set<std::string_view> names{"o", "g", "usemtl", "newmtl", "mtllib", "map_Kd", "s"};
    size_t vertices = 0, coordinates = 0;
    for (const std::string_view line : Lines(text, true)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.back() == '\\')
            return "a line that joins the next: " + std::string(line);
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.empty())
            continue;
        const std::string_view kind = fields[0];
        if (numbers.contains(kind)) {
            for (size_t k = 1; k < fields.size(); ++k)
                if (!NumberField(fields[k]))
                    return "a bad number: " + std::string(line);
            vertices += kind == "v";
            coordinates += kind == "vt";
        } else if (names.contains(kind)) {
            if (fields.size() < 2 || line.find('#') != std::string_view::npos)
                return "a bad name: " + std::string(line);
        } else if (kind == "f") {
            if (fields.size() < 4)
                return "a face of fewer than three corners";
            for (size_t k = 1; k < fields.size(); ++k) {
                const std::string_view corner = fields[k];
                const size_t slash = corner.find('/');
                size_t v = 0, t = 0;
                const std::string_view first = corner.substr(0, slash);
                if (std::from_chars(first.data(), first.data() + first.size(), v).ptr !=
                        first.data() + first.size() ||
                    v < 1 || v > vertices)
                    return "a corner naming no vertex: " + std::string(line);
                if (slash != std::string_view::npos) {
                    const std::string_view second = corner.substr(slash + 1);
                    if (std::from_chars(second.data(), second.data() + second.size(), t).ptr !=
                            second.data() + second.size() ||
                        t < 1 || t > coordinates)
                        return "a corner naming no picture point: " + std::string(line);
                }
            }
        } else {
            return "an unknown statement: " + std::string(line);
        }
    }
    return {};
}

std::string LdrawProblem(std::string_view text, size_t files) {
    if (!IsUtf8(text))
        return "not UTF-8";
    std::set<std::string> declared;
    std::vector<std::string> used;
    for (const std::string_view line : Lines(text, true)) {
        if (line.find('\r') != std::string_view::npos)
            return "a carriage return inside a line";
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.empty())
            continue;
        const std::string_view type = fields[0];
        if (type == "0") {
            if (fields.size() >= 3 && fields[1] == "FILE")
                declared.insert(std::string(line.substr(line.find("FILE") + 5)));
            continue;
        }
        static const std::vector<std::pair<std::string_view, size_t>> counts{
            {"1", 14}, {"2", 8}, {"3", 11}, {"4", 14}, {"5", 14}};
        size_t numbersWanted = 0;
        for (const auto& [kind, n] : counts)
            if (type == kind)
                numbersWanted = n;
        if (numbersWanted == 0)
            return "a line of unknown type: " + std::string(line);
        const size_t wanted = numbersWanted + (type == "1" ? 1 : 0);
        if (fields.size() != wanted)
            return "a line of " + std::to_string(fields.size()) + " fields: " + std::string(line);
        for (size_t k = 1; k < numbersWanted; ++k)
            if (!NumberField(fields[k]) && !(k == 1 && fields[k].rfind("0x", 0) == 0))
                return "a bad number: " + std::string(line);
        if (type == "1")
            used.emplace_back(fields.back());
    }
    if (declared.size() != files)
        return std::to_string(declared.size()) + " files";
    for (const std::string& file : used)
        if (!declared.contains(file))
            return "a reference to a file not in the document: " + file;
    return {};
}
