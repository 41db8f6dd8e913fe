#pragma once

#include <functional>
#include <vector>

#include "KelvoApp/Services/OwnPanel.h"
#include "KelvoApp/Services/RequestLog.h"
#include "KelvoCore/Bindings/KeyReference.h"

namespace kelvo {

/// The cheat sheet of the shortcuts. Until its drawing is built it asks for fresh sections
/// on every opening and keeps only whether it is shown.
class CheatsheetPanelController {
  public:
    using Sections = std::function<std::vector<KeyReference::Section>()>;

    explicit CheatsheetPanelController(Sections sections) : sections_(std::move(sections)) {}

    void toggle();

    /// The sections of the last opening.
    const std::vector<KeyReference::Section>& shown() const { return shown_; }
    OwnPanel panel;
    RequestLog log;

  private:
    Sections sections_;
    std::vector<KeyReference::Section> shown_;
};

}  // namespace kelvo
