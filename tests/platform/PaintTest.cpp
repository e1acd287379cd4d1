#include "WinTestSupport.h"

#include "platform/win/ClassicLook.h"
#include "platform/win/SystemMetrics.h"

namespace platform::testing {
namespace {

class Painting : public WinTest {
protected:
    // Windows of the Recorder class paint their whole client area in their colour.
    void PaintIn(HWND h, Color c) {
        colours[h] = c;
        handlers[WM_PAINT] = [this](HWND w, WPARAM, LPARAM, LRESULT& r) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(w, ps);
            paints.push_back({w, ps.rcPaint});
            if (auto it = colours.find(w); it != colours.end()) {
                Rect client;
                GetClientRect(w, client);
                FillRect(*dc, client, it->second);
            }
            EndPaint(w, ps);
            r = 0;
            return true;
        };
    }
    std::map<HWND, Color> colours;
    std::vector<std::pair<HWND, Rect>> paints;
};

TEST_F(Painting, BeginPaintHandsTheUpdateRegionAndValidatesIt) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    PaintIn(h, RGB(255, 0, 0));
    Pump();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].second, (Rect{0, 0, 100, 100}));
    EXPECT_EQ(SurfacePixel(h, 50, 50), RGB(255, 0, 0));

    colours[h] = RGB(0, 0, 255);
    const Rect a{10, 10, 20, 20}, b{30, 5, 40, 15};
    InvalidateRect(h, &a, false);
    InvalidateRect(h, &b, false);
    Rect update;
    EXPECT_TRUE(GetUpdateRect(h, &update, false));
    EXPECT_EQ(update, (Rect{10, 5, 40, 20}));
    Pump();
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[1].second, (Rect{10, 5, 40, 20}));
    // Only the invalid parts were painted over: the clip is the region, not its bounds.
    EXPECT_EQ(SurfacePixel(h, 15, 15), RGB(0, 0, 255));
    EXPECT_EQ(SurfacePixel(h, 35, 10), RGB(0, 0, 255));
    EXPECT_EQ(SurfacePixel(h, 15, 7), RGB(255, 0, 0));
    EXPECT_EQ(SurfacePixel(h, 60, 60), RGB(255, 0, 0));
    EXPECT_FALSE(GetUpdateRect(h, nullptr, false));
    EXPECT_GT(host->Host(h)->presents, 0) << "the host was shown the new pixels";
}

TEST_F(Painting, ValidatedPartsAreNotPainted) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    PaintIn(h, RGB(255, 0, 0));
    Pump();
    InvalidateRect(h, nullptr, false);
    const Rect top{0, 0, 100, 50};
    ValidateRect(h, &top);
    Pump();
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[1].second, (Rect{0, 50, 100, 100}));
    ValidateRect(h, nullptr);
    MSG m;
    EXPECT_FALSE(PeekMessage(m, HWND{}, 0, 0, PM_NOREMOVE));

    // Sized down to nothing under a pending update, then validated whole, as a control waiting
    // for its parent's background does instead of painting: nothing may be left pending, or
    // the paint is asked for again for ever.
    InvalidateRect(h, nullptr, false);
    SetWindowPos(h, HWND{}, 0, 0, 0, 100, SWP_NOZORDER | SWP_NOREDRAW);
    ValidateRect(h, nullptr);
    EXPECT_FALSE(PeekMessage(m, HWND{}, 0, 0, PM_NOREMOVE));
}

TEST_F(Painting, ChildrenDrawIntoTheTopLevelSurfaceClippedToTheirParents) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 100});
    const HWND panel = Child(top, {10, 10, 60, 60}, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    // Sticks out of its parent: the part outside must stay unpainted.
    const HWND button = Child(panel, {40, 40, 80, 80});
    PaintIn(top, RGB(255, 255, 255));
    PaintIn(panel, RGB(0, 255, 0));
    PaintIn(button, RGB(0, 0, 255));
    Pump();
    // Parents before children.
    ASSERT_EQ(paints.size(), 3u);
    EXPECT_EQ(paints[0].first, top);
    EXPECT_EQ(paints[1].first, panel);
    EXPECT_EQ(paints[2].first, button);
    EXPECT_EQ(SurfacePixel(top, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(SurfacePixel(top, 20, 20), RGB(0, 255, 0));
    EXPECT_EQ(SurfacePixel(top, 55, 55), RGB(0, 0, 255));
    EXPECT_EQ(SurfacePixel(top, 65, 65), RGB(255, 255, 255)) << "outside the panel";

    // Repainting the top-level alone leaves its clipped children as they are.
    colours[top] = RGB(9, 9, 9);
    InvalidateRect(top, nullptr, false);
    Pump();
    EXPECT_EQ(paints.size(), 4u);
    EXPECT_EQ(SurfacePixel(top, 5, 5), RGB(9, 9, 9));
    EXPECT_EQ(SurfacePixel(top, 20, 20), RGB(0, 255, 0));
}

TEST_F(Painting, WithoutClipChildrenInvalidationReachesTheChildren) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    const HWND child = Child(top, {10, 10, 30, 30});
    PaintIn(top, RGB(255, 0, 0));
    PaintIn(child, RGB(0, 255, 0));
    Pump();
    paints.clear();
    const Rect part{0, 0, 15, 15};
    InvalidateRect(top, &part, false);
    Pump();
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[1].first, child);
    EXPECT_EQ(paints[1].second, (Rect{0, 0, 5, 5})) << "in the child's client coordinates";
    EXPECT_EQ(SurfacePixel(top, 12, 12), RGB(0, 255, 0)) << "the child painted last";
}

TEST_F(Painting, SiblingsClipWhenTheyAskForIt) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 100});
    const HWND lower = Child(top, {0, 0, 50, 50}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    const HWND upper = Child(top, {25, 25, 75, 75}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    PaintIn(lower, RGB(255, 0, 0));
    PaintIn(upper, RGB(0, 0, 255));
    Pump();
    InvalidateRect(lower, nullptr, false);
    Pump();
    EXPECT_EQ(SurfacePixel(top, 30, 30), RGB(0, 0, 255)) << "the upper sibling stays on top";
    EXPECT_EQ(SurfacePixel(top, 10, 10), RGB(255, 0, 0));
}

TEST_F(Painting, EraseUsesTheClassBackgroundAndReportsIt) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    bool erasedBefore = false;
    handlers[WM_PAINT] = [&](HWND w, WPARAM, LPARAM, LRESULT& r) {
        PAINTSTRUCT ps;
        BeginPaint(w, ps);
        erasedBefore = !ps.fErase;
        EndPaint(w, ps);
        r = 0;
        return true;
    };
    Pump();
    EXPECT_TRUE(erasedBefore);
    EXPECT_EQ(SurfacePixel(h, 20, 20), RGB(255, 255, 255));
    EXPECT_EQ(Of(WM_ERASEBKGND).size(), 1u);
    InvalidateRect(h, nullptr, false);
    Pump();
    EXPECT_EQ(Of(WM_ERASEBKGND).size(), 1u) << "no erase when not asked";
}

TEST_F(Painting, SetRedrawFalseSuspendsPainting) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    Pump();
    SendMessage(h, WM_SETREDRAW, 0, 0);
    InvalidateRect(h, nullptr, true);
    log.clear();
    Pump();
    EXPECT_TRUE(Of(WM_PAINT).empty());
    SendMessage(h, WM_SETREDRAW, 1, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Of(WM_PAINT).size(), 1u) << "RDW_UPDATENOW paints before returning";
    EXPECT_EQ(Of(WM_NCPAINT).size(), 1u);
}

TEST_F(Painting, HiddenWindowsWaitForPaint) {
    const HWND h = TopLevel(WS_POPUP, {0, 0, 40, 40});
    InvalidateRect(h, nullptr, true);
    Pump();
    EXPECT_TRUE(Of(WM_PAINT).empty());
    ShowWindow(h, SW_SHOWNA);
    Pump();
    EXPECT_EQ(Of(WM_PAINT).size(), 1u);
}

TEST_F(Painting, TheDefaultFrameIsDrawnOutsideTheClient) {
    const HWND h = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 100});
    PaintIn(h, RGB(1, 2, 3));
    Pump();
    EXPECT_EQ(SurfacePixel(h, 100, 10), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(SurfacePixel(h, 0, 50), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(SurfacePixel(h, 50, 50), RGB(1, 2, 3));
    const HWND other = TopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {300, 0, 400, 100});
    (void)other;
    Pump();
    EXPECT_EQ(SurfacePixel(h, 100, 10), GetSysColor(COLOR_INACTIVECAPTION))
        << "deactivation repaints the caption";
}

TEST_F(Painting, ARunOfPaintMessagesReachesTheHostOnce) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 100});
    PaintIn(top, RGB(255, 255, 255));
    std::vector<HWND> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(Child(top, Rect::FromSize(10 + i * 40, 20, 30, 30)));
        colours[children.back()] = RGB(0, 0, 40 * i);
    }
    Pump();
    const int before = host->Host(top)->presents;
    InvalidateRect(children[1], nullptr, true);
    InvalidateRect(children[3], nullptr, true);
    Pump();
    EXPECT_EQ(paints.size(), 7u);
    EXPECT_EQ(host->Host(top)->presents, before + 1);
    EXPECT_EQ(host->Host(top)->lastDirty, (Rect{50, 20, 160, 50})) << "both children's pixels";
    EXPECT_EQ(SurfacePixel(top, 135, 25), RGB(0, 0, 120));

    // A message between paints ends the run: what was drawn so far is shown before it.
    int presentsSeen = -1;
    handlers[WM_USER] = [&](HWND, WPARAM, LPARAM, LRESULT&) {
        presentsSeen = host->Host(top)->presents;
        return true;
    };
    InvalidateRect(children[0], nullptr, true);
    MSG m;
    ASSERT_TRUE(PeekMessage(m, HWND{}, 0, 0, PM_REMOVE));
    DispatchMessage(m);
    PostMessage(top, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(presentsSeen, before + 2);
}

TEST_F(Painting, DrawingCodeCannotWidenAWindowsVisibleArea) {
    const HWND top = TopLevel(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 100, 100});
    const HWND child = Child(top, {10, 10, 30, 30});
    PaintIn(top, RGB(255, 255, 255));
    Pump();
    HDC dc = GetDC(child);
    SelectClipRgn(*dc, nullptr);
    FillRect(*dc, {-50, -50, 200, 200}, RGB(0, 0, 0));
    ReleaseDC(child, dc);
    EXPECT_EQ(SurfacePixel(top, 15, 15), RGB(0, 0, 0));
    EXPECT_EQ(SurfacePixel(top, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(SurfacePixel(top, 35, 35), RGB(255, 255, 255));
    EXPECT_EQ(host->Host(top)->lastDirty, (Rect{10, 10, 30, 30})) << "the host shows that part";
}

TEST_F(Painting, ScrollingMovesPixelsAndInvalidatesWhatIsUncovered) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    handlers[WM_PAINT] = [](HWND w, WPARAM, LPARAM, LRESULT& r) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, ps);
        for (int y = 0; y < 40; ++y) // a different grey on every row
            FillRect(*dc, {0, y, 40, y + 1}, RGB(y * 5, y * 5, y * 5));
        EndPaint(w, ps);
        r = 0;
        return true;
    };
    Pump();
    const Rect pending{0, 20, 5, 25};
    ValidateRect(h, nullptr);
    InvalidateRect(h, &pending, false);
    Region uncovered;
    Rect bounds;
    EXPECT_EQ(ScrollWindowEx(h, 0, -10, nullptr, nullptr, &uncovered, &bounds, SW_INVALIDATE),
              static_cast<int>(RegionKind::Simple));
    EXPECT_EQ(bounds, (Rect{0, 30, 40, 40}));
    EXPECT_EQ(SurfacePixel(h, 7, 3), RGB(65, 65, 65)) << "row 3 shows what row 13 showed";
    EXPECT_EQ(SurfacePixel(h, 7, 29), RGB(195, 195, 195));
    Region update;
    GetUpdateRgn(h, update, false);
    EXPECT_EQ(update, Region::FromRects({Rect{0, 10, 5, 15}, Rect{0, 30, 40, 40}}))
        << "the pending part moved along and the uncovered rows were added";

    const Rect band{10, 0, 30, 40};
    ScrollWindowEx(h, 5, 0, &band, &band, nullptr, &bounds, 0);
    EXPECT_EQ(bounds, (Rect{10, 0, 15, 40})) << "only inside the band";
    EXPECT_EQ(SurfacePixel(h, 31, 3), RGB(65, 65, 65)) << "outside the clip nothing moved";
}

TEST_F(Painting, EdgesAndFocusFrames) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    Pump();
    HDC dc = GetDC(h);
    Rect r{5, 5, 25, 25};
    DrawEdge(*dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(r, (Rect{7, 7, 23, 23}));
    EXPECT_EQ(GetPixel(*dc, 5, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(*dc, 6, 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetPixel(*dc, 24, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(*dc, 10, 10), GetSysColor(COLOR_BTNFACE));
    const Rect focus{30, 30, 38, 38};
    DrawFocusRect(*dc, focus);
    EXPECT_EQ(GetPixel(*dc, 30, 30), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(*dc, 31, 30), RGB(255, 255, 255));
    DrawFocusRect(*dc, focus);
    EXPECT_EQ(GetPixel(*dc, 30, 30), RGB(255, 255, 255)) << "drawn twice, it is gone";
    ReleaseDC(h, dc);
    EXPECT_EQ(GetNonClientMetrics().lfCaptionFont.lfWeight, FW_BOLD);
}

TEST_F(Painting, WindowRegionShapesHitTestingAndPainting) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    PaintIn(h, RGB(0, 0, 0));
    Pump();
    Region shape(Rect{0, 0, 40, 40});
    shape.Subtract(Rect{0, 0, 5, 5});
    SetWindowRgn(h, shape, true);
    colours[h] = RGB(200, 0, 0);
    Pump();
    EXPECT_EQ(SurfacePixel(h, 2, 2), RGB(0, 0, 0)) << "the cut corner is not painted";
    EXPECT_EQ(SurfacePixel(h, 20, 20), RGB(200, 0, 0));
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam({2, 2})), HTNOWHERE);
}

TEST_F(Painting, WindowRegionOfATopLevelWindowShapesItsHostWindow) {
    const HWND h = TopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});
    const HWND child = Child(h, {5, 5, 20, 20});
    ASSERT_FALSE(host->Host(h)->shape) << "a window starts rectangular";
    Region shape(Rect{0, 0, 40, 40});
    shape.Subtract(Rect{0, 0, 5, 5});
    SetWindowRgn(h, shape, false);
    ASSERT_TRUE(host->Host(h)->shape);
    EXPECT_EQ(*host->Host(h)->shape, shape);
    SetWindowRgn(child, Region(Rect{0, 0, 3, 3}), false);
    EXPECT_EQ(*host->Host(h)->shape, shape) << "a child's region is no host's shape";
    SetWindowRgn(h, std::nullopt, false);
    EXPECT_FALSE(host->Host(h)->shape) << "cleared, the host window is whole again";

    // A child made top-level takes its region along to the host window it now gets.
    SetParent(child, HWND{});
    ASSERT_NE(host->Host(child), nullptr);
    ASSERT_TRUE(host->Host(child)->shape);
    EXPECT_EQ(*host->Host(child)->shape, Region(Rect{0, 0, 3, 3}));
}

} // namespace
} // namespace platform::testing
