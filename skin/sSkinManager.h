#pragma once
// TsSkinManager: the component that owns the current skin. It chooses where a skin comes from
// (a packed ".asz" file or a folder in SkinDirectory, else one of its InternalSkins), builds
// the skin model from the skin's "Options.dat" and images, re-colours it by HueOffset and
// Saturation, and answers the lookups painting uses.
//
// Skin paths use "\" or "/" between folders (see SkinPaths.h). Lookups never raise: a missing
// section, piece or pattern is -1. Changing skins is all or nothing: the new skin is read,
// unpacked and built completely into a model of its own (SkinLoader.h) before anything on screen
// changes. When that fails the skin in use stays applied as it was and ESkinError names the
// skin's file and the reason; the skin-changing flag is cleared either way.
//
// Controls hear about the skin through the library command message (toolkit
// kLibraryCommandMessage, commands in sCommonData.h): 1 when a skin has been applied, 16 and 3
// when they should repaint from it, 2 when it goes away. A broadcast reaches every form of the
// process that is not being loaded or destroyed (the last made first) and all its controls,
// windowed or not; forms that call themselves skinned (command 7 answered 1) are reached in a
// second pass through the registry of skinned forms instead. The default manager, once its skin
// is applied, installs the thread hook that attaches form frames and menu adapters to windows as
// they appear; that hook lives with the skinned windows, which register its installer here.
//
// Around a refresh the visible forms whose skinning provider works for this manager stop
// redrawing; each then plays its skin-change animation, drops its window region, rebuilds its
// frame and redraws whole. The default manager also hooks the application's main window: the
// theme-change notification (794) is swallowed there and the skinned menus' own messages (48307,
// 48308) go to the skinned menus.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinModel.h"
#include "skin/acSkinPack.h"
#include "toolkit/ControlMessages.h"
#include "toolkit/Exceptions.h"
#include "toolkit/TComponent.h"
#include "toolkit/TGraphicsObject.h"
#include "toolkit/TMemIniFile.h"
#include "toolkit/TStringList.h"

namespace toolkit {
class TBitmap;
class TControl;
class TCustomForm;
class TMenuItem;
} // namespace toolkit

namespace skin {

// "Cannot load skin "%s". %s": the file (or stored skin) and why it could not be read.
class ESkinError : public toolkit::Exception {
public:
    ESkinError(std::string_view source, std::string_view reason);
};

// What TryChangeSkin did: Applied, or nothing at all with NotFound (no skin of that name
// anywhere) or Failed (Message says which file and why, as ESkinError would).
struct TacSkinChange {
    enum class Outcome { Applied, NotFound, Failed };
    Outcome Result = Outcome::Failed;
    std::string Message;
    bool Applied() const { return Result == Outcome::Applied; }
};

enum class TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = std::set<TacSkinningRule>;

enum class TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
struct TacBtnEffects {
    std::set<TacBtnEvent> Events{TacBtnEvent::beMouseEnter, TacBtnEvent::beMouseLeave,
                                 TacBtnEvent::beMouseDown, TacBtnEvent::beMouseUp};
};
struct TacAnimation {
    bool Active = true;
    std::int32_t Time = 0; // milliseconds
};
struct TacAnimEffects {
    TacBtnEffects Buttons;
    TacAnimation DialogShow{true, 100};
    TacAnimation FormShow{true, 0};
    TacAnimation PageChange{true, 0};
    TacAnimation SkinChanging{true, 100};
};
struct TacMenuSupport {
    std::string IcoLineSkin = "ICOLINE";
    bool UseExtraLine = false;
    std::int32_t ExtraLineWidth = 32;
    // The font of the caption written up the extra line of skinned menus.
    toolkit::TFont ExtraLineFont;
};

// Asked for the extra line of a skinned menu whose first item is firstItem: the section it is
// painted from, its caption, a glyph drawn into glyph, and whether it shows at all.
using TacMenuExtraLineDataEvent =
    std::function<void(toolkit::TMenuItem& firstItem, std::string& skinSection,
                       std::string& caption, toolkit::TBitmap& glyph, bool& lineVisible)>;

// The skinned popup menus as the manager drives them (the menus module plugs itself in).
class TacSkinnedMenus {
public:
    virtual ~TacSkinnedMenus() = default;
    // Items of every menu become skinned (true) or plain again.
    virtual void InitMenuItems(bool skinned) = 0;
    // Forget the border width taken from the previous skin.
    virtual void ResetBorderWidth() = 0;
    // The menus' own messages (48307, 48308) reaching the main window.
    virtual void WndProc(toolkit::TMessage& message) = 0;
};

// A form skinning provider as the manager sees it around a refresh. Providers register while
// their form lives (RegisterFormProvider) and unregister before they go.
class TacFormSkinning {
public:
    virtual ~TacFormSkinning() = default;
    virtual toolkit::TCustomForm& Form() = 0;
    virtual TsSkinManager* Manager() = 0;
    // Starts fading the form from its old look to the new one over ms milliseconds.
    virtual void AnimateSkinChange(std::int32_t ms) = 0;
    // The frame (caption, borders, region) is made again from the current skin.
    virtual void RebuildFrame() = 0;
};

// Indexes the library asks for most, recomputed after every load; -1 when absent.
struct TsPieceIndexes {
    std::int32_t Section = -1;
    std::int32_t Border = -1;
    std::int32_t Glyph = -1;
    std::int32_t Pattern = -1;
    std::int32_t HotPattern = -1;
};
enum class TacCheckGlyph {
    BoxChecked,
    BoxUnchecked,
    BoxGrayed,
    RadioChecked,
    RadioUnchecked,
    RadioGrayed,
    SmallChecked,
    SmallUnchecked,
    SmallGrayed
};
enum TacSide { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };
struct TsCachedIndexes {
    std::int32_t GlobalInfo = -1;
    std::array<std::int32_t, 9> CheckGlyphs{-1, -1, -1, -1, -1, -1, -1, -1, -1}; // TacCheckGlyph
    TsPieceIndexes ComboButton;
    std::int32_t ComboGlyph = -1;
    std::array<TsPieceIndexes, 4> Tabs;          // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
    std::array<TsPieceIndexes, 4> ScrollButtons; // SCROLLBTNTOP, …BOTTOM, …LEFT, …RIGHT
    std::array<TsPieceIndexes, 2> ScrollSliders; // SCROLLSLIDERV, SCROLLSLIDERH
    std::array<TsPieceIndexes, 4> ScrollBars;    // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, 2V
};

enum class TacSkinListMode { Folders = 0, PackedFiles = 1, Both = 2 };

class TsSkinManager : public toolkit::TComponent {
public:
    explicit TsSkinManager(toolkit::TComponent* owner = nullptr);
    ~TsSkinManager() override;

    std::string ClassName() const override { return "TsSkinManager"; }

    // Reading from a form resource: between these two calls the component is loading.
    void BeginLoading() { Loading(); }
    void Loading() override;
    void Loaded() override;

    // Published properties.
    TacAnimEffects& AnimEffects() { return m_animEffects; }
    bool IsDefault() const { return DefaultManager() == this; }
    void SetIsDefault(bool value);
    bool Active() const { return m_active; }
    void SetActive(bool value);
    const toolkit::TStringList& CommonSections() const { return m_commonSections; }
    void SetCommonSections(const toolkit::TStringList& lines);
    std::int32_t Saturation() const { return m_saturation; }
    void SetSaturation(std::int32_t value);
    std::int32_t HueOffset() const { return m_hueOffset; }
    void SetHueOffset(std::int32_t value);
    TsStoredSkins& InternalSkins() { return m_internalSkins; }
    TacMenuSupport& MenuSupport() { return m_menuSupport; }
    const std::string& SkinDirectory() const { return m_skinDirectory; }
    void SetSkinDirectory(const std::string& value);
    const std::string& SkinName() const { return m_skinName; }
    // Loads and applies the named skin; an unknown name takes the first internal skin. Raises
    // ESkinError when the skin cannot be read, leaving the skin in use as it was.
    void SetSkinName(const std::string& value);
    // The same for a skin chosen outside the program (a kept setting, the command line): never
    // raises for the skin's data and never falls back to another skin, so the caller can say
    // what happened and keep the skin in use. Does nothing while the manager is inactive.
    TacSkinChange TryChangeSkin(const std::string& name);
    // The loaded skin's version with "." as decimal separator, or "N/A"; writing does nothing.
    std::string SkinInfo() const;
    void SetSkinInfo(const std::string&) {}
    const TacSkinningRules& SkinningRules() const { return m_skinningRules; }
    void SetSkinningRules(TacSkinningRules rules) { m_skinningRules = std::move(rules); }
    std::string Version() const { return "5.32"; }
    void SetVersion(const std::string&) {}
    bool SkinnedPopups() const { return m_skinnedPopups; }
    void SetSkinnedPopups(bool value);
    std::function<void(TsSkinManager&)> OnAfterChange;
    std::function<void(TsSkinManager&)> OnBeforeChange;
    TacMenuExtraLineDataEvent OnGetMenuExtraLineData;

    // The skin model.
    TsSkinData& SkinData() { return m_skinData; }
    const TsGeneralDataArray& gd() const { return m_model.Sections; }
    TsMaskArray& ma() { return m_model.Masks; }
    const TsPatternArray& pa() const { return m_model.Patterns; }
    TsSkinBitmap* MasterBitmap() { return m_model.MasterBitmap.get(); }
    const TsCachedIndexes& CachedIndexes() const { return m_cache; }
    bool FromContainer() const { return m_model.FromContainer; }

    // Lookups: exact, case-sensitive names; masks and patterns are inherited through
    // PARENTCLASS (cycles stop); -1 when nothing is found.
    std::int32_t FindSectionIndex(std::string_view sectionName) const;
    std::int32_t FindPieceIndex(std::int32_t sectionIndex, std::string_view sectionName,
                                std::string_view key) const;
    std::int32_t FindTextureIndex(std::int32_t sectionIndex, std::string_view sectionName,
                                  std::string_view key) const;
    std::int32_t FindPatternIndex(std::int32_t sectionIndex, std::string_view sectionName,
                                  std::string_view key) const;
    std::int32_t FindOwnPieceIndex(std::string_view sectionName, std::string_view key) const;

    // Queries. Widths divide R by the piece's image count (at least 1) and mask parts (1 or 2):
    // no value of a skin makes them raise.
    platform::Color GetGlobalColor() const;
    platform::Color GetGlobalFontColor() const;
    platform::Color GetActiveEditColor() const;
    platform::Size GetStateImageSize(std::int32_t maskIndex) const;
    std::int32_t GetMaskWidthLeft(std::int32_t maskIndex);
    std::int32_t GetMaskWidthTop(std::int32_t maskIndex) const;
    std::int32_t GetMaskWidthRight(std::int32_t maskIndex) const;
    std::int32_t GetMaskWidthBottom(std::int32_t maskIndex) const;
    bool IsValidImgIndex(std::int32_t index) const;
    bool IsValidSkinIndex(std::int32_t index) const;

    // Sends a library command (manager in LParam) to every form and control, as described above.
    void BroadcastCommand(std::uint16_t command);
    // Commands 16 and 3 to every form and control, then 3 to the registered refresh window.
    void RefreshControls();

    // The skinned graphic control under the mouse: a different control gets command 29 and the
    // previous one command 30, each with the manager as argument.
    toolkit::TControl* HotControl() const { return m_hotControl; }
    void SetHotControl(toolkit::TControl* control);
    // Forgets the hot control without telling it (it is going away). A hot control that is
    // freed is forgotten anyway: the manager hears of it (FreeNotification).
    void ForgetHotControl();

    // True from the start of destruction on.
    bool Destroying() const { return m_destroying; }

    // The skinned popup menus, when the menus module has plugged them in (not owned).
    TacSkinnedMenus* SkinnedMenus() const { return m_skinnedMenus; }
    void SetSkinnedMenus(TacSkinnedMenus* menus) { m_skinnedMenus = menus; }

    // Milliseconds of the skin-change animation on this system: none where the system already
    // composes windows (as ours does), as on the newer systems the option was made for.
    std::int32_t SkinChangeAnimationTime() const;

    // Fills list with the available skin names (sorted) and returns the first name found.
    std::string GetSkinNames(toolkit::TStringList& list, TacSkinListMode mode) const;

    // Folder rules, public for their own sake: programFolder ends with a separator.
    static std::string ResolveSkinDirectory(std::string_view directory,
                                            std::string_view programFolder);
    static std::string PackedSkinFileName(std::string_view directory, std::string_view name);

    // The process-wide default manager (none when there is none) and skin state flags.
    static TsSkinManager* DefaultManager();
    static bool SkinChanging();
    static bool SkinApplying();
    static bool SkinRemoving();
    // A control that has taken the new skin in says the applying is over.
    static void ClearSkinApplying();

protected:
    void Notification(toolkit::TComponent* component, toolkit::TOperation operation) override;

private:
    // A skin read completely from its source; no Model when a container held no options text
    // (its reader has already said so).
    struct ReadResult {
        std::string Name;
        std::optional<TsSkinModel> Model;
    };
    enum class Fallback { FirstInternal, None };
    // Chooses the skin's source and builds its model without touching the skin in use; none
    // when there is no such skin (and, with FirstInternal, no internal skin either). Raises
    // ESkinError.
    std::optional<ReadResult> ReadSkin(const std::string& name, Fallback fallback);
    // ReadSkin's work; source names what is being read as soon as that is known.
    std::optional<ReadResult> ReadSkinFrom(const std::string& name, Fallback fallback,
                                           std::string& source);
    // Takes a complete model over and applies it.
    void Adopt(TsSkinModel model);
    void ApplySkin();
    void RemoveSkin();
    void Recolor();
    void FreeSkinData();
    void UpdateCachedIndexes();
    void ResetCachedIndexes() { m_cache = TsCachedIndexes{}; }
    // The visible forms whose provider works for this manager, when a main form exists.
    std::vector<TacFormSkinning*> FormsToFreeze() const;
    void SetRedraw(const std::vector<TacFormSkinning*>& forms, bool on) const;
    void RefreshRegisteredWindow();
    void HookMainWindow();
    void UnhookMainWindow();
    void InstallThreadHook();
    void UninstallThreadHook();
    std::string ResolvedSkinDirectory() const;

    template <typename Accept>
    std::int32_t FindInherited(std::int32_t sectionIndex, std::string_view sectionName,
                               std::string_view key, Accept accept) const;

    TacAnimEffects m_animEffects;
    bool m_active = true;
    bool m_loading = false;
    toolkit::TStringList m_commonSections;
    std::int32_t m_saturation = 0;
    std::int32_t m_hueOffset = 0;
    TsStoredSkins m_internalSkins;
    TacMenuSupport m_menuSupport;
    std::string m_skinDirectory = "c:\\Skins";
    std::string m_skinName;
    TacSkinningRules m_skinningRules{TacSkinningRule::srStdForms, TacSkinningRule::srStdDialogs,
                                     TacSkinningRule::srThirdParty};
    bool m_skinnedPopups = true;

    TsSkinData m_skinData;
    TsSkinModel m_model;
    TsCachedIndexes m_cache;
    toolkit::TControl* m_hotControl = nullptr;
    bool m_destroying = false;
    TacSkinnedMenus* m_skinnedMenus = nullptr;
    int m_mainWindowHook = 0; // the application's id of our main-window hook, 0 when none
    std::function<void()> m_uninstallThreadHook; // set while our thread hook is installed
};

// Installs the thread hook for a manager and answers how to take it out again. Set once by the
// skinned windows' side (SetThreadHookInstaller); the default manager installs it when it applies
// a skin and takes it out when its skin goes, which also frees what the hook attached.
using TacThreadHookInstaller = std::function<std::function<void()>(TsSkinManager&)>;
void SetThreadHookInstaller(TacThreadHookInstaller installer);

// Makes the skinned popup menus of a new manager, owned by it (they plug themselves in with
// SetSkinnedMenus). Set once by the skinned windows' side before managers are made; a manager
// made without one has no skinned menus until somebody plugs them in.
using TacSkinnedMenusMaker = std::function<void(TsSkinManager&)>;
void SetSkinnedMenusMaker(TacSkinnedMenusMaker maker);

// Told of every manager that goes, so that the skin states naming it forget it. Set by the skin
// states themselves (sCommonData) when the first one is made; without states there is nothing
// to tell.
using TacManagerGoneHandler = void (*)(const TsSkinManager*);
void SetManagerGoneHandler(TacManagerGoneHandler handler);

// One further window that hears every refresh (command 3, the manager in LParam) after all
// forms and controls have: process-wide, none by default. A window that has gone is skipped.
void SetRefreshWindow(platform::HWND window);
platform::HWND RefreshWindow();

// Forms whose frame the library skins itself register here; broadcasts reach them in their own
// pass. Not owning: a form unregisters before it goes.
void RegisterSkinnedForm(toolkit::TCustomForm* form);
void UnregisterSkinnedForm(toolkit::TCustomForm* form);

void RegisterFormProvider(TacFormSkinning* provider);
void UnregisterFormProvider(TacFormSkinning* provider);

} // namespace skin
