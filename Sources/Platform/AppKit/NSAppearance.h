#pragma once

#include <memory>
#include <string>

#include "Platform/AppKit/NSColor.h"

using NSAppearanceName = std::string;
inline const NSAppearanceName NSAppearanceNameAqua = "NSAppearanceNameAqua";
inline const NSAppearanceName NSAppearanceNameDarkAqua = "NSAppearanceNameDarkAqua";

class NSAppearance;
using NSAppearanceRef = std::shared_ptr<NSAppearance>;

/// The look a window or view is drawn in: light (aqua) or dark (dark aqua). The controls'
/// own colours (text, placeholder, caret, selection) follow it where nobody set a colour.
class NSAppearance {
  public:
    /// None for a name that is not one of the two.
    static NSAppearanceRef appearanceNamed(const NSAppearanceName& name);
    /// The light look, which everything has unless it or its window says otherwise.
    static const NSAppearanceRef& aqua();

    const NSAppearanceName& name() const { return name_; }
    bool isDark() const { return name_ == NSAppearanceNameDarkAqua; }

    /// Text in controls, and placeholder text.
    NSColorRef labelColor() const;
    NSColorRef placeholderTextColor() const;
    /// The caret and the background of selected text while the field has the focus.
    NSColorRef textInsertionPointColor() const;
    NSColorRef selectedTextBackgroundColor() const;
    /// The background of editable fields that draw one.
    NSColorRef textBackgroundColor() const;

    explicit NSAppearance(NSAppearanceName name) : name_(std::move(name)) {}

  private:
    NSAppearanceName name_;
};
