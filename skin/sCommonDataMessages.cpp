// The messages a skin state hears: the library's commands it answers and the window messages
// it keeps its focus, mouse-over and background flags from.
#include "skin/sCommonData.h"

#include <algorithm>
#include <vector>

#include "platform/win/Paint.h"
#include "skin/SkinModel.h"
#include "skin/sSkinManager.h"
#include "toolkit/Colors.h"
#include "toolkit/Int32.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TControl.h"
#include "toolkit/TMemIniFile.h"
#include "toolkit/TWinControl.h"

namespace skin {
namespace {

using toolkit::TControl;
using toolkit::TMessage;
using toolkit::TWinControl;

// The window system's keyboard-cue update; skinned controls draw no cues of their own.
constexpr platform::UINT kWmUpdateUiState = 0x0128;
// The window system's notice that the fonts installed have changed. Not the control's own font
// change: a label that writes the skin's colour into its font keeps its hot and focused look.
constexpr platform::UINT kWmFontChange = 0x001D;

platform::Color Rgb(std::int32_t color) {
    return toolkit::ColorToRGB(static_cast<toolkit::TColor>(color)) & 0xFFFFFF;
}

TWinControl* AsWindowed(TControl* control) {
    return dynamic_cast<TWinControl*>(control);
}

bool Designing(const toolkit::TComponent* c) {
    return c && c->ComponentState().Contains(toolkit::csDesigning);
}

// Children may go while a command runs through them: each is checked before it is reached.
template <typename Each> void ForEachChild(TWinControl& parent, Each each) {
    const std::vector<TControl*> children = parent.ControlList();
    for (TControl* child : children) {
        const auto& now = parent.ControlList();
        if (std::find(now.begin(), now.end(), child) == now.end() || child->IsDestroying())
            continue;
        each(*child);
    }
}

} // namespace

bool TsCommonData::FromMyManager(platform::LPARAM l) const {
    return reinterpret_cast<const TsSkinManager*>(l) == SkinManager();
}

bool TsCommonData::WndProc(TMessage& message) {
    if (message.Msg == toolkit::kLibraryCommandMessage)
        return HandleCommand(message);
    bool usedUp = false;
    HandleWindowMessage(message, usedUp);
    return usedUp;
}

bool TsCommonData::TakeRefresh(const TMessage& message) {
    if (!FromMyManager(message.LParam))
        return false;
    m_backgroundChanged = true;
    m_updating = false;
    if (!Skinned() || !m_ownerControl)
        return false;
    if (IsEditTypeCode(m_typeCode))
        TakeSectionColors();
    return AsWindowed(m_ownerControl) != nullptr;
}

bool TsCommonData::HandleCommand(TMessage& message) {
    const std::uint16_t argument = CommandArgument(message.WParam);
    TControl* control = m_ownerControl;
    switch (CommandOf(message.WParam)) {
    case kCmdNewSkin:
        if (FromMyManager(message.LParam)) {
            m_updating = true;
            UpdateIndexes();
            TsSkinManager::ClearSkinApplying();
        }
        break;
    case kCmdSkinRemoved:
        if (FromMyManager(message.LParam)) {
            if (m_manager && m_manager->Destroying())
                m_manager = nullptr;
            m_sectionIndex = m_borderIndex = m_textureIndex = m_hotTextureIndex = -1;
            m_updating = true;
            if (m_cache)
                m_cache->SetSize(0, 0);
            if (control && IsEditTypeCode(m_typeCode)) {
                if (!m_customColor)
                    control->SetColor(toolkit::clWindow);
                if (!m_customFont)
                    control->Font().SetColor(toolkit::clWindowText);
            }
        }
        break;
    case kCmdRefresh:
        if (TakeRefresh(message))
            control->Repaint();
        break;
    case kCmdGiveBackground:
        CommandBackdrop() = TsBackdropInfo{};
        // An empty cache holds no background yet, whatever its flags say.
        if (m_cache && !m_cache->Empty()) {
            CommandBackdrop() = TsBackdropInfo{m_cache.get(), 0, 0, true};
            message.Result = 1;
        }
        break;
    case kCmdAreYouSkinned:
        message.Result = 1;
        break;
    case kCmdSetUpdating:
        m_updating = argument == 1;
        break;
    case kCmdRepaintOnMove:
        m_repaintOnMove = argument == 1;
        break;
    case kCmdIsChanging:
        // Only a control whose section exists builds a background and then ends its update; one
        // whose section is missing never paints from the skin, and its flags would keep its
        // children waiting for ever. It answers for its own parents only.
        if (Skinned())
            message.Result = m_backgroundChanged || IsUpdating() ? 1 : 0;
        else if (control && control->Parent())
            message.Result = SendCommand(*control->Parent(), kCmdIsChanging) != 0 ? 1 : 0;
        break;
    case kCmdIsHalfVisible:
        message.Result = m_halfVisible ? 1 : 0;
        break;
    case kCmdTransparencyChanged:
        if (IsTransparent() && argument == 1)
            m_backgroundChanged = true;
        break;
    case kCmdSectionChanged:
        if (m_skinSection == toolkit::UpperCase(CommandSectionName())) {
            TsSkinManager::ClearSkinApplying();
            Refresh();
        }
        break;
    case kCmdRelatedObject:
        m_relatedObject = message.LParam;
        break;
    case kCmdInvalidateBackground:
        m_backgroundChanged = true;
        break;
    case kCmdDependsOnYou: {
        const TsGeneralData* gd = Section();
        if (m_sectionIndex == -1 || !gd)
            break;
        if (gd->Transparency == 100 && control && control->Parent())
            message.Result = SendCommand(*control->Parent(), kCmdDependsOnYou) & 0x7F;
        else
            message.Result = (toolkit::int32::Add(gd->GradientPercent, gd->ImagePercent) > 0 ||
                              DependsOnParent())
                                 ? 1
                                 : 0;
        break;
    }
    case kCmdBackgroundChanged: {
        const bool depends = DependsOnParent();
        m_backgroundChanged = m_backgroundChanged || depends;
        TWinControl* windowed = AsWindowed(control);
        if (windowed && argument == 1 && windowed->HandleAllocated())
            platform::RedrawWindow(windowed->HandleIfAllocated(), nullptr, nullptr,
                                   platform::RDW_INVALIDATE | platform::RDW_ALLCHILDREN |
                                       platform::RDW_NOERASE | platform::RDW_NOINTERNALPAINT);
        if (depends && windowed)
            ForEachChild(*windowed,
                         [](TControl& child) { SendCommand(child, kCmdBackgroundChanged, 0); });
        // The children answered into the same flag; the asker reads this control's answer.
        CommandFlag() = depends;
        break;
    }
    case kCmdGiveColor:
        AnswerColor();
        message.Result = 1;
        break;
    case kCmdSetHalfVisible:
        m_halfVisible = true;
        break;
    default:
        break;
    }
    return true;
}

void TsCommonData::AnswerColor() {
    TControl* control = m_ownerControl;
    const platform::Color own =
        control ? toolkit::ColorToRGB(control->Color()) & 0xFFFFFF : kKeyColor;
    if (!Skinned()) {
        CommandColor() = own;
        return;
    }
    const TsGeneralData& gd = *Section();
    const std::int32_t t = gd.Transparency;
    if (t == 0) {
        CommandColor() = m_customColor && control ? own : Rgb(gd.Color);
        return;
    }
    platform::Color parent = Rgb(gd.Color);
    if (control && control->Parent()) {
        parent = GetParentColor(*control);
        if (parent == kKeyColor)
            parent = toolkit::ColorToRGB(control->Parent()->Color()) & 0xFFFFFF;
    }
    if (t == 100) {
        CommandColor() = parent;
        return;
    }
    const platform::Color mine = Rgb(gd.Color);
    platform::Color mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::int64_t p = (parent >> shift) & 0xFF, o = (mine >> shift) & 0xFF;
        const std::int64_t v = std::clamp<std::int64_t>((t * (p - o) + o * 256) / 256, 0, 255);
        mixed |= static_cast<platform::Color>(v) << shift;
    }
    CommandColor() = mixed;
}

void TsCommonData::HandleWindowMessage(TMessage& message, bool& usedUp) {
    TControl* control = m_ownerControl;
    if (!control)
        return;
    TWinControl* windowed = AsWindowed(control);
    switch (message.Msg) {
    case platform::WM_MOVE:
        if (DependsOnParent())
            SendCommand(*control, kCmdBackgroundChanged, 1);
        break;
    case platform::WM_SIZE:
        if (!Skinned())
            break;
        m_backgroundChanged = true;
        // No child is anchored to the right or bottom in this toolkit: every child follows.
        if (windowed && Section()->GradientPercent >= 1)
            ForEachChild(*windowed,
                         [](TControl& child) { SendCommand(child, kCmdBackgroundChanged, 1); });
        break;
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS:
        if (windowed && windowed->CanFocus() && windowed->TabStop()) {
            m_backgroundChanged = true;
            m_focused = message.Msg == platform::WM_SETFOCUS;
        }
        break;
    case kWmFontChange:
    case toolkit::CM_ENABLEDCHANGED:
        m_focused = false;
        m_mouseOver = false;
        break;
    case kWmUpdateUiState:
        if (Skinned()) {
            message.Result = 1;
            usedUp = true;
        }
        break;
    case platform::WM_PARENTNOTIFY:
        if (windowed && (message.WParam & 0xFFFF) == platform::WM_CREATE)
            control->Repaint();
        break;
    case toolkit::CM_MOUSEENTER:
        // Only the control's own enter; a child's enter passes through its parent too.
        if (message.LParam != 0 || Designing(control))
            break;
        if (windowed)
            ForEachChild(*windowed, [control](TControl& child) {
                TsCommonData* other = SkinDataOf(&child);
                // Every speed button, the spin edit's timer buttons included.
                if (&child != control && other && other->m_mouseOver &&
                    other->m_typeCode == kTypeSpeedButton)
                    child.Perform(toolkit::CM_MOUSELEAVE, 0, 0);
            });
        if (!IsNoHotTypeCode(m_typeCode))
            m_mouseOver = true;
        if (windowed)
            if (TsSkinManager* m = TsSkinManager::DefaultManager())
                m->SetHotControl(control);
        break;
    case toolkit::CM_MOUSELEAVE:
        if (message.LParam != 0 || Designing(control))
            break;
        if (!IsNoHotTypeCode(m_typeCode))
            m_mouseOver = false;
        break;
    default:
        break;
    }
}

} // namespace skin
