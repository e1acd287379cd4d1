// The skin state's life, properties and operations, and the helpers controls call; the messages
// it hears are in sCommonDataMessages.cpp.
#include "skin/sCommonData.h"

#include <algorithm>
#include <vector>

#include "platform/win/Paint.h"
#include "skin/SkinModel.h"
#include "skin/sSkinManager.h"
#include "toolkit/Colors.h"
#include "toolkit/Int32.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TControl.h"
#include "toolkit/TForm.h"
#include "toolkit/TMemIniFile.h"
#include "toolkit/TWinControl.h"

namespace skin {
namespace {

using toolkit::TControl;
using toolkit::TWinControl;

// Every live skin state: a departing manager reaches every state that names it.
std::vector<TsCommonData*>& AllStates() {
    static std::vector<TsCommonData*> states;
    return states;
}

TsBackdropInfo g_backdrop;
platform::Color g_color = kKeyColor;
bool g_flag = false;
std::string g_sectionName;
bool g_graphicSeparately = false;

struct CodeSection {
    std::int32_t from, to;
    const char* section;
};
constexpr CodeSection kDefaultSections[] = {
    {2, 8, "EDIT"},          {10, 10, "EDIT"},          {41, 41, "EDIT"},
    {76, 76, "EDIT"},        {78, 78, "EDIT"},          {83, 84, "EDIT"},
    {96, 97, "EDIT"},        {131, 131, "EDIT"},        {140, 140, "EDIT"},
    {227, 227, "EDIT"},      {11, 18, "COMBOBOX"},      {81, 82, "COMBOBOX"},
    {19, 19, "BAR"},         {20, 20, "BARTITLE"},      {32, 32, "CHECKBOX"},
    {152, 152, "CHECKBOX"},  {33, 33, "RADIOBUTTON"},   {51, 51, "PANEL"},
    {59, 59, "PANEL"},       {68, 68, "PANEL"},         {73, 73, "PANEL"},
    {52, 52, "PANEL_LOW"},   {58, 58, "PANEL_LOW"},     {53, 54, "TOOLBAR"},
    {60, 60, "TOOLBAR"},     {56, 56, "DRAGBAR"},       {57, 57, "TABSHEET"},
    {74, 74, "GROUPBOX"},    {226, 226, "GROUPBOX"},    {75, 75, "SPLITTER"},
    {92, 92, "SPEEDBUTTON"}, {95, 95, "SPEEDBUTTON"},   {93, 94, "BUTTON"},
    {98, 98, "TOOLBUTTON"},  {141, 141, "PAGECONTROL"}, {143, 143, "PAGECONTROL"},
    {151, 151, "STATUSBAR"}, {161, 161, "GAUGE"},       {165, 165, "TRACKBAR"},
};

} // namespace

// ---- free helpers ----

TsBackdropInfo& CommandBackdrop() {
    return g_backdrop;
}
platform::Color& CommandColor() {
    return g_color;
}
bool& CommandFlag() {
    return g_flag;
}
std::string& CommandSectionName() {
    return g_sectionName;
}
bool& GraphicChildrenPaintSeparately() {
    return g_graphicSeparately;
}

std::string DefaultSectionOf(std::int32_t typeCode) {
    for (const CodeSection& entry : kDefaultSections)
        if (typeCode >= entry.from && typeCode <= entry.to)
            return entry.section;
    return {};
}

bool IsEditTypeCode(std::int32_t typeCode) {
    return DefaultSectionOf(typeCode) == "EDIT";
}

bool IsNoHotTypeCode(std::int32_t typeCode) {
    return (typeCode >= 51 && typeCode <= 74) || typeCode == 110 ||
           (typeCode >= 141 && typeCode <= 161);
}

bool& RepaintAllFlag() {
    static bool flag = false;
    return flag;
}

void ForgetManagerEverywhere(const TsSkinManager* manager) {
    for (TsCommonData* state : AllStates())
        state->ForgetManager(manager);
}

// ---- construction ----

TsCommonData::TsCommonData(toolkit::TComponent* owner, bool withCache)
    : m_ownerControl(dynamic_cast<TControl*>(owner)), m_ownerObject(owner) {
    if (withCache)
        m_cache = std::make_unique<toolkit::TBitmap>();
    if (m_ownerControl)
        EnterSkinData(m_ownerControl, this);
    AllStates().push_back(this);
    SetManagerGoneHandler(&ForgetManagerEverywhere);
}

TsCommonData::~TsCommonData() {
    if (m_ownerControl) {
        LeaveSkinData(m_ownerControl, this);
        for (TsSkinManager* m : {TsSkinManager::DefaultManager(), m_manager})
            if (m && m->HotControl() == m_ownerControl)
                m->ForgetHotControl();
    }
    std::erase(AllStates(), this);
    if (g_backdrop.Bmp != nullptr && g_backdrop.Bmp == m_cache.get())
        g_backdrop = TsBackdropInfo{};
}

void TsCommonData::SetPassesCommands(bool on) {
    m_passesCommands = on;
    if (m_ownerControl)
        SetSkinDataPassesCommands(m_ownerControl, on);
}

void TsCommonData::ForgetManager(const TsSkinManager* manager) {
    if (m_manager == manager) {
        m_manager = nullptr;
        m_sectionIndex = m_borderIndex = m_textureIndex = m_hotTextureIndex = -1;
    }
}

// ---- properties ----

TsSkinManager* TsCommonData::SkinManager() const {
    return m_manager ? m_manager : TsSkinManager::DefaultManager();
}

void TsCommonData::SetSkinManager(TsSkinManager* manager) {
    if (manager == TsSkinManager::DefaultManager())
        manager = nullptr;
    if (manager == m_manager)
        return;
    m_manager = manager;
    if (m_ownerObject && m_ownerObject->IsLoading())
        return;
    TsSkinManager* m = SkinManager();
    const bool hasSections = m && !m->gd().empty();
    if (hasSections)
        UpdateIndexes();
    else
        m_sectionIndex = -1;
    const bool usable = hasSections && m->IsValidSkinIndex(m_sectionIndex);
    const std::uint16_t command = usable ? kCmdRefresh : kCmdSkinRemoved;
    if (toolkit::TCustomForm* form = ProviderForm()) {
        // The provider has the form's window: the command reaches it there.
        SendCommand(*form, command, 0, ManagerParam(m));
    } else if (m_ownerControl && m_ownerControl->Parent() && !m_ownerControl->IsDestroying()) {
        SendCommand(*m_ownerControl, command, 0, ManagerParam(m));
    }
}

void TsCommonData::SetSkinSection(const std::string& value) {
    m_sectionFromClass = false;
    const std::string upper = value.empty() ? "UNKNOWN" : toolkit::UpperCase(value);
    if (upper == m_skinSection)
        return;
    m_skinSection = upper;
    TsSkinManager* m = SkinManager();
    if (m && !m->gd().empty())
        UpdateIndexes();
    else
        m_sectionIndex = -1;
    if (m_ownerControl && m_ownerControl->Parent() && !m_ownerControl->IsDestroying()) {
        const bool usable = m && m->IsValidSkinIndex(m_sectionIndex);
        SendCommand(*m_ownerControl, usable ? kCmdRefresh : kCmdSkinRemoved, 0, ManagerParam(m));
    }
}

void TsCommonData::SetCustomColor(bool value) {
    m_customColor = value;
    if (!m_ownerControl || !Skinned() || !IsEditTypeCode(m_typeCode) || m_ownerControl->IsLoading())
        return;
    const TsGeneralData& gd = *Section();
    if (!value && m_ownerControl->Color() != static_cast<toolkit::TColor>(gd.Color))
        m_ownerControl->SetColor(static_cast<toolkit::TColor>(gd.Color));
    if (!m_customFont && gd.FontColor[0] != -1 &&
        m_ownerControl->Font().Color() != static_cast<toolkit::TColor>(gd.FontColor[0]))
        m_ownerControl->Font().SetColor(static_cast<toolkit::TColor>(gd.FontColor[0]));
    Refresh();
}

void TsCommonData::SetCustomFont(bool value) {
    m_customFont = value;
    Refresh();
}

const TsGeneralData* TsCommonData::Section() const {
    TsSkinManager* m = SkinManager();
    if (!m || m_sectionIndex < 0 || static_cast<std::size_t>(m_sectionIndex) >= m->gd().size())
        return nullptr;
    return &m->gd()[static_cast<std::size_t>(m_sectionIndex)];
}

// ---- operations ----

bool TsCommonData::Skinned(bool checkLoaded) const {
    if (m_ownerObject && m_ownerObject->IsDestroying())
        return false;
    TsSkinManager* m = SkinManager();
    if (!m || m->Destroying())
        return false;
    if (checkLoaded && !m->SkinData().Active)
        return false;
    return m->IsValidSkinIndex(m_sectionIndex);
}

void TsCommonData::UpdateIndexes() {
    m_backgroundChanged = true;
    TsSkinManager* m = SkinManager();
    m_sectionIndex = m ? m->FindSectionIndex(m_skinSection) : -1;
    if (m_sectionIndex < 0) {
        m_borderIndex = m_textureIndex = m_hotTextureIndex = -1;
        return;
    }
    m_borderIndex = m->FindPieceIndex(m_sectionIndex, m_skinSection, "BORDERSMASK");
    m_textureIndex = m->FindTextureIndex(m_sectionIndex, m_skinSection, "PATTERN");
    m_hotTextureIndex = m->FindTextureIndex(m_sectionIndex, m_skinSection, "HOTPATTERN");
}

void TsCommonData::Initialise() {
    if (m_skinSection.empty()) {
        const std::string section = DefaultSectionOf(m_typeCode);
        const bool fromClass = section.empty() && m_ownerObject;
        SetSkinSection(fromClass ? m_ownerObject->ClassName() : section);
        m_sectionFromClass = fromClass;
    } else if (m_sectionFromClass) {
        OwnerComplete();
    } else {
        UpdateIndexes();
    }
    // There are no system themes to step aside from: an unskinned control keeps its style.
    if (!m_ownerControl || !Skinned() || !m_ownerControl->Parent() || m_ownerControl->IsLoading())
        return;
    m_ownerControl->Repaint();
    if (IsEditTypeCode(m_typeCode) || m_typeCode == 97)
        TakeSectionColors();
}

void TsCommonData::OwnerComplete() {
    // Made in a base class's constructor, the state saw that base's class name.
    if (!m_sectionFromClass || !m_ownerObject)
        return;
    const std::string own = m_ownerObject->ClassName();
    if (toolkit::UpperCase(own) == m_skinSection)
        return;
    SetSkinSection(own);
    m_sectionFromClass = true;
}

void TsCommonData::TakeSectionColors() {
    const TsGeneralData* gd = Section();
    if (!m_ownerControl || !gd)
        return;
    if (!m_customColor)
        m_ownerControl->SetColor(static_cast<toolkit::TColor>(gd->Color));
    // A font colour of -1 is one the skin does not define: the control keeps its own.
    if (!m_customFont && gd->FontColor[0] != -1)
        m_ownerControl->Font().SetColor(static_cast<toolkit::TColor>(gd->FontColor[0]));
}

void TsCommonData::Refresh() {
    if (!m_ownerControl || m_ownerControl->IsDestroying() || m_ownerControl->IsLoading())
        return;
    m_backgroundChanged = true;
    if (m_ownerControl->Showing())
        m_ownerControl->Repaint();
}

bool TsCommonData::IsUpdating() const {
    TsSkinManager* m = SkinManager();
    if (!m || !m->SkinData().Active)
        return true;
    if (m_updating)
        return true;
    if (m_ownerControl && m_ownerControl->Parent())
        return SendCommand(*m_ownerControl->Parent(), kCmdIsChanging) != 0;
    return false;
}

bool TsCommonData::DependsOnParent() const {
    if (m_repaintOnMove || !Skinned())
        return true;
    if (m_ownerControl && (m_ownerControl->ControlState().Contains(toolkit::csCreating) ||
                           !m_ownerControl->Visible()))
        return true;
    const TsGeneralData* gd = Section();
    if (!gd)
        return false;
    bool result = gd->Transparency > 0 || (m_ownerControl && !m_ownerControl->Enabled());
    if (result && m_ownerControl && m_ownerControl->Parent() &&
        m_ownerControl->Parent()->HandleAllocated())
        result = SendCommand(*m_ownerControl->Parent(), kCmdDependsOnYou) != 0;
    return result;
}

bool TsCommonData::IsTransparent() const {
    const TsGeneralData* gd = Section();
    return gd && gd->Transparency > 0;
}

toolkit::TCustomForm* TsCommonData::ProviderForm() const {
    auto* provider = dynamic_cast<TacFormSkinning*>(m_ownerObject);
    if (!provider || m_ownerObject->IsDestroying())
        return nullptr;
    toolkit::TCustomForm& form = provider->Form();
    return form.HandleAllocated() && !form.IsDestroying() ? &form : nullptr;
}

void TsCommonData::BeginUpdate() {
    m_updating = true;
    if (toolkit::TCustomForm* form = ProviderForm())
        SendCommand(*form, kCmdBeginUpdate);
    else if (m_ownerControl)
        SendCommand(*m_ownerControl, kCmdBeginUpdate);
}

void TsCommonData::EndUpdate() {
    m_updating = false;
    if (toolkit::TCustomForm* form = ProviderForm())
        SendCommand(*form, kCmdEndUpdate);
    else if (m_ownerControl)
        SendCommand(*m_ownerControl, kCmdEndUpdate);
}

toolkit::TBitmap* TsCommonData::PrepareCache() {
    if (!m_cache)
        m_cache = std::make_unique<toolkit::TBitmap>();
    m_cache->SetPixelFormat(toolkit::TPixelFormat::pf24bit);
    if (m_ownerControl && (m_cache->Width() != m_ownerControl->Width() ||
                           m_cache->Height() != m_ownerControl->Height()))
        m_cache->SetSize(m_ownerControl->Width(), m_ownerControl->Height());
    return m_cache.get();
}

// ---- helpers controls call ----

bool Highlighted(const TControl* control, const TsCommonData& data) {
    if (!control || control->IsDestroying() || !control->Enabled() ||
        control->ComponentState().Contains(toolkit::csDesigning))
        return false;
    if (data.Focused())
        return true;
    if (const auto* windowed = dynamic_cast<const TWinControl*>(control);
        windowed && windowed->Focused())
        return true;
    return data.MouseOver() && !IsNoHotTypeCode(data.ControlTypeCode());
}

TsBackdropInfo GetParentBackground(const TControl& control) {
    TWinControl* parent = control.Parent();
    if (!parent)
        return {};
    try {
        g_backdrop = TsBackdropInfo{};
        SendCommand(*parent, kCmdGiveBackground);
        return g_backdrop;
    } catch (...) {
        // A parent that fails to answer simply has no background to give.
        return {};
    }
}

TsBackdropInfo GetParentBackground(platform::HWND window) {
    const TWinControl* control = toolkit::FindControl(window);
    return control ? GetParentBackground(*control) : TsBackdropInfo{};
}

platform::Color GetParentColor(const TControl& control) {
    if (!control.Parent())
        return kKeyColor;
    g_color = kKeyColor;
    SendCommand(*control.Parent(), kCmdGiveColor);
    return g_color;
}

} // namespace skin
