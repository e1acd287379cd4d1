// Random input on the program's two windows, seeded and reproducible: mouse moves, clicks,
// double and right clicks, drags, the wheel, keys and typed text, the generator menu, the file
// dialogs answered with pictures of our corpus (and files that are not pictures), the save
// options window, the skinned frame (caption, caption buttons, icon) and the system menu with
// its list of skins. The driver is a thread timer, so it runs wherever the program waits for
// input: in the main loop and inside every modal window and menu the input opens. Whenever it
// runs the table must have N + 1 rows; error boxes are answered and must carry the program's
// own messages; at the end the window's conversion of a known picture must equal
// charvane-cli's for the same settings.
//
// CI runs a few short seeds. Longer runs on demand:
//     CHARVANE_RANDOM_EVENTS=10000 CHARVANE_RANDOM_SEEDS=20 CHARVANE_RANDOM_FIRST_SEED=100
//         build-test/tests/app/test_app --gtest_filter='RandomInput.*'
// A failing seed is printed; CHARVANE_RANDOM_FIRST_SEED=<seed> CHARVANE_RANDOM_SEEDS=1 replays
// it alone.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/sys/OpenUrl.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/Message.h"
#include "platform/win/Window.h"
#include "skinned/sSkinProvider.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/Scoped.h"
#include "toolkit/TFileDialogForm.h"
#include "toolkit/TGridCells.h"
#include "toolkit/TScreen.h"

namespace {

using app::testing::ProgramTest;
using namespace toolkit;
using platform::Point;
using platform::Rect;
namespace fs = std::filesystem;

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// Error boxes the program may show under random input; anything else (a library's what()
// text, "Unknown error") means an exception escaped from where it should not.
const std::regex
    kKnownErrors("Division by zero\\.|'.*' is not a valid integer value\\.|Cannot open file \".*|"
                 "Cannot create file \".*|Cannot write file \".*|Canvas does not allow drawing\\.|"
                 "DIB is invalid\\.|JPEG error #\\d+\\.?|Invalid PNG picture.*|Out of memory\\.|"
                 "Grid too large.*|Grid index out of range\\.|List index out of bounds "
                 "\\(-?\\d+\\)|Bitmap image is not valid\\.|"
                 "Unsupported .*|Stream read error\\.|Invalid .*");

// The simulated clock stands still while the program loops without ever waiting (a paint that
// asks for itself again, say), so the session's deadline never comes and the run would hang
// without a word. The watchdog counts real time since the driver last acted; past the limit it
// names the seed and that action, and ends the process.
class Watchdog {
public:
    Watchdog(unsigned seed, std::chrono::seconds limit)
        : m_thread([this, seed, limit](std::stop_token stop) { Watch(stop, seed, limit); }) {}
    void Beat(int done, const std::string& action) {
        const std::lock_guard lock(m_mutex);
        m_last = std::chrono::steady_clock::now();
        m_done = done;
        m_action = action;
    }

private:
    void Watch(const std::stop_token& stop, unsigned seed, std::chrono::seconds limit) {
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const std::lock_guard lock(m_mutex);
            if (std::chrono::steady_clock::now() - m_last > limit) {
                std::fprintf(stderr, "seed %u hangs after %d events, the last: %s\n", seed, m_done,
                             m_action.c_str());
                std::_Exit(3);
            }
        }
    }
    std::mutex m_mutex;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
    int m_done = 0;
    std::string m_action = "none yet";
    std::jthread m_thread; // last: it reads the members above
};

class RandomInput : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        boxes.clear();
        boxesSeen = 0;
        closeRequests = urls = 0;
        slowest = {};
        pictures.clear();
        previousOpener = platform::SetOpenUrlHandler([this](const std::string&) { ++urls; });
        const std::string source = CHARVANE_SOURCE_DIR;
        for (const char* p :
             {"assets/sample.bmp", "assets/sample.jpg", "fuzz/image/corpus/rle8.bmp",
              "fuzz/image/corpus/pal1.bmp", "fuzz/jpeg/corpus/progressive.jpg",
              "fuzz/jpeg/corpus/cmyk.jpg", "fuzz/png/corpus/interlaced.png"})
            pictures.push_back(source + "/" + p);
        // Files that are not what their names say, and names that are not files at all.
        charvane::testing::WriteFile(TempFile("empty.bmp"), "");
        charvane::testing::WriteFile(TempFile("text.jpg"), "not a picture\n");
        std::string cut = ReadFile(pictures[0]);
        charvane::testing::WriteFile(TempFile("cut.bmp"), cut.substr(0, cut.size() / 3));
        for (const char* p : {"empty.bmp", "text.jpg", "cut.bmp", "missing.bmp"})
            pictures.push_back(TempFile(p));
        pictures.push_back(folder.Path().string());
        allowed = {fs::weakly_canonical(source).string(),
                   fs::weakly_canonical(folder.Path()).string()};
        GuardTheFileSystem();
        startBounds = form->BoundsRect();
        // The main window's close box is pressed too; the session goes on all the same.
        form->OnCloseQuery = [this](TObject*, bool& canClose) {
            ++closeRequests;
            canClose = false;
        };
    }
    void TearDown() override {
        platform::SetOpenUrlHandler(previousOpener);
        ProgramTest::TearDown();
    }

    // Random clicks may walk the dialogs anywhere; whatever they choose outside our folders
    // becomes a file of ours, so the session never writes, or reads devices, elsewhere.
    void GuardTheFileSystem() {
        const std::string safeSave = TempFile("guarded.txt");
        form->OpenPictureDialog1->OnClose = [this](TObject*) {
            if (!Inside(form->OpenPictureDialog1->FileName()))
                form->OpenPictureDialog1->SetFileName(pictures[0]);
        };
        saveOptions->SaveDialog1->OnClose = [this, safeSave](TObject*) {
            if (!Inside(saveOptions->SaveDialog1->FileName(), true))
                saveOptions->SaveDialog1->SetFileName(safeSave);
        };
        saveOptions->OnClose = [this, safeSave](TObject*, TCloseAction&) {
            if (!Inside(saveOptions->Edit1->Text(), true))
                saveOptions->Edit1->SetText(safeSave);
        };
    }
    bool Inside(const std::string& path, bool tempOnly = false) const {
        if (path.empty())
            return true;
        const std::string full = fs::weakly_canonical(fs::absolute(path)).string();
        for (std::size_t i = tempOnly ? 1 : 0; i < allowed.size(); ++i)
            if (full.rfind(allowed[i] + "/", 0) == 0)
                return true;
        return false;
    }

    template <class T> T Pick(const std::vector<T>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
    }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool Chance(int percent) { return Between(0, 99) < percent; }

    static bool MenuOpen() {
        for (platform::HWND h : platform::GetTopLevelWindows())
            if (platform::IsWindowVisible(h) &&
                platform::GetClassName(h) == platform::kMenuClassName)
                return true;
        return false;
    }
    static platform::HWND OpenMenu() {
        for (platform::HWND h : platform::GetTopLevelWindows())
            if (platform::IsWindowVisible(h) &&
                platform::GetClassName(h) == platform::kMenuClassName)
                return h;
        return {};
    }
    // The form the keyboard and mouse are working with: the active one, else the main window.
    TCustomForm* ActiveForm() const {
        const platform::HWND active = platform::GetActiveWindow();
        for (TCustomForm* f : Screen().FormList())
            if (f->HandleAllocated() && f->HandleIfAllocated() == active)
                return f;
        return form;
    }
    static void VisibleControls(TWinControl& parent, std::vector<TControl*>& out) {
        for (int i = 0; i < parent.ControlCount(); ++i) {
            TControl* c = parent.Controls(i);
            if (!c->Visible() || c->Width() <= 0 || c->Height() <= 0)
                continue;
            out.push_back(c);
            if (auto* w = dynamic_cast<TWinControl*>(c))
                VisibleControls(*w, out);
        }
    }
    Point SomePoint(TCustomForm& target) {
        std::vector<TControl*> controls;
        VisibleControls(target, controls);
        if (!controls.empty() && Chance(70)) {
            TControl* c = Pick(controls);
            return c->ClientToScreen({Between(0, c->Width() - 1), Between(0, c->Height() - 1)});
        }
        Rect r;
        platform::GetWindowRect(target.HandleIfAllocated(), r);
        return {Between(r.left - 4, r.right + 3), Between(r.top - 4, r.bottom + 3)};
    }

    void Chord(int modifier, int vk) {
        host->KeyDown(modifier);
        host->Key(vk);
        host->KeyUp(modifier);
    }
    std::string SomeText() {
        switch (Between(0, 5)) {
        case 0:
            return std::string(1, static_cast<char>('0' + Between(0, 9)));
        case 1:
            return std::string(1, static_cast<char>('a' + Between(0, 25)));
        case 2: { // long numbers, past what 32 bits hold now and then
            // Mostly pasted in one go. Typed, every shorter prefix is a value on the way, and a
            // table of 999,999 rows, a picture 9,999 symbols wide or the pages of one
            // 999,999,999 wide are legitimate but take minutes under the sanitizers: long runs
            // only, and rarely, or a seed takes hours.
            if (longMode && Chance(2))
                return std::string(static_cast<std::size_t>(Between(7, 12)), '9');
            const std::string digits(static_cast<std::size_t>(Between(10, 12)), '9');
            host->SetClipboardText(digits);
            Chord(platform::VK_CONTROL, 'V');
            return {};
        }
        case 3:
            return Pick(
                std::vector<std::string>{"-5", "$1F", "0x10", " 12", "2147483648", "Ж", ".", "3"});
        case 4:
            return std::to_string(Between(0, 300));
        default:
            return std::to_string(Between(1, 12));
        }
    }
    // Chooses a file name in the dialog: into its name field, then Enter.
    void AnswerDialog(TFileDialogForm& dialog, bool saving) {
        const std::string name = saving ? TempFile(Pick(std::vector<const char*>{
                                              "out.txt", "art", "cut.bmp", "no/such/dir.txt"}))
                                        : Pick(pictures);
        action += (saving ? " save " : " open ") + name;
        ReplaceText(*dialog.FileNameEdit(), name);
        host->Key(platform::VK_RETURN);
    }

    // One user action, aimed at whatever is in front.
    void Act() {
        action = "menu";
        if (platform::HWND menu = OpenMenu()) {
            Rect r;
            platform::GetWindowRect(menu, r);
            switch (Between(0, 5)) {
            case 0:
            case 1:
                host->Click({Between(r.left, r.right - 1), Between(r.top, r.bottom - 1)});
                return;
            case 2:
                for (int i = Between(0, 4); i >= 0; --i)
                    host->Key(platform::VK_DOWN);
                host->Key(platform::VK_RETURN);
                return;
            case 3:
                host->Key(platform::VK_ESCAPE);
                return;
            case 4: // into a submenu and out again
                host->Key(Pick(std::vector<int>{platform::VK_RIGHT, platform::VK_LEFT}));
                return;
            default:
                break; // anything else, a click elsewhere included
            }
        }
        // A minimised main window takes no input until the desktop's task bar brings it back.
        if (platform::IsIconic(form->Handle()) && Chance(10)) {
            action = "task bar restore";
            host->HostIconify(form->Handle(), false);
            return;
        }
        TCustomForm& target = *ActiveForm();
        if (auto* dialog = dynamic_cast<TFileDialogForm*>(&target); dialog && Chance(30)) {
            action = "dialog answer";
            if (Chance(80))
                AnswerDialog(*dialog, saveOptions->SaveDialog1->Form() == dialog);
            else
                host->Key(platform::VK_ESCAPE);
            return;
        }
        const Point p = SomePoint(target);
        using platform::MouseButton;
        const int kind = Between(0, 20);
        action = target.Name() + " kind " + std::to_string(kind) + " at " + std::to_string(p.x) +
                 "," + std::to_string(p.y);
        switch (kind) {
        case 0:
        case 1:
        case 2:
            host->MouseMove(p);
            break;
        case 3:
        case 4:
        case 5:
        case 6:
            host->Click(p);
            break;
        case 7: // double click
            host->Click(p);
            host->Click(p, MouseButton::Left, 40);
            break;
        case 8:
            host->Click(p, MouseButton::Right);
            break;
        case 9: { // drag, held long enough for repeats to start
            const Point q = SomePoint(target);
            host->MouseDown(p);
            host->MouseMove({(p.x + q.x) / 2, (p.y + q.y) / 2}, 50);
            host->MouseMove(q, Between(60, 800));
            host->MouseUp(q, MouseButton::Left, Between(60, 800));
            break;
        }
        case 10:
            host->Wheel(Pick(std::vector<int>{-120, 120, -360, 60}), p);
            break;
        case 11:
        case 12:
        case 13:
            if (const std::string text = SomeText(); !text.empty())
                host->Text(text);
            break;
        case 14: // the generator menu, by the arrow of its button
            if (&target == form)
                host->Click(
                    form->sSpeedButton1->ClientToScreen({form->sSpeedButton1->Width() - 4, 10}));
            else
                host->Click(p);
            break;
        case 15:
            host->DropFile(target.HandleIfAllocated(), Pick(pictures));
            break;
        case 16:
            Frame(target);
            break;
        default:
            Keys();
            break;
        }
        if (kind >= 11 && kind <= 13)
            action += " text";
    }
    // The skinned frame as a mouse reaches it: the caption, its buttons, the icon, and the
    // system menu with its list of skins.
    void Frame(TCustomForm& target) {
        using platform::MouseButton;
        const platform::HWND h = target.HandleIfAllocated();
        skinned::TsSkinProvider* provider = skinned::ProviderOf(target);
        Rect wr;
        if (!provider || !provider->Skinned() || !platform::GetWindowRect(h, wr))
            return;
        const skinned::TsSkinProvider::Metrics m = provider->FrameMetrics();
        const Rect caption{wr.left + m.BorderWidth, wr.top + m.BorderHeight,
                           wr.right - m.BorderWidth, wr.top + m.BorderHeight + m.CaptionHeight};
        const auto inside = [this, &wr](Rect r) -> Point { // r in window coordinates
            return {wr.left + Between(r.left, r.right - 1), wr.top + Between(r.top, r.bottom - 1)};
        };
        std::vector<Rect> buttons;
        for (auto kind : {skinned::TsSkinProvider::kClose, skinned::TsSkinProvider::kMax,
                          skinned::TsSkinProvider::kMin})
            if (provider->Button(kind).Shown())
                buttons.push_back(provider->Button(kind).Rect);
        const Point onCaption = caption.IsEmpty() ? SomePoint(target)
                                                  : Point{Between(caption.left, caption.right - 1),
                                                          Between(caption.top, caption.bottom - 1)};
        const int what = Between(0, 19);
        action += " frame " + std::to_string(what);
        switch (what) {
        case 0:
        case 1: // a drag by the caption
            host->MouseDown(onCaption);
            host->MouseMove({onCaption.x + Between(-200, 200), onCaption.y + Between(-150, 150)},
                            Between(20, 300));
            host->MouseUp(onCaption, MouseButton::Left, Between(20, 300));
            break;
        case 2:
        case 3:
            host->Click(onCaption);
            host->Click(onCaption, MouseButton::Left, 40);
            break;
        case 4:
        case 5:
            host->Click(onCaption, MouseButton::Right);
            break;
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
            if (!buttons.empty())
                host->Click(inside(Pick(buttons)));
            break;
        case 11: // pressed, then let go elsewhere
            if (!buttons.empty()) {
                host->MouseDown(inside(Pick(buttons)));
                host->MouseUp(SomePoint(target), MouseButton::Left, Between(20, 300));
            }
            break;
        case 12:
        case 13: { // the icon, once or twice
            const platform::Size icon = provider->IconSize();
            if (icon.cx <= 0 || icon.cy <= 0)
                break;
            const Point p = inside(Rect::FromSize(m.BorderWidth, m.BorderHeight, icon.cx,
                                                  std::max(1, m.CaptionHeight)));
            host->Click(p);
            if (what == 13)
                host->Click(p, MouseButton::Left, 40);
            break;
        }
        case 14:
            // Another skin from the system menu: "Available skins" leads it, its list sorted.
            // Rare: a switch repaints both windows through and through.
            Chord(platform::VK_MENU, platform::VK_SPACE);
            host->Key(platform::VK_DOWN);
            host->Key(platform::VK_RIGHT);
            for (int i = Between(0, 2); i > 0; --i)
                host->Key(platform::VK_DOWN);
            host->Key(platform::VK_RETURN);
            break;
        default:
            Chord(platform::VK_MENU, platform::VK_SPACE);
            break;
        }
    }
    void Keys() {
        using namespace platform;
        switch (Between(0, 9)) {
        case 0:
            Chord(VK_MENU, VK_F4);
            break;
        case 1:
            Chord(VK_MENU, Pick(std::vector<int>{VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT}));
            break;
        case 2:
            Chord(VK_CONTROL, Pick(std::vector<int>{'C', 'V', 'Z', 'X', 'A'}));
            break;
        case 3:
            Chord(VK_SHIFT, VK_TAB);
            break;
        default:
            host->Key(Pick(std::vector<int>{VK_TAB, VK_TAB, VK_ESCAPE, VK_RETURN, VK_RETURN, VK_UP,
                                            VK_DOWN, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR,
                                            VK_NEXT, VK_DELETE, VK_BACK, VK_SPACE, VK_F4}));
            break;
        }
    }

    // Closes whatever is in front of the main window, one thing a step.
    bool CloseOne() {
        if (MenuOpen()) {
            host->Key(platform::VK_ESCAPE);
            return true;
        }
        // A dropped-down list would take the next click for itself.
        for (TCustomComboBox* combo : {static_cast<TCustomComboBox*>(form->sComboBox1),
                                       static_cast<TCustomComboBox*>(form->sComboBox2)})
            if (combo->DroppedDown()) {
                host->Key(platform::VK_ESCAPE);
                return true;
            }
        TCustomForm* front = ActiveForm();
        if (front != form && front->Visible()) {
            host->HostClose(front->HandleIfAllocated());
            return true;
        }
        if (!form->Enabled()) { // a modal window that is not the active one
            for (TCustomForm* f : Screen().FormList())
                if (f != form && f->Visible()) {
                    host->HostClose(f->HandleIfAllocated());
                    return true;
                }
        }
        return false;
    }

    void CheckTable() {
        const std::int64_t n = form->sSpinEdit1->Value();
        if (n + 1 > TGridCells::kMaxCount)
            return; // refused with an error box; the grid keeps what it had
        const std::int64_t rows = form->StringGrid1->RowCount();
        if (rows != std::max<std::int64_t>(n + 1, 1) && failure.empty())
            failure = "the table has " + std::to_string(rows) +
                      " rows for N = " + std::to_string(n) + " after " + std::to_string(done) +
                      " events";
    }
    void CheckBoxes() {
        for (; boxesSeen < boxes.size(); ++boxesSeen)
            if (boxes[boxesSeen].type == MsgDlgType::Error &&
                !std::regex_match(boxes[boxesSeen].text, kKnownErrors) && failure.empty())
                failure = "unexpected error box \"" + boxes[boxesSeen].text + "\" after " +
                          std::to_string(done) + " events, the last: " + action;
    }

    // The width and the bound count are typed back to ordinary ones, as a user would:
    // conversions thousands of symbols wide and tables of hundreds of thousands of rows are
    // legitimate, but take minutes under the sanitizers, and every later font change or paint
    // of such a text pays again. Long runs allow more, just not for the rest of the session.
    bool TypedBackToOrdinary() {
        if (ActiveForm() != form || MenuOpen())
            return false;
        const int widthLimit = longMode ? 2500 : 1000;
        const int countLimit = longMode ? 50000 : 20000;
        for (auto [edit, limit, text] : {std::tuple{form->sSpinEdit3, widthLimit, "80"},
                                         std::tuple{form->sSpinEdit1, countLimit, "7"}}) {
            if (edit->Value() <= limit)
                continue;
            action = "typed back " + edit->Name();
            ReplaceText(*edit, text);
            return true;
        }
        return false;
    }
    void ReplaceText(TControl& edit, const std::string& text) {
        host->Click(edit.ClientToScreen({4, edit.Height() / 2}));
        host->Key(platform::VK_END);
        host->KeyDown(platform::VK_SHIFT);
        host->Key(platform::VK_HOME);
        host->KeyUp(platform::VK_SHIFT);
        host->Text(text);
    }

    // The timer's work: checks, then one more action, or winding down once the budget is spent
    // or something failed.
    void Step() {
        if (finished || host->HasPendingInput())
            return;
        if (watchdog)
            watchdog->Beat(done, action);
        CheckTable();
        CheckBoxes();
        if (const std::string skin = form->sSkinManager1->SkinName(); skin != lastSkin) {
            skinChanges += !lastSkin.empty();
            lastSkin = skin;
        }
        if (done >= budget || !failure.empty()) {
            if (!CloseOne())
                finished = true;
            return;
        }
        if (TypedBackToOrdinary())
            return;
        ++done;
        // The slowest action is reported with the seed's summary: where a session spends
        // its time, and what a hang would look like before it becomes one.
        const auto now = std::chrono::steady_clock::now();
        if (done > 1 && now - lastStep > slowest) {
            slowest = now - lastStep;
            slowestAction = action;
        }
        lastStep = now;
        const char* state = platform::IsIconic(form->Handle())   ? " (minimised)"
                            : platform::IsZoomed(form->Handle()) ? " (maximised)"
                                                                 : "";
        Act();
        if (watchdog)
            watchdog->Beat(done, action);
        if (trace) // before the action runs: a hang's culprit is the last line
            std::fprintf(stderr, "%d:%s %s\n", done, state, action.c_str());
    }

    // Runs one seeded session; answers what went wrong, or nothing.
    std::string Session(unsigned seed, int events) {
        rng.seed(seed);
        budget = events;
        lastSkin.clear();
        skinChanges = 0;
        done = 0;
        finished = false;
        failure.clear();
        const charvane::testing::ScopedCurrentFolder inTemp(folder.Path());
        // The slowest legitimate actions of long runs take minutes under the sanitizers.
        watchdog.emplace(seed, std::chrono::minutes(15));
        const platform::UINT_PTR timer = platform::SetTimer(
            {}, 0, 15, [this](platform::HWND, platform::UINT, platform::UINT_PTR, platform::DWORD) {
                Step();
            });
        // Ten simulated minutes are far more than any session needs; past them the program is
        // stuck somewhere the driver cannot reach.
        const std::uint64_t deadline = host->NowMs() + 600'000 + 200ull * events;
        while (!finished && host->NowMs() < deadline && !app->Terminated())
            app->HandleMessage();
        platform::KillTimer({}, timer);
        watchdog.reset();
        if (app->Terminated())
            return "the program ended after " + std::to_string(done) + " events";
        if (!finished)
            return "the session did not wind down (" + std::to_string(done) + " events)";
        return failure;
    }

    // The window's conversion of a known picture against the command-line tool on the table,
    // width and ratio the session left behind.
    void ConvertsAsTheCommandLine(unsigned seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        // The session may have minimised, dragged and sized the window anywhere; the button
        // must be on the screen to be pressed.
        if (platform::IsIconic(form->Handle()) || platform::IsZoomed(form->Handle()))
            platform::ShowWindow(form->Handle(), platform::SW_RESTORE);
        form->SetBoundsRect(startBounds);
        Pump();
        form->OpenPicture(pictures[1]);
        // A count the table refused (too large, or negative: its last row cannot be written)
        // fails the command line where the window showed the error while it was typed, and a
        // picture thousands of symbols wide takes minutes under the sanitizers: such settings
        // are typed back to ordinary ones first.
        if (form->sSpinEdit1->Value() < 0 ||
            form->sSpinEdit1->Value() + std::int64_t{1} > TGridCells::kMaxCount)
            TypeInto(*form->sSpinEdit1, "7");
        if (form->sSpinEdit3->Value() > 1000)
            TypeInto(*form->sSpinEdit3, "80");
        const std::size_t before = boxes.size();
        ClickOn(*form->sBitBtn2);
        cli::CliOptions options;
        options.pictures = {pictures[1]};
        options.generator = cli::Generator::Manual;
        options.boundsText = form->sSpinEdit1->Text();
        for (int row = 1; row <= form->sSpinEdit1->Value() && row < form->StringGrid1->RowCount();
             ++row)
            for (int col = 0; col < 2; ++col)
                options.cells.push_back({col, row, Cell(col, row)});
        options.width = form->sSpinEdit3->Value();
        options.ratioIndex = form->sComboBox2->ItemIndex();
        std::ostringstream out, err;
        const int status = cli::RunCli(options, out, err);
        SCOPED_TRACE("bounds \"" + *options.boundsText + "\", width " +
                     std::to_string(options.width) + ", ratio " +
                     std::to_string(options.ratioIndex) + ", table rows " +
                     std::to_string(form->StringGrid1->RowCount()));
        if (status == 0) {
            EXPECT_EQ(boxes.size(), before) << boxes.back().text;
            EXPECT_EQ(MemoText(), out.str());
        } else {
            ASSERT_EQ(boxes.size(), before + 1) << err.str();
            EXPECT_EQ(boxes.back().text + "\n", err.str());
        }
    }

    // CHARVANE_RANDOM_TRACE=1 lists every action as it is sent, after the main window's state.
    bool trace = EnvInt("CHARVANE_RANDOM_TRACE", 0) != 0;
    bool longMode = EnvInt("CHARVANE_RANDOM_EVENTS", 0) > 2000;
    std::mt19937 rng;
    int budget = 0;
    int done = 0;
    bool finished = false;
    std::string failure;
    std::string action; // the last one, for reports
    std::chrono::steady_clock::time_point lastStep;
    std::chrono::steady_clock::duration slowest{};
    std::string slowestAction;
    std::size_t boxesSeen = 0;
    int closeRequests = 0;
    int urls = 0;
    std::string lastSkin;
    int skinChanges = 0;
    std::optional<Watchdog> watchdog;
    std::vector<std::string> pictures;
    std::vector<std::string> allowed;
    Rect startBounds;
    platform::OpenUrlHandler previousOpener;
};

TEST_F(RandomInput, SeededSessionsKeepTheTableWholeAndConvertAsTheCommandLine) {
    const int seeds = EnvInt("CHARVANE_RANDOM_SEEDS", 2);
    const int events = EnvInt("CHARVANE_RANDOM_EVENTS", 2000);
    const unsigned first = static_cast<unsigned>(EnvInt("CHARVANE_RANDOM_FIRST_SEED", 1));
    for (unsigned seed = first; seed < first + static_cast<unsigned>(seeds); ++seed) {
        if (seed != first) { // every seed starts from a program just started
            TearDown();
            SetUp();
        }
        const std::string failure = Session(seed, events);
        ASSERT_EQ(failure, "") << "seed " << seed
                               << " (replay with CHARVANE_RANDOM_FIRST_SEED=" << seed
                               << " CHARVANE_RANDOM_SEEDS=1 CHARVANE_RANDOM_EVENTS=" << events
                               << ")";
        ConvertsAsTheCommandLine(seed);
        if (HasFatalFailure() || HasNonfatalFailure())
            return;
        std::printf("seed %u: %d events, %zu error boxes, %d refused closes, %d pages opened, "
                    "%d skin changes; slowest %lld ms (%s)\n",
                    seed, done, boxes.size(), closeRequests, urls, skinChanges,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()),
                    slowestAction.c_str());
    }
}

} // namespace
