#include "KelvoCore/Keys/ShortcutRejection.h"

namespace kelvo {

std::string ShortcutRejection::message() const {
    switch (kind_) {
        case Kind::usesCommand:
            return "⌘ shortcuts are left to your applications. Kelvo opens a terminal window by "
                   "sending one ⌘N, and it would swallow its own keystroke.";
        case Kind::noModifier:
            return "Hold ⌥ or ⌃ as well. A shortcut without one would take that key from every "
                   "application on your Mac.";
        case Kind::taken:
            return ownerTitle_ + " already has that. Clear it there first.";
    }
    return "";
}

}  // namespace kelvo
