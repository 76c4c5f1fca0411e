#include "platform/ini_file.h"

#include <charconv>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "platform/text_file.h"

TIniFile::TIniFile(const std::filesystem::path& path) : FPath(path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return;
    TSection* current = nullptr;
    for (const std::string& raw : LoadLines(path)) {
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            FSections.push_back({line.substr(1, line.size() - 2), {}});
            current = &FSections.back();
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        current->Entries.push_back({Trim(line.substr(0, eq)), raw.substr(raw.find('=') + 1)});
    }
}

const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
    for (const auto& s : FSections)
        if (SameText(s.Name, section))
            return &s;
    return nullptr;
}

std::optional<std::string> TIniFile::Read(const std::string& section, const std::string& key) const {
    if (const TSection* s = Find(section))
        for (const auto& e : s->Entries)
            if (SameText(e.Key, key))
                return e.Value;
    return std::nullopt;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    return Read(section, key).value_or(fallback);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    auto value = Read(section, key);
    if (!value)
        return fallback;
    try {
        return StrToInt(Trim(*value));
    } catch (const EError&) {
        return fallback;
    }
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double fallback) const {
    auto value = Read(section, key);
    if (!value)
        return fallback;
    const std::string text = Trim(*value);
    double result = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return fallback;
    return result;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return Find(section) != nullptr;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    TSection* s = const_cast<TSection*>(Find(section));
    if (!s) {
        FSections.push_back({section, {}});
        s = &FSections.back();
    }
    for (auto& e : s->Entries) {
        if (SameText(e.Key, key)) {
            e.Value = value;
            return;
        }
    }
    s->Entries.push_back({key, value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::EraseSection(const std::string& section) {
    std::erase_if(FSections, [&](const TSection& s) { return SameText(s.Name, section); });
}

void TIniFile::Flush() const {
    TStringList lines;
    for (const auto& s : FSections) {
        if (!lines.empty())
            lines.push_back("");
        lines.push_back("[" + s.Name + "]");
        for (const auto& e : s.Entries)
            lines.push_back(e.Key + "=" + e.Value);
    }
    SaveLines(FPath, lines);
}
