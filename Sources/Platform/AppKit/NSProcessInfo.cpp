#include "Platform/AppKit/NSProcessInfo.h"

#include "Simulator/SharedConnection.h"

NSProcessInfo& NSProcessInfo::processInfo() {
    static NSProcessInfo info;
    return info;
}

std::string NSProcessInfo::operatingSystemVersionString() const {
    return sim::SharedConnection::current()->operatingSystemVersion();
}
