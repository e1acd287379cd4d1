#include "image/PictureFile.h"

#include "image/jpeg.h"

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

void LoadPictureFile(TDIB& target, const std::string& fileName) {
    if (!IsJpegFileName(fileName)) {
        target.LoadFromFile(fileName);
        return;
    }
    TJPEGImage jpeg;
    jpeg.LoadFromFile(fileName);
    target.Assign(&jpeg);
}

void DrawGreyCopy(TDIB& source, TDIB& grey, std::int32_t w, std::int32_t h) {
    grey.SetSize(w, h, 8);
    grey.Canvas().StretchDraw({0, 0, w, h}, source);
}

} // namespace image
