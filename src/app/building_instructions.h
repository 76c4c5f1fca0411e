#pragma once
// The building instructions of the open model: planned from the model and
// the view as they are when asked, shown page by page, and saved as a PDF
// booklet or as a web page with its pictures.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "instructions/booklet_layout.h"
#include "instructions/booklet_writer.h"
#include "platform/page_output.h"

class TBitmap;
class TBookletContent;
class TBookletPictures;
class TModelDocument;
class TOwnedBlockList;
class TPartsListOutput;
class TSceneView;

constexpr int kMostStonesPerStep = 30;

struct TInstructionsOptions {
    int PerStep = 6;
    TPaper Paper = kPaperA4;
};

// Why a step cannot hold that many stones, or "".
std::string StonesPerStepProblem(int perStep);
// The paper of that name ("A4" or "Letter", letter case aside), or none.
std::optional<TPaper> PaperByName(const std::string& name);

enum class TBookletFormat { Pdf, Html };
// The format a booklet's file asks for: PDF for ".pdf", a web page for
// ".html" or ".htm" and for a folder (one that exists, or a name without an
// extension); none for any other.
std::optional<TBookletFormat> BookletFormatOf(const std::filesystem::path& path);

class TBuildingInstructions {
public:
    TBuildingInstructions(const TModelDocument& document, const TPartsListOutput& parts,
                          const TSceneView& scene);
    ~TBuildingInstructions();

    // Plans the booklet of the model's stones as they are now, seen from the
    // view's angles and in its look; later changes of the model or the view
    // do not change it. Raises EError for a model without stones.
    void Prepare(const TInstructionsOptions& options);
    bool Prepared() const { return FContent != nullptr; }
    int PageCount() const { return static_cast<int>(FPages.size()); }
    int StepCount() const;
    const TPaper& Paper() const { return FOptions.Paper; }

    // Draws a page into the picture, widthPixels wide.
    void DrawPage(int index, TBitmap& picture, int widthPixels);
    // Writes the booklet in the format the path asks for (see
    // BookletFormatOf). Returns false when the progress stopped the work:
    // then nothing is written. Raises EError for a path of no booklet format
    // and when the booklet cannot be written.
    bool Save(const std::filesystem::path& path, const TBookletProgress& progress = nullptr);

private:
    std::string Title() const;

    const TModelDocument& FDocument;
    const TPartsListOutput& FParts;
    const TSceneView& FScene;
    TInstructionsOptions FOptions;
    std::unique_ptr<TOwnedBlockList> FStones;
    std::unique_ptr<TBookletContent> FContent;
    std::unique_ptr<TBookletPictures> FPictures;
    std::vector<TBookletPage> FPages;
};
