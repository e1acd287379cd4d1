#include "toolkit/TDialogs.h"

#include "platform/win/WindowSystem.h"
#include "toolkit/TFileDialogForm.h"
#include "toolkit/TPicture.h"

namespace toolkit {

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TOpenDialog::Execute() {
    // Without a window system (a command-line run) there is nobody to ask: nothing is chosen.
    if (!platform::WindowSystem::Running())
        return false;
    TFileDialogOptions options;
    options.title = m_title.empty() ? DefaultTitle() : m_title;
    options.filter = EffectiveFilter();
    options.filterIndex = m_filterIndex;
    options.initialDir = m_initialDir;
    options.fileName = m_fileName;
    options.defaultExt = m_defaultExt;
    options.save = IsSaveDialog();
    options.preview = HasPreview();

    // Not made through the application: a dialog must never become the main form.
    auto* form = new TFileDialogForm(nullptr, options);
    struct Cleanup {
        TFileDialogForm*& current;
        TFileDialogForm* form;
        ~Cleanup() {
            current = nullptr;
            TComponent::Free(form);
        }
    } cleanup{m_form, form};
    form->AfterConstruction();
    m_form = form;
    form->OnShow = [this](TObject*) { Fire(OnShow, this); };

    const bool confirmed = form->ShowModal() == mrOk && !form->ResultFileName().empty();
    if (confirmed) {
        m_fileName = form->ResultFileName();
        m_filterIndex = form->FilterIndex();
    }
    Fire(OnClose, this);
    return confirmed;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {}

std::string TOpenPictureDialog::EffectiveFilter() const {
    return Filter().empty() ? TPicture::GraphicFilter() : Filter();
}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

} // namespace toolkit
