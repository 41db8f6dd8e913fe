#pragma once

#include <sys/time.h>
#include <cstddef>

// The kernel's information by name, as far as the system asks for it: the boot time
// (CTL_KERN, KERN_BOOTTIME), a `timeval` whose seconds stay the same for a desktop's life.

inline constexpr int CTL_KERN = 1;
inline constexpr int KERN_BOOTTIME = 21;

/// 0 on success; -1 (with errno set) for a name it does not know or a buffer too small.
int sysctl(int* name, unsigned namelen, void* oldp, std::size_t* oldlenp, void* newp,
           std::size_t newlen);
