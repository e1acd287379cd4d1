#pragma once
// The skinned labels. TsCustomLabel is the plain label (transparent by default) whose text takes
// the active skin's general font colour before each paint, draws its disabled text as a blend of
// that colour and the parent's background colour (0.4 × font + 0.6 × background, each channel
// rounded), and, when SkinSection names a section of the active skin, paints that section under
// its text over the parent's cached background. Without an active skin it is the plain label.
// TsLabel takes the skin's font colour only while UseSkinColor is on.
//
// The skin's font colour is written into Font without the usual repaint and re-size: it changes
// no size and the paint that set it is already under way. When the skin is removed the font
// colour goes back to the system's window-text colour.

#include <memory>
#include <string>

#include "skin/sCommonData.h"
#include "toolkit/TLabel.h"

namespace skin {
class TsSkinManager;
}

namespace skinned {

class TsCustomLabel : public toolkit::TLabel {
public:
    explicit TsCustomLabel(toolkit::TComponent* owner);
    ~TsCustomLabel() override;

    std::string ClassName() const override { return "TsCustomLabel"; }

    skin::TsCommonData& SkinData() { return *m_skinData; }
    const skin::TsCommonData& SkinData() const { return *m_skinData; }
    const std::string& SkinSection() const { return m_skinSection; }
    void SetSkinSection(const std::string& section);

    toolkit::TNotifyEvent OnMouseEnter;
    toolkit::TNotifyEvent OnMouseLeave;

    void WndProc(toolkit::TMessage& message) override;
    void Loaded() override;

protected:
    void Paint() override;
    void DoDrawText(platform::Rect& rect, unsigned flags) override;
    // Whether the text takes the skin's font colour.
    virtual bool TakesSkinColor() const { return true; }
    // The manager of an applied skin, or none.
    skin::TsSkinManager* ActiveManager() const;

private:
    std::unique_ptr<skin::TsCommonData> m_skinData;
    std::string m_skinSection;
    bool m_settingColor = false;
};

class TsLabel : public TsCustomLabel {
public:
    explicit TsLabel(toolkit::TComponent* owner);
    std::string ClassName() const override { return "TsLabel"; }

    bool UseSkinColor() const { return m_useSkinColor; }
    void SetUseSkinColor(bool on);

protected:
    bool TakesSkinColor() const override { return m_useSkinColor; }

private:
    bool m_useSkinColor = true;
};

} // namespace skinned
