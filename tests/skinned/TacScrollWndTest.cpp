#include "skinned/TacScrollWnd.h"

#include <gtest/gtest.h>

#include "SkinnedPaintSupport.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skinned/TsComboBox.h"
#include "skinned/TsMemo.h"
#include "toolkit/TMemo.h"

namespace {

using namespace toolkit;
using platform::Point;
using platform::Rect;
using skinned::TacScrollWnd;
using skinnedtest::Make;

class SkinnedScrollBars : public skinnedtest::SkinnedPaintTest {
protected:
    void SetUp() override {
        SkinnedPaintTest::SetUp();
        form = MakeForm({100, 100, 500, 400});
        memo = Make<skinned::TsMemo>(form, {10, 10, 210, 160});
        memo->SetScrollBars(ssBoth);
        for (int i = 0; i < 200; ++i)
            memo->Lines().Add("line " + std::to_string(i));
        memo->Lines().Put(3, std::string(80, 'x'));
        form->Show();
        Pump();
    }
    platform::HWND Window() { return memo->HandleIfAllocated(); }
    TacScrollWnd* Adapter() { return TacScrollWnd::Of(Window()); }
    // A point of a window (window coordinates) on the screen; the memo's by default.
    Point Screen(Point window) { return Screen(Window(), window); }
    Point Screen(platform::HWND h, Point window) {
        Rect wr;
        platform::GetWindowRect(h, wr);
        return {wr.left + window.x, wr.top + window.y};
    }
    platform::Color ScreenPixel(Point window) {
        const Point s = Screen(window);
        Point client = s;
        platform::ScreenToClient(Window(), client);
        return PixelAt(*memo, client);
    }
    Rect VBar() { return Adapter()->Layout().Vert; }
    TForm* form = nullptr;
    skinned::TsMemo* memo = nullptr;
};

TEST(TacScrollGeometry, FollowsTheWorkedValues) {
    struct Case {
        int length, button, min, max, page, pos;
        skinned::TacScrollGeometry expected;
    };
    const Case cases[] = {
        // track 66: thumb MulDiv(10, 66, 100) = 7, raised to the minimum 8
        {100, 17, 0, 99, 10, 0, {100, 17, 17, 8}},
        // offset MulDiv(45, 66 - 8, 100 - 10) = 29
        {100, 17, 0, 99, 10, 45, {100, 17, 46, 8}},
        // thumb MulDiv(50, 66, 100) = 33; the last position puts it at the track's end
        {100, 17, 0, 99, 50, 50, {100, 17, 50, 33}},
        // page 0: the thumb is as long as a button
        {100, 17, 0, 99, 0, 0, {100, 17, 17, 17}},
        // shorter than two buttons: two halves, no thumb
        {30, 17, 0, 99, 10, 0, {30, 15, 0, 0}},
        // a position beyond the range stays inside the track
        {100, 17, 0, 99, 10, 500, {100, 17, 75, 8}},
    };
    for (const Case& c : cases) {
        platform::SCROLLINFO si;
        si.nMin = c.min;
        si.nMax = c.max;
        si.nPage = static_cast<platform::UINT>(c.page);
        si.nPos = c.pos;
        const skinned::TacScrollGeometry g = skinned::ScrollGeometry(c.length, c.button, si, 8);
        EXPECT_EQ(g.Button, c.expected.Button) << c.length << "/" << c.page << "/" << c.pos;
        EXPECT_EQ(g.ThumbOffset, c.expected.ThumbOffset)
            << c.length << "/" << c.page << "/" << c.pos;
        EXPECT_EQ(g.ThumbLength, c.expected.ThumbLength)
            << c.length << "/" << c.page << "/" << c.pos;
    }
}

TEST_F(SkinnedScrollBars, TheMemoGetsAnAdapterThatHitTestsItsBars) {
    ASSERT_NE(memo->ScrollWnd(), nullptr);
    ASSERT_EQ(Adapter(), memo->ScrollWnd());
    const Rect v = VBar();
    const Rect h = Adapter()->Layout().Horz;
    ASSERT_FALSE(v.IsEmpty());
    ASSERT_FALSE(h.IsEmpty());
    EXPECT_EQ(v.Width(), platform::GetSystemMetrics(platform::SM_CXVSCROLL));
    auto hit = [&](Point window) {
        const Point s = Screen(window);
        return platform::SendMessage(Window(), platform::WM_NCHITTEST, 0,
                                     platform::PointToLParam(s));
    };
    EXPECT_EQ(hit({v.left + 2, v.top + 2}), platform::HTVSCROLL);
    EXPECT_EQ(hit({h.left + 30, h.top + 2}), platform::HTHSCROLL);
    EXPECT_EQ(hit({20, 20}), platform::HTCLIENT);

    const int mid = v.left + v.Width() / 2;
    EXPECT_EQ(Adapter()->PartAt(platform::SB_VERT, {mid, v.top + 1}), skinned::kPartFirstButton);
    EXPECT_EQ(Adapter()->PartAt(platform::SB_VERT, {mid, v.bottom - 1}),
              skinned::kPartSecondButton);
    const skinned::TacScrollGeometry g = Adapter()->Geometry(Adapter()->Bar(platform::SB_VERT), v);
    EXPECT_EQ(Adapter()->PartAt(platform::SB_VERT, {mid, v.top + g.ThumbOffset}),
              skinned::kPartThumb);
    EXPECT_EQ(Adapter()->PartAt(platform::SB_VERT, {mid, v.top + g.ThumbOffset + g.ThumbLength}),
              skinned::kPartTrackAfter);
    EXPECT_EQ(Adapter()->PartAt(platform::SB_VERT, {mid, v.bottom}), skinned::kPartNone);
}

// Holding the down arrow: one line at once, one more after 300 ms, then one every 55 ms while
// the pointer stays on the arrow; off the arrow the repeat pauses; the release ends it.
TEST_F(SkinnedScrollBars, HoldingTheDownArrowRepeatsAfter300AndThenEvery55Ms) {
    const Rect v = VBar();
    const Point arrow = Screen({v.left + v.Width() / 2, v.bottom - 3});
    const Point face{v.left + 3, v.bottom - 4}; // beside the glyph
    const platform::Color normal = ScreenPixel(face);
    host->MouseMove(arrow);
    host->MouseDown(arrow);
    Pump();
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_NE(ScreenPixel(face), normal); // the pressed face
    host->Advance(299);
    Pump();
    EXPECT_EQ(memo->TopLine(), 1);
    host->Advance(1);
    Pump();
    EXPECT_EQ(memo->TopLine(), 2);
    host->Advance(54);
    Pump();
    EXPECT_EQ(memo->TopLine(), 2);
    host->Advance(1);
    Pump();
    EXPECT_EQ(memo->TopLine(), 3);
    host->MouseMove(Screen({v.left + v.Width() / 2, v.top + v.Height() / 2 + 20}));
    Pump();
    host->Advance(110);
    Pump();
    EXPECT_EQ(memo->TopLine(), 3);
    host->MouseMove(arrow);
    Pump();
    host->Advance(55);
    Pump();
    EXPECT_EQ(memo->TopLine(), 4);
    host->MouseUp(arrow);
    Pump();
    host->Advance(500);
    Pump();
    EXPECT_EQ(memo->TopLine(), 4);
    EXPECT_NE(platform::GetCapture(), Window());
    host->MouseMove(Screen({20, 20}));
    Pump();
    EXPECT_EQ(ScreenPixel(face), normal);
}

// The arrows end where their faces do. The bar is 16 pixels wide and so are its square arrows:
// a press on the down arrow's first row scrolls one line and shows that row pressed, a press on
// the row above it pages and leaves the arrow's face alone; the same at the up arrow's last row.
TEST_F(SkinnedScrollBars, EachArrowAnswersOnEveryRowOfItsFaceAndNoFurther) {
    const Rect v = VBar();
    ASSERT_EQ(v.Width(), 16);
    const int x = v.left + 2; // beside the glyph
    const int downFirst = v.bottom - 16, upLast = v.top + 15;
    const platform::Color arrowFace = ScreenPixel({x, downFirst});
    const platform::Color trackEnd = ScreenPixel({x, downFirst - 1});
    ASSERT_NE(arrowFace, trackEnd);
    const int page = memo->VisibleLines() - 1;

    const Point press = Screen({x, downFirst});
    host->MouseMove(press);
    host->MouseDown(press);
    Pump();
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_NE(ScreenPixel({x, downFirst}), arrowFace);
    EXPECT_EQ(ScreenPixel({x, downFirst - 1}), trackEnd);
    host->MouseUp(press);
    host->Click(Screen({x, downFirst - 1}));
    Pump();
    EXPECT_EQ(memo->TopLine(), 1 + page);

    host->Click(Screen({x, upLast}));
    Pump();
    EXPECT_EQ(memo->TopLine(), page);
    host->Click(Screen({x, upLast + 1}));
    Pump();
    EXPECT_EQ(memo->TopLine(), 0);
}

// The horizontal bar's arrows point away from each other: the right one's glyph is the left
// one's mirrored, and not the same.
TEST_F(SkinnedScrollBars, TheHorizontalArrowsPointAwayFromEachOther) {
    const Rect h = Adapter()->Layout().Horz;
    ASSERT_EQ(h.Height(), 16);
    auto ink = [&](int x, int y) {
        const platform::Color c = ScreenPixel({x, y});
        return platform::GetRValue(c) + platform::GetGValue(c) + platform::GetBValue(c) < 300;
    };
    int glyph = 0, mirrored = 0, same = 0;
    for (int y = h.top; y < h.bottom; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool left = ink(h.left + x, y);
            glyph += left;
            mirrored += left && ink(h.right - 1 - x, y);
            same += left && ink(h.right - 16 + x, y);
        }
    EXPECT_GT(glyph, 5);
    EXPECT_EQ(mirrored, glyph);
    EXPECT_LT(same, glyph);
}

// The thumb follows the pointer and the text with it; the track pages.
TEST_F(SkinnedScrollBars, DraggingTheThumbAndPressingTheTrackScrollTheText) {
    const Rect v = VBar();
    const int x = v.left + v.Width() / 2;
    skinned::TacScrollGeometry g = Adapter()->Geometry(Adapter()->Bar(platform::SB_VERT), v);
    const int track = v.Height() - 2 * g.Button - g.ThumbLength;
    const Point grab = Screen({x, v.top + g.ThumbOffset + 2});
    host->MouseMove(grab);
    host->MouseDown(grab);
    Pump();
    host->MouseMove({grab.x, grab.y + track / 2});
    Pump();
    platform::SCROLLINFO si;
    si.fMask = platform::SIF_ALL;
    platform::GetScrollInfo(Window(), platform::SB_VERT, si);
    const int maxTop = si.nMax - static_cast<int>(si.nPage) + 1;
    EXPECT_NEAR(memo->TopLine(), maxTop / 2, 2);
    host->MouseMove({grab.x, grab.y + track + 40});
    host->MouseUp({grab.x, grab.y + track + 40});
    Pump();
    EXPECT_EQ(memo->TopLine(), maxTop);
    g = Adapter()->Geometry(Adapter()->Bar(platform::SB_VERT), v);
    EXPECT_EQ(g.ThumbOffset + g.ThumbLength, v.Height() - g.Button);

    const Point above = Screen({x, v.top + g.Button + 2});
    host->Click(above);
    Pump();
    EXPECT_EQ(memo->TopLine(), maxTop - (memo->VisibleLines() - 1));
}

// On screen the bars are the skin's, not the classic ones, and the screen shows what the
// adapter paints.
TEST_F(SkinnedScrollBars, PaintTheBarsFromTheSkin) {
    const Rect v = VBar();
    TBitmap painted;
    Adapter()->PaintBar(Adapter()->Bar(platform::SB_VERT), v, painted);
    ASSERT_EQ(painted.Width(), v.Width());
    const int x = v.Width() / 2;
    for (int y : {1, v.Height() / 2, v.Height() - 2})
        EXPECT_EQ(ScreenPixel({v.left + x, v.top + y}), skinnedtest::BitmapPixel(painted, x, y))
            << y;
    // The classic look fills the track with the scroll-bar colour; the skin does not.
    const skinned::TacScrollGeometry g = Adapter()->Geometry(Adapter()->Bar(platform::SB_VERT), v);
    const int trackY = g.ThumbOffset + g.ThumbLength + 5;
    EXPECT_NE(ScreenPixel({v.left + x, v.top + trackY}),
              platform::GetSysColor(platform::COLOR_SCROLLBAR));
}

// The size box is the window's face; the grip shows only where the window's corner is its
// parent's client corner, as dragging it would size the parent.
TEST_F(SkinnedScrollBars, TheSizeBoxShowsTheGripOnlyInTheParentsCorner) {
    auto differentPixels = [&](platform::HWND h, const Rect& box) {
        int count = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                Point client = Screen(h, {x, y});
                platform::ScreenToClient(h, client);
                count += PixelAt(*FindControl(h), client) != 0xFFFFFFu;
            }
        return count;
    };
    EXPECT_EQ(differentPixels(Window(), Adapter()->Layout().SizeBox), 0);

    TForm* other = MakeForm({520, 100, 800, 400});
    auto* filling = Make<skinned::TsMemo>(other, {0, 0, 10, 10});
    filling->SetAlign(alClient);
    filling->SetScrollBars(ssBoth);
    for (int i = 0; i < 100; ++i)
        filling->Lines().Add(std::string(100, 'y'));
    other->Show();
    Pump();
    ASSERT_NE(filling->ScrollWnd(), nullptr);
    const Rect box = filling->ScrollWnd()->Layout().SizeBox;
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_GT(differentPixels(filling->HandleIfAllocated(), box), 10);
}

TEST_F(SkinnedScrollBars, RemovingTheSkinGivesTheWindowItsClassicBarsBack) {
    const platform::WNDPROC skinnedProc = platform::GetWindowProc(Window());
    manager->SetActive(false);
    Pump();
    EXPECT_EQ(memo->ScrollWnd(), nullptr);
    EXPECT_EQ(Adapter(), nullptr);
    EXPECT_FALSE(platform::GetWindowProc(Window()) == skinnedProc);
    const platform::NonClientLayout nc = platform::GetNonClientLayout(Window());
    ASSERT_FALSE(nc.vscroll.IsEmpty());
    EXPECT_EQ(ScreenPixel({nc.vscroll.left + 3, nc.vscroll.top + nc.vscroll.Height() - 30}),
              platform::GetSysColor(platform::COLOR_SCROLLBAR));
    manager->SetActive(true);
    Pump();
    EXPECT_NE(memo->ScrollWnd(), nullptr);
}

// Skinned, a memo whose text fits shows no bars and gives their room to the text; the plain
// memo keeps them shown and disabled.
TEST_F(SkinnedScrollBars, AMemoWhoseTextFitsShowsNoBars) {
    auto* small = Make<skinned::TsMemo>(form, {220, 10, 380, 160});
    small->SetScrollBars(ssBoth);
    small->Lines().Add("short");
    Pump();
    const platform::HWND h = small->HandleIfAllocated();
    ASSERT_NE(small->ScrollWnd(), nullptr);
    Rect wr, cr;
    platform::GetWindowRect(h, wr);
    platform::GetClientRect(h, cr);
    const int edges = wr.Width() - cr.Width();
    EXPECT_EQ(wr.Height() - cr.Height(), edges);
    EXPECT_LT(edges, 8);
    EXPECT_TRUE(small->ScrollWnd()->Layout().Vert.IsEmpty());

    for (int i = 0; i < 30; ++i)
        small->Lines().Add("more");
    Pump();
    EXPECT_FALSE(small->ScrollWnd()->Layout().Vert.IsEmpty());
    EXPECT_TRUE(small->ScrollWnd()->Layout().Horz.IsEmpty());

    small->Lines().Clear();
    manager->SetActive(false);
    Pump();
    platform::GetClientRect(h, cr);
    EXPECT_EQ(wr.Width() - cr.Width(), edges + platform::GetSystemMetrics(platform::SM_CXVSCROLL));
}

// An edit adapter on a standard memo that knows nothing of the skin: it gives the memo the
// section's colours and the skinned bars, and on command 2 (or the window's end) lets go and
// gives back what it changed.
TEST_F(SkinnedScrollBars, AnAdapterOnAPlainMemoComesAndGoesCleanly) {
    auto* plain = Make<TMemo>(form, {220, 10, 380, 160});
    plain->SetScrollBars(ssVertical);
    for (int i = 0; i < 40; ++i)
        plain->Lines().Add("plain");
    plain->SetColor(clYellow);
    plain->Font().SetColor(clRed);
    Pump();
    const platform::HWND h = plain->HandleIfAllocated();
    const platform::WNDPROC plainProc = platform::GetWindowProc(h);
    auto adapter = std::make_unique<skinned::TacEditWnd>(h, nullptr, manager.get());
    EXPECT_EQ(TacScrollWnd::Of(h), adapter.get());
    EXPECT_EQ(plain->Color(), 0xFFFFFFu); // the EDIT section's colour
    EXPECT_EQ(platform::SendMessage(h, kLibraryCommandMessage,
                                    skin::MakeCommand(skin::kCmdAreYouSkinned), 0),
              1);
    Pump();
    const Rect v = adapter->Layout().Vert;
    host->Click(Screen(h, {v.left + 2, v.bottom - 2}));
    Pump();
    EXPECT_EQ(plain->TopLine(), 1);

    platform::SendMessage(h, kLibraryCommandMessage, skin::MakeCommand(skin::kCmdSkinRemoved),
                          skin::ManagerParam(manager.get()));
    EXPECT_FALSE(adapter->Attached());
    EXPECT_TRUE(platform::GetWindowProc(h) == plainProc);
    EXPECT_EQ(TacScrollWnd::Of(h), nullptr);
    EXPECT_EQ(plain->Color(), clYellow);
    EXPECT_EQ(plain->Font().Color(), clRed);

    // The window going first leaves a detached adapter that is freed without harm.
    adapter = std::make_unique<skinned::TacEditWnd>(h, nullptr, manager.get());
    delete plain;
    Pump();
    EXPECT_FALSE(adapter->Attached());
    adapter.reset();
}

// A combo box's long drop-down list scrolls with skinned bars, by arrow, thumb and track, and
// stays down through every release on its bar; a click on an item still chooses it.
TEST_F(SkinnedScrollBars, ALongComboListScrollsByItsBarAndStaysDown) {
    auto* combo = Make<skinned::TsComboBox>(form, {220, 10, 340, 31});
    for (int i = 0; i < 40; ++i)
        combo->Items().Add("item " + std::to_string(i));
    Pump();
    combo->SetDroppedDown(true);
    Pump();
    ASSERT_NE(combo->ListBox(), nullptr);
    TCustomListBox& listBox = *combo->ListBox();
    const platform::HWND list = listBox.HandleIfAllocated();
    TacScrollWnd* adapter = TacScrollWnd::Of(list);
    ASSERT_NE(adapter, nullptr);
    const Rect v = adapter->Layout().Vert;
    ASSERT_FALSE(v.IsEmpty());
    const int x = v.left + v.Width() / 2;

    host->Click(Screen(list, {x, v.bottom - 2}));
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(listBox.TopIndex(), 1);

    const skinned::TacScrollGeometry g = adapter->Geometry(adapter->Bar(platform::SB_VERT), v);
    const Point grab = Screen(list, {x, v.top + g.ThumbOffset + 2});
    const Point end{grab.x, grab.y + v.Height()};
    host->MouseMove(grab);
    host->MouseDown(grab);
    host->MouseMove(end);
    host->MouseUp(end);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    const int bottom = listBox.TopIndex();
    EXPECT_GT(bottom, 20);

    host->Click(Screen(list, {x, v.top + g.Button + 2}));
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_LT(listBox.TopIndex(), bottom);

    const int top = listBox.TopIndex();
    const Point item = listBox.ClientToScreen({5, 5});
    host->MouseMove(item);
    host->Click(item);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), top);
}

// Another window takes the mouse in the middle of a press; the window answers the end of the
// scroll by freeing itself, adapter and all. Nothing of them is touched afterwards (ASan).
TEST_F(SkinnedScrollBars, AWindowFreedAsItsPressEndsIsLeftAlone) {
    const TWndMethod inner = memo->WindowProc();
    memo->SetWindowProc([this, inner](TMessage& m) {
        if (m.Msg == platform::WM_VSCROLL && platform::LOWORD(m.WParam) == platform::SB_ENDSCROLL) {
            delete memo;
            memo = nullptr;
            return;
        }
        inner(m);
    });
    const Rect v = VBar();
    host->MouseDown(Screen({v.left + v.Width() / 2, v.bottom - 3}));
    Pump();
    ASSERT_EQ(platform::GetCapture(), Window());
    platform::SetCapture(form->Handle());
    Pump();
    EXPECT_EQ(memo, nullptr);
    platform::ReleaseCapture();
}

// Whatever numbers a skin gives its scroll pieces, painting and pressing go on without a fault.
TEST_F(SkinnedScrollBars, HostileSkinPiecesPaintWithoutAFault) {
    const skin::TsCachedIndexes& cache = manager->CachedIndexes();
    std::vector<std::int32_t> pieces;
    for (const auto* group : {&cache.ScrollBars})
        for (const skin::TsPieceIndexes& p : *group)
            pieces.insert(pieces.end(), {p.Border, p.Glyph});
    for (const skin::TsPieceIndexes& p : cache.ScrollButtons)
        pieces.insert(pieces.end(), {p.Border, p.Glyph});
    for (const skin::TsPieceIndexes& p : cache.ScrollSliders)
        pieces.insert(pieces.end(), {p.Border, p.Glyph});
    struct Hostile {
        Rect r;
        std::int16_t count, maskType, wl;
    };
    const Hostile values[] = {{{0, 0, 0, 0}, 0, 0, 0},
                              {{50, 50, 10, 10}, -3, -1, -5},
                              {{0, 0, 400, 400}, 1, -2, 30000},
                              {{INT32_MIN, 0, INT32_MAX, 5}, 32767, 32767, 0}};
    const Rect v = VBar();
    for (const Hostile& h : values) {
        for (std::int32_t i : pieces) {
            if (i < 0)
                continue;
            skin::TsMaskData& m = manager->ma()[static_cast<std::size_t>(i)];
            m.R = h.r;
            m.ImageCount = h.count;
            m.MaskType = h.maskType;
            m.WL = m.WR = m.WT = m.WB = h.wl;
        }
        Adapter()->SkinChanged(); // as a new skin would
        platform::RedrawWindow(Window(), nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_FRAME);
        Pump();
        const Point arrow = Screen({v.left + 2, v.bottom - 2});
        host->Click(arrow);
        Pump();
    }
    EXPECT_GT(memo->TopLine(), 0);
}

} // namespace
