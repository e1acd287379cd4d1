#include "skinned/sSkinMenus.h"
#include "skinned/sSkinProvider.h"

#include <algorithm>
#include <map>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Icon.h"
#include "platform/win/Input.h"
#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sMaskData.h"
#include "skin/sPaintSection.h"
#include "skinned/ChildPainting.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TForm.h"

namespace skinned {

using namespace platform;

// ---- the system menu ----

TsSystemMenu::TsSystemMenu(TsSkinProvider& provider)
    : toolkit::TPopupMenu(nullptr), m_provider(provider) {
    OnPopup = [this](toolkit::TObject*) { MakeItems(); };
}

void TsSystemMenu::MakeItems() {
    Items()->Clear();
    m_skinSelectItem = nullptr;
    m_items.fill(nullptr);
    toolkit::TCustomForm& form = m_provider.Form();
    skin::TsSkinManager* manager = m_provider.Manager();
    SetOwnerDraw(manager && manager->SkinnedPopups());
    const HWND h = form.HandleIfAllocated();
    const bool zoomed = h && IsZoomed(h), iconic = h && IsIconic(h);
    const LONG_PTR style = h ? GetWindowLongPtr(h, GWL_STYLE) : 0;
    const bool sizeable =
        form.BorderStyle() == toolkit::bsSizeable || form.BorderStyle() == toolkit::bsSizeToolWin;
    const toolkit::TBorderIcons icons = form.BorderIcons();

    const auto add = [&](toolkit::TMenuItem* parent, const std::string& caption, bool enabled,
                         WPARAM command) {
        auto* item = new toolkit::TMenuItem(this);
        item->SetCaption(caption);
        item->SetEnabled(enabled);
        if (command) {
            TsSkinProvider* provider = &m_provider;
            item->OnClick = [provider, command](toolkit::TObject*) {
                toolkit::TCustomForm& f = provider->Form();
                if (f.HandleAllocated())
                    SendMessage(f.HandleIfAllocated(), WM_SYSCOMMAND, command, 0);
            };
        }
        parent->Add(item);
        return item;
    };

    if (m_provider.MakeSkinMenu() && manager) {
        toolkit::TStringList names;
        manager->GetSkinNames(names, skin::TacSkinListMode::Both);
        if (names.Count() > 0) {
            m_skinSelectItem = add(Items(), "Available skins", true, 0);
            m_skinSelectItem->SetName("SkinSelectItem");
            for (int i = 0; i < names.Count(); ++i) {
                const std::string name = names[i];
                toolkit::TMenuItem* item = add(m_skinSelectItem, name, true, 0);
                item->SetRadioItem(true);
                item->SetGroupIndex(1);
                item->SetChecked(name == manager->SkinName());
                item->OnClick = [this, name](toolkit::TObject*) { m_chosenSkin = name; };
            }
            add(Items(), "-", true, 0);
        }
    }
    const bool mayMin = icons.Contains(toolkit::biMinimize) && (style & WS_MINIMIZEBOX);
    const bool mayMax = icons.Contains(toolkit::biMaximize) && (style & WS_MAXIMIZEBOX);
    m_items[0] = add(Items(), "Restore", zoomed || iconic, SC_RESTORE);
    m_items[1] = add(Items(), "Move", !zoomed, SC_MOVE);
    m_items[2] = add(Items(), "Size", sizeable && !zoomed && !iconic, SC_SIZE);
    m_items[3] = add(Items(), "Minimize", mayMin && !iconic, SC_MINIMIZE);
    m_items[4] = add(Items(), "Maximize", mayMax && !zoomed, SC_MAXIMIZE);
    add(Items(), "-", true, 0);
    m_items[5] = add(Items(), "Close\tAlt+F4", true, SC_CLOSE);
    m_items[5]->SetDefault(true);
    // Items made anew are the toolkit's until they are handed to the skinned menus again.
    if (manager && manager->SkinnedPopups())
        TsSkinableMenus::Of(*manager).InitMenuItems(true, *this);
}

} // namespace skinned
