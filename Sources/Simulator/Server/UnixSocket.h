#pragma once

#include <sys/types.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sim {

/// A socket call that failed, with what was attempted and the system's reason.
class SocketError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The few socket calls the desktop's server and its clients make, on a stream socket in the
/// file system. Descriptors are returned to the caller, who closes them.
struct UnixSocket {
    UnixSocket() = delete;

    /// Whoever reaches the socket can drive every application of the desktop: it is its
    /// owner's alone, whatever the umask.
    static constexpr mode_t socketMode = 0600;

    /// Binds and listens at `path`, with `socketMode` from the moment the socket is there. A
    /// socket file left behind by a server that is gone is replaced; one that a live server
    /// still answers on is not (two desktops never share a path). The descriptor is
    /// non-blocking and closed on exec.
    static int listen(const std::string& path);
    /// Connects to `path`; the descriptor is blocking and closed on exec.
    static int connect(const std::string& path);
    /// Accepts one waiting client as a non-blocking descriptor; -1 when none waits.
    static int accept(int listener);
    static void setNonBlocking(int descriptor);
    /// The pid of the process at the other end of a connected descriptor, as the kernel saw it
    /// connect; none when it cannot tell.
    static std::optional<pid_t> peerPid(int descriptor);
    /// Writes all of `bytes` on a blocking descriptor; false once the peer is gone. Never
    /// raises SIGPIPE.
    static bool sendAll(int descriptor, std::string_view bytes);

  private:
    static void fillAddress(const std::string& path, void* address);
};

}  // namespace sim
