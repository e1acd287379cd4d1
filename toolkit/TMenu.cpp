#include "toolkit/TMenu.h"

#include <algorithm>
#include <unordered_map>

#include "platform/win/DefWindowProc.h"
#include "platform/win/Menu.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TImageList.h"

namespace toolkit {
namespace {

// Commands travel in 16 bits (WM_MENUSELECT, WM_COMMAND), so the numbers are recycled.
constexpr platform::UINT kLastCommand = 0xFFFF;

struct CommandTable {
    std::unordered_map<platform::UINT, TMenuItem*> items;
    platform::UINT next = 1;
};

CommandTable& Commands() {
    static CommandTable table;
    return table;
}

// 0 when all numbers are taken: such an item can be shown but not chosen.
platform::UINT AllocateCommand(TMenuItem* item) {
    CommandTable& t = Commands();
    if (t.items.size() >= kLastCommand)
        return 0;
    while (t.items.count(t.next))
        t.next = t.next == kLastCommand ? 1 : t.next + 1;
    const platform::UINT command = t.next;
    t.items[command] = item;
    t.next = t.next == kLastCommand ? 1 : t.next + 1;
    return command;
}

bool HasVisibleChildren(const TMenuItem& item) {
    for (int k = 0; k < item.Count(); ++k)
        if (item.Items(k)->Visible())
            return true;
    return false;
}

void BuildMenu(platform::HMENU handle, const TMenuItem& parent, bool ownerDraw) {
    using namespace platform;
    for (int k = 0; k < parent.Count(); ++k) {
        const TMenuItem& item = *parent.Items(k);
        if (!item.Visible())
            continue;
        UINT flags = item.IsLine() ? MF_SEPARATOR : MF_STRING;
        if (!item.Enabled())
            flags |= MF_GRAYED;
        if (item.Checked())
            flags |= MF_CHECKED;
        if (item.RadioItem())
            flags |= MF_RADIOCHECK;
        if (item.Default())
            flags |= MF_DEFAULT;
        if (item.Break() == mbBreak)
            flags |= MF_MENUBREAK;
        else if (item.Break() == mbBarBreak)
            flags |= MF_MENUBARBREAK;
        if (ownerDraw)
            flags |= MF_OWNERDRAW;
        // Owner-drawn items keep their caption too: the menu finds accelerator letters in it.
        if (!item.IsLine() && HasVisibleChildren(item)) {
            const HMENU sub = CreatePopupMenu();
            BuildMenu(sub, item, ownerDraw);
            AppendMenu(handle, flags | MF_POPUP, sub, item.Caption());
        } else {
            AppendMenu(handle, flags, item.Command(), item.Caption());
        }
        SetMenuItemData(handle, static_cast<UINT>(GetMenuItemCount(handle) - 1), MF_BYPOSITION,
                        item.Command());
    }
}

TOwnerDrawState DrawStateOf(platform::UINT itemState, const TMenuItem& item) {
    using namespace platform;
    TOwnerDrawState state = 0;
    if (itemState & ODS_SELECTED)
        state |= OwnerDrawBit(odSelected);
    if (itemState & ODS_GRAYED)
        state |= OwnerDrawBit(odGrayed);
    if (itemState & ODS_DISABLED)
        state |= OwnerDrawBit(odDisabled);
    if (itemState & ODS_CHECKED)
        state |= OwnerDrawBit(odChecked);
    if (item.Default())
        state |= OwnerDrawBit(odDefault);
    return state;
}

platform::HWND g_paintingWindow;

// The owner of a menu being shown: a hidden window that hears the owner-draw requests and
// passes them to the items.
constexpr const char* kOwnerClass = "TPopupMenuOwner";

platform::LRESULT OwnerProc(platform::HWND h, platform::UINT msg, platform::WPARAM w,
                            platform::LPARAM l) {
    using namespace platform;
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (TMenuItem* item = TMenuItem::FromCommand(static_cast<UINT>(mis->itemData))) {
            TCanvas canvas;
            int width = 0, height = 0;
            item->MeasureItem(canvas, width, height);
            mis->itemWidth = static_cast<UINT>(std::max(0, width));
            mis->itemHeight = static_cast<UINT>(std::max(0, height));
        }
        return 1;
    }
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (TMenuItem* item = TMenuItem::FromCommand(static_cast<UINT>(dis->itemData));
            item && dis->hDC) {
            struct Painting {
                explicit Painting(HWND h) : saved(g_paintingWindow) { g_paintingWindow = h; }
                ~Painting() { g_paintingWindow = saved; }
                HWND saved;
            } painting(dis->hwndItem);
            TCanvas canvas(dis->hDC);
            item->AdvancedDrawItem(canvas, dis->rcItem, DrawStateOf(dis->itemState, *item));
        }
        return 1;
    }
    return DefWindowProc(h, msg, w, l);
}

// Everything one popup made on the platform, undone also when a handler throws.
struct ShownMenu {
    platform::HMENU menu = 0;
    platform::HWND owner;
    ShownMenu() {
        platform::WNDCLASS wc;
        if (!platform::GetClassInfo(kOwnerClass, wc)) {
            wc = platform::WNDCLASS{};
            wc.lpszClassName = kOwnerClass;
            wc.lpfnWndProc = &OwnerProc;
            platform::RegisterClass(wc);
        }
        owner = platform::CreateWindowEx(0, kOwnerClass, "", platform::WS_POPUP, 0, 0, 0, 0, {}, 0,
                                         nullptr);
        menu = platform::CreatePopupMenu();
    }
    ~ShownMenu() {
        platform::DestroyMenu(menu);
        if (platform::IsWindow(owner))
            platform::DestroyWindow(owner);
    }
    ShownMenu(const ShownMenu&) = delete;
    ShownMenu& operator=(const ShownMenu&) = delete;
};

} // namespace

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), m_command(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (m_parent)
        m_parent->Remove(this);
    if (m_command)
        Commands().items.erase(m_command);
}

TMenuItem* TMenuItem::FromCommand(platform::UINT command) {
    const auto& items = Commands().items;
    const auto it = items.find(command);
    return it == items.end() ? nullptr : it->second;
}

platform::HWND TMenuItem::PaintingWindow() {
    return g_paintingWindow;
}

TBitmap& TMenuItem::Bitmap() {
    if (!m_bitmap)
        m_bitmap = std::make_unique<TBitmap>();
    return *m_bitmap;
}

const TBitmap* TMenuItem::OwnBitmap() const {
    return m_bitmap && !m_bitmap->Empty() ? m_bitmap.get() : nullptr;
}

TImageList* TMenuItem::GetImageList() const {
    const TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    MeasureDefault(canvas, width, height);
    if (OnMeasureItem) {
        canvas.Font().SetStyle({});
        OnMeasureItem(this, canvas, width, height);
    }
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const platform::Rect& rect,
                                 TOwnerDrawState state) {
    if (OnAdvancedDrawItem)
        OnAdvancedDrawItem(this, canvas, rect, state);
    else if (OnDrawItem)
        OnDrawItem(this, canvas, rect, HasState(state, odSelected));
    else
        DrawDefault(canvas, rect, state);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return m_items[static_cast<std::size_t>(index)];
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->m_parent)
        item = item->m_parent;
    return item->m_menu;
}

int TMenuItem::MenuIndex() const {
    if (!m_parent)
        return -1;
    const auto& siblings = m_parent->m_items;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this)
        return;
    for (const TMenuItem* up = this; up; up = up->m_parent)
        if (up == item)
            return; // an item cannot hold its own ancestor
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    if (item->m_parent)
        item->m_parent->Remove(item);
    if (index > Count())
        index = Count();
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it == m_items.end())
        return;
    m_items.erase(it);
    item->m_parent = nullptr;
}

void TMenuItem::Delete(int index) {
    TComponent::Free(Items(index));
}

void TMenuItem::Clear() {
    while (!m_items.empty())
        TComponent::Free(m_items.back());
}

void TMenuItem::SetChecked(bool on) {
    m_checked = on;
    if (!on || !m_radioItem || !m_parent)
        return;
    for (TMenuItem* sibling : m_parent->m_items)
        if (sibling != this && sibling->m_radioItem && sibling->m_groupIndex == m_groupIndex)
            sibling->m_checked = false;
}

void TMenuItem::Click() {
    if (!m_enabled)
        return;
    if (m_autoCheck)
        SetChecked(m_radioItem ? true : !m_checked);
    Fire(OnClick, this);
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), m_items(std::make_unique<TMenuItem>(nullptr)) {
    m_items->m_menu = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(TImageList* images) {
    if (m_images == images)
        return;
    if (m_images)
        m_images->RemoveFreeNotification(this);
    m_images = images;
    if (m_images)
        m_images->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_images)
        m_images = nullptr;
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (m_popupComponent == component)
        return;
    if (m_popupComponent)
        m_popupComponent->RemoveFreeNotification(this);
    m_popupComponent = component;
    if (m_popupComponent)
        m_popupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_popupComponent)
        m_popupComponent = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    using namespace platform;
    m_popupPoint = {x, y};
    Fire(OnPopup, this);
    if (!WindowSystem::Running())
        return;
    // A hint shown or pending would otherwise sit over the menu.
    if (TApplication* app = Application())
        app->CancelHint();
    UINT chosen = 0;
    {
        ShownMenu shown;
        if (!shown.owner || !shown.menu)
            return;
        BuildMenu(shown.menu, *Items(), IsOwnerDraw());
        UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_TOPALIGN;
        if (m_alignment == paRight)
            flags |= TPM_RIGHTALIGN;
        else if (m_alignment == paCenter)
            flags |= TPM_CENTERALIGN;
        chosen = static_cast<UINT>(TrackPopupMenu(shown.menu, flags, x, y, shown.owner));
    }
    // Looked up only now: a handler run while the menu was open may have freed the item.
    if (TMenuItem* item = chosen ? TMenuItem::FromCommand(chosen) : nullptr)
        item->Click();
}

} // namespace toolkit
