#include "skinned/ChildPainting.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Message.h"
#include "skin/acFast24.h"
#include "skin/sCommonData.h"
#include "toolkit/Colors.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TWinControl.h"

namespace skinned {
namespace {

using toolkit::TControl;

// The parent has finished updating: the child repaints over the new background.
constexpr std::uint16_t kCmdParentUpdated = 6;

bool Designing(const toolkit::TComponent& c) {
    return c.ComponentState().Contains(toolkit::csDesigning);
}

bool IsGraphic(const TControl& c) {
    return dynamic_cast<const toolkit::TGraphicControl*>(&c) != nullptr;
}

// A child's paint (its OnPaint) may free itself or a sibling: the list taken before is checked
// against the container's own before each use.
bool StillChild(const toolkit::TWinControl& container, const TControl* c) {
    const auto& now = container.ControlList();
    return std::find(now.begin(), now.end(), c) != now.end() && !c->IsDestroying();
}

// The bitmaps children are composed in, kept between paints so that a warm repaint neither
// allocates nor clears a container-sized picture. A paint borrows one for its duration (a child's
// paint may start another container's paint, which then borrows another); a few are kept, one
// per container size in use.
class ComposeBitmaps {
public:
    class Loan {
    public:
        Loan(ComposeBitmaps& owner, std::unique_ptr<toolkit::TBitmap> bitmap)
            : m_owner(owner), m_bitmap(std::move(bitmap)) {}
        ~Loan() { m_owner.Return(std::move(m_bitmap)); }
        Loan(const Loan&) = delete;
        Loan& operator=(const Loan&) = delete;
        toolkit::TBitmap& operator*() const { return *m_bitmap; }

    private:
        ComposeBitmaps& m_owner;
        std::unique_ptr<toolkit::TBitmap> m_bitmap;
    };

    // A 24-bit bitmap of the given size; its pixels are whatever an earlier paint left.
    Loan Borrow(std::int32_t width, std::int32_t height) {
        auto same = std::find_if(m_idle.begin(), m_idle.end(), [&](const auto& b) {
            return b->Width() == width && b->Height() == height;
        });
        std::unique_ptr<toolkit::TBitmap> bitmap;
        if (same != m_idle.end()) {
            bitmap = std::move(*same);
            m_idle.erase(same);
        } else {
            bitmap = std::make_unique<toolkit::TBitmap>();
            bitmap->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
            bitmap->SetSize(width, height);
        }
        return Loan(*this, std::move(bitmap));
    }

private:
    static constexpr std::size_t kKept = 4;
    void Return(std::unique_ptr<toolkit::TBitmap> bitmap) {
        m_idle.insert(m_idle.begin(), std::move(bitmap)); // most recently used first
        if (m_idle.size() > kKept)
            m_idle.pop_back();
    }
    std::vector<std::unique_ptr<toolkit::TBitmap>> m_idle;
};

// Per thread, like the fonts the children draw with: gone before them at exit.
ComposeBitmaps& Compose() {
    thread_local ComposeBitmaps bitmaps;
    return bitmaps;
}

} // namespace

void PaintGraphicChildren(platform::DeviceContext& dc, toolkit::TWinControl& container,
                          platform::Point offset) {
    if ((!container.Visible() && !Designing(container)) || container.ControlList().empty())
        return;
    const platform::Rect clip = platform::GetClipBox(dc);
    if (clip.IsEmpty())
        return;
    skin::CommandBackdrop() = skin::TsBackdropInfo{};
    skin::SendCommand(container, skin::kCmdGiveBackground);
    const skin::TsBackdropInfo backdrop = skin::CommandBackdrop();
    if (!backdrop.Bmp || backdrop.Bmp->Empty())
        return;

    std::vector<TControl*> children;
    for (TControl* c : container.ControlList()) {
        if (!IsGraphic(*c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0 ||
            c->IsDestroying())
            continue;
        if (c->BoundsRect().Offset(offset.x, offset.y).Intersect(clip).IsEmpty())
            continue;
        children.push_back(c);
    }
    if (children.empty())
        return;

    const ComposeBitmaps::Loan memory = Compose().Borrow(container.Width(), container.Height());
    platform::DeviceContext& mdc = (*memory).DC();
    const platform::Rect backdropArea{0, 0, backdrop.Bmp->Width(), backdrop.Bmp->Height()};
    for (TControl* c : children) {
        const platform::Rect r = c->BoundsRect();
        if (c->ControlStyle().Contains(toolkit::csOpaque) && c->Color() != toolkit::clNone) {
            platform::FillRect(mdc, r, toolkit::ColorToRGB(c->Color()));
            continue;
        }
        // Where the background does not reach, the child starts on black, as on a new bitmap.
        const platform::Rect source = r.Offset(backdrop.X, backdrop.Y);
        if (source.Intersect(backdropArea) != source)
            platform::FillRect(mdc, r, 0);
        platform::BitBlt(mdc, r.left, r.top, r.Width(), r.Height(), backdrop.Bmp->DC(),
                         r.left + backdrop.X, r.top + backdrop.Y, platform::RasterOp::SrcCopy);
    }
    for (TControl* c : children) {
        if (!StillChild(container, c))
            continue;
        // A child that cannot be seen in this paint is told so; it paints into the memory anyway.
        if (c->BoundsRect().Offset(offset.x, offset.y).Intersect(clip) !=
            c->BoundsRect().Offset(offset.x, offset.y))
            skin::SendCommand(*c, skin::kCmdSetHalfVisible);
        toolkit::PaintGraphicControl(*c, mdc);
    }
    for (TControl* c : children) {
        if (!StillChild(container, c))
            continue;
        const platform::Rect r = c->BoundsRect();
        if (platform::GetPixel(mdc, r.left, r.top) == skin::kKeyColor)
            continue;
        platform::BitBlt(dc, r.left + offset.x, r.top + offset.y, r.Width(), r.Height(), mdc,
                         r.left, r.top, platform::RasterOp::SrcCopy);
    }
}

void RepaintChildren(toolkit::TWinControl& container) {
    const std::vector<TControl*> children = container.ControlList();
    for (TControl* c : children) {
        if (!StillChild(container, c) || IsGraphic(*c))
            continue;
        try {
            if (auto* windowed = dynamic_cast<toolkit::TWinControl*>(c);
                windowed && windowed->HandleAllocated())
                platform::SendMessage(windowed->HandleIfAllocated(),
                                      toolkit::kLibraryCommandMessage,
                                      skin::MakeCommand(kCmdParentUpdated), 0);
            else
                skin::SendCommand(*c, kCmdParentUpdated);
        } catch (...) {
            // One child failing to repaint must not keep the others from their turn.
        }
    }
}

} // namespace skinned
