#include "platform/gfx/Region.h"

#include <algorithm>
#include <cstdint>

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

// True when rects are in the canonical form the class keeps: non-empty, bands sorted from the
// top, rectangles of a band sharing top and bottom, sorted and apart from each other.
bool IsCanonical(const std::vector<Rect>& rects) {
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        if (r.IsEmpty())
            return false;
        if (i == 0)
            continue;
        const Rect& p = rects[i - 1];
        const bool sameBand = r.top == p.top && r.bottom == p.bottom && r.left > p.right;
        if (!sameBand && r.top < p.bottom)
            return false;
    }
    return true;
}

// One band's spans of a op b, where a and b are the (sorted, apart) rectangles of one band of
// each operand, or empty. Walks the edges of both in order, so it costs their count.
void MergeBand(const Rect* a, const Rect* aEnd, const Rect* b, const Rect* bEnd, RegionOp op,
               std::vector<Span>& out) {
    out.clear();
    constexpr std::int64_t kNone = std::int64_t{1} << 40;
    bool inA = false, inB = false;
    std::int64_t from = 0;
    while (a != aEnd || b != bEnd) {
        const std::int64_t xa = a != aEnd ? (inA ? a->right : a->left) : kNone;
        const std::int64_t xb = b != bEnd ? (inB ? b->right : b->left) : kNone;
        const std::int64_t x = std::min(xa, xb);
        if (from < x && Apply(op, inA, inB)) {
            const auto left = static_cast<std::int32_t>(from), right = static_cast<std::int32_t>(x);
            if (!out.empty() && out.back().right == left)
                out.back().right = right;
            else
                out.push_back({left, right});
        }
        if (xa == x) {
            inA = !inA;
            if (!inA)
                ++a;
        }
        if (xb == x) {
            inB = !inB;
            if (!inB)
                ++b;
        }
        from = x;
    }
}

// a op b for canonical operands: the bands of both are walked together from the top, so the
// cost grows with the number of rectangles, not with bands times rectangles.
std::vector<Rect> CombineCanonical(const std::vector<Rect>& a, const std::vector<Rect>& b,
                                   RegionOp op) {
    std::vector<Rect> out;
    out.reserve(a.size() + b.size());
    std::vector<Span> spans;
    std::size_t ia = 0, ib = 0;
    auto bandEnd = [](const std::vector<Rect>& v, std::size_t i) {
        std::size_t j = i + 1;
        while (j < v.size() && v[j].top == v[i].top)
            ++j;
        return j;
    };
    std::size_t aEnd = ia < a.size() ? bandEnd(a, ia) : ia;
    std::size_t bEnd = ib < b.size() ? bandEnd(b, ib) : ib;
    std::int64_t y =
        std::min<std::int64_t>(a.empty() ? INT64_MAX : a[0].top, b.empty() ? INT64_MAX : b[0].top);
    std::size_t previousStart = 0, previousCount = 0;
    std::int32_t previousBottom = 0;
    while (ia < a.size() || ib < b.size()) {
        const bool inA = ia < a.size() && a[ia].top <= y;
        const bool inB = ib < b.size() && b[ib].top <= y;
        std::int64_t next = INT64_MAX;
        if (ia < a.size())
            next = std::min<std::int64_t>(next, inA ? a[ia].bottom : a[ia].top);
        if (ib < b.size())
            next = std::min<std::int64_t>(next, inB ? b[ib].bottom : b[ib].top);
        const auto top = static_cast<std::int32_t>(y), bottom = static_cast<std::int32_t>(next);
        if (inA || inB) {
            const Rect* ap = inA ? a.data() + ia : nullptr;
            const Rect* bp = inB ? b.data() + ib : nullptr;
            MergeBand(ap, inA ? a.data() + aEnd : nullptr, bp, inB ? b.data() + bEnd : nullptr, op,
                      spans);
        } else {
            spans.clear();
        }
        if (spans.empty()) {
            previousCount = 0;
        } else {
            bool same = previousCount == spans.size() && previousBottom == top;
            for (std::size_t k = 0; same && k < spans.size(); ++k)
                same = out[previousStart + k].left == spans[k].left &&
                       out[previousStart + k].right == spans[k].right;
            if (same) {
                for (std::size_t k = previousStart; k < out.size(); ++k)
                    out[k].bottom = bottom;
            } else {
                previousStart = out.size();
                previousCount = spans.size();
                for (const Span& s : spans)
                    out.push_back({s.left, top, s.right, bottom});
            }
            previousBottom = bottom;
        }
        y = next;
        if (inA && a[ia].bottom == y) {
            ia = aEnd;
            aEnd = ia < a.size() ? bandEnd(a, ia) : ia;
        }
        if (inB && b[ib].bottom == y) {
            ib = bEnd;
            bEnd = ib < b.size() ? bandEnd(b, ib) : ib;
        }
    }
    return out;
}

// a − b for overlapping rectangles, in canonical order: the band above b, the parts left and
// right of b beside it, the band below. Bands differ from their neighbours, so none merge.
std::vector<Rect> RectMinusRect(const Rect& a, const Rect& b) {
    std::vector<Rect> out;
    out.reserve(4);
    if (a.top < b.top)
        out.push_back({a.left, a.top, a.right, b.top});
    const std::int32_t top = std::max(a.top, b.top), bottom = std::min(a.bottom, b.bottom);
    if (a.left < b.left)
        out.push_back({a.left, top, b.left, bottom});
    if (b.right < a.right)
        out.push_back({b.right, top, a.right, bottom});
    if (b.bottom < a.bottom)
        out.push_back({a.left, b.bottom, a.right, a.bottom});
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
    // Clipping to a rectangle mostly meets a single rectangle, or one that changes nothing.
    if (m_rects.size() == 1) {
        const Rect r = m_rects[0].Intersect(rect);
        if (r.IsEmpty())
            m_rects.clear();
        else
            m_rects[0] = r;
        return;
    }
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
    if (m_rects.empty() || rect.IsEmpty())
        return;
    *this = Combine(*this, Region(rect), RegionOp::Diff);
}
void Region::Subtract(const Region& other) {
    *this = Combine(*this, other, RegionOp::Diff);
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op) {
    if (op == RegionOp::Copy)
        return a;
    Region region;
    // Cheap answers for the shapes clipping meets most: an empty side, or two rectangles.
    const bool canonical = IsCanonical(a.m_rects) && IsCanonical(b.m_rects);
    if (canonical && (a.IsEmpty() || b.IsEmpty())) {
        if (op == RegionOp::Or || op == RegionOp::Xor)
            region = a.IsEmpty() ? b : a;
        else if (op == RegionOp::Diff)
            region = a;
        return region;
    }
    if (op == RegionOp::And && a.m_rects.size() == 1 && b.m_rects.size() == 1) {
        const Rect r = a.m_rects[0].Intersect(b.m_rects[0]);
        if (!r.IsEmpty())
            region.m_rects.push_back(r);
        return region;
    }
    if (canonical && (op == RegionOp::And || op == RegionOp::Diff || op == RegionOp::Or)) {
        // Operands apart, or one a rectangle holding the other: the answer is one of them.
        const Rect boundsA = a.Bounds(), boundsB = b.Bounds();
        const bool apart = boundsA.Intersect(boundsB).IsEmpty();
        const bool aHoldsB = a.m_rects.size() == 1 && boundsA.Intersect(boundsB) == boundsB;
        const bool bHoldsA = b.m_rects.size() == 1 && boundsB.Intersect(boundsA) == boundsA;
        switch (op) {
        case RegionOp::And:
            if (apart)
                return region;
            if (aHoldsB)
                return b;
            if (bHoldsA)
                return a;
            break;
        case RegionOp::Diff:
            if (apart)
                return a;
            if (bHoldsA)
                return region;
            if (a.m_rects.size() == 1 && b.m_rects.size() == 1) {
                region.m_rects = RectMinusRect(boundsA, boundsB);
                return region;
            }
            break;
        default:
            if (aHoldsB)
                return a;
            if (bHoldsA)
                return b;
            break;
        }
    }
    if (canonical)
        region.m_rects = CombineCanonical(a.m_rects, b.m_rects, op);
    else
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
