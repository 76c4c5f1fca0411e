#include "files/caption_rule.h"

#include "common/strings.h"

std::string CaptionOf(std::string_view text) {
    size_t comma = text.find(',');
    if (comma != std::string_view::npos)
        text.remove_prefix(comma + 1);
    size_t backslash = text.find('\\');
    if (backslash != std::string_view::npos)
        text.remove_prefix(backslash + 1);
    size_t dash = text.find('-');
    if (dash != std::string_view::npos)
        text = text.substr(0, dash);
    return Trim(text);
}
