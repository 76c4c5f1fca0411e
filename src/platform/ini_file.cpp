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
            current = &AddSection(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        AddEntry(*current, Trim(line.substr(0, eq)), raw.substr(raw.find('=') + 1));
    }
}

TIniFile::TSection& TIniFile::AddSection(const std::string& name) {
    FSectionIndex[LowerCase(name)].push_back(FSections.size());
    FSections.push_back({name, {}, {}, false});
    return FSections.back();
}

void TIniFile::AddEntry(TSection& section, const std::string& key, const std::string& value) {
    section.KeyIndex.emplace(LowerCase(key), section.Entries.size()); // a repeated key keeps the first
    section.Entries.push_back({key, value});
}

const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
    auto found = FSectionIndex.find(LowerCase(section));
    return found == FSectionIndex.end() ? nullptr : &FSections[found->second.front()];
}

std::optional<std::string> TIniFile::Read(const std::string& section, const std::string& key) const {
    if (const TSection* s = Find(section)) {
        auto found = s->KeyIndex.find(LowerCase(key));
        if (found != s->KeyIndex.end())
            return s->Entries[found->second].Value;
    }
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
    if (!s)
        s = &AddSection(section);
    auto found = s->KeyIndex.find(LowerCase(key));
    if (found != s->KeyIndex.end())
        s->Entries[found->second].Value = value;
    else
        AddEntry(*s, key, value);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::EraseSection(const std::string& section) {
    auto found = FSectionIndex.find(LowerCase(section));
    if (found == FSectionIndex.end())
        return;
    for (size_t index : found->second) {
        TSection& erased = FSections[index];
        erased.Erased = true;
        erased.Entries.clear();
        erased.KeyIndex.clear();
    }
    FSectionIndex.erase(found);
}

void TIniFile::Flush() const {
    TStringList lines;
    for (const auto& s : FSections) {
        if (s.Erased)
            continue;
        if (!lines.empty())
            lines.push_back("");
        lines.push_back("[" + s.Name + "]");
        for (const auto& e : s.Entries)
            lines.push_back(e.Key + "=" + e.Value);
    }
    SaveLines(FPath, lines);
}
