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

#include <string>

#include "skinned/TacSkinnedControl.h"
#include "toolkit/TLabel.h"

namespace skin {
class TsSkinManager;
}

namespace skinned {

class TsCustomLabel : public TacSkinnedControl<toolkit::TLabel> {
public:
    explicit TsCustomLabel(toolkit::TComponent* owner);

    std::string ClassName() const override { return "TsCustomLabel"; }

    const std::string& SkinSection() const { return m_skinSection; }
    void SetSkinSection(const std::string& section);

protected:
    void Paint() override;
    void SkinCommand(toolkit::TMessage& message) override;
    void SkinnedWndProc(toolkit::TMessage& message) override;
    void DoDrawText(platform::Rect& rect, unsigned flags) override;
    // Whether the text takes the skin's font colour.
    virtual bool TakesSkinColor() const { return true; }
    // The manager of an applied skin, or none.
    skin::TsSkinManager* ActiveManager() const;
    // True while a paint writes the skin's font colour into Font.
    bool SettingSkinColor() const { return m_settingColor; }

private:
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
