// The glTF writer: the file's chunks, what its JSON says about each stone,
// and what the Khronos validator and assimp make of it.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "common/error.h"
#include "export/gltf_writer.h"
#include "export/stone_mesh.h"
#include "export_samples.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

const char* const kInstallHint = " is missing: scripts/install-deps.sh test installs it";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Word(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// The JSON chunk, after checking the frame of chunks around it.
QJsonObject JsonOf(const fs::path& file) {
    const std::string bytes = ReadAll(file);
    EXPECT_GE(bytes.size(), 20u);
    if (bytes.size() < 20)
        return {};
    EXPECT_EQ(Word(bytes, 0), 0x46546C67u); // "glTF"
    EXPECT_EQ(Word(bytes, 4), 2u);
    EXPECT_EQ(Word(bytes, 8), bytes.size());
    const uint32_t jsonLength = Word(bytes, 12);
    EXPECT_EQ(jsonLength % 4, 0u);
    EXPECT_EQ(Word(bytes, 16), 0x4E4F534Au); // "JSON"
    const size_t binary = 20 + jsonLength;
    if (binary < bytes.size()) {
        EXPECT_EQ(Word(bytes, binary + 4), 0x004E4942u); // "BIN"
        EXPECT_EQ(binary + 8 + Word(bytes, binary), bytes.size());
        EXPECT_EQ(Word(bytes, binary) % 4, 0u);
    }
    QJsonParseError error;
    const QJsonDocument json =
        QJsonDocument::fromJson(QByteArray(bytes.data() + 20, static_cast<qsizetype>(jsonLength)), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return json.object();
}

std::array<double, 3> Vector(const QJsonValue& value, std::array<double, 3> otherwise = {0, 0, 0}) {
    const QJsonArray a = value.toArray();
    return a.size() == 3 ? std::array<double, 3>{a[0].toDouble(), a[1].toDouble(), a[2].toDouble()}
                         : otherwise;
}

// The box a node's mesh takes in the scene: the corners of its positions'
// bounds, turned and moved as the node says.
std::pair<std::array<double, 3>, std::array<double, 3>> NodeBox(const QJsonObject& gltf,
                                                                const QJsonObject& node) {
    const QJsonObject mesh = gltf["meshes"].toArray()[node["mesh"].toInt()].toObject();
    const int positions =
        mesh["primitives"].toArray()[0].toObject()["attributes"].toObject()["POSITION"].toInt();
    const QJsonObject accessor = gltf["accessors"].toArray()[positions].toObject();
    const auto low = Vector(accessor["min"]), high = Vector(accessor["max"]);
    const auto move = Vector(node["translation"]);
    const QJsonArray r = node["rotation"].toArray();
    const std::array<double, 4> q = r.size() == 4 ? std::array<double, 4>{r[0].toDouble(), r[1].toDouble(),
                                                                          r[2].toDouble(), r[3].toDouble()}
                                                  : std::array<double, 4>{0, 0, 0, 1};
    std::array<double, 3> boxLow = {1e9, 1e9, 1e9}, boxHigh = {-1e9, -1e9, -1e9};
    for (int k = 0; k < 8; ++k) {
        const std::array<double, 3> v = {(k & 1) ? high[0] : low[0], (k & 2) ? high[1] : low[1],
                                         (k & 4) ? high[2] : low[2]};
        // v + 2w (q x v) + 2 q x (q x v)
        const std::array<double, 3> t = {2 * (q[1] * v[2] - q[2] * v[1]), 2 * (q[2] * v[0] - q[0] * v[2]),
                                         2 * (q[0] * v[1] - q[1] * v[0])};
        const std::array<double, 3> turned = {v[0] + q[3] * t[0] + (q[1] * t[2] - q[2] * t[1]),
                                              v[1] + q[3] * t[1] + (q[2] * t[0] - q[0] * t[2]),
                                              v[2] + q[3] * t[2] + (q[0] * t[1] - q[1] * t[0])};
        for (int i = 0; i < 3; ++i) {
            boxLow[i] = std::min(boxLow[i], turned[i] + move[i]);
            boxHigh[i] = std::max(boxHigh[i], turned[i] + move[i]);
        }
    }
    return {boxLow, boxHigh};
}

// The validator's report: the number of errors and warnings and the messages.
struct TValidation {
    int Errors = -1, Warnings = -1;
    std::string Report;
};

fs::path ValidatorModule() {
    return fs::path(STONEMILL_GLTF_VALIDATOR) / "node_modules" / "gltf-validator";
}

TValidation Validate(const fs::path& file) {
    const std::string command =
        "node -e " +
        ShellQuoted(
            "const fs = require('fs'); const v = require('" + ValidatorModule().string() +
            "'); v.validateBytes(new Uint8Array(fs.readFileSync('" + file.string() +
            "'))).then(r => { console.log(r.issues.numErrors + ' ' + r.issues.numWarnings); "
            "console.log(JSON.stringify(r.issues.messages, null, 1)); }, e => { console.log('-1 -1 ' + e); "
            "});") +
        " 2>&1";
    int exitCode = 0;
    TValidation result;
    result.Report = RunCommand(command, exitCode);
    std::sscanf(result.Report.c_str(), "%d %d", &result.Errors, &result.Warnings);
    return result;
}

bool HaveValidator() {
    return HaveProgram("node") && fs::exists(ValidatorModule() / "package.json");
}

// A count from "assimp info": the number after the label.
int AssimpCount(const std::string& info, const std::string& label) {
    const size_t at = info.find("\n" + label);
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 1 + label.size());
}

class GltfWriterTest : public ::testing::Test {
protected:
    TTempProgramFolder FFolder;
    fs::path File(const std::string& name) const { return FFolder.Path() / name; }
};

} // namespace

TEST_F(GltfWriterTest, EveryStoneIsANodeOfItsShapesMeshWhereTheStoneLiesInMetresWithYUp) {
    const TSampleModel sample;
    const fs::path file = File("boxes.glb");
    WriteGltfBinary(sample.Stones, file, 10);
    const QJsonObject gltf = JsonOf(file);
    ASSERT_FALSE(gltf.isEmpty());

    const QJsonArray nodes = gltf["nodes"].toArray();
    ASSERT_EQ(nodes.size(), static_cast<qsizetype>(sample.Stones.size()));
    EXPECT_EQ(gltf["scenes"].toArray()[gltf["scene"].toInt()].toObject()["nodes"].toArray().size(),
              nodes.size());
    // Four shapes, each with its positions once; a mesh per shape and colour.
    std::set<std::string> shapes;
    std::set<std::tuple<std::string, TColor, bool>> meshes;
    for (const TBlock* stone : sample.Stones) {
        shapes.insert(ShapeKeyOf(*stone));
        meshes.insert({ShapeKeyOf(*stone), stone->Color, stone->Transparent});
    }
    EXPECT_EQ(shapes.size(), 4u);
    EXPECT_EQ(gltf["meshes"].toArray().size(), static_cast<qsizetype>(meshes.size()));
    std::set<int> positions;
    for (const QJsonValue mesh : gltf["meshes"].toArray())
        positions.insert(mesh["primitives"][0]["attributes"]["POSITION"].toInt());
    EXPECT_EQ(positions.size(), shapes.size());

    const double metres = 10.0 / 20 / 1000; // a unit, with a module of 10 mm
    for (qsizetype n = 0; n < nodes.size(); ++n) {
        const TBlock& stone = *sample.Stones[static_cast<size_t>(n)];
        const auto [low, high] = NodeBox(gltf, nodes[n].toObject());
        // The model's (x, y, z) become (x, z, y).
        const std::array<double, 3> wantLow = {stone.X * metres, stone.Z * metres, stone.Y * metres};
        const std::array<double, 3> wantHigh = {(stone.X + stone.Length) * metres,
                                                (stone.Z + stone.Height) * metres,
                                                (stone.Y + stone.Width) * metres};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(low[i], wantLow[i], 1e-6) << "stone " << n << " axis " << i;
            EXPECT_NEAR(high[i], wantHigh[i], 1e-6) << "stone " << n << " axis " << i;
        }
        // The colour, linear, and see-through stones blended at half opacity.
        const QJsonObject mesh = gltf["meshes"].toArray()[nodes[n]["mesh"].toInt()].toObject();
        const QJsonObject material =
            gltf["materials"].toArray()[mesh["primitives"][0]["material"].toInt()].toObject();
        const QJsonArray factor = material["pbrMetallicRoughness"]["baseColorFactor"].toArray();
        const double linear128 = 0.2158605;
        const std::array<double, 3> wantColour = stone.Color == clRed ? std::array<double, 3>{1, 0, 0}
                                                 : stone.Color == clBlue
                                                     ? std::array<double, 3>{0, 0, 1}
                                                     : std::array<double, 3>{linear128, linear128, linear128};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(factor[i].toDouble(), wantColour[i], 1e-5) << n;
        EXPECT_EQ(factor[3].toDouble(), stone.Transparent ? 0.5 : 1.0) << n;
        EXPECT_EQ(material["alphaMode"].toString("OPAQUE"), stone.Transparent ? "BLEND" : "OPAQUE") << n;
        EXPECT_EQ(material["pbrMetallicRoughness"]["metallicFactor"].toDouble(-1), 0.0);
        EXPECT_NE(material["name"].toString().indexOf(stone.Color == clRed ? "#FF0000" : "#"), -1);
    }

    // Nothing is written where the file cannot go, and the message says so.
    EXPECT_NE(ErrorOf([&] { WriteGltfBinary(sample.Stones, File("no/such/folder/x.glb")); }), "");
    EXPECT_NE(ErrorOf([&] { WriteGltfBinary(sample.Stones, File("y.glb"), 0); }), "");
}

TEST_F(GltfWriterTest, TheValidatorFindsNoProblemAndAssimpReadsEveryMeshAndNode) {
    if (!HaveValidator())
        GTEST_SKIP() << "node or the glTF validator in " << STONEMILL_GLTF_VALIDATOR << kInstallHint;
    const TSampleModel sample;
    const fs::path file = File("boxes.glb");
    WriteGltfBinary(sample.Stones, file);
    const TValidation validation = Validate(file);
    EXPECT_EQ(validation.Errors, 0) << validation.Report;
    EXPECT_EQ(validation.Warnings, 0) << validation.Report;

    const fs::path empty = File("empty.glb");
    WriteGltfBinary({}, empty);
    const TValidation emptyValidation = Validate(empty);
    EXPECT_EQ(emptyValidation.Errors, 0) << emptyValidation.Report;

    if (!HaveProgram("assimp"))
        GTEST_SKIP() << "assimp (Debian assimp-utils)" << kInstallHint;
    int exitCode = 0;
    const std::string info = RunCommand("assimp info " + ShellQuoted(file.string()) + " 2>&1", exitCode);
    ASSERT_EQ(exitCode, 0) << info;
    // A mesh per shape and colour (six); a node per stone and the root.
    EXPECT_EQ(AssimpCount(info, "Meshes:"), 6) << info;
    EXPECT_EQ(AssimpCount(info, "Nodes:"), static_cast<int>(sample.Stones.size()) + 1) << info;
    EXPECT_EQ(AssimpCount(info, "Faces:"), 6 * 12) << info;
}

TEST_F(GltfWriterTest, EveryDemoModelIsAValidFile) {
    if (!HaveValidator())
        GTEST_SKIP() << "node or the glTF validator in " << STONEMILL_GLTF_VALIDATOR << kInstallHint;
    FFolder.CopyShippedParts();
    for (const fs::path& model : DemoModelFiles()) {
        TOwnedBlockList stones;
        const fs::path file = File(model.stem().string() + ".glb");
        WriteGltfBinary(DemoModelStones(model, stones), file);
        const TValidation validation = Validate(file);
        EXPECT_EQ(validation.Errors, 0) << model.filename() << validation.Report;
        EXPECT_EQ(JsonOf(file)["nodes"].toArray().size(), stones.Count()) << model.filename();
    }
}
