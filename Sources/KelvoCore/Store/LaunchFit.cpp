#include "KelvoCore/Store/LaunchFit.h"

namespace kelvo {

bool LaunchFit::shouldFloat(CGSize current, CGSize slot, CGSize screen) {
    const bool nearlyMaximised = current.width >= screen.width * maximizedFraction &&
                                 current.height >= screen.height * maximizedFraction;
    return slot.width > 0 && slot.height > 0 && current.width > slot.width * margin &&
           current.height > slot.height * margin && !nearlyMaximised;
}

}  // namespace kelvo
