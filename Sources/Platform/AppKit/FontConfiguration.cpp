#include "Platform/AppKit/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

bool FontConfiguration::install() {
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] {
        FcConfig* config = FcConfigCreate();
        const auto* xml = reinterpret_cast<const FcChar8*>(text());
        if (FcConfigParseAndLoadFromMemory(config, xml, FcTrue) && FcConfigBuildFonts(config) &&
            FcConfigSetCurrent(config)) {
            installed = true;
        }
        // The current configuration holds a reference of its own.
        FcConfigDestroy(config);
    });
    return installed;
}
