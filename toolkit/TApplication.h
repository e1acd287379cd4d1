#pragma once
// The application: the program's forms, its message loop and its error box.
//
// Title is the program file's name without its extension until set. CreateForm makes a form
// owned by the application and runs its OnCreate; the first form made is MainForm. Run shows
// the main form and handles messages until the application is terminated (closing the main
// form does that). HandleMessage handles one message, waiting for one when none is there;
// ProcessMessages handles what is there and returns.
//
// Errors: an exception escaping a handler (inside any toolkit window procedure or the loop) is
// given to HandleException: OnException when set, else the error box: a message box with the
// error icon and one OK button, captioned Title, with ErrorBoxText of the message. The loop then
// goes on. Exceptions outside the toolkit's hierarchy show their what() text, running out of
// memory "Out of memory".
//
// One application at a time; Application() answers it (nullptr when there is none). A window
// system must be running before forms are shown; Initialize starts one on the screen (SDL) when
// none runs yet.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinDefs.h"
#include "platform/win/WindowSystem.h"
#include "toolkit/TComponent.h"

namespace toolkit {

class TCustomForm;

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    std::string ClassName() const override { return "TApplication"; }

    void Initialize();

    template <class T> T* CreateForm() {
        T* form = new T(this);
        try {
            form->AfterConstruction();
        } catch (...) {
            Free(form);
            throw;
        }
        if (!m_mainForm)
            SetMainForm(form);
        return form;
    }
    TCustomForm* MainForm() const { return m_mainForm; }

    void Run();
    void HandleMessage();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool on) { m_showHint = on; }
    bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool on) { m_showMainForm = on; }

    void HandleException(std::exception_ptr error);
    // The error box for a message.
    void ShowException(const std::string& message);
    // A message box with the platform's MB_* flags (toolkit/MessageBox.h); answers IDOK ...
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags = 0);
    TExceptionEvent OnException;

    // Frees the component after the message being handled (a form's Release).
    void ReleaseLater(TComponent* component);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    void SetMainForm(TCustomForm* form);
    bool ProcessMessage();
    bool IsKeyMsg(const platform::MSG& msg);
    void FreeReleased();

    TCustomForm* m_mainForm = nullptr;
    std::string m_title;
    bool m_terminated = false;
    bool m_showHint = true;
    bool m_showMainForm = true;
    std::vector<TComponent*> m_releasing;
    std::unique_ptr<platform::WindowSystem> m_ownSystem; // when Initialize started one
};

TApplication* Application();

} // namespace toolkit
