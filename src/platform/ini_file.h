#pragma once
// An INI settings file: sections of key=value lines. Section and key names
// compare without regard to letter case, values are taken raw (no quoting, no
// escapes), and the order of sections and keys is kept. Changes stay in
// memory until Flush writes the file with CR LF line ends. Sections and keys
// are found through indexes, so that files of many thousand sections and keys
// are read and written in time proportional to their size.

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class TIniFile {
public:
    // Reads the file if it exists; a missing file is an empty one.
    explicit TIniFile(const std::filesystem::path& path);

    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // The value as a decimal integer; the fallback when missing or not a number.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // The value as a number with "." as decimal separator; the fallback when missing or not a number.
    double ReadFloat(const std::string& section, const std::string& key, double fallback) const;
    bool SectionExists(const std::string& section) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void EraseSection(const std::string& section);
    // Writes the file (atomically); raises EError on failure.
    void Flush() const;

    const std::filesystem::path& Path() const { return FPath; }

private:
    struct TEntry {
        std::string Key;
        std::string Value;
    };
    struct TSection {
        std::string Name;
        std::vector<TEntry> Entries;
        // Lower-cased key -> its first entry.
        std::unordered_map<std::string, size_t> KeyIndex;
        bool Erased = false;
    };
    const TSection* Find(const std::string& section) const;
    TSection& AddSection(const std::string& name);
    static void AddEntry(TSection& section, const std::string& key, const std::string& value);

    std::filesystem::path FPath;
    std::vector<TSection> FSections; // in file order; erased ones are not written
    // Lower-cased name -> every section of that name, the first one first.
    std::unordered_map<std::string, std::vector<size_t>> FSectionIndex;
};
