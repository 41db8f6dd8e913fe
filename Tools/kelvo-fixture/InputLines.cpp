#include "InputLines.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace kelvo_fixture {

InputLines::Next InputLines::next() {
    for (;;) {
        const std::size_t end = buffer_.find('\n', scanned_);
        if (end != std::string::npos) {
            std::string text = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            scanned_ = 0;
            if (!text.empty() && text.back() == '\r') text.pop_back();
            if (std::exchange(skipping_, false) || text.size() > maximum_) {
                return {Next::Kind::overlong, {}};
            }
            return {Next::Kind::line, std::move(text)};
        }
        scanned_ = buffer_.size();
        if (buffer_.size() > maximum_ + (buffer_.ends_with('\r') ? 1 : 0)) {
            skipping_ = true;
            buffer_.clear();
            scanned_ = 0;
        }
        if (ended_) {
            if (std::exchange(skipping_, false)) {
                buffer_.clear();  // the rest of the overlong line
                return {Next::Kind::overlong, {}};
            }
            if (buffer_.empty()) return {Next::Kind::end, {}};
            std::string text = std::exchange(buffer_, {});
            scanned_ = 0;
            if (text.back() == '\r') text.pop_back();
            return {Next::Kind::line, std::move(text)};
        }
        char chunk[64 * 1024];
        const ssize_t count = ::read(descriptor_, chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            ended_ = true;
            continue;
        }
        buffer_.append(chunk, static_cast<std::size_t>(count));
    }
}

}  // namespace kelvo_fixture
