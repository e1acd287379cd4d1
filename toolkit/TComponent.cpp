#include "toolkit/TComponent.h"

#include <algorithm>

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

bool IsIdentifier(const std::string& s) {
    auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    if (s.empty() || !letter(s[0]))
        return false;
    return std::all_of(s.begin(), s.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

bool SameText(const std::string& a, const std::string& b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Whoever asked to hear about this component hears it now, while the pointer is still
    // worth comparing.
    std::vector<TComponent*> listeners = std::move(m_freeNotifies);
    m_freeNotifies.clear();
    for (TComponent* c : listeners) {
        auto& back = c->m_freeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TComponent::Free(TComponent* c) {
    if (!c)
        return;
    // An owner going marks its components destroying at once; their own last words still come.
    if (!c->m_beforeDestructionDone)
        c->BeforeDestruction();
    delete c;
}

void TComponent::BeforeDestruction() {
    m_beforeDestructionDone = true;
    Destroying();
}

void TComponent::Destroying() {
    if (m_state.Contains(csDestroying))
        return;
    m_state.Include(csDestroying);
    for (TComponent* c : m_components)
        c->Destroying();
}

void TComponent::SetName(const std::string& name) {
    if (name == m_name)
        return;
    if (!name.empty() && !IsIdentifier(name))
        throw EComponentError::InvalidName(name);
    if (!name.empty() && m_owner) {
        TComponent* other = m_owner->FindComponent(name);
        if (other && other != this)
            throw EComponentError::DuplicateName(name);
    }
    m_name = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError::IndexOutOfBounds(index);
    return m_components[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!m_owner)
        return -1;
    const auto& list = m_owner->m_components;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : m_components)
        if (SameText(c->m_name, name))
            return c;
    return nullptr;
}

void TComponent::DestroyComponents() {
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        // Taken out first, so the component's own destructor finds nothing to undo here.
        Remove(c);
        Free(c);
    }
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->m_owner == this)
        return;
    if (c->m_owner)
        c->m_owner->RemoveComponent(c);
    if (!c->m_name.empty() && FindComponent(c->m_name))
        throw EComponentError::DuplicateName(c->m_name);
    Insert(c);
    NotifyAll(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    if (!c || c->m_owner != this)
        return;
    NotifyAll(c, TOperation::opRemove);
    Remove(c);
}

void TComponent::Insert(TComponent* c) {
    m_components.push_back(c);
    c->m_owner = this;
}

void TComponent::Remove(TComponent* c) {
    m_components.erase(std::remove(m_components.begin(), m_components.end(), c),
                       m_components.end());
    c->m_owner = nullptr;
}

void TComponent::NotifyAll(TComponent* c, TOperation op) {
    Notification(c, op);
    // A listener may take components away; walk a copy and skip the ones gone meanwhile.
    const std::vector<TComponent*> snapshot = m_components;
    for (TComponent* other : snapshot)
        if (other != c &&
            std::find(m_components.begin(), m_components.end(), other) != m_components.end())
            other->Notification(c, op);
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this)
        return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), c) == m_freeNotifies.end())
        m_freeNotifies.push_back(c);
    if (std::find(c->m_freeNotifies.begin(), c->m_freeNotifies.end(), this) ==
        c->m_freeNotifies.end())
        c->m_freeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    if (!c)
        return;
    m_freeNotifies.erase(std::remove(m_freeNotifies.begin(), m_freeNotifies.end(), c),
                         m_freeNotifies.end());
    c->m_freeNotifies.erase(std::remove(c->m_freeNotifies.begin(), c->m_freeNotifies.end(), this),
                            c->m_freeNotifies.end());
}

void TComponent::Loading() {
    m_state.Include(csLoading);
}

void TComponent::Loaded() {
    m_state.Exclude(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // A component that heard about c only through FreeNotification forgets it.
    if (operation == TOperation::opRemove && component)
        m_freeNotifies.erase(std::remove(m_freeNotifies.begin(), m_freeNotifies.end(), component),
                             m_freeNotifies.end());
}

} // namespace toolkit
