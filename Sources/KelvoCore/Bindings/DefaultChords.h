#pragma once

#include <cstdint>
#include <vector>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Modifier.h"
#include "KelvoCore/Keys/Shortcut.h"

namespace kelvo {

/// The chords every shortcut has until the user changes it. They follow the configuration's
/// primary modifier; none uses ⌘.
class DefaultChords {
  public:
    /// The other modifier: option gives control, control gives option.
    static Modifier secondary(Modifier modifier);
    /// The key with the primary modifier (and the secondary too when it is held); never ⌘.
    static Chord chord(std::uint16_t keyCode, Modifier primary, bool shift, bool secondaryHeld);
    /// The shortcut's defaults under the configuration: the letter first and the arrow second
    /// where there are two; none for the launcher while it is switched off.
    static std::vector<Chord> of(Shortcut shortcut, const Config& config);
};

}  // namespace kelvo
