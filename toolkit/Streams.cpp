#include "toolkit/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include "platform/sys/Files.h"
#include "toolkit/Exceptions.h"

namespace toolkit {

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
    for (std::int64_t left = count; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, block.size()));
        source.ReadBuffer(block.data(), n);
        WriteBuffer(block.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    return count;
}

std::uint8_t TStream::ReadU8() {
    std::uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}

std::uint16_t TStream::ReadU16() {
    std::uint8_t b[2];
    ReadBuffer(b, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t TStream::ReadU32() {
    std::uint8_t b[4];
    ReadBuffer(b, 4);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
           std::uint32_t{b[3]} << 24;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    if (m_position >= m_bytes.size())
        return 0;
    const std::size_t n = std::min(count, m_bytes.size() - m_position);
    std::memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0)
        return 0;
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    std::memcpy(m_bytes.data() + m_position, buffer, count);
    m_position += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current)
        base = static_cast<std::int64_t>(m_position);
    else if (origin == SeekOrigin::End)
        base = Size();
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
    return static_cast<std::int64_t>(m_position);
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(source.Size()));
    source.ReadBuffer(bytes.data(), bytes.size());
    m_bytes = std::move(bytes);
    m_position = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, FileMode::OpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, FileMode::Create);
    file.WriteBuffer(m_bytes.data(), m_bytes.size());
}

TFileStream::TFileStream(const std::string& fileName, FileMode mode) {
    m_file = std::fopen(fileName.c_str(), mode == FileMode::OpenRead ? "rb" : "wb");
    int error = errno;
    struct stat info {};
    if (m_file && fstat(fileno(m_file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(m_file);
        m_file = nullptr;
        error = EISDIR;
    }
    if (m_file)
        return;
    const std::string absolute = platform::ExpandFileName(fileName);
    const std::string text = platform::SystemErrorText(error);
    if (mode == FileMode::OpenRead)
        throw EFOpenError(absolute, text);
    throw EFCreateError(absolute, text);
}

TFileStream::~TFileStream() {
    if (m_file)
        std::fclose(m_file);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, m_file);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    return std::fwrite(buffer, 1, count, m_file);
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const int whence = origin == SeekOrigin::Beginning ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    if (offset != 0 || origin != SeekOrigin::Current)
        std::fseek(m_file, static_cast<long>(offset), whence);
    return std::ftell(m_file);
}

std::int64_t TFileStream::Size() const {
    const long here = std::ftell(m_file);
    std::fseek(m_file, 0, SEEK_END);
    const long size = std::ftell(m_file);
    std::fseek(m_file, here, SEEK_SET);
    return size;
}

} // namespace toolkit
