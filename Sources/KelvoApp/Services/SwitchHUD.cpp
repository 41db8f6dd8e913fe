#include "KelvoApp/Services/SwitchHUD.h"

#include <string>

namespace kelvo {

void SwitchHUD::show(int desktop) {
    log.note("show(" + std::to_string(desktop) + ")");
}

}  // namespace kelvo
