#include "Simulator/Server/UnixSocket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
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

int UnixSocket::listen(const std::string& path) {
    sockaddr_un address;
    fillAddress(path, &address);
    const int fd = makeSocket(path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) < 0) {
        const int error = errno;
        if (error != EADDRINUSE) {
            ::close(fd);
            fail("cannot bind", path, error);
        }
        // Something is at the path: a live server keeps it, a stale socket file goes.
        bool live = false;
        try {
            ::close(UnixSocket::connect(path));
            live = true;
        } catch (const SocketError&) {
        }
        if (live) {
            ::close(fd);
            fail("a desktop already serves", path, EADDRINUSE);
        }
        ::unlink(path.c_str());
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) < 0) {
            const int again = errno;
            ::close(fd);
            fail("cannot bind", path, again);
        }
    }
    if (::listen(fd, SOMAXCONN) < 0) {
        const int error = errno;
        ::close(fd);
        fail("cannot listen on", path, error);
    }
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
