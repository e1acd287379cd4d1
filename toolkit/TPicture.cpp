#include "toolkit/TPicture.h"

#include <algorithm>
#include <cctype>

#include "toolkit/Exceptions.h"
#include "toolkit/TBitmap.h"

namespace toolkit {

namespace {

// The toolkit's own types come after the program's in every list. Only bitmaps are read here;
// icons and metafiles are listed so that file dialogs show them, as the desktop's do.
std::vector<TFileFormat> ToolkitFormats() {
    return {{"bmp", "Bitmaps", "TBitmap", [] { return std::unique_ptr<TGraphic>(new TBitmap); }},
            {"ico", "Icons", "TIcon", {}},
            {"emf", "Enhanced Metafiles", "TMetafile", {}},
            {"wmf", "Metafiles", "TMetafile", {}}};
}

struct Registry {
    std::vector<TFileFormat> files; // registered by the program, in order
    std::vector<TFileFormat> own = ToolkitFormats();
    std::vector<TClipboardFormat> clipboard;

    TFileFormat* Find(const std::string& ext) {
        for (auto* list : {&files, &own})
            for (auto& f : *list)
                if (f.extension == ext)
                    return &f;
        return nullptr;
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ExtensionOf(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return fileName.substr(dot + 1);
}

TGraphicFactory FactoryOf(const std::string& className) {
    for (const auto& f : TPicture::FileFormats())
        if (f.className == className)
            return f.create;
    for (const auto& f : TheRegistry().clipboard)
        if (f.className == className)
            return f.create;
    return {};
}

} // namespace

TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const std::string& className, TGraphicFactory create) {
    std::string ext = Lower(extension);
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    if (TFileFormat* known = TheRegistry().Find(ext)) {
        *known = {ext, description, className, std::move(create)};
        return;
    }
    TheRegistry().files.push_back({ext, description, className, std::move(create)});
}

void TPicture::RegisterClipboardFormat(std::uint32_t format, const std::string& className,
                                       TGraphicFactory create) {
    TheRegistry().clipboard.push_back({format, className, std::move(create)});
}

void TPicture::UnregisterGraphicClass(const std::string& className) {
    auto& r = TheRegistry();
    std::erase_if(r.files, [&](const TFileFormat& f) { return f.className == className; });
    std::erase_if(r.own, [&](const TFileFormat& f) { return f.className == className; });
    std::erase_if(r.clipboard, [&](const TClipboardFormat& f) { return f.className == className; });
}

std::vector<TFileFormat> TPicture::FileFormats() {
    std::vector<TFileFormat> all = TheRegistry().files;
    all.insert(all.end(), TheRegistry().own.begin(), TheRegistry().own.end());
    return all;
}

std::vector<TClipboardFormat> TPicture::ClipboardFormats() {
    return TheRegistry().clipboard;
}

std::string TPicture::GraphicFilter() {
    const std::vector<TFileFormat> files = FileFormats();
    if (files.empty())
        return {};
    std::string all;
    for (const auto& f : files)
        all += (all.empty() ? "*." : ";*.") + f.extension;
    std::string filter = "All (" + all + ")|" + all;
    for (const auto& f : files)
        filter += "|" + f.description + " (*." + f.extension + ")|*." + f.extension;
    return filter;
}

const TFileFormat* TPicture::FindFileFormat(const std::string& extension) {
    std::string ext = Lower(extension);
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    return TheRegistry().Find(ext);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    m_graphic = std::move(graphic);
}

void TPicture::LoadFromFile(const std::string& fileName) {
    const std::string ext = ExtensionOf(fileName);
    const TFileFormat* format = FindFileFormat(ext);
    if (format == nullptr)
        throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {ext}));
    if (!format->create)
        throw EInvalidGraphic(Format("%s cannot be read", {format->description}));
    std::unique_ptr<TGraphic> graphic = format->create();
    graphic->LoadFromFile(fileName);
    m_graphic = std::move(graphic);
}

void TPicture::Assign(const TPersistent* source) {
    if (source == nullptr) {
        m_graphic.reset();
        return;
    }
    const TGraphic* graphic = nullptr;
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        graphic = picture->Graphic();
        if (graphic == nullptr) {
            m_graphic.reset();
            return;
        }
    } else {
        graphic = dynamic_cast<const TGraphic*>(source);
    }
    if (graphic == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    const TGraphicFactory create = FactoryOf(graphic->ClassName());
    if (!create)
        throw CannotAssignError(graphic->ClassName(), ClassName());
    std::unique_ptr<TGraphic> copy = create();
    copy->Assign(graphic);
    m_graphic = std::move(copy);
}

} // namespace toolkit
