#include "skin/acSkinPack.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include <zlib.h>

#include "skin/SkinPaths.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TMemIniFile.h"

namespace skin {
namespace {

using toolkit::EReadError;
using toolkit::SeekOrigin;
using toolkit::TMemoryStream;
using toolkit::TStream;

// Input is read in blocks that start small and double up to kInputBlock: a container of many
// tiny members must not copy a full block of read-ahead for each of them.
constexpr std::size_t kFirstInputBlock = 1024;
constexpr std::size_t kInputBlock = 65536;
// Deflate cannot expand a byte of input into more than 1032 bytes of output; a declared size
// beyond that many times the data left cannot be delivered and is refused before inflating.
constexpr std::int64_t kMaxInflateRatio = 1032;
constexpr char kMagic[4] = {'A', 'S', 'z', 'f'};

// Every zlib result passes through here: damaged or incomplete data is the stream library's
// read error, a lack of memory is ours.
int CheckInflate(int result) {
    switch (result) {
    case Z_OK:
    case Z_STREAM_END:
    case Z_BUF_ERROR: // no progress possible yet; the caller supplies input or gives up
        return result;
    case Z_MEM_ERROR:
        throw toolkit::EOutOfMemory();
    default: // Z_DATA_ERROR, Z_STREAM_ERROR, Z_NEED_DICT, Z_VERSION_ERROR
        throw EReadError();
    }
}

// Inflates one zlib stream that starts at the source's position. Input is read in 64 KiB
// blocks; when the stream ends, input read ahead is handed back by moving the source back, so
// the source stands right after the stream's Adler-32 trailer.
class TacInflateStream : public TStream {
public:
    explicit TacInflateStream(TStream& source) : m_source(source) {
        CheckInflate(inflateInit(&m_z));
    }
    ~TacInflateStream() override { inflateEnd(&m_z); }
    TacInflateStream(const TacInflateStream&) = delete;
    TacInflateStream& operator=(const TacInflateStream&) = delete;

    bool Ended() const { return m_ended; }

    std::size_t Read(void* buffer, std::size_t count) override {
        m_z.next_out = static_cast<Bytef*>(buffer);
        std::size_t left = count;
        while (left > 0 && !m_ended) {
            if (m_z.avail_in == 0) {
                const std::size_t got = m_source.Read(m_input.data(), m_block);
                if (got == 0)
                    break; // truncated: the caller sees a short read
                m_block = std::min(m_block * 2, m_input.size());
                m_z.next_in = m_input.data();
                m_z.avail_in = static_cast<uInt>(got);
            }
            const auto chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
            m_z.avail_out = chunk;
            const int result = CheckInflate(inflate(&m_z, Z_NO_FLUSH));
            left -= chunk - m_z.avail_out;
            if (result == Z_STREAM_END) {
                m_ended = true;
                m_source.Seek(-static_cast<std::int64_t>(m_z.avail_in), SeekOrigin::Current);
                m_z.avail_in = 0;
            }
        }
        return count - left;
    }
    std::size_t Write(const void*, std::size_t) override { return 0; }
    std::int64_t Seek(std::int64_t, SeekOrigin) override { return 0; }
    std::int64_t Size() const override { return 0; }

private:
    TStream& m_source;
    z_stream m_z{};
    std::array<Bytef, kInputBlock> m_input; // only what inflate is given is ever read
    std::size_t m_block = kFirstInputBlock;
    bool m_ended = false;
};

// Copies exactly size inflated bytes into target, growing it as the data arrives, then reads
// the stream to its end so the next member can follow. A stream that holds more than size
// bytes does not match its header and is refused like a short one, so a member never inflates
// past what it declares.
void Inflate(TStream& source, std::int32_t size, TMemoryStream& target) {
    TacInflateStream inflater(source);
    std::array<std::uint8_t, kInputBlock> block;
    for (std::int64_t left = size; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, block.size()));
        inflater.ReadBuffer(block.data(), n);
        target.WriteBuffer(block.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    if (!inflater.Ended()) {
        std::uint8_t extra;
        if (inflater.Read(&extra, 1) != 0 || !inflater.Ended())
            throw EReadError();
    }
    target.SetPosition(0);
}

// Refuses a declared size before anything is inflated: beyond the limits, or more than the
// data left could hold even at deflate's best.
void CheckDeclaredSize(std::int64_t size, std::int64_t& budget, std::int64_t remaining) {
    if (size < 0 || size > kMaxMemberBytes || size > budget ||
        size > kMaxInflateRatio * remaining + 64)
        throw EReadError();
    budget -= size;
}

std::int32_t ReadLength(TStream& source) {
    const std::int32_t length = source.ReadI32();
    if (length < 0 || length > source.Remaining())
        throw EReadError();
    return length;
}

bool EndsWithBmp(std::string_view name) {
    return name.size() >= 4 && toolkit::UpperCase(name.substr(name.size() - 4)) == ".BMP";
}

} // namespace

std::int64_t UnpackBudget(std::int64_t packedBytes) {
    return std::min(kMaxUnpackedBytes, std::max(kRatioFreeBytes, kMaxPackRatio * packedBytes));
}

void TacSkinConvertor::SetOwnedSource(std::unique_ptr<TStream> source) {
    FreeSource();
    m_ownedSource = std::move(source);
    m_source = m_ownedSource.get();
}

void TacSkinConvertor::LendSource(TStream* source) {
    FreeSource();
    m_source = source;
}

TStream* TacSkinConvertor::DetachSource() {
    if (m_ownedSource)
        return nullptr; // an owned source is never handed out
    return std::exchange(m_source, nullptr);
}

void TacSkinConvertor::FreeSource() {
    m_ownedSource.reset();
    m_source = nullptr;
}

void TacSkinConvertor::Clear() {
    m_images.clear();
    m_options.reset();
    m_imageCount = 0;
    FreeSource();
}

void TacSkinConvertor::ReadContainer() {
    m_images.clear();
    m_options.reset();
    m_imageCount = 0;
    if (m_source == nullptr)
        return;
    TStream& source = *m_source;
    source.SetPosition(0);
    char magic[4] = {};
    if (source.Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0) {
        toolkit::ShowMessageBox("Loaded data is not packed Quorril file", "",
                                toolkit::MsgDlgType::Warning);
        return;
    }
    const std::int32_t count = source.ReadI32();
    if (count > kMaxMembers)
        throw EReadError();
    m_imageCount = count > 0 ? count - 1 : 0;
    std::int64_t budget = UnpackBudget(source.Size());
    for (std::int32_t i = 0; i < count; ++i)
        ReadMember(budget);
}

void TacSkinConvertor::ReadMember(std::int64_t& budget) {
    TStream& source = *m_source;
    std::string name(static_cast<std::size_t>(ReadLength(source)), '\0');
    source.ReadBuffer(name.data(), name.size());
    const std::int32_t size = source.ReadI32();
    CheckDeclaredSize(size, budget, source.Remaining());
    auto data = std::make_unique<TMemoryStream>();
    Inflate(source, size, *data);
    if (toolkit::UpperCase(name) == "OPTIONS.DAT") {
        m_options = std::move(data);
        return;
    }
    const bool notBitmap = !EndsWithBmp(name);
    m_images.push_back(TacImageItem{std::move(name), notBitmap, std::move(data)});
}

TMemoryStream* TacSkinConvertor::FindMember(std::string_view wanted) {
    const auto searched =
        std::min<std::size_t>(static_cast<std::size_t>(m_imageCount), m_images.size());
    for (std::size_t i = 0; i < searched; ++i) {
        if (toolkit::UpperCase(m_images[i].Name) == wanted) {
            m_images[i].Data->SetPosition(0);
            return m_images[i].Data.get();
        }
    }
    return nullptr;
}

void LoadSkinFromFile(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                      bool freeSource) {
    const std::string host = FindSkinFile(fileName);
    if (host.empty())
        return;
    if (convertor)
        convertor->Clear();
    else
        convertor = std::make_unique<TacSkinConvertor>();
    // A file too large to be a skin is not read into memory at all.
    std::error_code error;
    const auto fileBytes = std::filesystem::file_size(host, error);
    if (!error && fileBytes > static_cast<std::uintmax_t>(kMaxUnpackedBytes))
        throw EReadError();
    auto bytes = std::make_unique<TMemoryStream>();
    bytes->LoadFromFile(host);
    convertor->SetOwnedSource(std::move(bytes));
    convertor->ReadContainer();
    if (freeSource)
        convertor->FreeSource();
}

void TsStoredSkin::ReadData(TStream& stream) {
    m_data.Clear();
    m_data.CopyFrom(stream, stream.Remaining());
    m_data.SetPosition(0);
}

void TsStoredSkin::WriteData(TStream& stream) const {
    stream.WriteBuffer(m_data.Memory(), m_data.Bytes().size());
}

TsStoredSkin& TsStoredSkins::Add() {
    m_items.push_back(std::make_unique<TsStoredSkin>());
    return *m_items.back();
}

TsStoredSkin& TsStoredSkins::operator[](int index) {
    if (index < 0 || index >= Count())
        throw toolkit::EListError::IndexOutOfBounds(index);
    return *m_items[static_cast<std::size_t>(index)];
}

const TsStoredSkin& TsStoredSkins::operator[](int index) const {
    if (index < 0 || index >= Count())
        throw toolkit::EListError::IndexOutOfBounds(index);
    return *m_items[static_cast<std::size_t>(index)];
}

bool LooksLikePackedSkin(const std::string& fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        return false;
    char magic[4] = {};
    const bool packed = std::fread(magic, 1, 4, file) == 4 && std::memcmp(magic, kMagic, 4) == 0;
    std::fclose(file);
    return packed;
}

} // namespace skin
