#pragma once
// TacSkinnedControl<Base>: the plumbing every skinned control shares, said once.
//
// A skinned control is its plain toolkit class plus a skin state (skin::TsCommonData, published
// as SkinData). This template owns that state, made right after the plain part with the
// control's type code, initialises it after construction and again after loading, routes the
// window procedure through it, and raises OnMouseEnter / OnMouseLeave for the control's own
// enter and leave (not for a child's passing through).
//
// How a skinned class uses it:
//
//     class TsMemo : public TacSkinnedControl<toolkit::TMemo> {
//     public:
//         explicit TsMemo(toolkit::TComponent* owner)
//             : TacSkinnedControl(owner, {skin::kTypeMemo}) {}
//     protected:
//         void SkinCommand(toolkit::TMessage& m) override;  // optional
//         void SkinnedWndProc(toolkit::TMessage& m) override; // optional
//     };
//
// Extra constructor arguments after the setup go to Base's constructor. Message routing:
// - the library command message goes to SkinCommand (by default the skin state alone), never
//   to the plain part;
// - every other message goes to the skin state first; unless the state used it up, it goes to
//   SkinnedWndProc (by default the plain part's WndProc), where a class adds its own handling
//   and calls this template's version for the rest.
// Before the skin state exists (while the plain part is built) and after it is gone (while the
// plain part is taken apart) messages go straight to the plain part.

#include <cstdint>
#include <memory>
#include <utility>

#include "skin/sCommonData.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TControl.h"

namespace skinned {

struct TacSkinSetup {
    std::int32_t typeCode = 0;
    bool withCache = true; // keep a cache bitmap
};

template <class Base> class TacSkinnedControl : public Base {
public:
    template <class... BaseArgs>
    TacSkinnedControl(toolkit::TComponent* owner, TacSkinSetup setup, BaseArgs&&... baseArgs)
        : Base(owner, std::forward<BaseArgs>(baseArgs)...),
          m_skinData(std::make_unique<skin::TsCommonData>(this, setup.withCache)) {
        m_skinData->SetControlTypeCode(setup.typeCode);
        m_skinData->Initialise();
    }

    // The skin state goes first: nothing may reach it while the plain part is taken apart.
    ~TacSkinnedControl() override { m_skinData.reset(); }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }

    toolkit::TNotifyEvent OnMouseEnter;
    toolkit::TNotifyEvent OnMouseLeave;

    void WndProc(toolkit::TMessage& message) override {
        if (!m_skinData) {
            Base::WndProc(message);
            return;
        }
        if (message.Msg == toolkit::kLibraryCommandMessage) {
            SkinCommand(message);
            return;
        }
        if (m_skinData->WndProc(message))
            return;
        const bool enter = message.Msg == toolkit::CM_MOUSEENTER;
        const bool leave = message.Msg == toolkit::CM_MOUSELEAVE;
        // A handler run from here (a click, say) may free the control.
        const std::weak_ptr<const bool> alive = this->LifeToken();
        SkinnedWndProc(message);
        if (alive.expired())
            return;
        // A child's enter and leave pass through its parent too; only the control's own count.
        if ((enter || leave) && message.LParam == 0 && m_skinData) {
            const toolkit::TNotifyEvent& event = enter ? OnMouseEnter : OnMouseLeave;
            if (event)
                event(this);
        }
    }

    // The first moment the whole object exists: the skin state may now read its class.
    void SetParent(toolkit::TWinControl* parent) override {
        if (m_skinData)
            m_skinData->OwnerComplete();
        Base::SetParent(parent);
    }

    void Loaded() override {
        Base::Loaded();
        m_skinData->Initialise();
    }

protected:
    // The library command message; the skin state's answer unless a class needs more.
    virtual void SkinCommand(toolkit::TMessage& message) { m_skinData->WndProc(message); }
    // Every other message the skin state did not use up.
    virtual void SkinnedWndProc(toolkit::TMessage& message) { Base::WndProc(message); }
    // Whether the skin state exists (false only while the plain part is built or taken apart).
    bool HasSkinData() const { return static_cast<bool>(m_skinData); }

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
};

} // namespace skinned
