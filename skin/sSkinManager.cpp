#include "skin/sSkinManager.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/win/Message.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinColors.h"
#include "skin/SkinPaths.h"
#include "skin/sCommonData.h"
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

// Raises a process-wide flag for the length of a scope, also when loading fails.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const std::string ua = UpperCase(a), ub = UpperCase(b);
    return ua != ub ? ua < ub : a < b;
}

std::vector<toolkit::TCustomForm*>& SkinnedForms() {
    static std::vector<toolkit::TCustomForm*> forms;
    return forms;
}

TacThreadHookInstaller& ThreadHookInstaller() {
    static TacThreadHookInstaller installer;
    return installer;
}

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

// Masks are held sane on load; these keep the queries safe for masks made any other way.
std::int32_t ImageCountOf(const TsMaskData& m) {
    return std::max<std::int32_t>(m.ImageCount, 1);
}
std::int32_t MaskPartsOf(const TsMaskData& m) {
    return std::clamp<std::int32_t>(m.MaskType, 0, 1) + 1;
}

constexpr std::array<const char*, 9> kCheckGlyphKeys = {
    "BOXCHECKED",  "BOXUNCHECKED", "BOXGRAYED",      "RADIOCHECKED", "RADIOUNCHECKED",
    "RADIOGRAYED", "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};

} // namespace

TsSkinManager::TsSkinManager(toolkit::TComponent* owner) : toolkit::TComponent(owner) {
    if (g_defaultManager == nullptr) {
        g_defaultManager = this;
        HookMainWindow();
    }
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
    ForgetManagerEverywhere(this);
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

void TsSkinManager::SetHotControl(toolkit::TControl* control) {
    if (control == m_hotControl)
        return;
    toolkit::TControl* previous = m_hotControl;
    if (previous)
        previous->RemoveFreeNotification(this);
    m_hotControl = control;
    if (control)
        control->FreeNotification(this);
    // Only a control whose skin state still lives is told: one that went is not there to hear.
    if (previous && SkinDataOf(previous))
        SendCommand(*previous, kCmdHotLeave, 0, ManagerParam(this));
    if (control)
        SendCommand(*control, kCmdHotEnter, 0, ManagerParam(this));
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
    if (m_active && !m_skinName.empty() && !m_sections.empty())
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
        if (!m_sections.empty())
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
    m_commonSections.Clear();
    for (const std::string& line : lines.Lines()) {
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
    if (!m_skinData.Active)
        return;
    {
        FlagScope changing(g_skinChanging);
        LoadSkin();
    }
    UpdateCachedIndexes();
    if (!m_loading)
        RefreshControls();
}

void TsSkinManager::SetHueOffset(std::int32_t value) {
    m_hueOffset = value;
    if (!m_skinData.Active)
        return;
    {
        FlagScope changing(g_skinChanging);
        LoadSkin();
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
    m_skinName = value;
    if (!m_active)
        return;
    if (OnBeforeChange)
        OnBeforeChange(*this);
    {
        FlagScope changing(g_skinChanging);
        m_skinData.Active = false;
        LoadSkin();
        if (m_active)
            ApplySkin();
        else
            RemoveSkin();
    }
    if (OnAfterChange)
        OnAfterChange(*this);
}

std::string TsSkinManager::SkinInfo() const {
    if (!m_skinData.Active)
        return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", m_skinData.Version);
    return text;
}

std::string TsSkinManager::ResolvedSkinDirectory() const {
    return ResolveSkinDirectory(m_skinDirectory, ApplicationFolder());
}

std::string TsSkinManager::ResolveSkinDirectory(std::string_view directory,
                                                std::string_view programFolder) {
    if (directory.starts_with("..")) {
        std::string parent(programFolder);
        if (!parent.empty())
            parent.pop_back();
        while (!parent.empty() && !IsSeparator(parent.back()))
            parent.pop_back();
        return parent + std::string(directory.substr(std::min<std::size_t>(3, directory.size())));
    }
    if (directory.starts_with(".\\") || directory.starts_with("./"))
        return std::string(programFolder) + std::string(directory.substr(2));
    const bool absolute = directory.find(':') != std::string_view::npos ||
                          directory.find("\\\\") != std::string_view::npos ||
                          directory.starts_with('/');
    if (!absolute)
        return std::string(programFolder) + std::string(directory);
    return std::string(directory);
}

std::string TsSkinManager::PackedSkinFileName(std::string_view directory, std::string_view name) {
    std::string file(directory);
    if (!file.empty() && file.back() == '/')
        file.back() = '\\';
    else if (file.size() == 1)
        file += ":\\";
    else if (file.empty() || file.back() != '\\')
        file += '\\';
    return file + std::string(name) + ".asz";
}

void TsSkinManager::LoadSkin() {
    const std::string resolved = ResolvedSkinDirectory();
    const std::string packedFile = PackedSkinFileName(m_skinDirectory, m_skinName);
    std::unique_ptr<TacSkinConvertor> convertor;
    toolkit::TMemIniFile ini;

    if (SkinFileExists(packedFile)) {
        LoadSkinFromFile(packedFile, convertor, true);
        m_fromContainer = true;
        m_skinData.SkinPath = resolved + "\\";
    } else if (const std::string options =
                   FindSkinFile(resolved + "\\" + m_skinName + "\\Options.dat");
               !options.empty()) {
        ini = toolkit::TMemIniFile(options);
        m_fromContainer = false;
        m_skinData.SkinPath = resolved + "\\" + m_skinName + "\\";
        LoadFromIni(ini);
        return;
    } else {
        TsStoredSkin* item = nullptr;
        for (int i = 0; i < m_internalSkins.Count() && item == nullptr; ++i)
            if (m_internalSkins[i].Name == m_skinName)
                item = &m_internalSkins[i];
        if (item == nullptr) {
            if (m_internalSkins.Count() == 0) {
                m_active = false;
                return;
            }
            item = &m_internalSkins[0];
            m_skinName = item->Name;
        }
        if (item->Data().Size() == 0) {
            m_fromContainer = false;
            LoadFromStoredSkin(*item);
            return;
        }
        // The item lends its bytes; a reader destroyed by an error never frees them.
        convertor = std::make_unique<TacSkinConvertor>();
        convertor->LendSource(&item->Data());
        convertor->ReadContainer();
        convertor->DetachSource();
        m_fromContainer = true;
    }

    // A container with a wrong magic (already reported) or without options text leaves the
    // previous skin as it was.
    if (!convertor || convertor->Options() == nullptr)
        return;
    ini.LoadFromStream(*convertor->Options());
    m_convertor = convertor.get();
    try {
        LoadFromIni(ini);
    } catch (...) {
        m_convertor = nullptr;
        throw;
    }
    m_convertor = nullptr;
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
    m_masks.clear();
    m_masterBitmap.reset();
    m_patterns.clear();
    m_sections.clear();
    ResetCachedIndexes();
}

void TsSkinManager::UpdateCachedIndexes() {
    TsCachedIndexes c;
    c.GlobalInfo = FindSectionIndex("GLOBALINFO");
    for (std::size_t i = 0; i < kCheckGlyphKeys.size(); ++i)
        c.CheckGlyphs[i] =
            c.GlobalInfo < 0 ? -1 : FindPieceIndex(c.GlobalInfo, "GLOBALINFO", kCheckGlyphKeys[i]);

    c.ComboButton.Section = FindSectionIndex("COMBOBTN");
    c.ComboButton.Border = FindOwnPieceIndex("COMBOBTN", "BORDERSMASK");
    c.ComboButton.Pattern = FindTextureIndex(c.ComboButton.Section, "COMBOBTN", "PATTERN");
    c.ComboButton.HotPattern = FindTextureIndex(c.ComboButton.Section, "COMBOBTN", "HOTPATTERN");
    c.ComboGlyph = FindOwnPieceIndex("COMBOBOX", "GLYPHMASK");

    const auto fill = [this](TsPieceIndexes& p, const char* name, bool glyph, bool textures) {
        p.Section = FindSectionIndex(name);
        p.Border = FindPieceIndex(p.Section, name, "BORDERSMASK");
        if (glyph && p.Section >= 0)
            p.Glyph = FindPieceIndex(p.Section, name, "GLYPHMASK");
        if (textures) {
            p.Pattern = FindTextureIndex(p.Section, name, "PATTERN");
            p.HotPattern = FindTextureIndex(p.Section, name, "HOTPATTERN");
        }
    };
    const char* tabs[] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
    const char* buttons[] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
    const char* sliders[] = {"SCROLLSLIDERV", "SCROLLSLIDERH"};
    const char* bars[] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
    for (int i = 0; i < 4; ++i) {
        fill(c.Tabs[i], tabs[i], false, false);
        fill(c.ScrollButtons[i], buttons[i], true, true);
        fill(c.ScrollBars[i], bars[i], false, true);
    }
    for (int i = 0; i < 2; ++i)
        fill(c.ScrollSliders[i], sliders[i], true, true);
    m_cache = c;
}

std::string TsSkinManager::GetSkinNames(toolkit::TStringList& list, TacSkinListMode mode) const {
    list.Clear();
    std::vector<std::string> names;
    std::string first;
    for (int i = 0; i < m_internalSkins.Count(); ++i)
        names.push_back(m_internalSkins[i].Name);
    if (!names.empty())
        first = names.front();

    const std::string resolved = ResolvedSkinDirectory();
    const bool folders = mode != TacSkinListMode::PackedFiles;
    const bool packed = mode != TacSkinListMode::Folders;
    for (const TacDirEntry& entry : ListSkinDirectory(resolved)) {
        if (entry.name.starts_with('.'))
            continue;
        std::string name;
        if (entry.isDirectory) {
            if (folders && SkinFileExists(resolved + "\\" + entry.name + "\\Options.dat"))
                name = entry.name;
        } else if (packed) {
            const std::size_t lastDot = entry.name.rfind('.');
            if (lastDot != std::string::npos && entry.name.substr(lastDot) == ".asz")
                name = entry.name.substr(0, entry.name.find('.'));
        }
        if (name.empty())
            continue;
        if (first.empty())
            first = name;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    for (std::string& name : names)
        list.Add(std::move(name));
    return first;
}

// Lookups.

std::int32_t TsSkinManager::FindSectionIndex(std::string_view sectionName) const {
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i].ClassName == sectionName)
            return static_cast<std::int32_t>(i);
    return -1;
}

template <typename Accept>
std::int32_t TsSkinManager::FindInherited(std::int32_t sectionIndex, std::string_view sectionName,
                                          std::string_view key, Accept accept) const {
    // A parent chain visits each section at most once, so a cycle ends the search.
    for (std::size_t hops = 0; hops <= m_sections.size(); ++hops) {
        if (sectionIndex < 0 || sectionName.empty())
            return -1;
        if (const std::int32_t found = accept(sectionName, key); found >= 0)
            return found;
        if (static_cast<std::size_t>(sectionIndex) >= m_sections.size())
            return -1;
        const std::string& parent = m_sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
        if (parent.empty() || parent == sectionName)
            return -1;
        sectionIndex = FindSectionIndex(parent);
        sectionName = parent;
    }
    return -1;
}

std::int32_t TsSkinManager::FindPieceIndex(std::int32_t sectionIndex, std::string_view sectionName,
                                           std::string_view key) const {
    return FindInherited(
        sectionIndex, sectionName, key,
        [this](std::string_view s, std::string_view k) { return FindOwnPieceIndex(s, k); });
}

std::int32_t TsSkinManager::FindTextureIndex(std::int32_t sectionIndex,
                                             std::string_view sectionName,
                                             std::string_view key) const {
    return FindInherited(sectionIndex, sectionName, key,
                         [this](std::string_view s, std::string_view k) {
                             for (std::size_t i = 0; i < m_masks.size(); ++i) {
                                 const TsMaskData& m = m_masks[i];
                                 if (m.ImgType == TacImgType::itisaTexture && m.SectionName == s &&
                                     m.PropertyName == k)
                                     return static_cast<std::int32_t>(i);
                             }
                             return -1;
                         });
}

std::int32_t TsSkinManager::FindPatternIndex(std::int32_t sectionIndex,
                                             std::string_view sectionName,
                                             std::string_view key) const {
    return FindInherited(
        sectionIndex, sectionName, key, [this](std::string_view s, std::string_view k) {
            for (std::size_t i = 0; i < m_patterns.size(); ++i)
                if (m_patterns[i].SectionName == s && m_patterns[i].PropertyName == k)
                    return static_cast<std::int32_t>(i);
            return -1;
        });
}

std::int32_t TsSkinManager::FindOwnPieceIndex(std::string_view sectionName,
                                              std::string_view key) const {
    for (std::size_t i = 0; i < m_masks.size(); ++i)
        if (m_masks[i].SectionName == sectionName && m_masks[i].PropertyName == key)
            return static_cast<std::int32_t>(i);
    return -1;
}

// Queries.

platform::Color TsSkinManager::GetGlobalColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    return ColorToRGB(i < 0 ? kClBtnFace : m_sections[static_cast<std::size_t>(i)].Color);
}

platform::Color TsSkinManager::GetGlobalFontColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    if (i < 0)
        return kMagenta;
    // -1: the skin does not define one.
    const std::int32_t color = m_sections[static_cast<std::size_t>(i)].FontColor[0];
    return color == -1 ? kMagenta : ColorToRGB(color);
}

platform::Color TsSkinManager::GetActiveEditColor() const {
    const std::int32_t i = FindSectionIndex("GLOBALINFO");
    return ColorToRGB(i < 0 ? kClWindow : m_sections[static_cast<std::size_t>(i)].HotColor);
}

platform::Size TsSkinManager::GetStateImageSize(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return {};
    const TsMaskData& m = m_masks[static_cast<std::size_t>(maskIndex)];
    using toolkit::int32::Div;
    if (m.Image)
        return {Div(m.Image->Width(), 3), Div(m.Image->Height(), 2)};
    return {Div(PieceWidth(m), ImageCountOf(m)), Div(PieceHeight(m), MaskPartsOf(m))};
}

std::int32_t TsSkinManager::GetMaskWidthLeft(std::int32_t maskIndex) {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    TsMaskData& m = m_masks[static_cast<std::size_t>(maskIndex)];
    if (m.ImageCount == 0)
        m.ImageCount = 1;
    if (m.WL > 0)
        return m.WL;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceWidth(m), ImageCountOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthTop(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_masks[static_cast<std::size_t>(maskIndex)];
    if (m.WT > 0)
        return m.WT;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceHeight(m), MaskPartsOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthRight(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_masks[static_cast<std::size_t>(maskIndex)];
    if (m.WR > 0)
        return m.WR;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceWidth(m), ImageCountOf(m) * 3);
}

std::int32_t TsSkinManager::GetMaskWidthBottom(std::int32_t maskIndex) const {
    if (!IsValidImgIndex(maskIndex))
        return 0;
    const TsMaskData& m = m_masks[static_cast<std::size_t>(maskIndex)];
    if (m.WB > 0)
        return m.WB;
    if (m.BorderWidth > 0)
        return m.BorderWidth;
    return toolkit::int32::Div(PieceHeight(m), MaskPartsOf(m) * 3);
}

bool TsSkinManager::IsValidImgIndex(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_masks.size();
}

bool TsSkinManager::IsValidSkinIndex(std::int32_t index) const {
    return m_active && index >= 0 && static_cast<std::size_t>(index) < m_sections.size();
}

} // namespace skin
