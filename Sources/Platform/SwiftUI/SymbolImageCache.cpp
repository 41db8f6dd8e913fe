#include "Platform/SwiftUI/SymbolImageCache.h"

#include <cmath>

namespace SwiftUI {

namespace {

/// A key must order: one holding a value that is not a number is made each time instead.
bool orderable(const Font& font, const CGColorValue& colour) {
    return !std::isnan(font.size) && !std::isnan(colour.red) && !std::isnan(colour.green) &&
           !std::isnan(colour.blue) && !std::isnan(colour.alpha);
}

}  // namespace

NSImageRef SymbolImageCache::make(const std::string& name, const Font& font) {
    const NSImageRef symbol = NSImage::imageWithSystemSymbolName(name);
    if (!symbol) return nullptr;
    return symbol->imageWithSymbolConfiguration(
        NSImageSymbolConfiguration::configurationWithPointSize(font.size,
                                                               nsFontWeight(font.weight)));
}

NSImageRef SymbolImageCache::image(const std::string& name, const Font& font,
                                   const std::optional<Color>& tint) {
    const CGColorValue colour = tint ? tint->value() : CGColorValue{};
    if (!orderable(font, colour)) {
        const NSImageRef symbol = make(name, font);
        return symbol && tint ? symbol->imageTintedWithColor(tint->nsColor()) : symbol;
    }
    Key key{name,       font.size,    font.weight, tint.has_value(),
            colour.red, colour.green, colour.blue, colour.alpha};
    if (const auto found = images_.find(key); found != images_.end()) return found->second;
    NSImageRef made;
    if (tint) {
        made = image(name, font, std::nullopt);
        if (made) made = made->imageTintedWithColor(tint->nsColor());
    } else {
        made = make(name, font);
    }
    if (images_.size() >= capacity) images_.clear();
    images_.emplace(std::move(key), made);
    return made;
}

}  // namespace SwiftUI
