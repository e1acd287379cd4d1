#pragma once
// Byte streams: a position inside a sequence of bytes that can be read, written and sought.
// ReadBuffer/WriteBuffer move exactly the requested count or raise EReadError ("Stream read
// error") / EWriteError; Read/Write move what they can and say how much. Remaining() tells
// what a reader can still get, so parsers can refuse a size the data cannot back before
// allocating it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // Moves the position; a result outside 0 ... Size() is clamped to 0 for memory streams and
    // allowed past the end for files, as their systems do. Returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Size() const = 0;

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Beginning); }
    std::int64_t Remaining() { return std::max<std::int64_t>(0, Size() - Position()); }

    void ReadBuffer(void* buffer, std::size_t count);
    // Files override it to say why the system refused the bytes.
    virtual void WriteBuffer(const void* buffer, std::size_t count);
    // Copies count bytes from source (all of it from its start when count is 0), as the
    // toolkit's CopyFrom does. Returns the count copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // Little-endian fixed-size reads used by file parsers.
    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }

    void SetSize(std::size_t size) { m_bytes.resize(size); }
    void Clear() {
        m_bytes.clear();
        m_position = 0;
    }
    const std::uint8_t* Memory() const { return m_bytes.data(); }
    std::uint8_t* Memory() { return m_bytes.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

enum class FileMode { OpenRead, Create };

// A file opened for reading (EFOpenError "Cannot open file "%s". %s" when it cannot be) or
// created for writing (EFCreateError "Cannot create file "%s". %s"). The name in the message is
// the absolute one; the second %s is the system's error text.
//
// Writing is all or nothing. A regular file (or a name not yet taken) is written into a hidden
// temporary file in the same folder, and Commit() flushes it to the disk and renames it over the
// target, which keeps its permission bits (a link is followed: its target is replaced). A
// stream destroyed without Commit() removes the temporary file and leaves the target as it was.
// Devices, pipes and other special files cannot be replaced that way and are written directly;
// Commit() then only flushes and closes. Every failure while writing, flushing, closing or
// renaming raises EWriteError naming the file and the system's reason, so a full disk never
// passes for a finished save.
class TFileStream : public TStream {
public:
    // How Commit() puts a temporary file's bytes on the disk before renaming it (fsync).
    // Tests put a recorder here to see the order of the two; the old one is returned.
    using SyncFunction = int (*)(int fd);
    static SyncFunction ReplaceSyncForTesting(SyncFunction sync);

    TFileStream(const std::string& fileName, FileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    void WriteBuffer(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override;

    // Finishes a file created for writing (see above). Does nothing for a file opened for
    // reading; after it the stream can no longer be used.
    void Commit();

private:
    [[noreturn]] void RaiseWriteError(int error);
    void Discard() noexcept;

    std::FILE* m_file = nullptr;
    std::string m_absoluteName;  // for messages
    std::string m_target;        // what Commit() renames onto; empty when written directly
    std::string m_temporaryName; // empty when written directly
    int m_writeError = 0;
    bool m_writing = false;
};

} // namespace toolkit
