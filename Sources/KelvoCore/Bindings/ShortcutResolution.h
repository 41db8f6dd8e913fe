#pragma once

#include <map>
#include <optional>
#include <vector>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Keys/Shortcut.h"
#include "KelvoCore/Keys/ShortcutOwner.h"

namespace kelvo {

/// The one rule that decides which chord does what. Everything that shows or obeys keys
/// (the key map, the key reference, the settings) uses it, so they never disagree.
///
/// Each chord goes to its first claimant, in four passes: the desktop digits, then the
/// overrides, then the defaults (shortcuts in their listed order within each pass).
class ShortcutResolution {
  public:
    /// The digits bind desktops 1 to 9 at most.
    static constexpr int maxDigitDesktop = 9;

    static ShortcutResolution resolve(const Config& config);

    /// The chords the shortcut ended up with, in default order; empty when it has none.
    const std::vector<Chord>& chords(Shortcut shortcut) const;
    /// Every bound chord with its one owner.
    const std::map<Chord, ShortcutOwner>& owners() const { return owners_; }
    /// The shortcuts that wanted a chord and got none, in listed order. A shortcut the user
    /// cleared, and the launcher while it is switched off, wanted none.
    const std::vector<Shortcut>& displaced() const { return displaced_; }

    std::optional<ShortcutOwner> owner(const Chord& chord) const;
    std::optional<Command> command(const Chord& chord) const;

  private:
    void bindDesktops(const Config& config);
    void applyOverrides(const Config& config);
    void applyDefaults(const Config& config);
    void listDisplaced(const Config& config);
    /// Gives the chord to the owner when nobody holds it yet; true when it was given.
    bool claim(const Chord& chord, const ShortcutOwner& owner);

    std::map<Shortcut, std::vector<Chord>> chords_;
    std::map<Chord, ShortcutOwner> owners_;
    std::vector<Shortcut> displaced_;
};

}  // namespace kelvo
