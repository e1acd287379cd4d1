#pragma once
// The bound label of a skinned edit control: a caption label that stands beside or above the
// control and moves with it. It stays a set of properties while inactive; activating it creates
// a TsEditLabel owned by the control, parented to the control's parent, named after the control
// with "Label" appended, focusing the control on its accelerator, visible and enabled as the
// control is (visible at design time too). An empty Caption takes the control's name on
// activation. Deactivating frees the label; a label freed by others clears Active.
//
// Layout (run on activation and on every change of Caption, Indent, Layout, MaxWidth or Font
// while active; the label auto-sizes first), control coordinates in the parent:
//   sclLeft      right-justified, left = control left − width − Indent − 4,
//                top = control top + (control height − label height) / 2 − 1
//   sclTopLeft   left-justified,  left = control left,                       top = control top −
//   sclTopCenter centred,         left = control left + (control w − w) / 2,  label height −
//   sclTopRight  right-justified, left = control right − width               Indent
// Divisions round towards zero. A MaxWidth other than 0 then turns AutoSize off, takes MaxWidth
// as the width, wraps words and takes the larger of its height and the control's as height.
//
// Ownership: the bound label belongs to its control (through the control's skin state, which it
// holds as a non-owning reference) and owns the label it made.

#include <cstdint>
#include <memory>
#include <string>

#include "skinned/TsLabel.h"
#include "toolkit/TGraphicsObject.h"

namespace skinned {

enum class TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };
using enum TsCaptionLayout;

class TsBoundLabel;

class TsEditLabel : public TsLabel {
public:
    TsEditLabel(toolkit::TComponent* owner, TsBoundLabel* bound);
    ~TsEditLabel() override;
    std::string ClassName() const override { return "TsEditLabel"; }
    TsBoundLabel* BoundLabel() const { return m_bound; }

protected:
    // A new font gives the label a new size: it is laid out beside its control again.
    void SkinnedWndProc(toolkit::TMessage& message) override;

private:
    friend class TsBoundLabel;
    TsBoundLabel* m_bound;
};

class TsBoundLabel {
public:
    explicit TsBoundLabel(skin::TsCommonData& data);
    ~TsBoundLabel();
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;

    bool Active() const { return m_active; }
    void SetActive(bool on);
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    std::int32_t Indent() const { return m_indent; }
    void SetIndent(std::int32_t indent);
    toolkit::TFont& Font();
    TsCaptionLayout Layout() const { return m_layout; }
    void SetLayout(TsCaptionLayout layout);
    std::int32_t MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(std::int32_t width);
    bool UseSkinColor() const;
    void SetUseSkinColor(bool on);

    TsEditLabel* Label() const { return m_label; }
    // Places the label by the control (nothing while inactive).
    void AlignLabel();

private:
    friend class TsEditLabel;
    toolkit::TControl* Control() const { return m_data.OwnerControl(); }

    skin::TsCommonData& m_data;
    TsEditLabel* m_label = nullptr;
    bool m_active = false;
    std::string m_caption;
    std::int32_t m_indent = 0;
    toolkit::TFont m_font;
    TsCaptionLayout m_layout = sclLeft;
    std::int32_t m_maxWidth = 0;
    bool m_useSkinColor = true;
};

} // namespace skinned
