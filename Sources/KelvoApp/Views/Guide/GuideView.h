#pragma once

#include "KelvoApp/Views/Guide/GuideModel.h"
#include "KelvoCore/Guide/GuideStep.h"
#include "Platform/AppKit/NSImage.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/View.h"

namespace kelvo {

class SettingsModel;

/// The guide window's root view: a fixed header (mark, step counter, progress bar, title and
/// blurb), the current step's page in a scroll view, and a fixed footer with Skip, Back and
/// Continue or Done. It measures its parts and reports the height they want to the model once
/// after each showing and each change of step.
class GuideView {
  public:
    static constexpr CGFloat sideInset = 24;
    static constexpr CGFloat markSide = 22;
    static constexpr CGFloat headerRowHeight = 30;
    static constexpr CGFloat progressHeight = 3;
    /// The two hairlines between header, page and footer.
    static constexpr CGFloat hairlines = 2;

    /// `mark` is the small brand mark, or null for the word in its place.
    GuideView(GuideModel& model, SettingsModel& settings);
    GuideView(GuideModel& model, SettingsModel& settings, NSImageRef mark);

    SwiftUI::View body() const;
    operator SwiftUI::View() const { return body(); }

    /// The progress bar's colour for `step` while the guide shows `current`.
    static SwiftUI::Color fill(GuideStep step, GuideStep current);

  private:
    SwiftUI::View header() const;
    SwiftUI::View markRow() const;
    SwiftUI::View progressBar() const;
    SwiftUI::View page() const;
    SwiftUI::View footer() const;
    /// The views hold the model, not this value, which lives only while the tree is built.
    static void reportHeight(GuideModel& model, CGFloat measured);

    GuideModel& model_;
    SettingsModel& settings_;
    NSImageRef mark_;
};

}  // namespace kelvo
