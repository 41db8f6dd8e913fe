#include "Simulator/Server/UnixSocket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw SocketError(what + " " + path + ": " + std::strerror(error));
}

int makeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) fail("cannot make a socket for", path, errno);
    return fd;
}

}  // namespace

void UnixSocket::fillAddress(const std::string& path, void* address) {
    auto* un = static_cast<sockaddr_un*>(address);
    std::memset(un, 0, sizeof(*un));
    un->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(un->sun_path)) {
        fail("socket path is empty or too long:", path, ENAMETOOLONG);
    }
    std::memcpy(un->sun_path, path.data(), path.size());
}

int UnixSocket::connect(const std::string& path) {
    sockaddr_un address;
    fillAddress(path, &address);
    const int fd = makeSocket(path);
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        const int error = errno;
        ::close(fd);
        fail("cannot reach the desktop at", path, error);
    }
    return fd;
}

namespace {

/// A folder of the owner's alone beside the socket's path, where the socket is made and given
/// its mode before it is moved to the path: while it still has the umask's mode nobody else can
/// reach it. Removed, empty, when the socket has moved.
class PrivateFolder {
  public:
    explicit PrivateFolder(const std::string& path) {
        const auto slash = path.rfind('/');
        std::string folder =
            (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
            "/.kelvo-XXXXXX";
        // mkdtemp makes the folder readable, writable and searchable by its owner only.
        if (!::mkdtemp(folder.data())) fail("cannot bind", path, errno);
        folder_ = std::move(folder);
    }
    ~PrivateFolder() {
        ::unlink(socketPath().c_str());
        ::rmdir(folder_.c_str());
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    std::string socketPath() const { return folder_ + "/s"; }

  private:
    std::string folder_;
};

bool isServedAt(const std::string& path) {
    try {
        ::close(UnixSocket::connect(path));
        return true;
    } catch (const SocketError&) {
        return false;
    }
}

}  // namespace

int UnixSocket::listen(const std::string& path) {
    sockaddr_un address;
    fillAddress(path, &address);
    const PrivateFolder folder(path);
    const std::string made = folder.socketPath();
    sockaddr_un madeAddress;
    fillAddress(made, &madeAddress);
    const int fd = makeSocket(path);
    const auto failClosing = [fd, &path](const std::string& what, int error) {
        ::close(fd);
        fail(what, path, error);
    };
    if (::bind(fd, reinterpret_cast<sockaddr*>(&madeAddress), sizeof(madeAddress)) < 0) {
        failClosing("cannot bind", errno);
    }
    if (::chmod(made.c_str(), socketMode) != 0) failClosing("cannot protect", errno);
    if (::listen(fd, SOMAXCONN) < 0) failClosing("cannot listen on", errno);
    // Something at the path: a live server keeps it, a stale socket file is replaced.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && isServedAt(path)) {
        failClosing("a desktop already serves", EADDRINUSE);
    }
    if (::rename(made.c_str(), path.c_str()) != 0) failClosing("cannot bind", errno);
    setNonBlocking(fd);
    return fd;
}

int UnixSocket::accept(int listener) {
    int fd;
    do {
        fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::optional<pid_t> UnixSocket::peerPid(int descriptor) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
        length != sizeof(credentials) || credentials.pid <= 0) {
        return std::nullopt;
    }
    return credentials.pid;
}

void UnixSocket::setNonBlocking(int descriptor) {
    const int flags = ::fcntl(descriptor, F_GETFL, 0);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK);
}

bool UnixSocket::sendAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(descriptor, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

}  // namespace sim
