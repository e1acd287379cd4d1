#pragma once
// The error of the JPEG picture: "JPEG error #%d", where %d is the decoding library's message
// code for what went wrong (53 for data that does not start with the start-of-image marker).
// The library's own message text is never shown; the code is all the user gets.

#include <cstdint>

#include "toolkit/Exceptions.h"

namespace image {

class EJPEG : public toolkit::EInvalidGraphic {
public:
    explicit EJPEG(std::int32_t code)
        : EInvalidGraphic(toolkit::Format("JPEG error #%d", {std::int64_t{code}})), m_code(code) {}
    std::int32_t Code() const { return m_code; }

private:
    std::int32_t m_code;
};

} // namespace image
