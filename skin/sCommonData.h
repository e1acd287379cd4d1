#pragma once
// TsCommonData: the skin state every skinned control owns (published as its SkinData). It says
// which skin section the control is painted from and caches that section's indexes, keeps the
// control's 24-bit cache bitmap, tracks focus and mouse-over, and answers the library command
// message (toolkit::kLibraryCommandMessage, 41216) the skin manager and other controls send.
//
// The command message: WParam holds the command number in its high 16 bits and a small argument
// in the low 16 bits; LParam carries the skin manager (commands 1, 2, 3) or an argument. Commands
// 1, 2 and 3 from another manager than the control's are ignored. Commands 5 (give background),
// 20 (background changed) and 21 (give colour) answer through process-wide records that the
// asking code reads right after its synchronous send (CommandBackdrop, CommandColor,
// CommandFlag). Everything runs on the user-interface thread.
//
// Ownership: the control owns its skin state (and the skin state its cache bitmap); the owner
// and the explicit manager are non-owning references. A manager that goes away makes every skin
// state that named it forget it, so no state keeps a dangling manager.
//
// Colours are in the system layout (red in the low byte); $FF00FF means "no colour".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gfx/Geometry.h"
#include "platform/win/WinDefs.h"
#include "skin/SkinCommands.h"
#include "skin/SkinStates.h"
#include "skin/acFast24.h"
#include "toolkit/ControlMessages.h"

namespace platform {
class DeviceContext;
}

namespace toolkit {
class TBitmap;
class TComponent;
class TControl;
class TCustomForm;
class TWinControl;
} // namespace toolkit

namespace skin {

class TsSkinManager;
struct TsGeneralData;

// The answer records of commands 5, 20 and 21, and the section name carried by command 13.
TsBackdropInfo& CommandBackdrop();
platform::Color& CommandColor();
bool& CommandFlag();
std::string& CommandSectionName();

// Control type codes the skin state itself looks at (the controls set theirs).
inline constexpr std::int32_t kTypeEdit = 3;
inline constexpr std::int32_t kTypeMemo = 7;
inline constexpr std::int32_t kTypePanel = 51;
inline constexpr std::int32_t kTypeSpeedButton = 92;
inline constexpr std::int32_t kTypeBitBtn = 94;
inline constexpr std::int32_t kTypeFormProvider = 224;

// The section a control without SkinSection starts with; empty for codes without one.
std::string DefaultSectionOf(std::int32_t typeCode);
// Edit-like controls take the section's colours as their Color and font colour.
bool IsEditTypeCode(std::int32_t typeCode);
// Containers and bars that never show a hot state.
bool IsNoHotTypeCode(std::int32_t typeCode);

class TsCommonData {
public:
    // owner: the control (or another owning object); withCache: keep a cache bitmap (0 × 0 until
    // PrepareCache sizes it).
    TsCommonData(toolkit::TComponent* owner, bool withCache);
    ~TsCommonData();
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;

    // ---- published ----
    bool CustomColor() const { return m_customColor; }
    void SetCustomColor(bool value);
    bool CustomFont() const { return m_customFont; }
    void SetCustomFont(bool value);
    // The explicit manager, or else the default one (may be none).
    TsSkinManager* SkinManager() const;
    // Only the explicit manager: what a window definition stores.
    TsSkinManager* ExplicitManager() const { return m_manager; }
    void SetSkinManager(TsSkinManager* manager);
    const std::string& SkinSection() const { return m_skinSection; }
    // Stored upper-cased; "UNKNOWN" for an empty name.
    void SetSkinSection(const std::string& value);

    // ---- state ----
    TsSkinManager* Manager() const { return SkinManager(); }
    std::int32_t SectionIndex() const { return m_sectionIndex; }
    std::int32_t BorderIndex() const { return m_borderIndex; }
    std::int32_t TextureIndex() const { return m_textureIndex; }
    std::int32_t HotTextureIndex() const { return m_hotTextureIndex; }
    bool Updating() const { return m_updating; }
    void SetUpdating(bool on) { m_updating = on; }
    bool BackgroundChanged() const { return m_backgroundChanged; }
    void SetBackgroundChanged(bool on) { m_backgroundChanged = on; }
    bool HalfVisible() const { return m_halfVisible; }
    void SetHalfVisible(bool on) { m_halfVisible = on; }
    bool RepaintOnMove() const { return m_repaintOnMove; }
    platform::LPARAM RelatedObject() const { return m_relatedObject; }
    bool Focused() const { return m_focused; }
    bool MouseOver() const { return m_mouseOver; }
    void SetMouseOver(bool on) { m_mouseOver = on; }
    // A container that hands the manager's commands 1, 2 and 3 on to its children itself: the
    // manager's broadcast then stops at it.
    bool PassesCommands() const { return m_passesCommands; }
    void SetPassesCommands(bool on);
    std::int32_t ControlTypeCode() const { return m_typeCode; }
    void SetControlTypeCode(std::int32_t code) { m_typeCode = code; }
    toolkit::TControl* OwnerControl() const { return m_ownerControl; }
    toolkit::TComponent* OwnerObject() const { return m_ownerObject; }
    // The cache bitmap (24-bit), or none for a state made without one.
    toolkit::TBitmap* CacheBmp() const { return m_cache.get(); }
    // The section's record when the index is valid in the manager's table, else none.
    const TsGeneralData* Section() const;

    // ---- operations ----
    // Owner alive, manager alive, the skin loaded (when asked) and the section index valid.
    bool Skinned(bool checkLoaded = false) const;
    void UpdateIndexes();
    // After construction and after loading: the default section or fresh indexes, then the
    // skinned look (repaint; the section's colours for an edit control).
    void Initialise();
    // The owner is whole now (the control calls it as it takes a parent). A section named after
    // the owner's class while only its base part existed is named after its own class instead.
    void OwnerComplete();
    // The cache must be rebuilt; repaint when the control is showing.
    void Refresh();
    // True while no skin can be painted or the control (or its parent) is changing.
    bool IsUpdating() const;
    bool DependsOnParent() const;
    bool IsTransparent() const;
    void BeginUpdate();
    void EndUpdate();
    // Creates (if needed) and sizes the cache to the owner control; answers the cache.
    toolkit::TBitmap* PrepareCache();

    // Command 3's part for the state alone: for a message from this control's manager the
    // background is marked changed, updating ends and an edit control takes the section's
    // colours. True when the control should now be repainted (it is skinned and windowed); a
    // container repaints only after its children have taken the refresh too.
    bool TakeRefresh(const toolkit::TMessage& message);

    // Handles a message for the owner. Answers true when the message is used up (library
    // commands always are; among window messages only a skinned control's UI-state update);
    // the control passes everything else on to its own handling.
    bool WndProc(toolkit::TMessage& message);

private:
    bool HandleCommand(toolkit::TMessage& message);
    void HandleWindowMessage(toolkit::TMessage& message, bool& usedUp);
    bool FromMyManager(platform::LPARAM l) const;
    // The form of the form skinning provider that owns this state, while its window exists.
    toolkit::TCustomForm* ProviderForm() const;
    void TakeSectionColors();
    void AnswerColor();
    void ForgetManager(const TsSkinManager* manager);
    friend void ForgetManagerEverywhere(const TsSkinManager* manager);

    bool m_updating = false;
    std::string m_skinSection;
    bool m_customFont = false;
    bool m_customColor = false;
    TsSkinManager* m_manager = nullptr;
    std::int32_t m_borderIndex = -1;
    std::int32_t m_sectionIndex = -1;
    std::int32_t m_textureIndex = -1;
    std::int32_t m_hotTextureIndex = -1;
    platform::LPARAM m_relatedObject = 0;
    bool m_repaintOnMove = false;
    bool m_backgroundChanged = true;
    bool m_halfVisible = true;
    toolkit::TControl* m_ownerControl = nullptr;
    toolkit::TComponent* m_ownerObject = nullptr;
    std::unique_ptr<toolkit::TBitmap> m_cache;
    std::int32_t m_typeCode = 0;
    bool m_focused = false;
    bool m_mouseOver = false;
    bool m_passesCommands = false;
    // The section is the owner's class name, chosen while the owner may not have been whole.
    bool m_sectionFromClass = false;
};

// Set while every skinned container should repaint all at once when its children are told
// that it has finished updating (command 6), updating or not.
bool& RepaintAllFlag();

// Makes every state that names the manager forget it (the manager calls it as it goes).
void ForgetManagerEverywhere(const TsSkinManager* manager);

// Whether a control shows its hot look: focused, or mouse over a control that may be hot.
bool Highlighted(const toolkit::TControl* control, const TsCommonData& data);

// The parent's background (command 5 to the parent); an empty record when there is no parent or
// anything fails. The variant asks the parent of the control behind a window handle.
TsBackdropInfo GetParentBackground(const toolkit::TControl& control);
TsBackdropInfo GetParentBackground(platform::HWND window);
// The parent's colour through command 21: $FF00FF when the parent gives none.
platform::Color GetParentColor(const toolkit::TControl& control);

// Puts the cache on a context: source is the area of the cache, dest the area on dc (logical
// coordinates). With repairCorners the border corners are repaired first. The clip is narrowed
// to dest and cut around the children that paint themselves over it (graphic controls unless
// GraphicChildrenPaintSeparately(), opaque controls), their bounds shifted by (dx, dy); the
// cache is copied in one block from source's top left corner; dc's state is put back.
void PutCacheOnDC(toolkit::TControl& control, TsCommonData& data, const platform::Rect& source,
                  std::int32_t dy, std::int32_t dx, bool repairCorners, platform::DeviceContext& dc,
                  const platform::Rect& dest);
// Set while graphic children are painted by their own pass over the parent's cache.
bool& GraphicChildrenPaintSeparately();

} // namespace skin
