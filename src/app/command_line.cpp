#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <map>
#include <new>
#include <optional>
#include <ostream>
#include <set>

#include "app/stonemill_app.h"
#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "export/model_export.h"
#include "export/parts_list_files.h"
#include "files/settings_file.h"

namespace fs = std::filesystem;

const char* const kUsage =
    "Usage:\n"
    "  stonemill [MODEL] [-I SETTINGS]\n"
    "  stonemill --render MODEL --output PICTURE [--size WxH] [--view NAME | --tilt DEG --turn DEG]\n"
    "            [--zoom PERCENT | --fit] [--antialias] [--bits 8|16|24|32] [--shading | --no-shading]\n"
    "            [--detail 0|1|2] [--wireframe] [--background RRGGBB] [--light X,Y,Z] [--edge-factor F]\n"
    "            [--scale 1|2|4|8]\n"
    "  stonemill --convert MODEL --output MODEL2\n"
    "  stonemill --pov MODEL --output FOLDER [--run]\n"
    "  stonemill --export MODEL --output FILE [--module-mm F]\n"
    "            (FILE ending in .obj, .stl, .3mf, .glb or .mpd; a grid module is F millimetres, 8 unless "
    "given)\n"
    "  stonemill --parts MODEL --output LIST.csv|LIST.html|LIST.set\n"
    "  stonemill --instructions MODEL --output BOOK.pdf|BOOK.html|FOLDER [--per-step N] [--paper A4|Letter]\n"
    "            [--view NAME | --tilt DEG --turn DEG]\n"
    "  stonemill --info MODEL\n";

namespace {

constexpr int kSomeLinesUnread = 3;
const char* const kSettingsFileName = "Stonemill.ini";

struct TUsageError {
    std::string Message;
};

[[noreturn]] void Usage(const std::string& message) {
    throw TUsageError{message};
}

int IntArgument(const std::string& option, const std::string& text) {
    try {
        return StrToInt(text);
    } catch (const EError&) {
        Usage(option + " takes a whole number, not \"" + text + "\"");
    }
}

// A finite number: "nan" and "inf" are no numbers a command can use.
double NumberArgument(const std::string& option, const std::string& text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        Usage(option + " takes a number, not \"" + text + "\"");
    return value;
}

// The fixed views by the hints of their buttons.
const std::map<std::string, int, TextLess>& FixedViewTags() {
    static const std::map<std::string, int, TextLess> tags = {
        {"Top view", 0},   {"From front", 1}, {"From right", 2}, {"From left", 3},   {"From back", 4},
        {"Front left", 5}, {"Back right", 6}, {"Back left", 7},  {"Front right", 8}, {"Front view", 9},
    };
    return tags;
}

struct TRenderOptions {
    std::string Output;
    int Width = 800, Height = 600;
    std::optional<int> ViewTag, Tilt, Turn, Bits, Detail;
    std::optional<double> Zoom, EdgeFactor;
    std::optional<bool> Shading;
    std::optional<TColor> BackgroundColor;
    std::optional<std::array<int32_t, 3>> Light;
    bool Fit = false, AntiAlias = false, Wireframe = false;
    int Scale = 1;
};

class TArguments {
public:
    explicit TArguments(const std::vector<std::string>& args) : FArgs(args) {}
    bool More() const { return FNext < FArgs.size(); }
    std::string Take() { return FArgs[FNext++]; }
    std::string Value(const std::string& option) {
        if (!More())
            Usage(option + " needs a value");
        return Take();
    }

private:
    const std::vector<std::string>& FArgs;
    size_t FNext = 0;
};

// An output file's name must not name a folder.
void CheckOutputFile(const std::string& output) {
    std::error_code error;
    if (!output.empty() && (output.back() == '/' || fs::is_directory(output, error)))
        Usage("--output names a folder (\"" + output + "\"); give the name of a file in it");
}

TRenderOptions ParseRenderOptions(TArguments& a) {
    TRenderOptions o;
    while (a.More()) {
        const std::string option = a.Take();
        if (option == "--output") {
            o.Output = a.Value(option);
        } else if (option == "--size") {
            const std::string size = a.Value(option);
            const size_t x = size.find_first_of("xX");
            if (x == std::string::npos)
                Usage("--size takes WIDTHxHEIGHT, not \"" + size + "\"");
            o.Width = IntArgument(option, size.substr(0, x));
            o.Height = IntArgument(option, size.substr(x + 1));
            if (o.Width < 2 || o.Height < 2 || o.Width > 20000 || o.Height > 20000)
                Usage("--size must lie between 2x2 and 20000x20000");
        } else if (option == "--view") {
            const std::string name = a.Value(option);
            auto it = FixedViewTags().find(name);
            if (it == FixedViewTags().end())
                Usage("--view takes the name of a fixed view such as \"Front right\", not \"" + name + "\"");
            o.ViewTag = it->second;
        } else if (option == "--tilt") {
            o.Tilt = IntArgument(option, a.Value(option));
            if (*o.Tilt < 0 || *o.Tilt > 180)
                Usage("--tilt takes degrees from 0 (from above) to 180 (from below)");
        } else if (option == "--turn") {
            // Any number of degrees turns the view round.
            o.Turn = ((IntArgument(option, a.Value(option)) % 360) + 360) % 360;
        } else if (option == "--zoom") {
            o.Zoom = NumberArgument(option, a.Value(option));
            if (!(*o.Zoom > 0 && *o.Zoom <= 100000))
                Usage("--zoom takes a percentage above 0");
        } else if (option == "--fit") {
            o.Fit = true;
        } else if (option == "--antialias") {
            o.AntiAlias = true;
        } else if (option == "--bits") {
            o.Bits = IntArgument(option, a.Value(option));
            if (*o.Bits != 8 && *o.Bits != 16 && *o.Bits != 24 && *o.Bits != 32)
                Usage("--bits takes 8, 16, 24 or 32");
        } else if (option == "--shading") {
            o.Shading = true;
        } else if (option == "--no-shading") {
            o.Shading = false;
        } else if (option == "--detail") {
            o.Detail = IntArgument(option, a.Value(option));
            if (*o.Detail < 0 || *o.Detail > 2)
                Usage("--detail takes 0, 1 or 2");
        } else if (option == "--wireframe") {
            o.Wireframe = true;
        } else if (option == "--background") {
            const std::string text = a.Value(option);
            unsigned value = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
            if (text.size() != 6 || error != std::errc() || end != text.data() + text.size())
                Usage("--background takes a colour RRGGBB in hexadecimal, not \"" + text + "\"");
            o.BackgroundColor = RGB(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
                                    static_cast<int>(value & 0xFF));
        } else if (option == "--light") {
            const std::string text = a.Value(option);
            const auto parts = SplitFields(text, ',');
            if (parts.size() != 3)
                Usage("--light takes three whole numbers X,Y,Z");
            o.Light = std::array<int32_t, 3>{IntArgument(option, parts[0]), IntArgument(option, parts[1]),
                                             IntArgument(option, parts[2])};
            if (*o.Light == std::array<int32_t, 3>{0, 0, 0})
                Usage("--light takes a direction: X, Y and Z cannot all be 0");
        } else if (option == "--scale") {
            o.Scale = IntArgument(option, a.Value(option));
            if (o.Scale != 1 && o.Scale != 2 && o.Scale != 4 && o.Scale != 8)
                Usage("--scale takes 1, 2, 4 or 8");
        } else if (option == "--edge-factor") {
            o.EdgeFactor = NumberArgument(option, a.Value(option));
            if (*o.EdgeFactor < 0 || *o.EdgeFactor > 1)
                Usage("--edge-factor takes a number from 0 to 1");
        } else {
            Usage("unknown option \"" + option + "\"");
        }
    }
    if (o.Output.empty())
        Usage("--render needs --output PICTURE");
    CheckOutputFile(o.Output);
    const std::string extension = LowerCase(fs::path(o.Output).extension().string());
    if (extension != ".png" && extension != ".jpg" && extension != ".jpeg" && extension != ".bmp")
        Usage("--output names a picture file ending in .png (PNG), .jpg (JPEG) or .bmp (BMP), not \"" +
              o.Output + "\"");
    if (o.ViewTag && (o.Tilt || o.Turn))
        Usage("--view and --tilt/--turn exclude each other");
    if (o.Tilt.has_value() != o.Turn.has_value())
        Usage("--tilt and --turn go together");
    if (o.Zoom && o.Fit)
        Usage("--zoom and --fit exclude each other");
    if (o.Scale > 1 && o.AntiAlias)
        Usage("--antialias draws the picture at its own size: it goes with --scale 1 only");
    return o;
}

// Loads a model as the window does, reporting unreadable lines as
// MODEL:LINE: MESSAGE. The exit status the command ends with when all else
// went well: 0, or 3 when lines could not be read or were read only in part.
int LoadForCommand(TStonemillApp& app, const std::string& model, std::ostream& err) {
    app.Files.OnLineError = [&](int line, const std::string& message) {
        err << model << ":" << line << ": " << message << "\n";
    };
    const TModelReadResult read = app.Files.LoadModel(model, TLoadMode::lmComplete);
    return read.LinesFailed > 0 || read.LinesReadInPart > 0 ? kSomeLinesUnread : 0;
}

// The settings file the commands read: the user's, else the shipped one.
fs::path SettingsToRead(const TDataFolders& folders) {
    return folders.Find(kSettingsFileName).value_or(folders.Shipped() / kSettingsFileName);
}

TBitDepth DepthOfBits(int bits) {
    return bits == 8 ? bd8 : bits == 16 ? bd16 : bits == 24 ? bd24 : bd32;
}

int Render(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& err) {
    const TRenderOptions o = ParseRenderOptions(a);
    TStonemillApp app(folders);
    TSceneView& scene = app.Scene;
    // Every option is taken with redraws suppressed: one picture at the end.
    scene.View().SuppressRedraw = true;
    scene.ApplyViewSettings(ReadViewSettings(SettingsToRead(folders)));
    // The picture is made when the view is drawn, band by band where it can
    // be; one that cannot be made is refused before the model is read.
    scene.SizeViewWithoutPicture(o.Width, o.Height);
    if (o.Bits)
        scene.SetBitDepth(DepthOfBits(*o.Bits));
    if (o.AntiAlias)
        scene.SetAntiAlias(true);
    const int factor = o.Scale > 1 ? o.Scale : 0;
    if (const std::string problem = app.Pictures.ViewPictureProblem(factor); !problem.empty())
        Usage(problem);
    const int loaded = LoadForCommand(app, model, err);
    if (o.Shading)
        scene.SetShading(*o.Shading);
    if (o.Detail)
        scene.SetDetailLevel(*o.Detail);
    if (o.Wireframe)
        scene.SetWireframe(true);
    if (o.BackgroundColor)
        scene.SetBackgroundColor(*o.BackgroundColor);
    if (o.Light)
        scene.SetLight((*o.Light)[0], (*o.Light)[1], (*o.Light)[2]);
    if (o.EdgeFactor)
        scene.SetEdgeFactor(static_cast<float>(*o.EdgeFactor));
    if (o.ViewTag)
        scene.Control().FixedView(*o.ViewTag);
    if (o.Tilt)
        scene.Control().SetViewAngles(*o.Tilt, *o.Turn);
    if (o.Zoom)
        scene.Control().SetZoom(static_cast<float>(*o.Zoom / 100.0));
    if (o.Fit)
        scene.Control().FitModel(app.Document.Model());
    scene.View().SuppressRedraw = false;
    // As the view draws it; at a scale, as the window saves a frame over the
    // whole view drawn anew larger.
    app.Pictures.SaveViewPicture(factor, o.Output);
    return loaded;
}

// The file of --output, for a command that takes no other option.
std::string OutputOnly(TArguments& a, const std::string& missing) {
    std::string output;
    while (a.More()) {
        const std::string option = a.Take();
        if (option == "--output")
            output = a.Value(option);
        else
            Usage("unknown option \"" + option + "\"");
    }
    if (output.empty())
        Usage(missing);
    CheckOutputFile(output);
    return output;
}

int Convert(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& err) {
    const std::string output = OutputOnly(a, "--convert needs --output MODEL2");
    TStonemillApp app(folders);
    const int loaded = LoadForCommand(app, model, err);
    app.Files.SaveModel(output, TSaveMode::smComplete);
    return loaded;
}

// Writes the model's parts list in the format of the output's extension,
// named after the palette of the settings file.
int Parts(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& err) {
    const std::string output = OutputOnly(a, "--parts needs --output LIST.csv, LIST.html or LIST.set");
    if (!PartsFormatOfName(output))
        Usage("--output names a parts list ending in .csv (a table), .html (a web page with pictures) or "
              ".set (a set file), not \"" +
              output + "\"");
    TStonemillApp app(folders);
    app.Palette.Load(ReadSettingsFile(SettingsToRead(folders)));
    const int loaded = LoadForCommand(app, model, err);
    app.Parts.Save(app.Parts.Make(), output);
    return loaded;
}

// Writes the model's POV-Ray scene with the include file beside it, and with
// --run renders it there, waiting for POV-Ray.
int Pov(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& out,
        std::ostream& err) {
    fs::path folder;
    bool run = false;
    while (a.More()) {
        const std::string option = a.Take();
        if (option == "--output")
            folder = a.Value(option);
        else if (option == "--run")
            run = true;
        else
            Usage("unknown option \"" + option + "\"");
    }
    if (folder.empty())
        Usage("--pov needs --output FOLDER");
    TStonemillApp app(folders);
    const TSettingsData settings = ReadSettingsFile(SettingsToRead(folders));
    app.Palette.Swatches = settings.Swatches;
    app.Pov.SetProgram(settings.PovRayEng);
    const int loaded = LoadForCommand(app, model, err);
    app.Pov.ExportWithInclude(folder);
    out << (folder / "test.pov").string() << "\n";
    if (!run)
        return loaded;
    TPovRayRun povRay = app.Pov.Start(folder, true);
    povRay.Wait();
    out << povRay.Picture().string() << "\n";
    return loaded;
}

// Writes the model into a file other programs read, in the format its
// extension names.
int Export(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& err) {
    std::string output;
    TExportOptions options;
    while (a.More()) {
        const std::string option = a.Take();
        if (option == "--output") {
            output = a.Value(option);
        } else if (option == "--module-mm") {
            const std::string text = a.Value(option);
            options.ModuleMillimetres = NumberArgument(option, text);
            if (const std::string problem = ModuleSizeProblem(options.ModuleMillimetres); !problem.empty())
                Usage("--module-mm " + text + ": " + problem);
        } else {
            Usage("unknown option \"" + option + "\"");
        }
    }
    if (output.empty())
        Usage("--export needs --output FILE");
    CheckOutputFile(output);
    if (ExportFormatOf(output) == nullptr)
        Usage(UnknownExportFormatMessage(output));
    TStonemillApp app(folders);
    const int loaded = LoadForCommand(app, model, err);
    for (const std::string& note : app.Files.ExportModel(output, TSaveMode::smComplete, options))
        err << "stonemill: " << note << "\n";
    return loaded;
}

// Writes the model's building instructions: a PDF booklet, or a web page
// with its pictures. The view is the model's own unless one is given.
int Instructions(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& err) {
    std::string output;
    TInstructionsOptions options;
    std::optional<int> viewTag, tilt, turn;
    while (a.More()) {
        const std::string option = a.Take();
        if (option == "--output") {
            output = a.Value(option);
        } else if (option == "--per-step") {
            options.PerStep = IntArgument(option, a.Value(option));
            if (const std::string problem = StonesPerStepProblem(options.PerStep); !problem.empty())
                Usage("--per-step " + std::to_string(options.PerStep) + ": " + problem);
        } else if (option == "--paper") {
            const std::string name = a.Value(option);
            const std::optional<TPaper> paper = PaperByName(name);
            if (!paper)
                Usage("--paper takes A4 or Letter, not \"" + name + "\"");
            options.Paper = *paper;
        } else if (option == "--view") {
            const std::string name = a.Value(option);
            auto it = FixedViewTags().find(name);
            if (it == FixedViewTags().end())
                Usage("--view takes the name of a fixed view such as \"Front right\", not \"" + name + "\"");
            viewTag = it->second;
        } else if (option == "--tilt") {
            tilt = IntArgument(option, a.Value(option));
            if (*tilt < 0 || *tilt > 180)
                Usage("--tilt takes degrees from 0 (from above) to 180 (from below)");
        } else if (option == "--turn") {
            turn = ((IntArgument(option, a.Value(option)) % 360) + 360) % 360;
        } else {
            Usage("unknown option \"" + option + "\"");
        }
    }
    if (output.empty())
        Usage("--instructions needs --output BOOK.pdf, BOOK.html or a FOLDER");
    if (!BookletFormatOf(output))
        Usage("--output names a PDF booklet ending in .pdf, a web page ending in .html or a folder, not \"" +
              output + "\"");
    if (viewTag && (tilt || turn))
        Usage("--view and --tilt/--turn exclude each other");
    if (tilt.has_value() != turn.has_value())
        Usage("--tilt and --turn go together");
    TStonemillApp app(folders);
    TSceneView& scene = app.Scene;
    scene.View().SuppressRedraw = true;
    scene.ApplyViewSettings(ReadViewSettings(SettingsToRead(folders)));
    app.Palette.Load(ReadSettingsFile(SettingsToRead(folders)));
    const int loaded = LoadForCommand(app, model, err);
    if (viewTag)
        scene.Control().FixedView(*viewTag);
    if (tilt)
        scene.Control().SetViewAngles(*tilt, *turn);
    app.Instructions.Prepare(options);
    app.Instructions.Save(output);
    return loaded;
}

int Info(const std::string& model, TArguments& a, const TDataFolders& folders, std::ostream& out,
         std::ostream& err) {
    if (a.More())
        Usage("unknown option \"" + a.Take() + "\"");
    TStonemillApp app(folders);
    const int loaded = LoadForCommand(app, model, err);
    std::set<int32_t> groups;
    std::map<char, int> kinds;
    const TBlockList& stones = app.Document.Model();
    for (const TBlock* stone : stones.Stones()) {
        if (stone->Group > 0)
            groups.insert(stone->Group);
        ++kinds[stone->Kind];
    }
    const TExtents e = stones.GetExtents();
    out << "stones: " << stones.Count() << "\n";
    out << "groups: " << groups.size() << "\n";
    if (stones.Count() > 0)
        out << "extents: " << e.MinX << " " << e.MinY << " " << e.MinZ << " " << e.MaxX << " " << e.MaxY
            << " " << e.MaxZ << "\n";
    else
        out << "extents:\n";
    out << "kinds:";
    for (const auto& [kind, count] : kinds)
        out << " " << kind << "=" << count;
    out << "\n";
    return loaded;
}

} // namespace

TStartArguments ParseStartArguments(const std::vector<std::string>& args, const TDataFolders& folders) {
    TStartArguments result;
    result.SettingsFile = folders.WritePath(kSettingsFileName);
    result.SettingsSource = SettingsToRead(folders);
    if (result.SettingsSource == result.SettingsFile)
        result.SettingsSource.clear();
    // A settings file named by a relative path lies where the user's files go.
    const fs::path base = folders.User().empty() ? folders.Shipped() : folders.User();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool loneSlashOption = SameText(arg, "/I");
        if (arg.empty() || (arg[0] != '-' && !loneSlashOption)) {
            if (!result.ModelFile.empty())
                result.ModelFile += " ";
            result.ModelFile += arg;
            continue;
        }
        if (arg.size() < 2 || (arg[1] != 'I' && arg[1] != 'i'))
            continue; // other options are not the window's
        if (arg.size() > 2) {
            result.SettingsFile = arg.substr(2);
            result.SettingsSource.clear();
        } else if (i + 1 < args.size()) {
            const std::string& path = args[++i];
            result.SettingsFile = (!path.empty() && path[0] == '/') ? fs::path(path) : base / path;
            result.SettingsSource.clear();
        }
    }
    return result;
}

bool IsHeadlessCommand(const std::vector<std::string>& args) {
    // The window takes a model and "-I"; every "--" argument is the commands'
    // (one they do not know is reported there).
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg.starts_with("--"); });
}

bool HeadlessCommandWritesText(const std::vector<std::string>& args) {
    return !args.empty() && args.front() == "--instructions";
}

int RunHeadlessCommand(const std::vector<std::string>& args, const TDataFolders& folders, std::ostream& out,
                       std::ostream& err) {
    try {
        TArguments a(args);
        if (!a.More())
            Usage("no command");
        const std::string command = a.Take();
        if (command == "--help") {
            out << kUsage;
            return 0;
        }
        if (command != "--render" && command != "--convert" && command != "--info" && command != "--pov" &&
            command != "--export" && command != "--parts" && command != "--instructions")
            Usage(command.starts_with("--")
                      ? "unknown command \"" + command +
                            "\"; the commands are --render, --convert, --pov, --export, "
                            "--parts, --instructions and --info"
                      : "the command comes first: --render, --convert, --pov, --export, "
                        "--parts, --instructions or --info");
        const std::string model = a.Value(command);
        if (const std::string problem = folders.Prepare(); !problem.empty())
            err << "stonemill: " << problem << "\n";
        if (command == "--render")
            return Render(model, a, folders, err);
        if (command == "--convert")
            return Convert(model, a, folders, err);
        if (command == "--pov")
            return Pov(model, a, folders, out, err);
        if (command == "--export")
            return Export(model, a, folders, err);
        if (command == "--parts")
            return Parts(model, a, folders, err);
        if (command == "--instructions")
            return Instructions(model, a, folders, err);
        return Info(model, a, folders, out, err);
    } catch (const TUsageError& e) {
        err << "stonemill: " << e.Message << "\n" << kUsage;
        return 2;
    } catch (const EError& e) {
        err << "stonemill: " << e.Message() << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        err << "stonemill: The command could not be carried out. There is not enough memory for it.\n";
        return 1;
    } catch (const std::exception&) {
        // A failure the program has no words of its own for: never the library's text.
        err << "stonemill: The command could not be carried out.\n";
        return 1;
    }
}
