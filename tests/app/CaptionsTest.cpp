// The windows' captions: English from the catalogue the build makes, Russian untouched without
// one. Each case builds both windows after choosing the language, as the program's start does.

#include "app/Texts.h"

#include "tests/app/AppTestSupport.h"

namespace {

class Captions : public toolkit::testing::ToolkitTest {
protected:
    void TearDown() override {
        ToolkitTest::TearDown();
        app::UseLanguage("C");
    }
    app::TProgramForms Forms() { return app::CreateProgramForms(*app); }
};

TEST_F(Captions, EnglishComesFromTheCatalogue) {
    app::UseLanguage("en_GB.UTF-8");
    const app::TProgramForms forms = Forms();
    EXPECT_EQ(forms.main->sBitBtn2->Caption(), "Convert");
    EXPECT_EQ(forms.main->N4->Caption(), "Manual");
    EXPECT_EQ(forms.saveOptions->Caption(), "Saving");
    EXPECT_EQ(forms.saveOptions->Label1->Caption(), "Symbols per line");
    // The system's own messages are not the program's captions.
    EXPECT_STREQ(app::Tr("DIB is invalid."), "DIB is invalid.");
}

TEST_F(Captions, RussianStaysByteForByteUnderCAndRussianLocales) {
    for (const char* language : {"POSIX", "ru_RU.UTF-8", "de_DE.UTF-8", ""}) {
        app::UseLanguage(language);
        EXPECT_STREQ(app::Tr("Преобразовать"), "Преобразовать") << language;
    }
    app::UseLanguage("C");
    const app::TProgramForms forms = Forms();
    EXPECT_EQ(forms.main->sBitBtn2->Caption(), "Преобразовать");
    EXPECT_EQ(forms.main->sPanel6->Caption(), "Образ картинки\r\nдля преобразования");
    EXPECT_EQ(forms.saveOptions->Caption(), "Сохранение");
}

} // namespace
