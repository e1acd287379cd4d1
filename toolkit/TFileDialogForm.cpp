#include "toolkit/TFileDialogForm.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/win/WinDefs.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TButton.h"
#include "toolkit/TComboBox.h"
#include "toolkit/TCustomEdit.h"
#include "toolkit/TLabel.h"
#include "toolkit/TListBox.h"
#include "toolkit/TPicturePreview.h"

namespace toolkit {
namespace {

constexpr int kWidth = 560, kHeight = 360, kPreviewWidth = 180;
constexpr int kMargin = 8, kLabelWidth = 92, kButtonWidth = 88, kRowHeight = 23;
constexpr int kListTop = 38, kMessageTop = 266, kNameTop = 290, kTypeTop = 325;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                     [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
    // Names equal but for case still get a fixed order.
    return less || (!greater && a < b);
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string NamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasExtension(const std::string& path) {
    const std::string name = NamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 && dot + 1 < name.size();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Absolute, without the trailing "/" that "sub/" or "x/.." leave.
std::string FolderPath(const std::string& folder) {
    std::string path = platform::ExpandFileName(folder);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string DisplayName(const platform::FolderEntry& entry) {
    return entry.isFolder ? "[" + entry.name + "]" : entry.name;
}

} // namespace

TFileDialogForm::TFileDialogForm(TComponent* owner, const TFileDialogOptions& options)
    : TForm(owner), m_options(options), m_filters(ParseFileFilter(options.filter)) {
    SetCaption(options.title);
    SetBorderStyle(bsDialog);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetClientSize(kWidth + (options.preview ? kPreviewWidth : 0), kHeight);
    BuildControls();

    std::string folder;
    std::string name;
    if (!options.fileName.empty()) {
        const std::string full = platform::ExpandFileName(options.fileName);
        if (platform::FolderExists(full)) {
            folder = full;
        } else {
            name = NamePart(full);
            if (options.fileName.find('/') != std::string::npos &&
                platform::FolderExists(platform::ParentFolder(full)))
                folder = platform::ParentFolder(full);
        }
    }
    if (!options.initialDir.empty() && platform::FolderExists(options.initialDir))
        folder = FolderPath(options.initialDir);
    if (folder.empty())
        folder = platform::CurrentFolder();
    m_fileNameEdit->SetText(name);
    SetFolder(folder);
    SetActiveControl(m_fileNameEdit);
}

TFileDialogForm::~TFileDialogForm() = default;

void TFileDialogForm::BuildControls() {
    const int width = ClientWidth();
    const int listRight = width - kMargin - (m_options.preview ? kPreviewWidth : 0);
    const int fieldLeft = kMargin + kLabelWidth;
    const int buttonLeft = width - kMargin - kButtonWidth;
    auto label = [this](const std::string& text, int top) {
        auto* l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(text);
        l->SetShowAccelChar(false);
        l->SetLeft(kMargin);
        l->SetTop(top);
        return l;
    };

    label("Look in:", 12);
    m_folderEdit = new TEdit(this);
    m_folderEdit->SetParent(this);
    m_folderEdit->SetReadOnly(true);
    m_folderEdit->SetTabStop(false);
    m_folderEdit->SetColor(clBtnFace);
    m_folderEdit->SetBounds(fieldLeft, 8, buttonLeft - 6 - fieldLeft, kRowHeight);

    m_upButton = new TButton(this);
    m_upButton->SetParent(this);
    m_upButton->SetCaption("Up");
    m_upButton->SetBounds(buttonLeft, 7, kButtonWidth, kRowHeight + 2);
    m_upButton->OnClick = [this](TObject*) { GoUp(); };

    m_fileList = new TListBox(this);
    m_fileList->SetParent(this);
    m_fileList->SetBounds(kMargin, kListTop, listRight - kMargin, kMessageTop - 4 - kListTop);
    m_fileList->OnClick = [this](TObject*) { ListSelected(); };
    m_fileList->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        m_pressedOnItem = m_fileList->ItemAtPos({x, y}, true) >= 0;
    };
    // The double click's second press still goes on to select under the pointer, so the entry
    // opens on its release, when the old list is done with the mouse. A double click below the
    // last item opens nothing.
    m_fileList->OnDblClick = [this](TObject*) { m_openOnRelease = m_pressedOnItem; };
    m_fileList->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        if (std::exchange(m_openOnRelease, false))
            ListDoubleClicked();
    };
    m_fileList->OnKeyDown = [this](TObject*, platform::WORD& key, TShiftState shift) {
        if (key == platform::VK_BACK && shift.Empty()) {
            key = 0;
            GoUp();
        }
    };

    if (m_options.preview) {
        m_preview = new TPicturePreview(this);
        m_preview->SetParent(this);
        m_preview->SetBounds(listRight + 6, kListTop, width - kMargin - listRight - 6,
                             kMessageTop - 4 - kListTop);
    }

    m_messageLabel = label("", kMessageTop);
    m_messageLabel->SetAutoSize(false);
    m_messageLabel->SetBounds(kMargin, kMessageTop, width - 2 * kMargin, 18);
    m_messageLabel->Font().SetColor(clMaroon);

    label("File name:", kNameTop + 4);
    m_fileNameEdit = new TEdit(this);
    m_fileNameEdit->SetParent(this);
    m_fileNameEdit->SetBounds(fieldLeft, kNameTop, buttonLeft - 12 - fieldLeft, kRowHeight);

    label("Files of type:", kTypeTop + 4);
    m_fileTypeCombo = new TComboBox(this);
    m_fileTypeCombo->SetParent(this);
    m_fileTypeCombo->SetStyle(csDropDownList);
    m_fileTypeCombo->SetBounds(fieldLeft, kTypeTop, buttonLeft - 12 - fieldLeft, kRowHeight);
    for (const TFileFilterEntry& entry : m_filters)
        m_fileTypeCombo->Items().Add(entry.description);
    if (!m_filters.empty()) {
        const int index = m_options.filterIndex;
        m_fileTypeCombo->SetItemIndex(
            index >= 1 && index <= static_cast<int>(m_filters.size()) ? index - 1 : 0);
    }
    m_fileTypeCombo->OnChange = [this](TObject*) {
        m_typedMasks.clear();
        Relist();
    };

    m_okButton = new TButton(this);
    m_okButton->SetParent(this);
    m_okButton->SetCaption(m_options.save ? "Save" : "Open");
    m_okButton->SetDefault(true);
    m_okButton->SetBounds(buttonLeft, kNameTop - 1, kButtonWidth, kRowHeight + 2);
    m_okButton->OnClick = [this](TObject*) { Confirm(); };

    m_cancelButton = new TButton(this);
    m_cancelButton->SetParent(this);
    m_cancelButton->SetCaption("Cancel");
    m_cancelButton->SetCancel(true);
    m_cancelButton->SetModalResult(mrCancel);
    m_cancelButton->SetBounds(buttonLeft, kTypeTop - 1, kButtonWidth, kRowHeight + 2);
}

int TFileDialogForm::FilterIndex() const {
    return m_fileTypeCombo->ItemIndex() >= 0 ? m_fileTypeCombo->ItemIndex() + 1 : 1;
}

std::vector<std::string> TFileDialogForm::CurrentMasks() const {
    if (!m_typedMasks.empty())
        return m_typedMasks;
    const int index = m_fileTypeCombo->ItemIndex();
    if (index >= 0 && index < static_cast<int>(m_filters.size()))
        return m_filters[index].masks;
    return {};
}

void TFileDialogForm::SetFolder(const std::string& folder) {
    m_folder = FolderPath(folder);
    m_folderEdit->SetText(m_folder);
    // A long path shows its end, where the folder's own name is.
    m_folderEdit->SetSelStart(static_cast<int>(m_folderEdit->TextLength()));
    Relist();
}

void TFileDialogForm::Relist() {
    std::vector<platform::FolderEntry> found;
    int error = 0;
    m_entries.clear();
    m_folderError.clear();
    if (platform::ListFolder(m_folder, found, error)) {
        const std::vector<std::string> masks = CurrentMasks();
        std::vector<platform::FolderEntry> folders, files;
        for (platform::FolderEntry& entry : found) {
            if (entry.name.empty() || entry.name.front() == '.')
                continue;
            if (entry.isFolder)
                folders.push_back(std::move(entry));
            else if (MatchesAnyMask(entry.name, masks))
                files.push_back(std::move(entry));
        }
        auto byName = [](const platform::FolderEntry& a, const platform::FolderEntry& b) {
            return LessIgnoringCase(a.name, b.name);
        };
        std::sort(folders.begin(), folders.end(), byName);
        std::sort(files.begin(), files.end(), byName);
        if (m_folder != "/")
            m_entries.push_back({"..", true});
        m_entries.insert(m_entries.end(), folders.begin(), folders.end());
        m_entries.insert(m_entries.end(), files.begin(), files.end());
    } else {
        m_folderError = Format("Cannot read the folder \"%s\": %s",
                               {m_folder, platform::SystemErrorText(error)});
    }
    std::vector<std::string> lines;
    lines.reserve(m_entries.size());
    for (const platform::FolderEntry& entry : m_entries)
        lines.push_back(DisplayName(entry));
    m_fileList->Items().Assign(lines);
    m_fileList->SetItemIndex(-1);
    m_fileList->SetTopIndex(0);
    m_messageLabel->SetCaption(m_folderError);
    if (m_preview)
        m_preview->Clear();
}

void TFileDialogForm::ListSelected() {
    const int index = m_fileList->ItemIndex();
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    const platform::FolderEntry& entry = m_entries[index];
    if (entry.isFolder) {
        if (m_preview)
            m_preview->Clear();
        return;
    }
    m_fileNameEdit->SetText(entry.name);
    if (m_preview)
        m_preview->ShowFile(JoinPath(m_folder, entry.name));
}

void TFileDialogForm::ListDoubleClicked() {
    const int index = m_fileList->ItemIndex();
    if (index >= 0 && index < static_cast<int>(m_entries.size()))
        OpenEntry(index);
}

void TFileDialogForm::OpenEntry(int index) {
    const platform::FolderEntry entry = m_entries[index];
    if (entry.isFolder) {
        if (entry.name == "..")
            GoUp();
        else
            SetFolder(JoinPath(m_folder, entry.name));
        return;
    }
    m_fileNameEdit->SetText(entry.name);
    ConfirmText(entry.name);
}

void TFileDialogForm::GoUp() {
    SetFolder(platform::ParentFolder(m_folder));
}

void TFileDialogForm::Confirm() {
    if (m_fileList->Focused()) {
        const int index = m_fileList->ItemIndex();
        if (index >= 0 && index < static_cast<int>(m_entries.size())) {
            OpenEntry(index);
            return;
        }
    }
    ConfirmText(m_fileNameEdit->Text());
}

void TFileDialogForm::ConfirmText(const std::string& typed) {
    std::string text = Trimmed(typed);
    if (text.empty())
        return;
    if (text.find('/') == std::string::npos && text.find_first_of("*?") != std::string::npos) {
        m_typedMasks = ParseFileFilter("|" + text).front().masks;
        Relist();
        return;
    }
    if (text == "~" || text.starts_with("~/")) {
        const char* home = std::getenv("HOME");
        if (home && *home)
            text = std::string(home) + text.substr(1);
    }
    const std::string path =
        platform::ExpandFileName(text.front() == '/' ? text : JoinPath(m_folder, text));
    if (platform::FolderExists(path)) {
        m_fileNameEdit->SetText("");
        SetFolder(path);
        return;
    }
    if (text.back() == '/') {
        Complain(Format("%s\nThe folder does not exist.", {path}));
        return;
    }
    Accept(path);
}

bool TFileDialogForm::Accept(std::string path) {
    const bool addExtension = !m_options.defaultExt.empty() && !HasExtension(path);
    std::string ext = m_options.defaultExt;
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    if (m_options.save) {
        if (addExtension && !ext.empty())
            path += "." + ext;
        if (!platform::FolderExists(platform::ParentFolder(path))) {
            Complain(Format("%s\nThe folder does not exist.", {platform::ParentFolder(path)}));
            return false;
        }
        if (platform::FolderExists(path)) {
            SetFolder(path);
            return false;
        }
    } else {
        if (!platform::FileExists(path) && addExtension && !ext.empty() &&
            platform::FileExists(path + "." + ext))
            path += "." + ext;
        if (!platform::FileExists(path)) {
            Complain(Format("%s\nFile not found.\nCheck the file name and try again.", {path}));
            return false;
        }
    }
    m_result = path;
    SetModalResult(mrOk);
    return true;
}

void TFileDialogForm::Complain(const std::string& text) {
    ShowMessageBox(text, Caption(), MsgDlgType::Warning);
    if (m_fileNameEdit->CanFocus())
        m_fileNameEdit->SetFocus();
    m_fileNameEdit->SelectAll();
}

} // namespace toolkit
