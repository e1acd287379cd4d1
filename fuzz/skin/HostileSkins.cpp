#include "fuzz/skin/HostileSkins.h"

#include <array>
#include <utility>

namespace fuzzskin {
namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void PutU16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A bitmap file header and information header; the pixels are the caller's.
Bytes BitmapHeader(std::int32_t width, std::int32_t height, unsigned bits, unsigned compression,
                   std::uint32_t imageBytes) {
    Bytes bmp{'B', 'M'};
    PutI32(bmp, 54 + imageBytes);
    PutI32(bmp, 0);
    PutI32(bmp, 54 + (bits <= 8 ? 4u << bits : 0u));
    PutI32(bmp, 40);
    PutI32(bmp, static_cast<std::uint32_t>(width));
    PutI32(bmp, static_cast<std::uint32_t>(height));
    PutU16(bmp, 1);
    PutU16(bmp, bits);
    PutI32(bmp, compression);
    PutI32(bmp, imageBytes);
    for (int i = 0; i < 4; ++i)
        PutI32(bmp, 0);
    return bmp;
}

// A 24-bit picture in four colours, magenta among them, as a master bitmap.
Bytes Master(int width = 32, int height = 16) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    Bytes bmp = BitmapHeader(width, height, 24, 0, rowBytes * height);
    const std::uint8_t colours[4][3] = {{255, 0, 255}, {90, 90, 90}, {200, 120, 40}, {0, 0, 255}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto* c = colours[(x / 4 + y) % 4];
            bmp.insert(bmp.end(), {c[0], c[1], c[2]});
        }
        bmp.resize(bmp.size() + (rowBytes - static_cast<std::uint32_t>(width) * 3), 0);
    }
    return bmp;
}

// An 8-bit run-length picture of any size whose data is one run and the end-of-picture mark:
// a few bytes that claim width * height pixels.
Bytes RleClaiming(std::int32_t width, std::int32_t height) {
    Bytes bmp = BitmapHeader(width, height, 8, 1, 4);
    for (int i = 0; i < 256; ++i)
        PutI32(bmp, static_cast<std::uint32_t>(i * 0x010101));
    bmp.insert(bmp.end(), {10, 1, 0, 1});
    return bmp;
}

// A JPEG picture's frame and scan headers claiming the given size, with no real data after.
Bytes JpegClaiming(unsigned width, unsigned height) {
    Bytes jpg{0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8};
    jpg.insert(jpg.end(),
               {static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width)});
    jpg.insert(jpg.end(), {3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0});
    jpg.insert(jpg.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0, 3, 0, 0, 63, 0});
    jpg.insert(jpg.end(), 64, 0x55);
    jpg.insert(jpg.end(), {0xFF, 0xD9});
    return jpg;
}

std::string Options(const std::string& extra) {
    return "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=5.2\r\nDESCRIPTION=hostile\r\n"
           "[FORM]\r\nCOLOR=12632256\r\nBORDERSMASK=^   0    0   12   12    4    4    4    4 "
           "1 1 0 0\r\n[BUTTON]\r\nPARENTCLASS=FORM\r\nFONTCOLOR=0 -1 -1 -1 -1\r\n" +
           extra;
}

Bytes Container(const std::vector<std::pair<std::string, Bytes>>& members) {
    Bytes out{'A', 'S', 'z', 'f'};
    PutI32(out, static_cast<std::uint32_t>(members.size()));
    for (const auto& [name, data] : members)
        AddMember(out, name, data);
    return out;
}

Bytes Skin(const std::string& extraOptions = "", Bytes master = Master()) {
    return Container({{"Options.dat", Text(Options(extraOptions))}, {"Master.bmp", master}});
}

// A member header followed by the deflated form of `zeros` zero bytes, made in pieces so the
// zeros never sit in memory; declared says what the header claims.
void AddZeroMember(Bytes& out, const std::string& name, std::uint32_t declared,
                   std::uint64_t zeros) {
    PutI32(out, static_cast<std::uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutI32(out, declared);
    z_stream z{};
    deflateInit(&z, 9);
    static const std::array<Bytef, 1 << 20> block{};
    std::array<Bytef, 1 << 16> packed;
    int flush = Z_NO_FLUSH;
    do {
        if (z.avail_in == 0 && zeros > 0) {
            const auto n = static_cast<uInt>(std::min<std::uint64_t>(zeros, block.size()));
            z.next_in = const_cast<Bytef*>(block.data());
            z.avail_in = n;
            zeros -= n;
        }
        flush = zeros == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_out = packed.data();
        z.avail_out = packed.size();
        deflate(&z, flush);
        out.insert(out.end(), packed.data(), packed.data() + (packed.size() - z.avail_out));
    } while (!(flush == Z_FINISH && z.avail_out != 0));
    deflateEnd(&z);
}

Bytes Bomb(std::uint32_t declared, std::uint64_t zeros, int members = 1) {
    Bytes out{'A', 'S', 'z', 'f'};
    PutI32(out, static_cast<std::uint32_t>(members + 1));
    AddMember(out, "Options.dat", Text(Options("")));
    for (int i = 0; i < members; ++i)
        AddZeroMember(out, "Z" + std::to_string(i) + ".bmp", declared, zeros);
    return out;
}

// A skin whose container is cut right after `keep` bytes.
Bytes Cut(std::size_t keep) {
    Bytes bytes = Skin();
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

// A container holding one member whose header fields are set by hand.
Bytes OneMember(std::uint32_t count, std::uint32_t nameLength, const std::string& name,
                std::uint32_t size, const Bytes& data) {
    Bytes out{'A', 'S', 'z', 'f'};
    PutI32(out, count);
    PutI32(out, nameLength);
    out.insert(out.end(), name.begin(), name.end());
    PutI32(out, size);
    uLongf packedSize = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, data.data(), static_cast<uLong>(data.size()));
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
    return out;
}

std::string Chain(int sections, bool ring) {
    std::string text;
    for (int i = 0; i < sections; ++i) {
        const int parent = ring ? (i + 1) % sections : i + 1;
        text += "[S" + std::to_string(i) + "]\r\n";
        if (ring || i + 1 < sections)
            text += "PARENTCLASS=S" + std::to_string(parent) + "\r\n";
        text += "COLOR=" + std::to_string(i) + "\r\n";
    }
    return text + "[FORM2]\r\nPARENTCLASS=S0\r\n";
}

// Every numeric property of the model, in a section and globally, set to one value.
std::string Numbers(const std::string& v) {
    static const char* const keys[] = {"COLOR",
                                       "BEVEL",
                                       "TRANSPARENCY",
                                       "GRADIENTPERCENT",
                                       "IMAGEPERCENT",
                                       "SHADOWBLUR",
                                       "SHADOWCOLOR",
                                       "SHADOWOFFSET",
                                       "SHADOWTRANSPARENCY",
                                       "FADINGINTERVALIN",
                                       "FADINGINTERVALOUT",
                                       "FADINGITERATIONS",
                                       "HOTCOLOR",
                                       "HOTTRANSPARENCY",
                                       "HOTBEVEL",
                                       "HOTGRADIENTPERCENT",
                                       "HOTIMAGEPERCENT",
                                       "BORDERCOLOR1",
                                       "BORDERCOLOR2",
                                       "TCLEFT",
                                       "TCTOP",
                                       "TCRIGHT",
                                       "TCBOTTOM",
                                       "HOTTCLEFT",
                                       "HOTTCTOP",
                                       "HOTTCRIGHT",
                                       "HOTTCBOTTOM"};
    std::string text = "[EDIT]\r\n";
    for (const char* key : keys)
        text += std::string(key) + "=" + v + "\r\n";
    text += "FONTCOLOR=" + v + " " + v + " " + v + " " + v + " " + v + "\r\n";
    text += "GRADIENTDATA=" + v + ";" + v + ";" + v + ";" + v + ";" + v + "\r\n";
    text += "BORDERSMASK=^ " + v + " " + v + " " + v + " " + v + " " + v + " " + v + "\r\n";
    text += "GLYPH=@ " + v + " " + v + " " + v + " " + v + " " + v + "\r\n";
    text += "PATTERN=~ " + v + " " + v + " " + v + " " + v + " " + v + "\r\n";
    text += "OLD=#(" + v + "," + v + "," + v + "," + v + ") (" + v + "," + v + "," + v + ")\r\n";
    text += "[GLOBALINFO]\r\nSHADOW1COLOR=" + v + "\r\nSHADOW1OFFSET=" + v +
            "\r\nSHADOW1BLUR=" + v + "\r\nSHADOW1TRANSPARENCY=" + v + "\r\nBISPACE=" + v +
            "\r\nBORDERCOLOR=" + v + "\r\nVERSION=" + v + "\r\n";
    return text;
}

void AddContainerCases(std::vector<HostileSkin>& out) {
    const Bytes good = Skin();
    out.push_back({"cut-magic", Text("ASz")});
    out.push_back({"cut-count", Text("ASzf\x02")});
    out.push_back({"cut-in-name", Cut(12)});
    out.push_back({"cut-in-options", Cut(good.size() / 4)});
    out.push_back({"cut-in-master", Cut(good.size() - 9)});
    out.push_back({"cut-last-byte", Cut(good.size() - 1)});
    for (const auto& [name, count] :
         std::vector<std::pair<std::string, std::uint32_t>>{{"count-negative", 0xFFFFFFFFu},
                                                            {"count-zero", 0},
                                                            {"count-huge", 0x7FFFFFFFu},
                                                            {"count-past-end", 50}}) {
        Bytes bytes = good;
        bytes[4] = static_cast<std::uint8_t>(count);
        bytes[5] = static_cast<std::uint8_t>(count >> 8);
        bytes[6] = static_cast<std::uint8_t>(count >> 16);
        bytes[7] = static_cast<std::uint8_t>(count >> 24);
        out.push_back({name, bytes});
    }
    const Bytes options = Text(Options(""));
    const auto size = static_cast<std::uint32_t>(options.size());
    out.push_back(
        {"name-length-negative", OneMember(1, 0xFFFFFFF0u, "Options.dat", size, options)});
    out.push_back({"name-length-zero", OneMember(1, 0, "", size, options)});
    out.push_back({"name-length-huge", OneMember(1, 0x7FFFFFFFu, "Options.dat", size, options)});
    out.push_back({"name-length-past-end", OneMember(1, 5000, "Options.dat", size, options)});
    out.push_back({"size-negative", OneMember(1, 11, "Options.dat", 0xFFFFFFFEu, options)});
    out.push_back({"size-zero", OneMember(1, 11, "Options.dat", 0, options)});
    out.push_back({"size-huge", OneMember(1, 11, "Options.dat", 0x7FFFFFFFu, options)});
    out.push_back({"size-short", OneMember(1, 11, "Options.dat", size / 2, options)});
    out.push_back({"size-past-end", OneMember(1, 11, "Options.dat", size * 3, options)});
    out.push_back({"names-with-paths",
                   Container({{"../../Options.dat", options},
                              {"/etc/Master.bmp", Master()},
                              {"..\\..\\Master.bmp", Master()},
                              {"Options.dat", Text(Options("[EDIT]\r\nBORDERSMASK=../../M.BMP\r\n"
                                                           "HOT=!..\\..\\MASTER.BMP!3!1\r\n"))}})});
    Bytes corrupt = good;
    for (std::size_t i = 40; i < 60 && i < corrupt.size(); ++i)
        corrupt[i] ^= 0x5A;
    out.push_back({"deflate-corrupt", corrupt});
    Bytes badSum = good;
    badSum[good.size() - 2] ^= 0xFF; // the master's Adler-32 trailer
    out.push_back({"deflate-bad-checksum", badSum});
    Bytes trailing = good;
    trailing.insert(trailing.end(), 1000, 0xEE);
    out.push_back({"trailing-garbage", trailing});
    Bytes tiny{'A', 'S', 'z', 'f'};
    PutI32(tiny, 100001);
    AddMember(tiny, "Options.dat", options);
    for (int i = 0; i < 100000; ++i)
        AddMember(tiny, "x", {});
    out.push_back({"members-100000-empty", tiny});
}

void AddBombs(std::vector<HostileSkin>& out) {
    constexpr std::uint64_t kMiB = 1 << 20;
    out.push_back({"bomb-640MiB", Bomb(640 * kMiB, 640 * kMiB)});
    out.push_back({"bomb-declared-small", Bomb(1 * kMiB, 64 * kMiB)});
    out.push_back({"bomb-four-60MiB", Bomb(60 * kMiB, 60 * kMiB, 4)});
    out.push_back({"bomb-at-ratio-floor", Bomb(15 * kMiB, 15 * kMiB)});
}

void AddOptionCases(std::vector<HostileSkin>& out) {
    out.push_back({"options-missing", Container({{"Master.bmp", Master()}})});
    out.push_back({"options-empty", Container({{"Options.dat", {}}, {"Master.bmp", Master()}})});
    Bytes binary;
    for (std::uint32_t i = 0, x = 12345; i < 4096; ++i) {
        x = x * 1103515245u + 12345u;
        binary.push_back(static_cast<std::uint8_t>(x >> 16));
    }
    out.push_back(
        {"options-binary", Container({{"Options.dat", binary}, {"Master.bmp", Master()}})});
    out.push_back(
        {"options-long-value", Skin("[EDIT]\r\nGRADIENTDATA=" + std::string(4 << 20, '7') +
                                    "\r\nCOLOR=" + std::string(100000, '9') + "\r\n")});
    out.push_back({"options-long-section-name", Skin("[" + std::string(1 << 20, 'S') + "]\r\n"),
                   HostileKind::SectionWalks});
    out.push_back(
        {"no-form-section", Container({{"Options.dat", Text("[GLOBALINFO]\r\nVERSION=5.2\r\n")}})});
    out.push_back({"duplicate-sections", Skin("[FORM]\r\nCOLOR=1\r\n[FORM]\r\nCOLOR=x\r\n[BUTTON]"
                                              "\r\nCOLOR=2\r\nCOLOR=3\r\n")});
    out.push_back({"duplicate-members", Container({{"Options.dat", Text(Options(""))},
                                                   {"Master.bmp", Master()},
                                                   {"Options.dat", Text("[GLOBALINFO]\r\n")},
                                                   {"Master.bmp", Text("not a picture")}})});
    out.push_back({"parent-missing", Skin("[EDIT]\r\nPARENTCLASS=NOWHERE\r\n")});
    out.push_back({"parent-self", Skin("[EDIT]\r\nPARENTCLASS=EDIT\r\n")});
    out.push_back({"parent-pair", Skin("[A]\r\nPARENTCLASS=B\r\n[B]\r\nPARENTCLASS=A\r\n")});
    out.push_back({"parent-chain-1000", Skin(Chain(1000, false)), HostileKind::SectionWalks});
    out.push_back({"parent-ring-2000", Skin(Chain(2000, true)), HostileKind::SectionWalks});
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"numbers-zero", "0"},
             {"numbers-negative", "-1"},
             {"numbers-min", "-2147483648"},
             {"numbers-max", "2147483647"},
             {"numbers-overflow", "99999999999999999999"},
             {"numbers-unparsable", "1e9x"},
             {"numbers-empty", ""}})
        out.push_back({name, Skin(Numbers(value))});
}

void AddPictureCases(std::vector<HostileSkin>& out) {
    const Bytes master = Master();
    out.push_back({"master-empty", Skin("", {})});
    out.push_back({"master-cut", Skin("", Bytes(master.begin(), master.begin() + 80))});
    out.push_back({"master-not-a-picture", Skin("", Text("BM this is text, not a picture"))});
    out.push_back({"master-claims-60000x60000", Skin("", BitmapHeader(60000, 60000, 24, 0, 0))});
    out.push_back({"master-height-min", Skin("", BitmapHeader(8, INT32_MIN, 24, 0, 0))});
    out.push_back({"master-bits-zero", Skin("", BitmapHeader(8, 8, 0, 0, 0))});
    out.push_back({"master-rle-60000x60000", Skin("", RleClaiming(60000, 60000))});
    out.push_back({"master-rle-16000x16000", Skin("", RleClaiming(16000, 16000))});
    std::string refs = "[EDIT]\r\n";
    for (int i = 0; i < 2000; ++i)
        refs += "P" + std::to_string(i) + "=BIG.BMP\r\n";
    out.push_back({"picture-named-2000-times", Container({{"Options.dat", Text(Options(refs))},
                                                          {"Master.bmp", master},
                                                          {"Big.bmp", RleClaiming(2048, 2048)}})});
    out.push_back({"jpeg-claims-60000x60000",
                   Container({{"Options.dat", Text(Options("[FORM]\r\nPATTERN=BG.JPG\r\n"))},
                              {"Master.bmp", master},
                              {"BG.jpg", JpegClaiming(60000, 60000)}})});
    out.push_back(
        {"jpeg-empty", Container({{"Options.dat", Text(Options("[FORM]\r\nPATTERN=BG.JPG\r\n"))},
                                  {"Master.bmp", master},
                                  {"BG.jpg", {}}})});
}

} // namespace

std::vector<HostileSkin> HostileSkins() {
    std::vector<HostileSkin> out;
    AddContainerCases(out);
    AddBombs(out);
    AddOptionCases(out);
    AddPictureCases(out);
    return out;
}

} // namespace fuzzskin
