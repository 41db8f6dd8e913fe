#include "KelvoCore/Launcher/AppTitle.h"

#include "Base/Text/UnicodeText.h"

namespace kelvo {

std::string AppTitle::truncate(const std::string& text, int limit) {
    if (limit < 1) return "";
    const auto budget = static_cast<std::size_t>(limit);
    if (UnicodeText::characterCount(text) <= budget) return text;
    return UnicodeText::prefix(text, budget - 1) + "…";
}

}  // namespace kelvo
