#pragma once

#include <functional>

#include "Platform/AppKit/NSColor.h"

// The colour panel of the process. Nobody sits at the desktop to pick: when the panel is
// ordered front, the desktop answers with the colour a test (or a harness, through
// `kelvo-sim answer-colours`) scripted there, which reaches the panel's action on the next turn
// of the main queue as a person's pick would; with nothing scripted the panel is closed
// without a pick.

class NSColorPanel {
  public:
    static NSColorPanel& sharedColorPanel();

    NSColorRef color() const { return color_; }
    void setColor(NSColorRef color);
    bool showsAlpha() const { return showsAlpha_; }
    void setShowsAlpha(bool shows) { showsAlpha_ = shows; }
    /// What a pick sends (the panel's target and action); empty: nothing.
    void setAction(std::function<void(NSColorPanel&)> action) { action_ = std::move(action); }

    void orderFront(const void* sender);
    bool isVisible() const { return visible_; }
    void close() { visible_ = false; }

    /// "#" and six upper-case hexadecimal digits of the colour's sRGB components, each rounded
    /// to the nearest of 256 steps.
    static std::string hexText(const NSColor& color);
    /// The opaque colour of such a text; none when it is not one.
    static NSColorRef colorOfHexText(const std::string& text);

  private:
    NSColorPanel();
    void pick(const std::string& hex);

    NSColorRef color_;
    bool showsAlpha_ = false;
    bool visible_ = false;
    std::function<void(NSColorPanel&)> action_;
};
