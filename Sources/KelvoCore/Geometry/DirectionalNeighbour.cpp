#include "KelvoCore/Geometry/DirectionalNeighbour.h"

#include <tuple>

namespace kelvo {

namespace {

struct Candidate {
    bool overlaps = false;
    double distance = 0;
    WindowID id;

    /// Overlap first, then distance, then the lower id.
    bool beats(const Candidate& other) const {
        return std::make_tuple(!overlaps, distance, id.raw) <
               std::make_tuple(!other.overlaps, other.distance, other.id.raw);
    }
};

std::optional<Candidate> judge(const CGRect& o, const CGRect& r, Direction direction, WindowID id) {
    const bool acrossY = r.maxY() > o.minY() && r.minY() < o.maxY();
    const bool acrossX = r.maxX() > o.minX() && r.minX() < o.maxX();
    switch (direction) {
        case Direction::left:
            if (!(r.minX() < o.minX())) return std::nullopt;
            return Candidate{acrossY, o.minX() - r.minX(), id};
        case Direction::right:
            if (!(r.minX() > o.minX())) return std::nullopt;
            return Candidate{acrossY, r.minX() - o.minX(), id};
        case Direction::up:
            if (!(r.minY() < o.minY())) return std::nullopt;
            return Candidate{acrossX, o.minY() - r.minY(), id};
        case Direction::down:
            if (!(r.minY() > o.minY())) return std::nullopt;
            return Candidate{acrossX, r.minY() - o.minY(), id};
    }
    return std::nullopt;
}

}  // namespace

std::optional<WindowID> DirectionalNeighbour::nearest(const CGRect& origin,
                                                      const std::map<WindowID, CGRect>& among,
                                                      Direction direction) {
    std::optional<Candidate> best;
    for (const auto& [id, rect] : among) {
        auto candidate = judge(origin, rect, direction, id);
        if (candidate && (!best || candidate->beats(*best))) best = candidate;
    }
    if (!best) return std::nullopt;
    return best->id;
}

}  // namespace kelvo
