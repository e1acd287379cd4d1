#include "toolkit/TMemIniFile.h"

#include <gtest/gtest.h>

namespace {

using toolkit::TMemIniFile;

TMemIniFile Ini(std::string_view text) {
    TMemIniFile ini;
    ini.SetText(text);
    return ini;
}

TEST(TMemIniFile, FindsSectionsAndKeysWithoutRegardToCase) {
    const auto ini = Ini("[Panel]\r\nColor=5\r\n");
    EXPECT_EQ(ini.ReadInteger("PANEL", "COLOR", 0), 5);
    EXPECT_EQ(ini.ReadInteger("panel", "color", 0), 5);
    EXPECT_TRUE(ini.SectionExists("pAnEl"));
    EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"Panel"}); // spelling kept
}

TEST(TMemIniFile, MissingSectionsAndKeysGiveTheDefault) {
    const auto ini = Ini("[A]\nX=1\n");
    EXPECT_EQ(ini.ReadInteger("A", "Y", 42), 42);
    EXPECT_EQ(ini.ReadInteger("B", "X", -1), -1);
    EXPECT_EQ(ini.ReadString("A", "Y", "?"), "?");
    EXPECT_TRUE(ini.ReadSection("B").empty());
}

TEST(TMemIniFile, ReadsIntegersInTheirWrittenForms) {
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {{"13282167", 13282167},
                          {"-1", -1},
                          {"$FF00FF", 0xFF00FF},
                          {"0x10", 16},
                          {"0X1f", 31},
                          {"12a", 7},
                          {"", 7},
                          {"99999999999", 7},
                          {"$", 7},
                          {"1.5", 7}};
    for (const Case& c : cases) {
        const auto ini = Ini(std::string("[S]\nK=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", 7), c.expected) << "value '" << c.value << "'";
    }
}

TEST(TMemIniFile, BooleansAreTrueOnlyForTrueInAnyCase) {
    const auto ini = Ini("[S]\nA=TRUE\nB=true\nC=1\nD=yes\nE=\n");
    EXPECT_TRUE(ini.ReadBool("S", "A", false));
    EXPECT_TRUE(ini.ReadBool("S", "B", false));
    EXPECT_FALSE(ini.ReadBool("S", "C", true));
    EXPECT_FALSE(ini.ReadBool("S", "D", true));
    EXPECT_FALSE(ini.ReadBool("S", "E", true));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(TMemIniFile, KeepsFileOrderAndSkipsCommentsAndStrayLines) {
    const auto ini = Ini("stray=1\r\n; a comment\r\n[B]\r\n  Z = 1 \r\nno equals\r\nA=2\r\n"
                         "\r\n[A]\r\nK=v=w\r\n[b]\r\nM=3\r\nZ=9\r\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "A"}));
    // A repeated header reopens the section; a repeated key keeps its first value.
    EXPECT_EQ(ini.ReadSection("B"), (std::vector<std::string>{"Z", "A", "M"}));
    EXPECT_EQ(ini.ReadInteger("B", "Z", 0), 1);
    EXPECT_EQ(ini.ReadString("A", "K", ""), "v=w");
}

TEST(TMemIniFile, AnEmptyValueIsAValue) {
    const auto ini = Ini("[S]\nK=\n");
    EXPECT_TRUE(ini.ValueExists("S", "K"));
    EXPECT_EQ(ini.ReadString("S", "K", "?"), "");
}

TEST(TMemIniFile, ReadsFromAStream) {
    toolkit::TMemoryStream stream;
    const std::string text = "[GLOBALINFO]\r\nVERSION=5.2\r\n";
    stream.WriteBuffer(text.data(), text.size());
    TMemIniFile ini;
    ini.LoadFromStream(stream);
    EXPECT_EQ(ini.ReadString("GlobalInfo", "Version", ""), "5.2");
}

} // namespace
