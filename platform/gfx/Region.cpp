#include "platform/gfx/Region.h"

#include <algorithm>

namespace platform {

namespace {

struct Span {
    std::int32_t left;
    std::int32_t right;
    friend bool operator==(const Span&, const Span&) = default;
};

bool Apply(RegionOp op, bool inA, bool inB) {
    switch (op) {
    case RegionOp::And:
        return inA && inB;
    case RegionOp::Or:
        return inA || inB;
    case RegionOp::Xor:
        return inA != inB;
    case RegionOp::Diff:
        return inA && !inB;
    case RegionOp::Copy:
        return inA;
    }
    return false;
}

// The spans of one band [top, bottom): the parts of the x axis where op holds, found by sweeping
// the span edges of both operands with coverage counts (operands may overlap themselves).
std::vector<Span> CombineBand(const std::vector<Rect>& a, const std::vector<Rect>& b,
                              std::int32_t top, std::int32_t bottom, RegionOp op) {
    struct Edge {
        std::int32_t x;
        int deltaA;
        int deltaB;
    };
    std::vector<Edge> edges;
    auto collect = [&](const std::vector<Rect>& rects, bool isA) {
        for (const Rect& r : rects) {
            if (r.top <= top && r.bottom >= bottom) {
                edges.push_back({r.left, isA ? 1 : 0, isA ? 0 : 1});
                edges.push_back({r.right, isA ? -1 : 0, isA ? 0 : -1});
            }
        }
    };
    collect(a, true);
    collect(b, false);
    std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.x < r.x; });

    std::vector<Span> spans;
    int coverA = 0;
    int coverB = 0;
    for (std::size_t i = 0; i < edges.size();) {
        const std::int32_t x = edges[i].x;
        for (; i < edges.size() && edges[i].x == x; ++i) {
            coverA += edges[i].deltaA;
            coverB += edges[i].deltaB;
        }
        if (i == edges.size())
            break;
        const std::int32_t next = edges[i].x;
        if (!Apply(op, coverA > 0, coverB > 0))
            continue;
        if (!spans.empty() && spans.back().right == x)
            spans.back().right = next;
        else
            spans.push_back({x, next});
    }
    return spans;
}

std::vector<Rect> CombineRects(const std::vector<Rect>& a, const std::vector<Rect>& b,
                               RegionOp op) {
    std::vector<std::int32_t> ys;
    for (const auto* list : {&a, &b}) {
        for (const Rect& r : *list) {
            if (r.IsEmpty())
                continue;
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    std::vector<Rect> out;
    std::vector<Span> previous;
    std::size_t previousStart = 0; // index in out of the previous band's first rectangle
    std::int32_t previousBottom = 0;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        const std::int32_t top = ys[i];
        const std::int32_t bottom = ys[i + 1];
        std::vector<Span> spans = CombineBand(a, b, top, bottom, op);
        if (spans.empty()) {
            previous.clear();
            continue;
        }
        if (!previous.empty() && previousBottom == top && spans == previous) {
            for (std::size_t k = previousStart; k < out.size(); ++k)
                out[k].bottom = bottom;
        } else {
            previousStart = out.size();
            for (const Span& s : spans)
                out.push_back({s.left, top, s.right, bottom});
            previous = std::move(spans);
        }
        previousBottom = bottom;
    }
    return out;
}

std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

} // namespace

Region::Region(const Rect& rect) {
    if (!rect.IsEmpty())
        m_rects.push_back(rect);
}

Region Region::FromRects(std::span<const Rect> rects) {
    Region region;
    region.m_rects = CombineRects(std::vector<Rect>(rects.begin(), rects.end()), {}, RegionOp::Or);
    return region;
}

RegionKind Region::Kind() const {
    if (m_rects.empty())
        return RegionKind::Null;
    return m_rects.size() == 1 ? RegionKind::Simple : RegionKind::Complex;
}

Rect Region::Bounds() const {
    if (m_rects.empty())
        return {};
    Rect bounds = m_rects.front();
    for (const Rect& r : m_rects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

bool Region::Contains(Point p) const {
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const Rect& r) { return r.Contains(p); });
}

bool Region::Intersects(const Rect& rect) const {
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const Rect& r) { return !r.Intersect(rect).IsEmpty(); });
}

void Region::Offset(std::int32_t dx, std::int32_t dy) {
    for (Rect& r : m_rects) {
        r.left = WrapAdd(r.left, dx);
        r.right = WrapAdd(r.right, dx);
        r.top = WrapAdd(r.top, dy);
        r.bottom = WrapAdd(r.bottom, dy);
    }
}

void Region::IntersectWith(const Rect& rect) {
    *this = Combine(*this, Region(rect), RegionOp::And);
}
void Region::IntersectWith(const Region& other) {
    *this = Combine(*this, other, RegionOp::And);
}
void Region::Unite(const Rect& rect) {
    *this = Combine(*this, Region(rect), RegionOp::Or);
}
void Region::Unite(const Region& other) {
    *this = Combine(*this, other, RegionOp::Or);
}
void Region::Subtract(const Rect& rect) {
    *this = Combine(*this, Region(rect), RegionOp::Diff);
}
void Region::Subtract(const Region& other) {
    *this = Combine(*this, other, RegionOp::Diff);
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op) {
    if (op == RegionOp::Copy)
        return a;
    Region region;
    region.m_rects = CombineRects(a.m_rects, b.m_rects, op);
    return region;
}

std::ostream& operator<<(std::ostream& os, const Region& region) {
    os << '{';
    for (std::size_t i = 0; i < region.Rects().size(); ++i)
        os << (i ? ", " : "") << region.Rects()[i];
    return os << '}';
}

} // namespace platform
