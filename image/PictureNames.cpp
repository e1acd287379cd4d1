// The names that choose a picture's reader, apart from the readers themselves so that a tool
// can ask without pulling in every picture class.

#include "image/PictureFile.h"

namespace image {

std::string UpperCaseExtension(std::string_view fileName) {
    const auto slash = fileName.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    std::string extension(dot == std::string_view::npos ? std::string_view{} : name.substr(dot));
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return extension;
}

bool IsJpegFileName(std::string_view fileName) {
    return UpperCaseExtension(fileName) == ".JPG";
}

bool IsPngFileName(std::string_view fileName) {
    return UpperCaseExtension(fileName) == ".PNG";
}

} // namespace image
