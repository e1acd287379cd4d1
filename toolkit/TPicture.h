#pragma once
// The picture registry and TPicture, the holder of one picture of any registered class.
//
// Picture classes register the file extensions they read (without dot, compared ignoring case),
// with a description for file dialogs, and the clipboard formats they accept. A module registers
// at start-up and unregisters at shut-down by class name. Lists come back in registration order,
// followed by the toolkit's own types: "bmp" (TBitmap), and "ico", "emf", "wmf", which are
// listed for file dialogs but have no reader (loading them raises EInvalidGraphic "%s cannot be
// read" with the type's description).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/TGraphic.h"

namespace toolkit {

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct TFileFormat {
    std::string extension; // lower case, no dot: "dib"
    std::string description;
    std::string className;
    TGraphicFactory create;
};

struct TClipboardFormat {
    std::uint32_t format = 0;
    std::string className;
    TGraphicFactory create;
};

class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;
    std::string ClassName() const override { return "TPicture"; }

    // Registering an extension again replaces its entry.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const std::string& className, TGraphicFactory create);
    static void RegisterClipboardFormat(std::uint32_t format, const std::string& className,
                                        TGraphicFactory create);
    // Removes every file and clipboard format of the class.
    static void UnregisterGraphicClass(const std::string& className);
    static std::vector<TFileFormat> FileFormats();
    static std::vector<TClipboardFormat> ClipboardFormats();
    // The file dialog's filter: "All (*.dib;*.jpg)|*.dib;*.jpg|Device Independent Bitmap
    // (*.dib)|*.dib|..." (one pair per extension; empty when nothing is registered).
    static std::string GraphicFilter();
    // The format registered for an extension given with or without its dot; nullptr if none.
    static const TFileFormat* FindFileFormat(const std::string& extension);

    TGraphic* Graphic() const { return m_graphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    std::int32_t Width() const { return m_graphic ? m_graphic->Width() : 0; }
    std::int32_t Height() const { return m_graphic ? m_graphic->Height() : 0; }

    // Picks the class by the file's extension (EInvalidGraphic "Unknown picture file extension
    // (.%s)" when none is registered), loads the file into a new picture of that class and keeps
    // it; a failed load keeps the old picture.
    void LoadFromFile(const std::string& fileName);
    // From another TPicture: a picture of the same class assigned from its graphic. From a
    // TGraphic: a copy of that graphic's class assigned from it. nullptr: no picture.
    void Assign(const TPersistent* source) override;

private:
    std::unique_ptr<TGraphic> m_graphic;
};

} // namespace toolkit
