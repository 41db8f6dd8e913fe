#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Command.h"
#include "KelvoCore/Keys/Modifier.h"
#include "KelvoCore/Keys/Shortcut.h"

namespace kelvo {

/// Everything the keyboard can do, in titled sections: the one source of the shortcut texts
/// the cheat sheet, the settings, the guide and the status menu show. Computed on demand from
/// the same resolution the key tap obeys, so shown and obeyed keys never differ.
class KeyReference {
  public:
    /// The icon of a row.
    enum class Glyph {
        desktopSwitch,
        desktopThrow,
        focusLeft,
        focusDown,
        focusUp,
        focusRight,
        moveLeft,
        moveDown,
        moveUp,
        moveRight,
        resizeLeft,
        resizeDown,
        resizeUp,
        resizeRight,
        zoom,
        rebalance,
        split,
        rotate,
        float_,  // raw value "float"
        terminal,
        launcher,
        master,
        layoutMode,
        showDesktop,
        cheatsheet,
    };
    static constexpr std::size_t glyphCount = 25;
    static const std::array<Glyph, glyphCount>& allGlyphs();
    static std::string rawValue(Glyph glyph);
    static std::optional<Glyph> glyphFromRawValue(const std::string& raw);

    struct Entry {
        /// The shortcut's name, or "desktopSwitch" / "desktopThrow".
        std::string id;
        /// None for the two desktop rows, which stand for all digit shortcuts.
        std::optional<Shortcut> shortcut;
        /// The key caps of each chord, in display order; empty when there is no chord.
        std::vector<std::vector<std::string>> caps;
        std::string what;
        /// The first chord, which runs the row's command.
        std::optional<Chord> sample;
        Command command;
        std::optional<Glyph> glyph;

        /// The glyph follows from the command.
        Entry(std::string id, std::optional<Shortcut> shortcut,
              std::vector<std::vector<std::string>> caps, std::string what,
              std::optional<Chord> sample, Command command);

        /// Each chord's caps joined without separator, the chords joined by "  /  ".
        std::string keys() const;

        bool operator==(const Entry&) const = default;
    };

    struct Section {
        std::string title;
        std::vector<Entry> entries;

        bool operator==(const Section&) const = default;
    };

    /// Seven sections, eight with the launcher shown.
    static std::vector<Section> sections(const Config& config);

    /// ⌘, then the modifier that is not the primary, then the primary, then ⇧ (each only when
    /// held), then the key's label.
    static std::vector<std::string> caps(const Chord& chord, Modifier primary);
    /// "⌥" or "⌃".
    static std::string symbol(Modifier modifier);
    static Modifier secondary(Modifier modifier);
    /// None for closeWindow, which has no row.
    static std::optional<Glyph> glyph(const Command& command);

  private:
    static std::string desktopRange(std::int64_t desktopCount);
};

}  // namespace kelvo
