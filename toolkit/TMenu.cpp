#include "toolkit/TMenu.h"

#include <algorithm>

#include "toolkit/Exceptions.h"
#include "toolkit/TImageList.h"

namespace toolkit {

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (m_parent)
        m_parent->Remove(this);
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

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

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

void TMenuItem::Delete(int index) { TComponent::Free(Items(index)); }

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
    m_popupPoint = {x, y};
    Fire(OnPopup, this);
}

} // namespace toolkit
