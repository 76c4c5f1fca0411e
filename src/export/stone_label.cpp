#include "export/stone_label.h"

#include "files/caption_rule.h"
#include "model/block.h"
#include "partlib/draw_class.h"

std::string StoneLabel(const TBlock& stone) {
    if (!stone.Caption.empty())
        return stone.Caption;
    if (stone.Part != nullptr && !stone.Part->PartName.empty())
        return stone.Part->PartName;
    return StoneCaption(stone);
}
