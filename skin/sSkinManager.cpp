#include "skin/sSkinManager.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinColors.h"
#include "skin/SkinCommands.h"
#include "skin/SkinLoader.h"
#include "skin/SkinPaths.h"
#include "skin/SkinStates.h"
#include "toolkit/Int32.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"
#include "toolkit/TScreen.h"

namespace skin {
namespace {

using toolkit::UpperCase;

TsSkinManager* g_defaultManager = nullptr;
bool g_skinChanging = false;
bool g_skinApplying = false;
bool g_skinRemoving = false;

// Raises a process-wide flag for the length of a scope, also when loading fails. Scopes nest
// (a control may change the skin while it hears of a change): each puts back what it found.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_previous(std::exchange(flag, true)) {}
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

std::vector<toolkit::TCustomForm*>& SkinnedForms() {
    static std::vector<toolkit::TCustomForm*> forms;
    return forms;
}

TacThreadHookInstaller& ThreadHookInstaller() {
    static TacThreadHookInstaller installer;
    return installer;
}

TacManagerGoneHandler& ManagerGoneHandler() {
    static TacManagerGoneHandler handler = nullptr;
    return handler;
}

TacSkinnedMenusMaker& SkinnedMenusMaker() {
    static TacSkinnedMenusMaker maker;
    return maker;
}

platform::HWND g_refreshWindow;

std::vector<TacFormSkinning*>& FormProviders() {
    static std::vector<TacFormSkinning*> providers;
    return providers;
}

bool StillAProvider(TacFormSkinning* provider) {
    const auto& now = FormProviders();
    return std::find(now.begin(), now.end(), provider) != now.end();
}

// Messages the default manager takes at the main window.
constexpr platform::UINT kThemeChanged = 794;
constexpr platform::UINT kMenuMessageFirst = 48307;
constexpr platform::UINT kMenuMessageLast = 48308;

bool StillAForm(toolkit::TCustomForm* form) {
    const auto& forms = toolkit::Screen().FormList();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

} // namespace

TsSkinManager::TsSkinManager(toolkit::TComponent* owner) : toolkit::TComponent(owner) {
    if (g_defaultManager == nullptr) {
        g_defaultManager = this;
        HookMainWindow();
    }
    // The painter is a component of ours: it goes with the manager.
    if (SkinnedMenusMaker())
        SkinnedMenusMaker()(*this);
}

TsSkinManager::~TsSkinManager() {
    m_destroying = true;
    UnhookMainWindow();
    ForgetHotControl();
    m_active = false;
    // Controls that named this manager forget it before it goes, skinned or not.
    try {
        RemoveSkin();
    } catch (...) {
        // A control failing to hear the removal must not stop the manager from going.
    }
    if (ManagerGoneHandler())
        ManagerGoneHandler()(this);
    FreeSkinData();
    m_skinData.Active = false;
    if (g_defaultManager == this)
        g_defaultManager = nullptr;
}

TsSkinManager* TsSkinManager::DefaultManager() {
    return g_defaultManager;
}
bool TsSkinManager::SkinChanging() {
    return g_skinChanging;
}
bool TsSkinManager::SkinApplying() {
    return g_skinApplying;
}
bool TsSkinManager::SkinRemoving() {
    return g_skinRemoving;
}
void TsSkinManager::ClearSkinApplying() {
    g_skinApplying = false;
}

void RegisterSkinnedForm(toolkit::TCustomForm* form) {
    if (form &&
        std::find(SkinnedForms().begin(), SkinnedForms().end(), form) == SkinnedForms().end())
        SkinnedForms().push_back(form);
}
void UnregisterSkinnedForm(toolkit::TCustomForm* form) {
    std::erase(SkinnedForms(), form);
}

void RegisterFormProvider(TacFormSkinning* provider) {
    if (provider && !StillAProvider(provider))
        FormProviders().push_back(provider);
}
void UnregisterFormProvider(TacFormSkinning* provider) {
    std::erase(FormProviders(), provider);
}

void SetThreadHookInstaller(TacThreadHookInstaller installer) {
    ThreadHookInstaller() = std::move(installer);
}

void SetManagerGoneHandler(TacManagerGoneHandler handler) {
    ManagerGoneHandler() = handler;
}

void SetSkinnedMenusMaker(TacSkinnedMenusMaker maker) {
    SkinnedMenusMaker() = std::move(maker);
}

void SetRefreshWindow(platform::HWND window) {
    g_refreshWindow = window;
}

platform::HWND RefreshWindow() {
    return g_refreshWindow;
}

void TsSkinManager::InstallThreadHook() {
    if (m_uninstallThreadHook || !IsDefault() || !ThreadHookInstaller())
        return;
    m_uninstallThreadHook = ThreadHookInstaller()(*this);
}

void TsSkinManager::UninstallThreadHook() {
    // Taken out first: what the hook attached may broadcast as it goes.
    if (std::function<void()> uninstall = std::exchange(m_uninstallThreadHook, {}))
        uninstall();
}

void TsSkinManager::HookMainWindow() {
    toolkit::TApplication* app = toolkit::Application();
    if (!app || m_mainWindowHook != 0)
        return;
    m_mainWindowHook = app->HookMainWindow([this](toolkit::TMessage& m) {
        if (m.Msg == kThemeChanged)
            return true;
        if (m.Msg >= kMenuMessageFirst && m.Msg <= kMenuMessageLast && m_skinnedMenus) {
            m_skinnedMenus->WndProc(m);
            return true;
        }
        return false;
    });
}

void TsSkinManager::UnhookMainWindow() {
    if (m_mainWindowHook == 0)
        return;
    if (toolkit::TApplication* app = toolkit::Application())
        app->UnhookMainWindow(m_mainWindowHook);
    m_mainWindowHook = 0;
}

std::int32_t TsSkinManager::SkinChangeAnimationTime() const {
    return 0;
}

std::vector<TacFormSkinning*> TsSkinManager::FormsToFreeze() const {
    std::vector<TacFormSkinning*> forms;
    const toolkit::TApplication* app = toolkit::Application();
    if (!app || !app->MainForm())
        return forms;
    for (TacFormSkinning* provider : FormProviders()) {
        toolkit::TCustomForm& form = provider->Form();
        if (provider->Manager() == this && form.Visible() && form.HandleAllocated() &&
            !form.IsDestroying())
            forms.push_back(provider);
    }
    return forms;
}

void TsSkinManager::SetRedraw(const std::vector<TacFormSkinning*>& forms, bool on) const {
    for (TacFormSkinning* provider : forms)
        if (StillAProvider(provider) && provider->Form().HandleAllocated())
            platform::SendMessage(provider->Form().HandleIfAllocated(), platform::WM_SETREDRAW,
                                  on ? 1 : 0, 0);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    m_skinnedPopups = value;
    if (value && IsDefault() && m_skinnedMenus)
        m_skinnedMenus->InitMenuItems(m_skinData.Active);
}

void TsSkinManager::BroadcastCommand(std::uint16_t command) {
    const platform::WPARAM w = MakeCommand(command);
    const platform::LPARAM l = ManagerParam(this);
    const std::vector<toolkit::TCustomForm*> forms = toolkit::Screen().FormList();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        toolkit::TCustomForm* form = *it;
        if (!StillAForm(form) || form->IsDestroying() || form->IsLoading())
            continue;
        if (SendCommand(*form, kCmdAreYouSkinned) == 1)
            continue;
        BroadcastToTree(*form, w, l);
    }
    const std::vector<toolkit::TCustomForm*> skinned = SkinnedForms();
    for (toolkit::TCustomForm* form : skinned) {
        const auto& now = SkinnedForms();
        if (std::find(now.begin(), now.end(), form) == now.end() || form->IsDestroying())
            continue;
        BroadcastToTree(*form, w, l);
    }
}

void TsSkinManager::RefreshControls() {
    BroadcastCommand(kCmdBeforeRefresh);
    if (IsLoading()) {
        BroadcastCommand(kCmdRefresh);
        RefreshRegisteredWindow();
        return;
    }
    // No form paints a half-changed skin: the forms wait until every control has the new one.
    const std::vector<TacFormSkinning*> forms = FormsToFreeze();
    SetRedraw(forms, false);
    BroadcastCommand(kCmdRefresh);
    for (TacFormSkinning* provider : forms) {
        if (!StillAProvider(provider) || !provider->Form().HandleAllocated())
            continue;
        const platform::HWND h = provider->Form().HandleIfAllocated();
        if (m_animEffects.SkinChanging.Active)
            provider->AnimateSkinChange(SkinChangeAnimationTime());
        platform::SendMessage(h, platform::WM_SETREDRAW, 1, 0);
        platform::SetWindowRgn(h, std::nullopt, false);
        provider->RebuildFrame();
        platform::RedrawWindow(h, nullptr, nullptr,
                               platform::RDW_INVALIDATE | platform::RDW_ALLCHILDREN |
                                   platform::RDW_UPDATENOW | platform::RDW_NOERASE |
                                   platform::RDW_FRAME);
    }
    RefreshRegisteredWindow();
}

void TsSkinManager::RefreshRegisteredWindow() {
    if (g_refreshWindow && platform::IsWindow(g_refreshWindow))
        platform::SendMessage(g_refreshWindow, toolkit::kLibraryCommandMessage,
                              MakeCommand(kCmdRefresh), ManagerParam(this));
}

void TsSkinManager::ForgetHotControl() {
    if (m_hotControl)
        m_hotControl->RemoveFreeNotification(this);
    m_hotControl = nullptr;
}

void TsSkinManager::Notification(toolkit::TComponent* component, toolkit::TOperation operation) {
    toolkit::TComponent::Notification(component, operation);
    if (operation == toolkit::TOperation::opRemove && component == m_hotControl)
        m_hotControl = nullptr;
}

namespace {

// Commands 29 and 30 go through the window where there is one: an adapter that subclasses a
// standard control's window hears them there. A control without a window gets them while its
// skin state lives; one whose state went is not there to hear.
void SendHotCommand(toolkit::TControl& control, std::uint16_t command, TsSkinManager* manager) {
    auto* windowed = dynamic_cast<toolkit::TWinControl*>(&control);
    if (windowed && windowed->HandleAllocated())
        platform::SendMessage(windowed->HandleIfAllocated(), toolkit::kLibraryCommandMessage,
                              MakeCommand(command), ManagerParam(manager));
    else if (SkinDataOf(&control))
        SendCommand(control, command, 0, ManagerParam(manager));
}

} // namespace

void TsSkinManager::SetHotControl(toolkit::TControl* control) {
    if (control == m_hotControl)
        return;
    toolkit::TControl* previous = m_hotControl;
    if (previous)
        previous->RemoveFreeNotification(this);
    m_hotControl = control;
    if (control)
        control->FreeNotification(this);
    if (previous && !previous->IsDestroying())
        SendHotCommand(*previous, kCmdHotLeave, this);
    if (control)
        SendHotCommand(*control, kCmdHotEnter, this);
}

void TsSkinManager::Loading() {
    toolkit::TComponent::Loading();
    m_loading = true;
}

void TsSkinManager::Loaded() {
    toolkit::TComponent::Loaded();
    m_loading = false;
    if (m_skinDirectory.empty())
        m_skinDirectory = "c:\\Skins";
    if (m_menuSupport.IcoLineSkin.empty())
        m_menuSupport.IcoLineSkin = "ICOLINE";
    if (m_active && !m_skinName.empty() && !m_model.Sections.empty())
        ApplySkin();
    // Popup menus made while the window was read are handed to the skinned menus now.
    if (m_skinnedPopups && IsDefault() && m_skinnedMenus)
        m_skinnedMenus->InitMenuItems(m_skinData.Active);
}

void TsSkinManager::SetIsDefault(bool value) {
    if (!value && g_defaultManager != nullptr)
        return; // only the reference tells who the default is
    if (g_defaultManager && g_defaultManager != this)
        g_defaultManager->UnhookMainWindow();
    g_defaultManager = this;
    HookMainWindow();
    if (m_active) {
        if (!m_model.Sections.empty())
            ApplySkin();
    } else {
        RemoveSkin();
    }
}

void TsSkinManager::SetActive(bool value) {
    if (value == m_active)
        return;
    m_active = value;
    if (value) {
        SetSkinName(m_skinName);
        return;
    }
    if (!m_loading)
        RemoveSkin();
    ResetCachedIndexes();
}

void TsSkinManager::SetCommonSections(const toolkit::TStringList& lines) {
    // A copy first: the lines may be our own.
    const std::vector<std::string> given = lines.Lines();
    m_commonSections.Clear();
    for (const std::string& line : given) {
        if (line.starts_with(';')) {
            m_commonSections.Add(line);
            continue;
        }
        std::string packed;
        std::copy_if(line.begin(), line.end(), std::back_inserter(packed),
                     [](char c) { return c != ' '; });
        m_commonSections.Add(std::move(packed));
    }
    SetSkinName(m_skinName);
}

void TsSkinManager::SetSaturation(std::int32_t value) {
    m_saturation = value;
    Recolor();
}

void TsSkinManager::SetHueOffset(std::int32_t value) {
    m_hueOffset = value;
    Recolor();
}

// The skin is read again from its source, so the colours start from those it stores.
void TsSkinManager::Recolor() {
    if (!m_skinData.Active)
        return;
    {
        FlagScope changing(g_skinChanging);
        std::optional<ReadResult> read = ReadSkin(m_skinName, Fallback::None);
        if (!read || !read->Model)
            return;
        const bool active = m_skinData.Active;
        Adopt(std::move(*read->Model));
        m_skinData.Active = active;
    }
    UpdateCachedIndexes();
    if (!m_loading)
        RefreshControls();
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == m_skinDirectory)
        return;
    m_skinDirectory = value;
    m_skinData.SkinPath = ResolvedSkinDirectory();
}

void TsSkinManager::SetSkinName(const std::string& value) {
    if (!m_active) {
        m_skinName = value;
        return;
    }
    if (OnBeforeChange)
        OnBeforeChange(*this);
    {
        FlagScope changing(g_skinChanging);
        std::optional<ReadResult> read = ReadSkin(value, Fallback::FirstInternal);
        if (!read) {
            m_skinName = value;
            m_active = false;
            m_skinData.Active = false;
            RemoveSkin();
        } else if (read->Model) {
            m_skinName = read->Name;
            Adopt(std::move(*read->Model));
            ApplySkin();
        }
    }
    if (OnAfterChange)
        OnAfterChange(*this);
}

TacSkinChange TsSkinManager::TryChangeSkin(const std::string& name) {
    TacSkinChange change;
    if (!m_active) {
        change.Message = "Skinning is off";
        return change;
    }
    std::optional<ReadResult> read;
    {
        FlagScope changing(g_skinChanging);
        try {
            read = ReadSkin(name, Fallback::None);
        } catch (const ESkinError& e) {
            change.Message = e.Message();
            return change;
        }
    }
    if (!read) {
        change.Result = TacSkinChange::Outcome::NotFound;
        change.Message = toolkit::Format("Skin \"%s\" not found", {name});
        return change;
    }
    if (!read->Model) {
        change.Message = ESkinError(name, "The skin has no options text").Message();
        return change;
    }
    if (OnBeforeChange)
        OnBeforeChange(*this);
    {
        FlagScope changing(g_skinChanging);
        m_skinName = read->Name;
        Adopt(std::move(*read->Model));
        ApplySkin();
    }
    if (OnAfterChange)
        OnAfterChange(*this);
    change.Result = TacSkinChange::Outcome::Applied;
    return change;
}

std::string TsSkinManager::SkinInfo() const {
    if (!m_skinData.Active)
        return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", m_skinData.Version);
    return text;
}

void TsSkinManager::Adopt(TsSkinModel model) {
    for (TsMaskData& m : model.Masks)
        m.Manager = this;
    const bool active = m_skinData.Active;
    m_skinData = model.Info;
    m_skinData.Active = active;
    m_model = std::move(model);
}

void TsSkinManager::ApplySkin() {
    SetRedraw(FormsToFreeze(), false);
    if (m_skinnedMenus)
        m_skinnedMenus->ResetBorderWidth();
    m_skinData.Active = false;
    {
        FlagScope applying(g_skinApplying);
        UpdateCachedIndexes();
        BroadcastCommand(kCmdNewSkin);
    }
    m_skinData.Active = true;
    InstallThreadHook();
    RefreshControls();
}

void TsSkinManager::RemoveSkin() {
    FlagScope removing(g_skinRemoving);
    UninstallThreadHook();
    m_skinData.Active = false;
    BroadcastCommand(kCmdSkinRemoved);
    FreeSkinData();
}

void TsSkinManager::FreeSkinData() {
    m_model.Masks.clear();
    m_model.MasterBitmap.reset();
    m_model.Patterns.clear();
    m_model.Sections.clear();
    m_model.Parents.clear();
    ResetCachedIndexes();
}

} // namespace skin
