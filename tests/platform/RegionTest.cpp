#include "platform/gfx/Region.h"

#include <gtest/gtest.h>

#include <vector>

using platform::Point;
using platform::Rect;
using platform::Region;
using platform::RegionKind;
using platform::RegionOp;

namespace {

int Area(const Region& r) {
    int area = 0;
    for (const Rect& rect : r.Rects())
        area += rect.Width() * rect.Height();
    return area;
}

} // namespace

TEST(Region, OverlappingRectsBecomeDisjointBands) {
    const Region r = Region::FromRects({Rect{0, 0, 10, 10}, Rect{5, 5, 15, 15}});
    EXPECT_EQ(Area(r), 100 + 100 - 25);
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 15, 15}));
    EXPECT_EQ(r.Kind(), RegionKind::Complex);
    for (std::size_t i = 0; i < r.Rects().size(); ++i)
        for (std::size_t j = i + 1; j < r.Rects().size(); ++j)
            EXPECT_TRUE(r.Rects()[i].Intersect(r.Rects()[j]).IsEmpty());
}

TEST(Region, EqualCoverageComparesEqualWhateverTheConstruction) {
    const Region a = Region::FromRects({Rect{0, 0, 10, 5}, Rect{0, 5, 10, 10}});
    const Region b(Rect{0, 0, 10, 10});
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.Kind(), RegionKind::Simple);
    Region c = Region::FromRects({Rect{0, 0, 5, 10}});
    c.Unite(Rect{5, 0, 10, 10});
    EXPECT_EQ(c, b);
}

TEST(Region, CombineOperations) {
    const Region a(Rect{0, 0, 10, 10});
    const Region b(Rect{5, 0, 15, 10});
    EXPECT_EQ(Region::Combine(a, b, RegionOp::And), Region(Rect{5, 0, 10, 10}));
    EXPECT_EQ(Region::Combine(a, b, RegionOp::Or), Region(Rect{0, 0, 15, 10}));
    EXPECT_EQ(Region::Combine(a, b, RegionOp::Diff), Region(Rect{0, 0, 5, 10}));
    EXPECT_EQ(Region::Combine(a, b, RegionOp::Xor),
              Region::FromRects({Rect{0, 0, 5, 10}, Rect{10, 0, 15, 10}}));
    EXPECT_EQ(Region::Combine(a, b, RegionOp::Copy), a);
    EXPECT_TRUE(Region::Combine(a, Region(Rect{20, 20, 30, 30}), RegionOp::And).IsEmpty());
}

TEST(Region, HoleLeavesFrameAround) {
    Region r(Rect{0, 0, 10, 10});
    r.Subtract(Rect{3, 3, 7, 7});
    EXPECT_EQ(Area(r), 100 - 16);
    EXPECT_FALSE(r.Contains(Point{5, 5}));
    EXPECT_TRUE(r.Contains(Point{2, 5}));
    EXPECT_TRUE(r.Contains(Point{7, 5}));
    EXPECT_FALSE(r.Contains(Point{10, 5})); // right edge is exclusive
    EXPECT_TRUE(r.Intersects(Rect{6, 6, 8, 8}));
    EXPECT_FALSE(r.Intersects(Rect{4, 4, 6, 6}));
}

TEST(Region, OffsetMovesEveryRect) {
    Region r = Region::FromRects({Rect{0, 0, 2, 2}, Rect{4, 4, 6, 6}});
    r.Offset(10, -1);
    EXPECT_EQ(r, Region::FromRects({Rect{10, -1, 12, 1}, Rect{14, 3, 16, 5}}));
}

TEST(Region, EmptyRectsAreIgnored) {
    EXPECT_TRUE(Region(Rect{5, 5, 5, 10}).IsEmpty());
    EXPECT_EQ(Region().Kind(), RegionKind::Null);
    EXPECT_EQ(Region().Bounds(), Rect{});
}

TEST(Region, CombineMatchesPixelSetsOnRandomRects) {
    std::uint32_t seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    auto randomRegion = [&] {
        std::vector<Rect> rects;
        for (int i = next(5); i >= 0; --i) {
            const int x = next(16), y = next(16);
            rects.push_back({x, y, x + 1 + next(8), y + 1 + next(8)});
        }
        return std::pair{Region::FromRects(rects), rects};
    };
    auto inRects = [](const std::vector<Rect>& rects, Point p) {
        for (const Rect& r : rects)
            if (r.Contains(p))
                return true;
        return false;
    };
    for (int round = 0; round < 200; ++round) {
        const auto [a, rectsA] = randomRegion();
        const auto [b, rectsB] = randomRegion();
        const Region both = Region::Combine(a, b, RegionOp::And);
        const Region either = Region::Combine(a, b, RegionOp::Or);
        const Region diff = Region::Combine(a, b, RegionOp::Diff);
        const Region x = Region::Combine(a, b, RegionOp::Xor);
        for (int py = -1; py < 26; ++py) {
            for (int px = -1; px < 26; ++px) {
                const Point p{px, py};
                const bool inA = inRects(rectsA, p);
                const bool inB = inRects(rectsB, p);
                ASSERT_EQ(a.Contains(p), inA);
                ASSERT_EQ(both.Contains(p), inA && inB);
                ASSERT_EQ(either.Contains(p), inA || inB);
                ASSERT_EQ(diff.Contains(p), inA && !inB);
                ASSERT_EQ(x.Contains(p), inA != inB);
            }
        }
        // Canonical form: the same pixels give the same rectangles.
        EXPECT_EQ(Region::Combine(either, both, RegionOp::Diff), x);
    }
}

// Every operation against a pixel-by-pixel answer, on random regions of many bands and holes,
// and the result in the one canonical form (the same list FromRects makes of it).
TEST(Region, CombineAgreesWithPixelsOnRandomShapes) {
    unsigned seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    auto randomRegion = [&] {
        std::vector<Rect> rects;
        const int count = next(6);
        for (int i = 0; i < count; ++i) {
            const int x = next(20) - 2, y = next(20) - 2;
            rects.push_back(Rect::FromSize(x, y, 1 + next(10), 1 + next(10)));
        }
        Region r = Region::FromRects(rects);
        if (next(3) == 0)
            r.Subtract(Rect::FromSize(next(20), next(20), 1 + next(5), 1 + next(5)));
        return r;
    };
    const RegionOp ops[] = {RegionOp::And, RegionOp::Or, RegionOp::Xor, RegionOp::Diff};
    for (int round = 0; round < 300; ++round) {
        const Region a = randomRegion(), b = randomRegion();
        for (RegionOp op : ops) {
            const Region c = Region::Combine(a, b, op);
            for (int y = -3; y < 32; ++y)
                for (int x = -3; x < 32; ++x) {
                    const bool inA = a.Contains({x, y}), inB = b.Contains({x, y});
                    const bool want = op == RegionOp::And   ? inA && inB
                                      : op == RegionOp::Or  ? inA || inB
                                      : op == RegionOp::Xor ? inA != inB
                                                            : inA && !inB;
                    ASSERT_EQ(c.Contains({x, y}), want)
                        << "round " << round << " op " << static_cast<int>(op) << " at " << x << ","
                        << y << "\na " << a << "\nb " << b << "\nc " << c;
                }
            ASSERT_EQ(Region::FromRects(c.Rects()), c) << c;
        }
        // The in-place rectangle operations give what Combine gives.
        const Rect r =
            next(2) ? b.Bounds() : Rect::FromSize(next(20), next(20), next(12), next(12));
        Region clipped = a, cut = a;
        clipped.IntersectWith(r);
        cut.Subtract(r);
        ASSERT_EQ(clipped, Region::Combine(a, Region(r), RegionOp::And)) << a << " and " << r;
        ASSERT_EQ(cut, Region::Combine(a, Region(r), RegionOp::Diff)) << a << " minus " << r;
    }
}
