#pragma once
// The file dialogs: modal toolkit windows in the plain look, usable with mouse and keyboard.
//
// Execute() shows the dialog modally over the active form and returns true when the user
// confirmed a file; then FileName() holds its full path. On cancel FileName() is unchanged.
// Without a running window system it shows nothing and answers false.
// Filter is "Description|*.ext;*.ext2|Description|*.ext"; FilterIndex is 1-based. InitialDir
// (empty: the current folder, or the folder of FileName when that names one). No extension is
// ever added to a typed name unless DefaultExt is set.
//
// TOpenPictureDialog lists the picture formats registered with TPicture, with an entry for all
// of them first (unless Filter is set), and previews the selected picture. TSaveDialog asks for
// a name to write: the folder must exist, an existing file is taken as it is.
//
// On confirming, FilterIndex becomes the file type chosen. OnShow runs once the window shows,
// OnClose after it closed. The window and its behaviour are TFileDialogForm
// (toolkit/TFileDialogForm.h); Form() answers it while Execute runs (nullptr otherwise).

#include <string>

#include "toolkit/TComponent.h"
#include "toolkit/TObject.h"

namespace toolkit {

class TFileDialogForm;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner);
    std::string ClassName() const override { return "TCommonDialog"; }

    virtual bool Execute() = 0;

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* owner);
    std::string ClassName() const override { return "TOpenDialog"; }

    bool Execute() override;

    const std::string& FileName() const { return m_fileName; }
    void SetFileName(const std::string& name) { m_fileName = name; }
    const std::string& Filter() const { return m_filter; }
    void SetFilter(const std::string& filter) { m_filter = filter; }
    int FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int index) { m_filterIndex = index; }
    const std::string& InitialDir() const { return m_initialDir; }
    void SetInitialDir(const std::string& dir) { m_initialDir = dir; }
    const std::string& DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const std::string& ext) { m_defaultExt = ext; }
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

    TFileDialogForm* Form() const { return m_form; }

protected:
    // The title shown when Title is empty.
    virtual std::string DefaultTitle() const { return "Open"; }
    virtual bool IsSaveDialog() const { return false; }
    virtual bool HasPreview() const { return false; }
    // The filter the window offers.
    virtual std::string EffectiveFilter() const { return m_filter; }

private:
    std::string m_fileName;
    std::string m_filter;
    int m_filterIndex = 1;
    std::string m_initialDir;
    std::string m_defaultExt;
    std::string m_title;
    TFileDialogForm* m_form = nullptr;
};

class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* owner);
    std::string ClassName() const override { return "TOpenPictureDialog"; }

protected:
    bool HasPreview() const override { return true; }
    // TPicture::GraphicFilter() unless Filter is set.
    std::string EffectiveFilter() const override;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner);
    std::string ClassName() const override { return "TSaveDialog"; }

protected:
    std::string DefaultTitle() const override { return "Save As"; }
    bool IsSaveDialog() const override { return true; }
};

} // namespace toolkit
