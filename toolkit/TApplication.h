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
// Hints: when the mouse has rested HintPause milliseconds (500) on a control with a non-empty
// Hint and ShowHint on, and the application's ShowHint is on, the hint window shows the hint
// below the mouse pointer. Moving onto another control (or off the windows), a mouse button or a
// key hides it; it comes back only after the mouse has entered a control again. Turning the
// application's ShowHint off hides it at once. Modal loops that go through HandleMessage or
// ProcessMessages get hints too.
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
#include "toolkit/ControlMessages.h"
#include "toolkit/TComponent.h"

namespace toolkit {

class TControl;
class TCustomForm;
class THintWindow;
class TTimer;

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
    void SetShowHint(bool on);
    int HintPause() const { return m_hintPause; }
    void SetHintPause(int ms) { m_hintPause = ms < 0 ? 0 : ms; }
    // Hides the hint (if any) and forgets the pending one.
    void CancelHint();
    // The hint window while a hint is shown, else nullptr.
    const THintWindow* ShownHint() const;
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

    // Hooks see every message of the main form before the form does, the last hooked first; a
    // hook answering true has used the message up. HookMainWindow answers the id to unhook with.
    using TWindowHook = std::function<bool(TMessage& message)>;
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);
    // Runs the hooks for a message of the main form; true when one used it up.
    bool MainWindowHooked(TMessage& message);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    void SetMainForm(TCustomForm* form);
    bool ProcessMessage();
    bool IsKeyMsg(const platform::MSG& msg);
    void FreeReleased();
    void UpdateHintControl();
    void SetHintControl(TControl* control);
    void HintTimerExpired();

    TCustomForm* m_mainForm = nullptr;
    std::string m_title;
    bool m_terminated = false;
    bool m_showHint = true;
    bool m_showMainForm = true;
    std::vector<TComponent*> m_releasing;
    std::vector<std::pair<int, TWindowHook>> m_mainWindowHooks;
    int m_lastHookId = 0;
    int m_hintPause = 500;
    TControl* m_hintControl = nullptr;
    TTimer* m_hintTimer = nullptr; // owned as a component
    std::unique_ptr<THintWindow> m_hintWindow;
    std::unique_ptr<platform::WindowSystem> m_ownSystem; // when Initialize started one
};

TApplication* Application();

} // namespace toolkit
