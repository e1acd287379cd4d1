#pragma once
// Opening a picture file the way the main window's open button does, so the window and the
// command-line tool read every file alike: a file whose name part ends in ".jpg" (letters in any
// case) goes through a temporary TJPEGImage that is then assigned to the target. Any other file
// is known by its first bytes: a JPEG (".jpeg", ".jpe", ".jfif", no extension, or a wrong one)
// likewise through a TJPEGImage, a PNG through a TPNGImage, and everything else through the
// bitmap reader, whose errors are then the ones a bitmap file has always had.
//
// Failures are those of the chosen reader ("Cannot open file "%s". %s", "DIB is invalid",
// "JPEG error #%d", "Invalid PNG picture (%s)", ...). On the bitmap and PNG paths the target
// keeps its picture; on the JPEG path a file that fails to load leaves the target as it was,
// and a failure while decoding leaves it holding a black picture of the JPEG's size.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/TDIB.h"

namespace image {

// The extension of the name part (from its last "." on), with a ... z made upper case.
std::string UpperCaseExtension(std::string_view fileName);
bool IsJpegFileName(std::string_view fileName);
bool IsPngFileName(std::string_view fileName);

enum class PictureKind { Bitmap, Jpeg, Png };

// JPEG and PNG by their signatures; anything else, too short included, is left to the bitmap
// reader, which knows how to refuse it.
PictureKind PictureKindOfBytes(const std::uint8_t* bytes, std::size_t size);
// The one rule for named pictures: ".jpg" by its name, any other regular file by its first bytes.
// A file that cannot be read goes to the bitmap reader, which reports it; a pipe or device is not
// read ahead (its bytes could not be put back) and keeps the rule of names: ".png" as PNG,
// anything else as a bitmap.
PictureKind PictureKindOfFile(const std::string& fileName);

void LoadPictureFile(TDIB& target, const std::string& fileName);

// Draws source stretched into grey, a new picture (its colour table is the grey ramp) made
// w x h at 8 bits, so that every
// pixel of grey holds the grey level (0 black ... 255 white) of its area of the picture.
// w or h of 0 or less leaves grey empty and fails with "Canvas does not allow drawing"; a copy
// beyond the pixel limit of pictures fails with "Out of memory" before anything is allocated,
// whatever size it is.
void DrawGreyCopy(TDIB& source, TDIB& grey, std::int32_t w, std::int32_t h);

// The colours the grey copy's pixels come from: source drawn stretched the same way into a w x h
// picture of 24 bits, as red, green, blue bytes (w * 3 a row, row 0 at the top). Fails as
// DrawGreyCopy does.
std::vector<std::uint8_t> DrawColorCopy(TDIB& source, std::int32_t w, std::int32_t h);

} // namespace image
