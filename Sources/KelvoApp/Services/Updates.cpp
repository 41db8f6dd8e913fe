#include "KelvoApp/Services/Updates.h"

namespace kelvo {

void Updates::start(const std::filesystem::path& bundleURL) {
    log.note("start(" + bundleURL.string() + ")");
    if (started) return;
    started = true;
    controller = bundleURL.extension() == ".app";
}

}  // namespace kelvo
