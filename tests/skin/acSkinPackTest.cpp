#include "skin/acSkinPack.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "SkinTestSupport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"

namespace {

using skin::TacSkinConvertor;
using skintest::Bytes;
using skintest::Pack;
using skintest::PutI32;
using skintest::ToBytes;
using toolkit::TMemoryStream;

// Records message boxes instead of showing them.
class BoxRecorder {
public:
    BoxRecorder() {
        m_previous = toolkit::SetMessageBoxHandler([this](const toolkit::MessageBoxRequest& r) {
            boxes.push_back(r);
            return toolkit::ModalResult::OK;
        });
    }
    ~BoxRecorder() { toolkit::SetMessageBoxHandler(m_previous); }
    std::vector<toolkit::MessageBoxRequest> boxes;

private:
    toolkit::MessageBoxHandler m_previous;
};

std::unique_ptr<TacSkinConvertor> Read(const Bytes& bytes) {
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->SetOwnedSource(std::make_unique<TMemoryStream>(bytes));
    reader->ReadContainer();
    return reader;
}

std::string Text(const TMemoryStream& s) {
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

TEST(TacSkinConvertor, ReadsMembersInOrderAndSeparatesTheOptions) {
    const Bytes bytes = Pack({{"Options.dat", ToBytes("[GLOBALINFO]\r\nVERSION=5.2\r\n")},
                              {"Btn_Huge.bmp", ToBytes("huge")},
                              {"Master.bmp", Bytes(70000, 7)},
                              {"BG.JPG", ToBytes("jpeg")}});
    auto reader = Read(bytes);
    ASSERT_NE(reader->Options(), nullptr);
    EXPECT_EQ(Text(*reader->Options()), "[GLOBALINFO]\r\nVERSION=5.2\r\n");
    ASSERT_EQ(reader->Images().size(), 3u);
    EXPECT_EQ(reader->ImageCount(), 3);
    EXPECT_EQ(reader->Images()[0].Name, "Btn_Huge.bmp");
    EXPECT_EQ(reader->Images()[1].Data->Size(), 70000);
    EXPECT_EQ(reader->Images()[2].Name, "BG.JPG");
    EXPECT_FALSE(reader->Images()[0].IsNotBitmap);
    EXPECT_TRUE(reader->Images()[2].IsNotBitmap);
}

TEST(TacSkinConvertor, LeavesTheSourceRightAfterEachZlibStream) {
    // Many members read from one 64 KiB input block: each must start where the last ended.
    std::vector<skintest::Member> members{{"options.DAT", ToBytes("[A]")}};
    for (int i = 0; i < 50; ++i)
        members.push_back({"m" + std::to_string(i) + ".bmp", Bytes(100 + i, std::uint8_t(i))});
    auto reader = Read(Pack(members));
    ASSERT_NE(reader->Options(), nullptr); // the options name is found in any case
    ASSERT_EQ(reader->Images().size(), 50u);
    EXPECT_EQ(reader->Images()[49].Data->Bytes(), Bytes(149, 49));
}

TEST(TacSkinConvertor, FindsMembersByTheirUpperCasedName) {
    auto reader = Read(Pack({{"Options.dat", {}}, {"Master.bmp", ToBytes("m")}}));
    EXPECT_NE(reader->FindMember("MASTER.BMP"), nullptr);
    EXPECT_EQ(reader->FindMember("master.bmp"), nullptr);
    EXPECT_EQ(reader->FindMember("Master.bmp"), nullptr);
}

TEST(TacSkinConvertor, WrongMagicWarnsAndLeavesNothing) {
    BoxRecorder recorder;
    Bytes bytes = Pack({{"Options.dat", ToBytes("[A]")}});
    bytes[3] = 'F';
    auto reader = Read(bytes);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Loaded data is not packed Quorril file");
    EXPECT_EQ(recorder.boxes[0].caption, "");
    EXPECT_EQ(recorder.boxes[0].type, toolkit::MsgDlgType::Warning);
    EXPECT_EQ(reader->Options(), nullptr);
    EXPECT_TRUE(reader->Images().empty());
}

TEST(TacSkinConvertor, LentSourceIsNeverFreedByTheReader) {
    BoxRecorder recorder;
    TMemoryStream lent(ToBytes("not a container"));
    {
        TacSkinConvertor reader;
        reader.LendSource(&lent);
        reader.ReadContainer();
    }
    EXPECT_EQ(lent.Size(), 15); // still ours and intact
}

Bytes Header(std::int32_t count) {
    Bytes out = ToBytes("ASzf");
    PutI32(out, count);
    return out;
}

Bytes MemberHeader(const std::string& name, std::int32_t size) {
    Bytes out;
    PutI32(out, static_cast<std::int32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutI32(out, size);
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct Malformed {
    const char* what;
    Bytes bytes;
};
void PrintTo(const Malformed& m, std::ostream* os) {
    *os << m.what;
}

class MalformedContainer : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedContainer, FailsWithStreamReadError) {
    try {
        Read(GetParam().bytes);
        FAIL() << "no error for " << GetParam().what;
    } catch (const toolkit::EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

const std::string kText = "[GLOBALINFO]\r\nVERSION=5.2\r\n";
const auto kSize = static_cast<std::int32_t>(kText.size());
const Bytes kPacked = skintest::Deflate(ToBytes(kText));
const Bytes kCorrupt = [] {
    Bytes b = kPacked;
    b[5] ^= 0x5A;
    b[6] ^= 0xA5;
    return b;
}();

INSTANTIATE_TEST_SUITE_P(
    Containers, MalformedContainer,
    testing::Values(
        Malformed{"more members than data",
                  Concat({Header(2), MemberHeader("Options.dat", kSize), kPacked})},
        Malformed{"truncated zlib stream", Concat({Header(1), MemberHeader("Options.dat", kSize),
                                                   Bytes(kPacked.begin(), kPacked.end() - 6)})},
        Malformed{"missing trailer", Concat({Header(1), MemberHeader("Options.dat", kSize),
                                             Bytes(kPacked.begin(), kPacked.end() - 2)})},
        Malformed{"corrupt zlib data",
                  Concat({Header(1), MemberHeader("Options.dat", kSize), kCorrupt})},
        Malformed{"declared size larger than the data inflates to",
                  Concat({Header(1), MemberHeader("Options.dat", kSize + 1), kPacked})},
        Malformed{"declared size smaller than the data inflates to",
                  Concat({Header(1), MemberHeader("Options.dat", kSize - 1), kPacked})},
        Malformed{"huge declared size",
                  Concat({Header(1), MemberHeader("Options.dat", 0x7FFFFFFF), kPacked})},
        Malformed{"negative size", Concat({Header(1), MemberHeader("Options.dat", -1), kPacked})},
        Malformed{"negative name length", Concat({Header(1),
                                                  [] {
                                                      Bytes b;
                                                      PutI32(b, -5);
                                                      return b;
                                                  }()})},
        Malformed{"name longer than the data", Concat({Header(1),
                                                       [] {
                                                           Bytes b;
                                                           PutI32(b, 1000);
                                                           return b;
                                                       }()})},
        Malformed{"not zlib at all", Concat({Header(1), MemberHeader("a.bmp", 3), ToBytes("abc")})},
        Malformed{"no count", ToBytes("ASzf")}));

TEST(TacSkinConvertor, HugeSizeBackedByLittleDataAllocatesNothingUpFront) {
    // 1.9 GB declared, allowed by the 2 MB that follow (the next members could be anything), but
    // the stream itself inflates to 1000 bytes. Reading fails there, with memory grown only as
    // far as the data went; making room for the declared size first would cost gigabytes.
    Bytes packed = skintest::Deflate(Bytes(1000, 0));
    packed.resize(packed.size() + (2 << 20), 0x55);
    const Bytes bytes = Concat({Header(1), MemberHeader("a.bmp", 1'900'000'000), packed});
    const auto peakResidentKiB = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmHWM:"))
                return std::stol(line.substr(6));
        return 0L;
    };
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    const long before = peakResidentKiB();
    ASSERT_GT(before, 0) << "no peak resident size in /proc";
    EXPECT_THROW(Read(bytes), toolkit::EReadError);
    EXPECT_LT(peakResidentKiB() - before, 64 << 10);
}

TEST(TacSkinConvertor, EmptyMemberStillConsumesItsStream) {
    auto reader = Read(Pack({{"a.bmp", {}}, {"Options.dat", ToBytes("[X]")}}));
    ASSERT_NE(reader->Options(), nullptr);
    EXPECT_EQ(Text(*reader->Options()), "[X]");
    EXPECT_EQ(reader->Images()[0].Data->Size(), 0);
}

TEST(LoadSkinFromFile, ReadsAnExistingFileAndIgnoresAMissingOne) {
    skintest::TempFolder folder;
    folder.Write("Blue.asz", Pack({{"Options.dat", ToBytes("[A]")}, {"x.bmp", ToBytes("x")}}));
    std::unique_ptr<TacSkinConvertor> reader;
    skin::LoadSkinFromFile(folder.Str() + "/Missing.asz", reader, true);
    EXPECT_EQ(reader, nullptr);
    skin::LoadSkinFromFile(folder.Str() + "\\Blue.asz", reader, true);
    ASSERT_NE(reader, nullptr);
    ASSERT_NE(reader->Options(), nullptr);
    EXPECT_EQ(reader->Images().size(), 1u);
}

} // namespace
