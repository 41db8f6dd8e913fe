#pragma once

#include <string>
#include <vector>

// Modal alerts. An alert is shown on the desktop, which answers with the button pressed in it:
// the one a test (or a harness, through `kelvo-sim answer-alerts`) scripted there, else the
// first. Without a desktop no button is pressed and the answer is NSModalResponseAbort.

using NSModalResponse = long;
inline constexpr NSModalResponse NSAlertFirstButtonReturn = 1000;
inline constexpr NSModalResponse NSAlertSecondButtonReturn = 1001;
inline constexpr NSModalResponse NSAlertThirdButtonReturn = 1002;
inline constexpr NSModalResponse NSModalResponseAbort = -1001;

enum NSAlertStyle {
    NSAlertStyleWarning = 0,
    NSAlertStyleInformational = 1,
    NSAlertStyleCritical = 2
};

class NSAlert {
  public:
    std::string messageText;
    std::string informativeText;
    NSAlertStyle alertStyle = NSAlertStyleWarning;

    void addButtonWithTitle(std::string title) { buttons_.push_back(std::move(title)); }
    const std::vector<std::string>& buttons() const { return buttons_; }
    /// Shows the alert and waits for a button: 1000 for the first, 1001 for the second, …
    NSModalResponse runModal();

  private:
    std::vector<std::string> buttons_;
};
