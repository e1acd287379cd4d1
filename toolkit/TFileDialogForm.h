#pragma once
// The window behind the file dialogs (toolkit/TDialogs.h): a fixed-size dialog form in the plain
// look, built from toolkit controls.
//
// Layout (client coordinates, 560 x 360, 740 wide with the preview): the "Look in:" line (the
// folder shown, read-only, and an "Up" button); the file list with, for the picture dialog, the
// preview pane on its right; a line for messages about the folder; "File name:" with the
// default button ("Open" or "Save") and "Files of type:" with "Cancel".
//
// The list shows the folder's sub-folders first as "[name]" (with "[..]" for the parent unless
// the folder is the root), then the files matching the chosen type; each group sorted ignoring
// case, names starting with "." left out. A folder that cannot be read shows an empty list and
// the system's reason on the message line.
//
// Choosing: selecting a file puts its name in the file-name edit (and previews it); double
// click, or Enter while the list has the focus, opens a folder and confirms a file; Backspace
// in the list and the "Up" button show the parent folder. Enter elsewhere presses the default
// button, which reads the file-name edit: a folder (absolute, relative to the folder shown, or
// "~/...") is opened; a mask with "*" or "?" filters the list; anything else names the file. An open dialog wants an existing file (else a message box says
// so and the dialog stays); a save dialog wants an existing folder to write in. DefaultExt is
// added to a name without an extension only when set. Esc or "Cancel" cancel.

#include <string>
#include <vector>

#include "platform/sys/Files.h"
#include "toolkit/FileFilter.h"
#include "toolkit/TForm.h"

namespace toolkit {

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TPicturePreview;

struct TFileDialogOptions {
    std::string title;
    std::string filter;
    int filterIndex = 1; // 1-based
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
    bool save = false;
    bool preview = false;
};

class TFileDialogForm : public TForm {
public:
    TFileDialogForm(TComponent* owner, const TFileDialogOptions& options);
    ~TFileDialogForm() override;

    std::string ClassName() const override { return "TFileDialogForm"; }

    // ---- state ----
    const std::string& Folder() const { return m_folder; }
    // Shows a folder (made absolute); the message line tells when it cannot be read.
    void SetFolder(const std::string& folder);
    // The entries in list order ("[..]" is the entry "..").
    const std::vector<platform::FolderEntry>& Entries() const { return m_entries; }
    // Empty, or why the folder shown could not be read.
    const std::string& FolderError() const { return m_folderError; }
    // The file type chosen, 1-based (1 when the filter is empty).
    int FilterIndex() const;
    // The full path confirmed (valid once the form closed with mrOk).
    const std::string& ResultFileName() const { return m_result; }

    // ---- actions, as the buttons and keys do them ----
    // What the default button does: opens the folder selected in a focused list, else acts on
    // the file-name edit's text.
    void Confirm();
    void GoUp();

    // ---- controls ----
    TEdit* FolderEdit() const { return m_folderEdit; }
    TButton* UpButton() const { return m_upButton; }
    TListBox* FileList() const { return m_fileList; }
    TLabel* MessageLabel() const { return m_messageLabel; }
    TEdit* FileNameEdit() const { return m_fileNameEdit; }
    TComboBox* FileTypeCombo() const { return m_fileTypeCombo; }
    TButton* OkButton() const { return m_okButton; }
    TButton* CancelButton() const { return m_cancelButton; }
    TPicturePreview* Preview() const { return m_preview; } // nullptr without preview

private:
    void BuildControls();
    void Relist();
    void ListSelected();
    void ListDoubleClicked();
    void OpenEntry(int index);
    void ConfirmText(const std::string& text);
    bool Accept(std::string path);
    void Complain(const std::string& text);
    std::vector<std::string> CurrentMasks() const;

    TFileDialogOptions m_options;
    std::string m_folder;
    std::string m_folderError;
    std::vector<platform::FolderEntry> m_entries;
    std::vector<TFileFilterEntry> m_filters;
    std::vector<std::string> m_typedMasks; // a mask typed into the file-name edit
    std::string m_result;
    bool m_pressedOnItem = false;
    bool m_openOnRelease = false;

    TEdit* m_folderEdit = nullptr;
    TButton* m_upButton = nullptr;
    TListBox* m_fileList = nullptr;
    TLabel* m_messageLabel = nullptr;
    TEdit* m_fileNameEdit = nullptr;
    TComboBox* m_fileTypeCombo = nullptr;
    TButton* m_okButton = nullptr;
    TButton* m_cancelButton = nullptr;
    TPicturePreview* m_preview = nullptr;
};

} // namespace toolkit
