#include "skinned/TacBtnWnd.h"

#include <algorithm>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinModel.h"
#include "skin/sCommonData.h"
#include "skin/sCommonPaint.h"
#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TButton.h"

namespace skinned {

namespace {

constexpr platform::UINT kUpdateUIState = 0x0128;
constexpr platform::UINT kSetButtonState = 0x00F3; // BM_SETSTATE
// How much of the parent's background shows through a disabled button's face.
constexpr double kDisabledOpacity = 0.4;
constexpr unsigned kCaptionFlags =
    platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;

// Sizes the skin state's cache to the window (an adapter's own state has no control to follow).
toolkit::TBitmap* SizedCache(skin::TsCommonData& data, std::int32_t width, std::int32_t height) {
    toolkit::TBitmap* cache = data.PrepareCache();
    if (!cache || width <= 0 || height <= 0)
        return nullptr;
    if (cache->Width() != width || cache->Height() != height)
        cache->SetSize(width, height);
    return cache;
}

// Copies the cache onto the window: into the context a parent hands over in WParam, else
// through a paint of our own that also validates the window.
void PutOnWindow(platform::HWND h, platform::WPARAM givenDC, toolkit::TBitmap& face) {
    if (auto* dc = reinterpret_cast<platform::DeviceContext*>(givenDC)) {
        platform::BitBlt(*dc, 0, 0, face.Width(), face.Height(), face.DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
        return;
    }
    platform::PAINTSTRUCT ps;
    platform::HDC dc = platform::BeginPaint(h, ps);
    if (dc)
        platform::BitBlt(*dc, 0, 0, face.Width(), face.Height(), face.DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
    platform::EndPaint(h, ps);
}

} // namespace

// ---- TacBtnWnd ------------------------------------------------------------------------------

TacBtnWnd::TacBtnWnd(platform::HWND window, skin::TsCommonData* data, skin::TsSkinManager* manager,
                     const std::string& section)
    : TacMainWnd(window, data, manager, section) {
    if (Attached())
        platform::InvalidateRect(Handle(), nullptr, false);
}

TacBtnWnd::~TacBtnWnd() {
    Detach();
}

toolkit::TButton* TacBtnWnd::Button() const {
    if (!Attached())
        return nullptr;
    auto* button = dynamic_cast<toolkit::TButton*>(toolkit::FindControl(Handle()));
    return button && !button->IsDestroying() ? button : nullptr;
}

bool TacBtnWnd::SkinPainted() const {
    skin::TsSkinManager* manager = Manager();
    return Attached() && manager && manager->SkinData().Active && SkinData().Skinned() &&
           !SkinData().Updating();
}

std::int32_t TacBtnWnd::CtlState() const {
    toolkit::TButton* button = Button();
    if (!button)
        return kFaceNormal;
    if (button->Pressed())
        return kFacePressed;
    if (!button->Enabled())
        return kFaceNormal;
    skin::TsSkinManager* manager = Manager();
    const bool hot = manager && manager->HotControl() == button;
    return button->Focused() || hot || button->Active() ? kFaceHot : kFaceNormal;
}

void TacBtnWnd::KeyExtra(TButtonFaceKey&, toolkit::TButton&) const {}

TButtonFaceKey TacBtnWnd::FaceKey(toolkit::TButton& button) const {
    TButtonFaceKey key;
    key.state = CtlState();
    key.enabled = button.Enabled();
    key.focused = button.Focused();
    key.down = button.Pressed();
    key.size = {button.Width(), button.Height()};
    key.position = {button.Left(), button.Top()};
    key.caption = button.Caption();
    key.sectionIndex = SkinData().SectionIndex();
    key.fontName = button.Font().Name();
    key.fontHeight = button.Font().Height();
    key.fontStyle = button.Font().Style();
    key.fontColor = button.Font().Color();
    KeyExtra(key, button);
    return key;
}

platform::Rect TacBtnWnd::CaptionRect(toolkit::TButton& button) const {
    toolkit::TBitmap* cache = SkinData().CacheBmp();
    if (!cache || button.Caption().empty())
        return {};
    cache->Canvas().Font().Assign(&button.Font());
    const platform::Size text = cache->Canvas().TextExtent(button.Caption());
    const std::int32_t left = (button.Width() - text.cx) / 2;
    const std::int32_t top = (button.Height() - text.cy) / 2;
    return {left, top, left + text.cx, top + text.cy};
}

void TacBtnWnd::PaintContent(toolkit::TBitmap& cache, toolkit::TButton& button,
                             std::int32_t state) {
    platform::Rect text = CaptionRect(button);
    if (text.IsEmpty())
        return;
    if (state == kFacePressed)
        text = text.Offset(1, 1);
    toolkit::TCanvas& canvas = cache.Canvas();
    canvas.Font().Assign(&button.Font());
    // A pixel of room either side keeps contour copies inside.
    skin::DrawContourText(canvas, button.Caption(), button.Enabled(), state != kFaceNormal,
                          SkinData(), kCaptionFlags, text.Inflate(1, 0));
}

void TacBtnWnd::BuildFace(toolkit::TButton& button, const TButtonFaceKey& key) {
    toolkit::TBitmap* cache = SizedCache(SkinData(), button.Width(), button.Height());
    if (!cache)
        return;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(button);
    PaintButtonBackdrop(*cache, button, parent);
    const platform::Rect whole{0, 0, button.Width(), button.Height()};
    skin::PaintControlSection(SkinData(), parent, true, 1, key.state, cache,
                              {button.Left(), button.Top()}, whole);
    PaintContent(*cache, button, key.state);
    const skin::TsGeneralData* section = SkinData().Section();
    if (key.enabled && key.focused && section && section->ShowFocus && !key.caption.empty()) {
        platform::Rect caption = CaptionRect(button);
        if (key.state == kFacePressed)
            caption = caption.Offset(1, 1);
        PaintFocusDots(*cache, caption.Inflate(1, 1));
    }
    if (!key.enabled) {
        const std::unique_ptr<toolkit::TBitmap> behind =
            skin::NewBitmap24(cache->Width(), cache->Height());
        PaintButtonBackdrop(*behind, button, parent);
        const skin::TacRows24 from(*behind);
        skin::FadeCopyKeyed(skin::TacRows24(*cache), 0, 0, skin::kNoKeyColor, kDisabledOpacity,
                            from.Bounds(), from);
    }
    SkinData().SetBackgroundChanged(false);
    m_builtFrom = key;
}

toolkit::TBitmap* TacBtnWnd::Face() {
    toolkit::TButton* button = Button();
    if (!button || !SkinPainted())
        return nullptr;
    const TButtonFaceKey key = FaceKey(*button);
    const toolkit::TBitmap* cache = SkinData().CacheBmp();
    if (!m_builtFrom || *m_builtFrom != key || SkinData().BackgroundChanged() || !cache ||
        cache->Width() != button->Width() || cache->Height() != button->Height())
        BuildFace(*button, key);
    return SkinData().CacheBmp();
}

void TacBtnWnd::Paint(platform::WPARAM givenDC) {
    toolkit::TBitmap* face = Face();
    if (face && !face->Empty())
        PutOnWindow(Handle(), givenDC, *face);
}

void TacBtnWnd::Changed() {
    m_builtFrom.reset();
    if (Attached())
        platform::InvalidateRect(Handle(), nullptr, false);
}

void TacBtnWnd::HotChanged() {
    Changed();
}

platform::LRESULT TacBtnWnd::QuietlyChanged(platform::UINT msg, platform::WPARAM w,
                                            platform::LPARAM l) {
    const std::weak_ptr<const bool> alive = AliveToken();
    const platform::HWND h = Handle();
    platform::SendMessage(h, platform::WM_SETREDRAW, 0, 0);
    const platform::LRESULT r = TacMainWnd::WndProc(msg, w, l);
    if (platform::IsWindow(h))
        platform::SendMessage(h, platform::WM_SETREDRAW, 1, 0);
    if (!alive.expired())
        Changed();
    return r;
}

platform::LRESULT TacBtnWnd::WndProc(platform::UINT msg, platform::WPARAM w, platform::LPARAM l) {
    if (msg == toolkit::kLibraryCommandMessage) {
        const std::uint16_t command = skin::CommandOf(w);
        if (CommandRebuildsFace(command))
            m_builtFrom.reset();
        return TacMainWnd::WndProc(msg, w, l);
    }
    if (!SkinPainted() || !Button())
        return TacMainWnd::WndProc(msg, w, l);
    switch (msg) {
    case platform::WM_PAINT:
        Paint(w);
        return 0;
    case platform::WM_ERASEBKGND:
        return 1;
    case platform::WM_NCPAINT:
    case kUpdateUIState:
        return 0;
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS:
    case platform::WM_ENABLE:
    case platform::WM_SETTEXT:
    case kSetButtonState:
        return QuietlyChanged(msg, w, l);
    case platform::WM_WINDOWPOSCHANGED: {
        // Over a transparent face a move shows another piece of the parent.
        const std::weak_ptr<const bool> alive = AliveToken();
        const platform::LRESULT r = TacMainWnd::WndProc(msg, w, l);
        if (!alive.expired())
            Changed();
        return r;
    }
    default:
        return TacMainWnd::WndProc(msg, w, l);
    }
}

void TacBtnWnd::Detaching() {
    toolkit::TButton* button = Button();
    m_builtFrom.reset();
    if (button && platform::IsWindow(Handle()))
        platform::InvalidateRect(Handle(), nullptr, true);
    TacMainWnd::Detaching();
}

// ---- TacBitBtnWnd ---------------------------------------------------------------------------

TacBitBtnWnd::~TacBitBtnWnd() = default;

void TacBitBtnWnd::KeyExtra(TButtonFaceKey& key, toolkit::TButton& button) const {
    if (auto* bit = dynamic_cast<toolkit::TBitBtn*>(&button))
        KeyContent(key, bit->GlyphData(), bit->Placement(bit->ClientRect()), bit->CaptionFlags(),
                   bit->Font());
}

platform::Rect TacBitBtnWnd::CaptionRect(toolkit::TButton& button) const {
    auto* bit = dynamic_cast<toolkit::TBitBtn*>(&button);
    if (!bit)
        return TacBtnWnd::CaptionRect(button);
    if (bit->Caption().empty())
        return {};
    const platform::Rect text = bit->Placement(bit->ClientRect()).text;
    return {text.left - 1, text.top, text.right + 2, text.bottom};
}

void TacBitBtnWnd::PaintContent(toolkit::TBitmap& cache, toolkit::TButton& button,
                                std::int32_t state) {
    auto* bit = dynamic_cast<toolkit::TBitBtn*>(&button);
    if (!bit) {
        TacBtnWnd::PaintContent(cache, button, state);
        return;
    }
    // Normal and disabled draw the first cell (the disabled look comes from the fade over the
    // whole face); pushed draws the last of up to four.
    toolkit::TButtonState cell = toolkit::TButtonState::bsUp;
    if (state == kFacePressed)
        cell = static_cast<toolkit::TButtonState>(std::clamp(bit->NumGlyphs(), 1, 4) - 1);
    TacButtonLook look;
    look.DisabledGlyphKind = TacDisabledGlyphKind{};
    cache.Canvas().Font().Assign(&bit->Font());
    PaintButtonContent(cache, SkinData(), bit->GlyphData(), cell, bit->Placement(bit->ClientRect()),
                       bit->Caption(), bit->CaptionFlags(), bit->Enabled(), state != kFaceNormal,
                       state == kFacePressed, look);
}

// ---- TacTransPanelWnd -----------------------------------------------------------------------

TacTransPanelWnd::TacTransPanelWnd(platform::HWND window, skin::TsCommonData* data,
                                   skin::TsSkinManager* manager, const std::string& section)
    : TacMainWnd(window, data, manager, section) {
    if (Attached())
        platform::RedrawWindow(Handle(), nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_ALLCHILDREN);
}

TacTransPanelWnd::~TacTransPanelWnd() {
    Detach();
}

bool TacTransPanelWnd::Paint(platform::WPARAM givenDC) {
    skin::TsSkinManager* manager = Manager();
    auto* panel = dynamic_cast<toolkit::TWinControl*>(toolkit::FindControl(Handle()));
    if (!panel || panel->IsDestroying() || !manager || !manager->SkinData().Active ||
        !SkinData().Skinned() || SkinData().Updating())
        return false;
    toolkit::TBitmap* cache = SizedCache(SkinData(), panel->Width(), panel->Height());
    if (!cache)
        return false;
    const skin::TsBackdropInfo parent = skin::GetParentBackground(*panel);
    PaintButtonBackdrop(*cache, *panel, parent);
    skin::PaintControlSection(SkinData(), parent, true, 1, 0, cache, {panel->Left(), panel->Top()},
                              {0, 0, panel->Width(), panel->Height()});
    SkinData().SetBackgroundChanged(false);
    // The graphic children (labels and the like) paint over the face as they would over the
    // panel's own.
    auto paintOn = [&](platform::DeviceContext& dc) {
        platform::BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->DC(), 0, 0,
                         platform::RasterOp::SrcCopy);
        panel->PaintControls(dc, nullptr);
    };
    if (auto* dc = reinterpret_cast<platform::DeviceContext*>(givenDC)) {
        paintOn(*dc);
        return true;
    }
    platform::PAINTSTRUCT ps;
    platform::HDC dc = platform::BeginPaint(Handle(), ps);
    if (dc)
        paintOn(*dc);
    platform::EndPaint(Handle(), ps);
    return true;
}

platform::LRESULT TacTransPanelWnd::WndProc(platform::UINT msg, platform::WPARAM w,
                                            platform::LPARAM l) {
    if (msg == platform::WM_PAINT && Paint(w))
        return 0;
    if (msg == platform::WM_ERASEBKGND && SkinData().Skinned())
        return 1;
    return TacMainWnd::WndProc(msg, w, l);
}

} // namespace skinned
