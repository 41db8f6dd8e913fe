#pragma once

#include <string>
#include <vector>

// Modal alerts. Nobody sits at this desktop to click, so each alert takes the next answer a
// test (or a harness) scripted, and the first button when none is left; every alert shown is
// kept for inspection.

using NSModalResponse = long;
inline constexpr NSModalResponse NSAlertFirstButtonReturn = 1000;
inline constexpr NSModalResponse NSAlertSecondButtonReturn = 1001;
inline constexpr NSModalResponse NSAlertThirdButtonReturn = 1002;

enum NSAlertStyle {
    NSAlertStyleWarning = 0,
    NSAlertStyleInformational = 1,
    NSAlertStyleCritical = 2
};

class NSAlert {
  public:
    /// One alert as it was shown, with the answer it got.
    struct Shown {
        std::string messageText;
        std::string informativeText;
        std::vector<std::string> buttons;
        NSModalResponse answer = NSAlertFirstButtonReturn;
        bool operator==(const Shown&) const = default;
    };

    std::string messageText;
    std::string informativeText;
    NSAlertStyle alertStyle = NSAlertStyleWarning;

    void addButtonWithTitle(std::string title) { buttons_.push_back(std::move(title)); }
    const std::vector<std::string>& buttons() const { return buttons_; }
    NSModalResponse runModal();

    /// The answers the next alerts get, in order (replacing any left over).
    static void scriptAnswers(std::vector<NSModalResponse> answers);
    static std::vector<Shown> shownAlerts();
    /// Forgets the script and the alerts shown.
    static void reset();

  private:
    std::vector<std::string> buttons_;
};
