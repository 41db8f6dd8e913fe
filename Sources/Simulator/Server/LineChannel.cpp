#include "Simulator/Server/LineChannel.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace sim {

namespace {
constexpr std::size_t readChunk = 64 * 1024;
constexpr std::size_t chunksPerTurn = 16;
}  // namespace

LineChannel::LineChannel(int descriptor, LineSplitter::Bound lines, std::size_t maximumOutbox)
    : descriptor_(descriptor), splitter_(std::move(lines)), maximumOutbox_(maximumOutbox) {}

LineChannel::~LineChannel() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

LineChannel::Status LineChannel::receive(std::vector<std::string>& lines) {
    char chunk[readChunk];
    // A client that writes without pause gets a turn of bounded length, so the others are
    // served between its turns.
    for (std::size_t turn = 0; turn < chunksPerTurn; ++turn) {
        const ssize_t count = ::recv(descriptor_, chunk, sizeof(chunk), 0);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Status::open;
        if (count <= 0) return Status::closed;
        splitter_.append(std::string_view(chunk, static_cast<std::size_t>(count)));
        while (auto line = splitter_.next())
            lines.push_back(std::move(*line));
        if (splitter_.overflowed()) return Status::overlong;
    }
    return Status::open;
}

bool LineChannel::queue(const std::string& line) {
    if (outbox_.size() - sent_ + line.size() + 1 > maximumOutbox_) return false;
    if (sent_ > 0 && sent_ >= outbox_.size() / 2) {
        outbox_.erase(0, sent_);
        sent_ = 0;
    }
    outbox_ += line;
    outbox_ += '\n';
    return true;
}

bool LineChannel::flush() {
    while (hasOutput()) {
        const ssize_t count =
            ::send(descriptor_, outbox_.data() + sent_, outbox_.size() - sent_, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (count < 0) return false;
        sent_ += static_cast<std::size_t>(count);
    }
    outbox_.clear();
    sent_ = 0;
    return true;
}

}  // namespace sim
