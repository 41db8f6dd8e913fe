#include "KelvoCore/Tweaks/TweakOutcome.h"

namespace kelvo {

std::string rawValue(TweakOutcome outcome) {
    switch (outcome) {
        case TweakOutcome::changed:
            return "changed";
        case TweakOutcome::unchanged:
            return "unchanged";
        case TweakOutcome::refusedUnrestorable:
            return "refusedUnrestorable";
        case TweakOutcome::writeFailed:
            break;
    }
    return "writeFailed";
}

}  // namespace kelvo
