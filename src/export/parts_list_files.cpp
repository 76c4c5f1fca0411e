#include "export/parts_list_files.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/error.h"
#include "common/strings.h"
#include "export/export_stream.h"
#include "files/caption_rule.h"
#include "platform/atomic_file.h"

namespace {

// A cell as RFC 4180 writes it, in UTF-8: quoted when it holds a comma, a
// quote or a line break, with its quotes doubled. A text a spreadsheet would take as a formula
// (starting with "=", "+", "-", "@", a tab or a carriage return) is kept as
// text by a leading "'" and quoted.
void AppendCsvField(std::string& out, const std::string& text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    const std::string field = (formula ? "'" : "") + ValidUtf8(text);
    if (!formula && field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendCsvRow(std::string& out, const std::string& name, const std::string& part,
                  const std::string& color, const std::string& count) {
    AppendCsvField(out, name);
    out += ',';
    AppendCsvField(out, part);
    out += ',';
    AppendCsvField(out, color);
    out += ',';
    AppendCsvField(out, count);
    out += "\r\n";
}

void AppendBase64(std::string& out, const std::string& data) {
    static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const uint32_t n = (uint32_t{static_cast<uint8_t>(data[i])} << 16) |
                           (uint32_t{static_cast<uint8_t>(data[i + 1])} << 8) |
                           static_cast<uint8_t>(data[i + 2]);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += kDigits[(n >> 6) & 63];
        out += kDigits[n & 63];
    }
    if (i < data.size()) {
        const bool two = i + 1 < data.size();
        const uint32_t n = (uint32_t{static_cast<uint8_t>(data[i])} << 16) |
                           (two ? uint32_t{static_cast<uint8_t>(data[i + 1])} << 8 : 0);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += two ? kDigits[(n >> 6) & 63] : '=';
        out += '=';
    }
}

std::string TotalsText(const TPartsList& list) {
    return std::to_string(list.Stones) + (list.Stones == 1 ? " stone" : " stones") + " in " +
           std::to_string(list.Rows.size()) + (list.Rows.size() == 1 ? " kind" : " kinds");
}

} // namespace

std::optional<TPartsFileFormat> PartsFormatOfName(const std::filesystem::path& path) {
    const std::string extension = LowerCase(path.extension().string());
    if (extension == ".csv")
        return TPartsFileFormat::Csv;
    if (extension == ".html")
        return TPartsFileFormat::Html;
    if (extension == ".set")
        return TPartsFileFormat::Set;
    return std::nullopt;
}

TPartsFileFormat PartsFormatOf(const std::filesystem::path& path) {
    if (const auto format = PartsFormatOfName(path))
        return *format;
    throw EError("A parts list is saved as .csv (a table for spreadsheets), .html (a web page with "
                 "pictures) or .set (a set file), not as \"" +
                 path.filename().string() + "\"");
}

std::string PartsCsvText(const TPartsList& list) {
    std::string out;
    out.reserve(64 * (list.Rows.size() + 2));
    AppendCsvRow(out, "Name", "Part", "Colour", "Count");
    for (const TPartsRow& row : list.Rows)
        AppendCsvRow(out, row.Name, row.Part, row.ColorName, std::to_string(row.Count));
    AppendCsvRow(out, "Total: " + TotalsText(list), "", "", std::to_string(list.Stones));
    return out;
}

std::string PartsHtmlText(const TPartsList& list, const std::string& title, const TRowPicture& picture) {
    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    AppendHtmlText(out, title);
    out += "</title>\n<style>\n"
           "body { font-family: sans-serif; }\n"
           "table { border-collapse: collapse; }\n"
           "th, td { border: 1px solid #bbb; padding: 4px 8px; text-align: left; }\n"
           "td.count, th.count { text-align: right; }\n"
           ".swatch { display: inline-block; width: 1em; height: 1em; border: 1px solid #555; "
           "vertical-align: middle; margin-right: 0.4em; }\n"
           "</style>\n</head>\n<body>\n<h1>";
    AppendHtmlText(out, title);
    out += "</h1>\n<table>\n<thead><tr><th>Picture</th><th>Name</th><th>Part</th><th>Colour</th>"
           "<th class=\"count\">Count</th></tr></thead>\n<tbody>\n";
    for (const TPartsRow& row : list.Rows) {
        out += "<tr><td>";
        const std::string png = picture ? picture(row) : std::string();
        if (!png.empty()) {
            out += "<img alt=\"\" src=\"data:image/png;base64,";
            AppendBase64(out, png);
            out += "\">";
        }
        out += "</td><td>";
        AppendHtmlText(out, row.Name);
        out += "</td><td>";
        AppendHtmlText(out, row.Part);
        char swatch[8];
        std::snprintf(swatch, sizeof swatch, "%02X%02X%02X", GetRValue(row.Color), GetGValue(row.Color),
                      GetBValue(row.Color));
        out += "</td><td><span class=\"swatch\" style=\"background: #";
        out += swatch;
        out += row.Transparent ? "; opacity: 0.5\"></span>" : "\"></span>";
        AppendHtmlText(out, row.ColorName);
        out += "</td><td class=\"count\">" + std::to_string(row.Count) + "</td></tr>\n";
    }
    out += "</tbody>\n<tfoot><tr><th colspan=\"4\">Total: ";
    AppendHtmlText(out, TotalsText(list));
    out += "</th><th class=\"count\">" + std::to_string(list.Stones) +
           "</th></tr></tfoot>\n</table>\n</body>\n</html>\n";
    return out;
}

std::string PartsSetText(const TPartsList& list) {
    // The supply counts a stone under its caption's caption rule, without
    // regard to letter case, whatever its colour.
    std::vector<std::pair<std::string, int64_t>> counts;
    std::unordered_map<std::string, size_t> atLower;
    for (const auto& [stoneCaption, count] : list.CaptionCounts) {
        std::string caption = CaptionOf(stoneCaption);
        if (caption.find(',') != std::string::npos)
            throw EError("The stone \"" + stoneCaption +
                         "\" cannot be listed in a set file: a set file ends a caption at its first comma");
        const auto [at, added] = atLower.try_emplace(LowerCase(caption), counts.size());
        if (added)
            counts.emplace_back(std::move(caption), 0);
        counts[at->second].second += count;
    }
    std::sort(counts.begin(), counts.end(),
              [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
    std::string out;
    // A caption stays on its line: a line end in it would start another.
    for (const auto& [caption, count] : counts)
        out += OneLineText(caption) + ", " +
               std::to_string(std::min<int64_t>(count, std::numeric_limits<int>::max())) + "\n";
    return out;
}

void SavePartsList(const std::filesystem::path& path, const TPartsList& list, const std::string& title,
                   const TRowPicture& picture) {
    const TPartsFileFormat format = PartsFormatOf(path);
    const std::string text = format == TPartsFileFormat::Csv    ? PartsCsvText(list)
                             : format == TPartsFileFormat::Html ? PartsHtmlText(list, title, picture)
                                                                : PartsSetText(list);
    WriteFileAtomically(
        path, [&](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); });
}
