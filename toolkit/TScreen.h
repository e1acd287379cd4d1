#pragma once
// The screen as the program sees it: its size and work area (from the platform), the forms that
// exist (in creation order) and the active one (the form whose window was activated last, none
// when a window of another kind is active).

#include <vector>

#include "platform/gfx/Geometry.h"

namespace toolkit {

class TCustomForm;

class TScreen {
public:
    int Width() const;
    int Height() const;
    platform::Rect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }

    int FormCount() const { return static_cast<int>(m_forms.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& FormList() const { return m_forms; }
    TCustomForm* ActiveForm() const { return m_activeForm; }

    // The form classes keep these up to date.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form) { m_activeForm = form; }

private:
    std::vector<TCustomForm*> m_forms;
    TCustomForm* m_activeForm = nullptr;
};

// The one screen of the process.
TScreen& Screen();

} // namespace toolkit
