#include "app/building_instructions.h"

#include <system_error>

#include "app/model_document.h"
#include "app/parts_list_output.h"
#include "app/scene_view.h"
#include "common/error.h"
#include "common/strings.h"
#include "instructions/booklet_content.h"
#include "instructions/booklet_pictures.h"
#include "instructions/html_pages.h"
#include "instructions/pages_on_thread.h"
#include "model/block.h"
#include "model/block_list.h"
#include "platform/page_painter.h"

namespace fs = std::filesystem;

std::string StonesPerStepProblem(int perStep) {
    if (perStep < 1 || perStep > kMostStonesPerStep)
        return StrFormat("A step holds from 1 to %d stones.", kMostStonesPerStep);
    return {};
}

std::optional<TPaper> PaperByName(const std::string& name) {
    for (const TPaper& paper : {kPaperA4, kPaperLetter})
        if (SameText(name, paper.Name))
            return paper;
    return std::nullopt;
}

std::optional<TBookletFormat> BookletFormatOf(const fs::path& path) {
    const std::string extension = LowerCase(path.extension().string());
    if (extension == ".pdf")
        return TBookletFormat::Pdf;
    std::error_code error;
    if (extension == ".html" || extension == ".htm" || extension.empty() || fs::is_directory(path, error))
        return TBookletFormat::Html;
    return std::nullopt;
}

TBuildingInstructions::TBuildingInstructions(const TModelDocument& document, const TPartsListOutput& parts,
                                             const TSceneView& scene)
    : FDocument(document), FParts(parts), FScene(scene) {}

TBuildingInstructions::~TBuildingInstructions() = default;

int TBuildingInstructions::StepCount() const {
    return FContent ? FContent->StepCount() : 0;
}

std::string TBuildingInstructions::Title() const {
    const std::string stem = fs::path(FDocument.OpenFileName()).stem().string();
    return stem.empty() ? "New model" : stem;
}

void TBuildingInstructions::Prepare(const TInstructionsOptions& options) {
    if (const std::string problem = StonesPerStepProblem(options.PerStep); !problem.empty())
        throw EError(problem);
    // The booklet keeps copies, so that it stays as planned whatever the
    // user does to the model meanwhile.
    auto stones = std::make_unique<TOwnedBlockList>();
    std::vector<const TBlock*> pointers;
    for (const TBlock* stone : FDocument.Model().Stones()) {
        std::unique_ptr<TBlock> copy = CreateCopy(*stone);
        // A copy is a new stone of no group; the booklet builds groups as units.
        copy->Group = stone->Group;
        pointers.push_back(stones->Add(std::move(copy)));
    }
    auto content = std::make_unique<TBookletContent>(pointers, FParts.Naming(), options.PerStep, Title());
    auto pictures = std::make_unique<TBookletPictures>(*content, FScene.View());
    FPages = LayOutBooklet(*content, options.Paper, pictures->Shapes());
    FOptions = options;
    FPictures = std::move(pictures);
    FContent = std::move(content);
    FStones = std::move(stones);
}

void TBuildingInstructions::DrawPage(int index, TBitmap& picture, int widthPixels) {
    if (!Prepared() || index < 0 || index >= PageCount())
        throw EError("There is no such page of the building instructions.");
    TPagePicture page(picture, FOptions.Paper, widthPixels);
    DrawBookletPage(FPages[static_cast<size_t>(index)], *FPictures, page);
    page.Finish();
}

bool TBuildingInstructions::Save(const fs::path& path, const TBookletProgress& progress) {
    if (!Prepared())
        throw EError("The building instructions are not planned yet.");
    const std::optional<TBookletFormat> format = BookletFormatOf(path);
    if (!format)
        throw EError(
            StrFormat("\"%s\" is no name for building instructions: give a PDF file (.pdf), a web page "
                      "(.html) or a folder.",
                      path.string().c_str()));
    const std::string title = FContent->Title() + " - building instructions";
    // The pages are compressed and written on a thread of their own while
    // the pictures of the next ones are drawn.
    if (*format == TBookletFormat::Pdf) {
        TPdfPages pdf(path, FOptions.Paper, title);
        TPagesOnThread pages(pdf);
        return WriteBooklet(FPages, *FPictures, pages, progress);
    }
    THtmlPages html(HtmlBookletPlace(path), FOptions.Paper, title);
    TPagesOnThread pages(html);
    return WriteBooklet(FPages, *FPictures, pages, progress);
}
