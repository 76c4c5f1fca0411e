#pragma once
// The settings file of one run: read when the program starts, into the
// palette, the swatches, the drawing options, the POV-Ray program and the
// tool-tip state, and written back when it ends, but only when the palette
// changed. A file of the first layout is rewritten in the current one as
// soon as it is read.

#include <filesystem>
#include <string>

class TPalette;
class TPovExport;
class TSceneView;

// The parts of the program the settings file is read into and written from.
struct TSettingsParts {
    TPalette& Palette;
    TSceneView& Scene;
    TPovExport& Pov;
    // Tool tips are shown ("&Hints").
    bool& Hints;
};

class TSettings {
public:
    // The file is read and written; a source, when given, is read instead
    // (the shipped settings while the user has none of their own). An empty
    // path reads or writes nothing.
    explicit TSettings(std::filesystem::path file = {}, std::filesystem::path source = {})
        : FFile(std::move(file)), FSource(std::move(source)) {}

    const std::filesystem::path& File() const { return FFile; }
    // Reads the file into the parts. A problem with the file is returned as
    // a message (the defaults are taken); empty when all went well.
    std::string Load(const TSettingsParts& parts) const;
    // Writes the file when the palette changed, and clears the flag also when
    // writing fails. Raises EError on failure.
    void Save(const TSettingsParts& parts) const;

private:
    std::filesystem::path FFile;
    std::filesystem::path FSource;
};
