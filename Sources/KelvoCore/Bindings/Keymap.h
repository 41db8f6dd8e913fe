#pragma once

#include <optional>
#include <unordered_map>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Command.h"

namespace kelvo {

/// The finished lookup from chord to command that the keyboard tap consults on every key
/// press. Built whole from a configuration, from the same resolution the settings show.
class Keymap {
  public:
    /// Binds nothing.
    Keymap() = default;
    explicit Keymap(const Config& config);

    /// The command bound to exactly this key and these four flags. One hash lookup, no
    /// allocation.
    std::optional<Command> command(const Chord& chord) const noexcept;

    const std::unordered_map<Chord, Command>& table() const { return table_; }

  private:
    std::unordered_map<Chord, Command> table_;
};

}  // namespace kelvo
