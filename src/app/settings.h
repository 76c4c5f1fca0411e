#pragma once
// The settings file of one run: read when the program starts, into the
// palette, the swatches, the drawing options and the tool-tip state, and
// written back when it ends, but only when the palette changed. A file of the
// first layout is rewritten in the current one as soon as it is read.

#include <filesystem>
#include <string>

class TStonemillApp;

class TSettings {
public:
    // The file is read and written; a source, when given, is read instead
    // (the shipped settings while the user has none of their own). An empty
    // path reads or writes nothing.
    explicit TSettings(std::filesystem::path file = {}, std::filesystem::path source = {})
        : FFile(std::move(file)), FSource(std::move(source)) {}

    const std::filesystem::path& File() const { return FFile; }
    // Reads the file into the application. A problem with the file is
    // returned as a message (the defaults are taken); empty when all went well.
    std::string Load(TStonemillApp& app);
    // Writes the file when the palette changed, and clears the flag also when
    // writing fails. Raises EError on failure.
    void Save(TStonemillApp& app);

private:
    std::filesystem::path FFile;
    std::filesystem::path FSource;
};
