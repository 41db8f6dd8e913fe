#include "Platform/Services/Signal.h"

#include <cerrno>

#include "Simulator/SharedConnection.h"

namespace posix {

int kill(pid_t pid, int signal) {
    if (pid <= 0) {
        errno = EINVAL;
        return -1;
    }
    if (!sim::SharedConnection::current()->signalProcess(pid, signal)) {
        errno = ESRCH;
        return -1;
    }
    return 0;
}

}  // namespace posix
