#pragma once
// Skinned scroll bars. TacScrollWnd takes over a window's standard scroll bars (WS_HSCROLL,
// WS_VSCROLL): it reserves their space in the non-client area, paints them from the skin's
// SCROLL* sections, hit-tests them and scrolls the window with its ordinary WM_HSCROLL /
// WM_VSCROLL messages. The window keeps its scroll information with the platform
// (SetScrollInfo); the adapter only reads it. TacBaseWnd, TacEditWnd and TacComboListWnd are
// the adapters of scrolled windows, edits and memos, and a combo box's drop-down list.
//
// The adapter records itself in the window property "ACSBSC" (TacScrollWnd::Of finds it).
//
// Geometry (window coordinates): the horizontal bar lies along the bottom of the client area's
// outside, as wide as the client area; the vertical bar along its right side (left for a window
// whose bar stands on the left), as high as the client area; with both bars shown, the square
// where they meet is the size box. Along a bar of length L with button length B the track is
// L − 2B; the thumb is B long when the page is 0, else MulDiv(page, track, range + 1) and never
// shorter than the bar's minimum thumb length; its offset from the end of the first button is
// MulDiv(pos − min, track − thumb, range + 1 − max(page, 1)), kept within the track. A bar
// shorter than 2B gets two half-length buttons and no thumb; so does one whose thumb does not
// fit, or one that cannot scroll.
//
// Mouse: a press on a button or a track part sends its scroll code at once, again after 300 ms
// and then every 55 ms while the pointer stays on the pressed part; a press on the thumb drags
// it (SB_THUMBTRACK on every move, SB_THUMBPOSITION at release); every press ends with
// SB_ENDSCROLL. Around each scroll message the window gets the library commands 51 (before) and
// 52 (after, with the code in the low word and the message in LParam). Only one bar in the
// process can be pressed at a time.
//
// Skin values never crash the painting: pieces of any size or count (zero, negative, huge)
// draw what fits in the bar or nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/Geometry.h"
#include "platform/win/ScrollBar.h"
#include "skinned/TacMainWnd.h"

namespace platform {
class DeviceContext;
}
namespace toolkit {
class TBitmap;
}

namespace skinned {

inline constexpr const char* kScrollWndProp = "ACSBSC";
inline constexpr std::uint16_t kCmdBeforeScroll = 51;
inline constexpr std::uint16_t kCmdAfterScroll = 52;
inline constexpr platform::UINT kScrollFirstRepeatMs = 300;
inline constexpr platform::UINT kScrollRepeatMs = 55;
inline constexpr platform::UINT_PTR kScrollTimerId = 0x5342;

// Parts of a bar under a point.
enum TacScrollPart : std::int32_t {
    kPartNone = -1,
    kPartFirstButton = 0, // left or up
    kPartSecondButton = 1,
    kPartTrackBefore = 2, // between the first button and the thumb
    kPartTrackAfter = 3,
    kPartThumb = 5,
};

class TacScrollWnd;

struct TacScrollBar {
    std::int32_t Orientation = platform::SB_HORZ; // SB_HORZ or SB_VERT
    bool Shown = false;
    platform::SCROLLINFO Info;
    std::int32_t ButtonLength = -1;  // -1: automatic
    std::int32_t BarThickness = -1;  // -1: automatic
    std::int32_t MinThumbLength = 8; // the adapter sets the system's thumb size
    platform::UINT DisabledArrows = platform::ESB_ENABLE_BOTH;
    TacScrollWnd* Owner = nullptr;
};

// Where a bar's parts lie along it, from the bar's start.
struct TacScrollGeometry {
    std::int32_t Length = 0;
    std::int32_t Button = 0;
    std::int32_t ThumbOffset = 0; // first button included
    std::int32_t ThumbLength = 0; // 0: no thumb
    friend bool operator==(const TacScrollGeometry&, const TacScrollGeometry&) = default;
};
TacScrollGeometry ScrollGeometry(std::int32_t barLength, std::int32_t buttonLength,
                                 const platform::SCROLLINFO& info, std::int32_t minThumb);
TacScrollPart ScrollPartAt(const TacScrollGeometry& g, std::int32_t along);

struct TacScrollLayout {
    platform::Rect Horz, Vert, SizeBox; // window coordinates; empty when absent
};

class TacScrollWnd : public TacMainWnd {
public:
    TacScrollWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
                 const std::string& section);
    ~TacScrollWnd() override;

    // The adapter a window carries, or none.
    static TacScrollWnd* Of(platform::HWND window);

    TacScrollBar& Bar(std::int32_t orientation) {
        return orientation == platform::SB_VERT ? m_vbar : m_hbar;
    }
    bool VerticalOnLeft() const { return m_leftVertical; }
    void SetVerticalOnLeft(bool left);

    // Re-reads both bars' scroll information and shown state, and repaints them.
    void UpdateBars();
    // Only re-reads them: for a caller that has the frame repainted anyway (a memo adding lines
    // one by one would otherwise paint the bars once a line).
    void ReadBars();

    std::int32_t Thickness(const TacScrollBar& bar) const;
    std::int32_t ButtonLength(const TacScrollBar& bar) const;
    TacScrollLayout Layout() const;
    TacScrollGeometry Geometry(const TacScrollBar& bar, const platform::Rect& barRect) const;
    // The part of a bar under a point in window coordinates.
    TacScrollPart PartAt(std::int32_t orientation, platform::Point window) const;

    // Paints both bars and the size box through dc (window coordinates).
    void PaintBars(platform::DeviceContext& dc);
    // One bar as it would show, into a bitmap of the bar's size (for painting and tests).
    void PaintBar(const TacScrollBar& bar, const platform::Rect& barRect, toolkit::TBitmap& bmp);
    // The skin has changed (or is about to): the bars are painted afresh.
    void SkinChanged();

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;
    void Detaching() override;
    // The window is being destroyed: nothing of it (or its control) is to be changed any more.
    bool WindowGoing() const { return m_windowGoing; }
    // Whether the window keeps the mouse captured when a press on a bar ends (a window that
    // holds the mouse for purposes of its own would otherwise lose it to our release).
    virtual bool HoldsMouse() const { return false; }

private:
    // Everything a painted bar is made from.
    struct BarLook {
        platform::Size size;
        TacScrollGeometry geometry;
        TacScrollPart pressed = kPartNone;
        TacScrollPart hot = kPartNone;
        bool enabled = false;
        skin::TsSkinManager* manager = nullptr;
        std::uint64_t skinStamp = 0;
        std::uint64_t behindHash = 0;
        bool operator==(const BarLook&) const = default;
    };
    struct BarCache {
        std::unique_ptr<toolkit::TBitmap> behind;
        std::unique_ptr<toolkit::TBitmap> face;
        std::optional<BarLook> look;
    };
    BarLook LookOf(const TacScrollBar& bar, const platform::Rect& barRect) const;
    void PaintBarOver(const TacScrollBar& bar, const BarLook& look, toolkit::TBitmap& behind,
                      toolkit::TBitmap& bmp);
    void ReadBar(TacScrollBar& bar);
    void RepaintBars();
    platform::Point WindowPoint(platform::Point screen) const;
    void CalcSize(platform::LPARAM l);
    void PressBar(std::int32_t orientation, platform::Point window);
    void MouseMoveWhilePressed(platform::Point window);
    void RepeatTick();
    void EndPress(bool notify);
    void SetHotPart(std::int32_t orientation, TacScrollPart part);
    // Sends one scroll code (with the commands around it); false when the adapter went meanwhile.
    bool SendScroll(std::int32_t orientation, std::int32_t code, std::int32_t pos);

    TacScrollBar m_hbar;
    TacScrollBar m_vbar;
    bool m_leftVertical = false;
    bool m_tracking = false; // the thumb is being dragged
    bool m_inScroll = false; // we are sending scroll messages ourselves
    bool m_windowGoing = false;
    std::uint64_t m_skinStamp = 0;
    BarCache m_cache[2]; // horizontal, vertical
    std::int32_t m_hotBar = -1;
    TacScrollPart m_hotPart = kPartNone;
};

// Scrolled windows in general.
class TacBaseWnd : public TacScrollWnd {
public:
    using TacScrollWnd::TacScrollWnd;
};

// Edits and memos: section "EDIT". With a skin state of its own (a standard edit that knows
// nothing of the skin), the adapter paints the window's border from the section (hot while the
// mouse is over the edit or it has the focus) and gives the control the section's colour and
// hot font colour while it is attached, and the colours it had when it lets go. While it takes
// those colours the window's style stays as it is: a style change then is refused. A skinned
// control paints its own border and takes its own colours.
class TacEditWnd : public TacBaseWnd {
public:
    TacEditWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
               const std::string& section = "EDIT");
    ~TacEditWnd() override;

protected:
    platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) override;
    void Detaching() override;
    void HotChanged() override;

private:
    void TakeSkinColors();
    // A standard edit's border, from its section, around the client area and the bars.
    void PaintBorder();
    // Kept between paints: the border is painted often, and the face is the whole window's size.
    std::unique_ptr<toolkit::TBitmap> m_borderFace;
    bool m_colorsTaken = false;
    bool m_applyingSkin = false;
    std::uint32_t m_oldColor = 0;
    std::uint32_t m_oldFontColor = 0;
    // Taking a colour gives up inheriting it; letting go inherits again where it did.
    bool m_oldParentColor = false;
    bool m_oldParentFont = false;
};

// The drop-down list of a combo box. The list holds the mouse for as long as it is down and
// closes when it loses it, so a press on its bar leaves the mouse with it.
class TacComboListWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;

protected:
    bool HoldsMouse() const override;
};

} // namespace skinned
