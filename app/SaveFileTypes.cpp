#include "app/SaveFileTypes.h"

namespace app {

using textexport::ExportFormat;

const std::vector<TSaveFileType>& SaveFileTypes() {
    static const std::vector<TSaveFileType> types = {
        {"Paged text", ExportFormat::Text, false},
        {"Web page", ExportFormat::Html, false},
        {"Web page in colour", ExportFormat::Html, true},
        {"PNG picture", ExportFormat::Png, false},
        {"PNG picture in colour", ExportFormat::Png, true},
        {"SVG picture", ExportFormat::Svg, false},
        {"SVG picture in colour", ExportFormat::Svg, true},
    };
    return types;
}

std::string SaveDialogFilter() {
    std::string filter;
    for (const TSaveFileType& type : SaveFileTypes()) {
        if (!filter.empty())
            filter += '|';
        filter += type.description + '|';
        if (type.format == ExportFormat::Text)
            filter += '*';
        else if (type.format == ExportFormat::Html)
            filter += "*.html;*.htm";
        else
            filter += '*' + textexport::ExtensionOf(type.format);
    }
    return filter;
}

const TSaveFileType& SaveFileTypeAt(int filterIndex) {
    const auto& types = SaveFileTypes();
    if (filterIndex < 1 || filterIndex > static_cast<int>(types.size()))
        return types.front();
    return types[static_cast<std::size_t>(filterIndex - 1)];
}

std::string WithTypeExtension(const std::string& fileName, const TSaveFileType& type) {
    const std::string extension = textexport::ExtensionOf(type.format);
    const std::size_t namePart = fileName.find_last_of('/') + 1; // npos + 1 is 0
    const std::size_t dot = fileName.find_last_of('.');
    // A leading dot is a hidden file's name, not an extension.
    const bool hasExtension = dot != std::string::npos && dot > namePart;
    if (extension.empty() || hasExtension || namePart == fileName.size())
        return fileName;
    return fileName + extension;
}

} // namespace app
