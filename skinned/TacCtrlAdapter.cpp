#include "skinned/TacCtrlAdapter.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skin/SkinColors.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "skinned/TacBtnWnd.h"
#include "skinned/TacGridWnd.h"
#include "skinned/TacScrollWnd.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TButton.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TCustomGrid.h"
#include "toolkit/TForm.h"
#include "toolkit/TLabel.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpinEdit.h"

namespace skinned {

namespace {

constexpr std::array<std::string_view, 12> kEditorClasses{"TSynEdit",
                                                          "TSynMemo",
                                                          "TDBSynEdit",
                                                          "TRichView",
                                                          "TDBRichViewEdit",
                                                          "TRichViewEdit",
                                                          "TDBRichView",
                                                          "TVirtualStringTree",
                                                          "TVirtualDrawTree",
                                                          "TEasyListview",
                                                          "TVirtualExplorerListview",
                                                          "TVirtualExplorerTreeview"};
constexpr std::array<std::string_view, 4> kRichTextClasses{"TRichView", "TDBRichViewEdit",
                                                           "TRichViewEdit", "TDBRichView"};

bool OneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A plain panel: skinned panels are descendants with their own class names.
bool IsPlainPanel(const toolkit::TWinControl& control) {
    return dynamic_cast<const toolkit::TCustomPanel*>(&control) && control.ClassName() == "TPanel";
}

// A combo box's edit and list are its own parts: its adapter (or its skin) sees to them.
bool WalkedInto(const toolkit::TWinControl& control) {
    return control.HandleAllocated() && control.Parent() &&
           !dynamic_cast<const toolkit::TCustomComboBox*>(&control);
}

bool Taken(const toolkit::TWinControl& control) {
    return dynamic_cast<const toolkit::TCustomGrid*>(&control) ||
           dynamic_cast<const toolkit::TButton*>(&control) ||
           dynamic_cast<const toolkit::TCustomComboBox*>(&control) ||
           dynamic_cast<const toolkit::TCustomEdit*>(&control) || IsPlainPanel(control) ||
           IsKnownEditorClass(control.ClassName());
}

// The section a control's kind paints from when nobody names another.
std::string KindSection(const toolkit::TWinControl& control, const std::string& fallback) {
    if (dynamic_cast<const toolkit::TButton*>(&control))
        return "BUTTON";
    if (IsPlainPanel(control))
        return "PANEL";
    return fallback;
}

// Whether something already skins the control: its own skin state, or an adapter on its window.
bool AnswersSkinned(toolkit::TWinControl& control) {
    if (skin::SendCommand(control, skin::kCmdAreYouSkinned) != 0)
        return true;
    return platform::SendMessage(control.HandleIfAllocated(), toolkit::kLibraryCommandMessage,
                                 skin::MakeCommand(skin::kCmdAreYouSkinned), 0) != 0;
}

} // namespace

bool IsKnownEditorClass(const std::string& className) {
    return OneOf(className, kEditorClasses);
}

// ---- TacAdapterItem -------------------------------------------------------------------------

TacAdapterItem::TacAdapterItem(TacCtrlAdapter& adapter, toolkit::TWinControl& control)
    : m_adapter(&adapter), m_control(&control), m_life(control.LifeToken()) {}

TacAdapterItem::~TacAdapterItem() {
    Unhook();
}

toolkit::TWinControl* TacAdapterItem::Ctrl() const {
    return m_life.expired() ? nullptr : m_control;
}

TacMainWnd* TacAdapterItem::WindowAdapter() const {
    return m_window && m_window->Attached() ? m_window.get() : nullptr;
}

skin::TsCommonData* TacAdapterItem::SkinData() const {
    TacMainWnd* window = WindowAdapter();
    return window ? &window->SkinData() : nullptr;
}

bool TacAdapterItem::DoHook(const std::string& section) {
    toolkit::TWinControl* control = Ctrl();
    if (!control || !control->HandleAllocated())
        return false;
    if (WindowAdapter())
        return true;
    m_window.reset();
    // Again after losing a window: the control first gets its own colours back.
    RestoreLook();
    SavedLook saved{control->Color(),
                    control->Font().Color(),
                    control->ParentColor(),
                    control->ParentFont(),
                    false,
                    0};
    if (auto* grid = dynamic_cast<toolkit::TCustomGrid*>(control)) {
        saved.grid = true;
        saved.fixedColor = grid->FixedColor();
    }
    const platform::HWND h = control->HandleIfAllocated();
    skin::TsSkinManager* manager = m_adapter->Manager();
    const std::string name = control->ClassName();
    const auto sectionOr = [&](const char* own) { return section.empty() ? own : section; };
    // The order decides for controls of more than one kind.
    if (dynamic_cast<toolkit::TCustomGrid*>(control))
        m_window = std::make_unique<TacGridWnd>(h, nullptr, manager, sectionOr("EDIT"));
    else if (dynamic_cast<toolkit::TBitBtn*>(control))
        m_window = std::make_unique<TacBitBtnWnd>(h, nullptr, manager, sectionOr("BUTTON"));
    else if (dynamic_cast<toolkit::TButton*>(control))
        m_window = std::make_unique<TacBtnWnd>(h, nullptr, manager, sectionOr("BUTTON"));
    else if (dynamic_cast<toolkit::TCustomComboBox*>(control))
        m_window = std::make_unique<TacComboBoxWnd>(h, nullptr, manager, sectionOr("EDIT"));
    else if (dynamic_cast<toolkit::TSpinEdit*>(control))
        m_window = std::make_unique<TacSpinEditWnd>(h, nullptr, manager, sectionOr("EDIT"));
    else if (dynamic_cast<toolkit::TCustomEdit*>(control))
        m_window = std::make_unique<TacEditWnd>(h, nullptr, manager, sectionOr("EDIT"));
    else if (IsPlainPanel(*control))
        m_window = std::make_unique<TacTransPanelWnd>(h, nullptr, manager, sectionOr("PANEL"));
    else if (OneOf(name, kRichTextClasses))
        m_window = std::make_unique<TacGridWnd>(h, nullptr, manager, sectionOr("EDIT"));
    else if (IsKnownEditorClass(name))
        m_window = std::make_unique<TacEditWnd>(h, nullptr, manager, sectionOr("EDIT"));
    if (dynamic_cast<TacEditWnd*>(m_window.get()))
        m_saved = saved;
    if (!WindowAdapter())
        return false;
    // Windows made inside the control later (a grid's in-place editor) are adapted as they come.
    m_window->OnChildCreated = [this] {
        if (toolkit::TWinControl* self = Ctrl())
            m_adapter->AddItemsIn(*self);
    };
    return true;
}

void TacAdapterItem::RestoreLook() {
    toolkit::TWinControl* control = Ctrl();
    if (!m_saved || !control || control->IsDestroying())
        return;
    const SavedLook saved = *m_saved;
    m_saved.reset();
    if (control->Color() != saved.color)
        control->SetColor(saved.color);
    if (control->Font().Color() != saved.fontColor)
        control->Font().SetColor(saved.fontColor);
    control->SetParentColor(saved.parentColor);
    control->SetParentFont(saved.parentFont);
    if (auto* grid = dynamic_cast<toolkit::TCustomGrid*>(control);
        grid && saved.grid && grid->FixedColor() != saved.fixedColor)
        grid->SetFixedColor(saved.fixedColor);
}

void TacAdapterItem::Unhook() {
    if (m_window) {
        m_window->Detach();
        m_window.reset();
    }
    RestoreLook();
}

// ---- TacCtrlAdapter -------------------------------------------------------------------------

TacCtrlAdapter::TacCtrlAdapter(toolkit::TCustomForm& form, skin::TsCommonData& providerSkin)
    : m_form(&form), m_providerSkin(&providerSkin) {}

TacCtrlAdapter::~TacCtrlAdapter() {
    RemoveAllItems();
}

skin::TsSkinManager* TacCtrlAdapter::Manager() const {
    return m_providerSkin->SkinManager();
}

TacAdapterItem* TacCtrlAdapter::Find(const toolkit::TControl* control) const {
    for (const auto& item : m_items)
        if (item->Ctrl() == control && control)
            return item.get();
    return nullptr;
}

void TacCtrlAdapter::Prune() {
    // An item whose window went while its control lives stays until it is hooked again or
    // removed: it still knows the control's own colours.
    std::erase_if(m_items,
                  [](const std::unique_ptr<TacAdapterItem>& item) { return !item->Ctrl(); });
    std::erase_if(m_labels, [](const LabelLook& look) { return look.life.expired(); });
}

void TacCtrlAdapter::AddAllItems() {
    Prune();
    skin::TsSkinManager* manager = Manager();
    if (!manager || !manager->SkinData().Active || m_form->IsDestroying())
        return;
    for (int i = 0; i < m_form->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<toolkit::TControl*>(m_form->Components(i)))
            Consider(*control);
    Walk(*m_form);
}

void TacCtrlAdapter::AddItemsIn(toolkit::TWinControl& container) {
    skin::TsSkinManager* manager = Manager();
    if (!manager || !manager->SkinData().Active || m_form->IsDestroying() || !WalkedInto(container))
        return;
    Walk(container);
}

void TacCtrlAdapter::Walk(toolkit::TWinControl& container) {
    // A copy: adapting a control may make or free windows.
    const std::vector<toolkit::TControl*> children = container.ControlList();
    for (toolkit::TControl* child : children) {
        const auto& now = container.ControlList();
        if (std::find(now.begin(), now.end(), child) == now.end() || child->IsDestroying())
            continue;
        Consider(*child);
        auto* windowed = dynamic_cast<toolkit::TWinControl*>(child);
        if (windowed && WalkedInto(*windowed))
            Walk(*windowed);
    }
}

void TacCtrlAdapter::Consider(toolkit::TControl& control) {
    if (control.IsDestroying())
        return;
    if (auto* label = dynamic_cast<toolkit::TLabel*>(&control)) {
        // Only the standard label: its skinned descendants paint their own text.
        if (label->ClassName() == "TLabel")
            SkinLabel(*label);
        return;
    }
    auto* windowed = dynamic_cast<toolkit::TWinControl*>(&control);
    if (windowed && windowed->Parent() && windowed->HandleAllocated() && Taken(*windowed))
        AddItem(*windowed);
}

void TacCtrlAdapter::AddItem(toolkit::TWinControl& control) {
    if (TacAdapterItem* item = Find(&control); item && item->WindowAdapter())
        return;
    if (AnswersSkinned(control))
        return;
    bool canBeAdded = true;
    std::string section = m_defaultSection;
    if (OnSkinItem) {
        const std::weak_ptr<const bool> life = control.LifeToken();
        OnSkinItem(&control, canBeAdded, section);
        if (life.expired() || !control.HandleAllocated())
            return;
    }
    if (!canBeAdded)
        return;
    // A section left at the default lets the control's kind choose its own.
    if (section == m_defaultSection)
        section = KindSection(control, section);
    TacAdapterItem* item = Find(&control);
    if (!item) {
        m_items.push_back(std::make_unique<TacAdapterItem>(*this, control));
        item = m_items.back().get();
    }
    if (!item->DoHook(section))
        std::erase_if(m_items, [item](const auto& it) { return it.get() == item; });
}

void TacCtrlAdapter::SkinLabel(toolkit::TLabel& label) {
    skin::TsSkinManager* manager = Manager();
    const platform::Color fontColor = manager ? manager->GetGlobalFontColor() : skin::kMagenta;
    const bool known = std::any_of(m_labels.begin(), m_labels.end(), [&](const LabelLook& look) {
        return look.label == &label && !look.life.expired();
    });
    if (!known)
        m_labels.push_back({&label, label.LifeToken(), label.Transparent(), label.Font().Color(),
                            label.ParentFont()});
    label.SetTransparent(true);
    if (fontColor != skin::kMagenta)
        label.Font().SetColor(fontColor);
}

void TacCtrlAdapter::RemoveAllItems() {
    // Items leave the list before they detach: a control's handler running on the way finds
    // the list already consistent.
    std::vector<std::unique_ptr<TacAdapterItem>> items = std::move(m_items);
    m_items.clear();
    items.clear();
    std::vector<LabelLook> labels = std::move(m_labels);
    m_labels.clear();
    for (const LabelLook& look : labels) {
        if (look.life.expired() || look.label->IsDestroying())
            continue;
        look.label->SetTransparent(look.transparent);
        look.label->Font().SetColor(look.fontColor);
        look.label->SetParentFont(look.parentFont);
    }
}

void TacCtrlAdapter::SkinCommand(int command) {
    switch (command) {
    case skin::kCmdNewSkin:
        // The colours the controls take come from the skin: give back the old ones first so
        // that they are what is restored in the end.
        RemoveAllItems();
        AddAllItems();
        return;
    case skin::kCmdSkinRemoved:
        RemoveAllItems();
        return;
    default:
        break;
    }
    Prune();
    const platform::WPARAM w = skin::MakeCommand(static_cast<std::uint16_t>(command));
    const platform::LPARAM l = skin::ManagerParam(Manager());
    std::vector<platform::HWND> windows;
    for (const auto& item : m_items)
        if (TacMainWnd* window = item->WindowAdapter())
            windows.push_back(window->Handle());
    // By handle: a command may free a control and with it its item.
    for (const platform::HWND h : windows)
        if (platform::IsWindow(h))
            platform::SendMessage(h, toolkit::kLibraryCommandMessage, w, l);
    Prune();
}

} // namespace skinned
