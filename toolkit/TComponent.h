#pragma once
// Components: objects that own other components and free them.
//
// Ownership: a component made with an owner is inserted into the owner's Components list and is
// deleted by the owner when the owner goes (last inserted first). A component deleted earlier
// removes itself from its owner first, so nothing is deleted twice. Every component of the
// owner, and every component that asked for FreeNotification, hears Notification(c, opRemove)
// before c is gone; Notification(c, opInsert) tells the owner's components about a newcomer.
//
// Destruction: prefer Free(c) (or the owner) to a bare delete: it runs BeforeDestruction while
// the whole object still exists, which marks the component csDestroying and lets derived
// classes run their "about to go" events (a form's OnDestroy) with every member alive. A bare
// delete still marks the state, but the derived parts are already gone by then.
//
// Names: empty, or an identifier (a letter or "_", then letters, digits or "_"), unique among
// the owner's components without regard to ASCII case; anything else raises EComponentError and
// keeps the old name.
//
// Loading: Loading() sets csLoading while a window definition is read; Loaded() clears it and is
// the place for work that needs every property set.

#include <string>
#include <vector>

#include "toolkit/TPersistent.h"
#include "toolkit/TSet.h"

namespace toolkit {

enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;
using enum TComponentStateItem;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    ~TComponent() override;

    std::string ClassName() const override { return "TComponent"; }

    // Runs BeforeDestruction, then deletes c. Null does nothing.
    static void Free(TComponent* c);

    TComponent* Owner() const { return m_owner; }
    const std::string& Name() const { return m_name; }
    virtual void SetName(const std::string& name);
    std::int32_t Tag() const { return m_tag; }
    void SetTag(std::int32_t tag) { m_tag = tag; }

    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    // EListError "List index out of bounds (%d)" outside 0 ... ComponentCount() - 1.
    TComponent* Components(int index) const;
    const std::vector<TComponent*>& ComponentList() const { return m_components; }
    int ComponentIndex() const;
    // The owned component of that name (ASCII case ignored), or nullptr.
    TComponent* FindComponent(const std::string& name) const;

    // Deletes every owned component, last first.
    void DestroyComponents();
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    // c hears Notification(this, opRemove) when this component goes, owner or not.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    TComponentState ComponentState() const { return m_state; }
    bool IsLoading() const { return m_state.Contains(csLoading); }
    bool IsDestroying() const { return m_state.Contains(csDestroying); }
    virtual void Loading();
    virtual void Loaded();

    // Called by Free before the object is taken apart; overrides call the base first.
    virtual void BeforeDestruction();

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void Destroying();
    void SetDesigning(bool on) { m_state.Set(csDesigning, on); }

private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);
    void NotifyAll(TComponent* c, TOperation op);

    TComponent* m_owner = nullptr;
    std::string m_name;
    std::int32_t m_tag = 0;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
    TComponentState m_state;
    bool m_beforeDestructionDone = false;
};

} // namespace toolkit
