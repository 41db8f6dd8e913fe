#include "Platform/Services/Sysctl.h"

#include <cerrno>
#include <cmath>

#include "Simulator/SharedConnection.h"

int sysctl(int* name, unsigned namelen, void* oldp, std::size_t* oldlenp, void* newp, std::size_t) {
    if (!name || namelen != 2 || name[0] != CTL_KERN || name[1] != KERN_BOOTTIME || newp) {
        errno = EINVAL;
        return -1;
    }
    if (!oldlenp) {
        errno = EINVAL;
        return -1;
    }
    if (!oldp) {
        *oldlenp = sizeof(timeval);
        return 0;
    }
    if (*oldlenp < sizeof(timeval)) {
        errno = ENOMEM;
        return -1;
    }
    const double boot = sim::SharedConnection::current()->bootTime();
    if (!(boot > 0) || !std::isfinite(boot)) {
        errno = ENOENT;
        return -1;
    }
    auto* result = static_cast<timeval*>(oldp);
    result->tv_sec = static_cast<time_t>(std::floor(boot));
    result->tv_usec = static_cast<suseconds_t>((boot - std::floor(boot)) * 1e6);
    *oldlenp = sizeof(timeval);
    return 0;
}
