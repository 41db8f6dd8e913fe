#pragma once

#include <sys/types.h>

// Signals to the processes of the desktop. The desktop knows which of its pids a real process
// of this machine stands behind: only such a process is signalled. An application the desktop
// merely simulates has a pid it made up, which an unrelated process of this machine may hold,
// so a signal for it reaches nobody.

namespace posix {

/// 0 when the signal was sent. -1 with errno set otherwise: EINVAL for a pid that is not one
/// process (0 and below name groups, or every process), ESRCH when no process of the desktop
/// stands behind the pid.
int kill(pid_t pid, int signal);

}  // namespace posix
