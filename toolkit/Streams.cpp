#include "toolkit/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::vector<std::uint8_t> block(
        static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
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
    file.Commit();
}

namespace {

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

TFileStream::TFileStream(const std::string& fileName, FileMode mode)
    : m_absoluteName(platform::ExpandFileName(fileName)), m_writing(mode == FileMode::Create) {
    auto fail = [&](int error) {
        if (mode == FileMode::OpenRead)
            throw EFOpenError(m_absoluteName, platform::SystemErrorText(error));
        throw EFCreateError(m_absoluteName, platform::SystemErrorText(error));
    };
    struct stat info {};
    const bool exists = !fileName.empty() && stat(fileName.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        fail(EISDIR);

    // A name ending in "/" or an empty one is left to fopen, which refuses it with the right text.
    const bool replaceable = mode == FileMode::Create && !fileName.empty() &&
                             fileName.back() != '/' && (!exists || S_ISREG(info.st_mode));
    if (replaceable) {
        std::string target = fileName;
        mode_t bits = 0666 & ~CurrentUmask();
        if (exists) {
            // The old file must be one we could have truncated: a read-only file stays refused.
            const int probe = open(fileName.c_str(), O_WRONLY | O_CLOEXEC);
            if (probe < 0)
                fail(errno);
            close(probe);
            if (char* real = realpath(fileName.c_str(), nullptr)) {
                target = real;
                std::free(real);
            }
            bits = info.st_mode & 0777;
        }
        std::string temporary = FolderOf(target) + "/.charvane-save-XXXXXX";
        const int fd = mkostemp(temporary.data(), O_CLOEXEC);
        if (fd >= 0) {
            fchmod(fd, bits);
            m_file = fdopen(fd, "wb");
            if (!m_file) {
                const int error = errno;
                close(fd);
                unlink(temporary.c_str());
                fail(error);
            }
            m_target = std::move(target);
            m_temporaryName = std::move(temporary);
            return;
        }
        // A folder we may not add to can still hold a file we may overwrite: write it in place.
        if (!exists)
            fail(errno);
    }
    m_file = std::fopen(fileName.c_str(), mode == FileMode::OpenRead ? "rb" : "wb");
    if (!m_file)
        fail(errno);
}

namespace {
TFileStream::SyncFunction g_syncFile = fsync;
} // namespace

TFileStream::SyncFunction TFileStream::ReplaceSyncForTesting(SyncFunction sync) {
    return std::exchange(g_syncFile, sync);
}

TFileStream::~TFileStream() {
    Discard();
}

void TFileStream::Discard() noexcept {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    if (!m_temporaryName.empty())
        unlink(m_temporaryName.c_str());
    m_temporaryName.clear();
}

void TFileStream::RaiseWriteError(int error) {
    Discard();
    if (error == 0)
        throw EWriteError();
    throw EWriteError(m_absoluteName, platform::SystemErrorText(error));
}

void TFileStream::Commit() {
    if (!m_writing || !m_file)
        return;
    if (m_writeError != 0)
        RaiseWriteError(m_writeError);
    std::FILE* file = std::exchange(m_file, nullptr);
    int error = 0;
    if (std::fflush(file) != 0)
        error = errno;
    else if (!m_temporaryName.empty() && g_syncFile(fileno(file)) != 0)
        error = errno;
    if (std::fclose(file) != 0 && error == 0)
        error = errno;
    if (error == 0 && !m_temporaryName.empty() &&
        std::rename(m_temporaryName.c_str(), m_target.c_str()) != 0)
        error = errno;
    if (error != 0)
        RaiseWriteError(error);
    m_temporaryName.clear();
}

void TFileStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count != 0 && Write(buffer, count) != count)
        RaiseWriteError(m_writeError);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, m_file);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    errno = 0;
    const std::size_t written = std::fwrite(buffer, 1, count, m_file);
    if (written != count && m_writeError == 0)
        m_writeError = errno != 0 ? errno : EIO;
    return written;
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
