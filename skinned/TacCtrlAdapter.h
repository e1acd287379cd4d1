#pragma once
// The control adapter of a skinned form: it walks the form's controls and gives every standard
// windowed control that knows nothing of the skin a window adapter (TacMainWnd family) that
// paints it, or recolours it, from the skin. The form's frame provider owns one while its skin
// is active.
//
// What is taken (AddAllItems): windowed controls with a parent that are grids, push or bitmap
// buttons, combo boxes, edits (memos and spin edits included) or plain panels, or whose class is
// one of the known third-party editors and viewers. A control that already answers command 7
// (a skinned control, or one adapted by someone else) is left alone. OnSkinItem may refuse a
// control or give it another section than the default "EDIT"; the window adapter is chosen by
// the control's kind (grid: TacGridWnd; bitmap button: TacBitBtnWnd, "BUTTON"; push button:
// TacBtnWnd, "BUTTON"; combo box: TacComboBoxWnd; spin edit: TacSpinEditWnd; edit: TacEditWnd;
// panel: TacTransPanelWnd, "PANEL"). The walk goes into every windowed control that has a window,
// taken or not, except combo boxes (their edit and list are theirs to paint); a window made
// inside an adapted control later (a grid's in-place editor) is adapted as it appears. Standard
// labels become transparent and take the skin's general font colour.
//
// Controls without a window yet are skipped; walking again later picks them up. A form made
// hidden (the save options window) has no windows until it is first shown, so the owner walks
// on every activation, not only when it makes the adapter: a walk that finds nothing new costs
// about 30 µs on the main window, and walking twice adapts nothing twice.
//
// RemoveAllItems gives every control back its window procedure and the look it had before:
// colours of edits and grids, FixedColor, the labels' transparency and font colour. The
// adapter also does so when it is freed, so a provider may simply drop it.
//
// Lifetime: the form and the provider's skin state must outlive the adapter. A control that
// is freed (or whose window goes) while adapted simply drops out of the list.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/WinDefs.h"
#include "toolkit/TObject.h"

namespace toolkit {
class TControl;
class TCustomForm;
class TLabel;
class TWinControl;
} // namespace toolkit

namespace skin {
class TsCommonData;
class TsSkinManager;
} // namespace skin

namespace skinned {

class TacCtrlAdapter;
class TacMainWnd;

// Asked for every control the walk takes: set canBeAdded to false to leave it alone, or change
// skinSection (default "EDIT"; buttons and panels take their own section unless changed here).
using TacSkinItemEvent =
    std::function<void(toolkit::TControl* item, bool& canBeAdded, std::string& skinSection)>;

// One adapted control: the control, its window adapter and the skin state the adapter paints
// with (the adapter's own, its section set per control).
class TacAdapterItem {
public:
    TacAdapterItem(TacCtrlAdapter& adapter, toolkit::TWinControl& control);
    ~TacAdapterItem();
    TacAdapterItem(const TacAdapterItem&) = delete;
    TacAdapterItem& operator=(const TacAdapterItem&) = delete;

    TacCtrlAdapter& Adapter() const { return *m_adapter; }
    // The control, or none once it has been freed.
    toolkit::TWinControl* Ctrl() const;
    // The window adapter while attached to the control's window, else none.
    TacMainWnd* WindowAdapter() const;
    // The adapter's skin state; none while no window adapter is attached.
    skin::TsCommonData* SkinData() const;

    // Makes the window adapter for the control's kind with the section (an empty section: the
    // kind's own). False when the control's kind gets none.
    bool DoHook(const std::string& section);
    // Gives the window back and the control its look from before the skin.
    void Unhook();

private:
    // The colours a recolouring adapter found, kept here too: when the window goes while the
    // control stays (a recreated window), the adapter cannot give them back, and the next
    // adapter would take the skin's colours for the control's own.
    struct SavedLook {
        std::uint32_t color = 0;
        std::uint32_t fontColor = 0;
        bool parentColor = false;
        bool parentFont = false;
        bool grid = false;
        std::uint32_t fixedColor = 0;
    };
    void RestoreLook();

    TacCtrlAdapter* m_adapter;
    toolkit::TWinControl* m_control;
    std::weak_ptr<const bool> m_life;
    std::unique_ptr<TacMainWnd> m_window;
    std::optional<SavedLook> m_saved;
};

class TacCtrlAdapter {
public:
    // providerSkin: the provider's skin state; its manager is the adapters' manager.
    TacCtrlAdapter(toolkit::TCustomForm& form, skin::TsCommonData& providerSkin);
    ~TacCtrlAdapter();
    TacCtrlAdapter(const TacCtrlAdapter&) = delete;
    TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;

    toolkit::TCustomForm& Form() const { return *m_form; }
    skin::TsCommonData& ProviderSkin() const { return *m_providerSkin; }
    skin::TsSkinManager* Manager() const;
    // The section a taken control gets unless OnSkinItem or its kind says otherwise.
    const std::string& DefaultSection() const { return m_defaultSection; }

    // Walks the form and adapts what is to be adapted (nothing without an active skin).
    void AddAllItems();
    // The same for what lies inside one container of the form.
    void AddItemsIn(toolkit::TWinControl& container);
    // Detaches every adapter and restores every control's look.
    void RemoveAllItems();
    // A library command for every adapted control: 1 (new skin) adapts everything afresh in
    // the new skin's colours, 2 (skin removed) is RemoveAllItems, anything else reaches every
    // adapter's window.
    void SkinCommand(int command);

    int Count() const { return static_cast<int>(m_items.size()); }
    TacAdapterItem& Items(int index) const { return *m_items[static_cast<std::size_t>(index)]; }
    // The item of a control, or none.
    TacAdapterItem* Find(const toolkit::TControl* control) const;

    TacSkinItemEvent OnSkinItem;

private:
    struct LabelLook {
        toolkit::TLabel* label;
        std::weak_ptr<const bool> life;
        bool transparent;
        std::uint32_t fontColor;
        bool parentFont;
    };
    void Walk(toolkit::TWinControl& container);
    void Consider(toolkit::TControl& control);
    void AddItem(toolkit::TWinControl& control);
    void SkinLabel(toolkit::TLabel& label);
    // Drops items whose control or window went away.
    void Prune();

    toolkit::TCustomForm* m_form;
    skin::TsCommonData* m_providerSkin;
    std::string m_defaultSection = "EDIT";
    std::vector<std::unique_ptr<TacAdapterItem>> m_items;
    std::vector<LabelLook> m_labels;
};

// Whether the walk takes a control of this class name whatever its kind (third-party editors,
// rich-text viewers, virtual trees).
bool IsKnownEditorClass(const std::string& className);

} // namespace skinned
