// The names that choose a picture's reader, apart from the readers themselves so that a tool
// can ask without pulling in every picture class.

#include "image/PictureFile.h"

#include <array>
#include <filesystem>
#include <fstream>

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

PictureKind PictureKindOfBytes(const std::uint8_t* bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
        return PictureKind::Jpeg;
    if (size >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return PictureKind::Png;
    return PictureKind::Bitmap;
}

PictureKind PictureKindOfFile(const std::string& fileName) {
    if (IsJpegFileName(fileName))
        return PictureKind::Jpeg;
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return IsPngFileName(fileName) ? PictureKind::Png : PictureKind::Bitmap;
    std::array<char, 4> head{};
    std::ifstream in(fileName, std::ios::binary);
    in.read(head.data(), head.size());
    return PictureKindOfBytes(reinterpret_cast<const std::uint8_t*>(head.data()),
                              static_cast<std::size_t>(in.gcount()));
}

} // namespace image
