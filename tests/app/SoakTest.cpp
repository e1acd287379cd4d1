// A long session must not grow: cycles of open (through the dialog), convert, save (through
// the options window and the save dialog), preset, generator and bound count changes, and a
// change between the internal and the packed dark skin, all by input on the real windows. Live
// heap bytes are measured after a warm-up and again at the end.
//
// CI runs a short form; the long one on demand:
//     CHARVANE_SOAK_CYCLES=500 build-test/tests/app/test_app --gtest_filter='Soak.*'

#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#define CHARVANE_HEAP_FROM_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CHARVANE_HEAP_FROM_SANITIZER 1
#endif
#endif

#ifdef CHARVANE_HEAP_FROM_SANITIZER
// The sanitizer's allocator owns the heap then; it counts the bytes in live blocks itself.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using app::testing::ProgramTest;
using namespace toolkit;

// Bytes in live heap blocks: what a leak or an ever-growing cache adds to.
long long LiveHeapBytes() {
#ifdef CHARVANE_HEAP_FROM_SANITIZER
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}

class Soak : public ProgramTest {
protected:
    // Runs the input queued so far to its end, modal windows included.
    void Drain() {
        Pump();
        while (host->HasPendingInput())
            app->HandleMessage();
        Pump();
    }
    void Open(const std::string& path) {
        host->Click(form->sBitBtn1->ClientToScreen({20, 15}));
        host->Text(path, 50);
        host->Key(platform::VK_RETURN, 60);
        Drain();
    }
    void Save(const std::string& path) {
        host->Click(form->sBitBtn3->ClientToScreen({20, 15}));
        host->Key(platform::VK_RETURN, 20); // OK in the options, which asks for the name
        host->Text(path, 60);
        host->Key(platform::VK_RETURN, 70);
        Drain();
    }
    void ChoosePreset(int index) {
        form->sComboBox1->SetFocus();
        Key(platform::VK_HOME);
        for (int i = 0; i < index; ++i)
            Key(platform::VK_DOWN);
    }
    void ChooseGenerator(int item) {
        host->Click(form->sSpeedButton1->ClientToScreen({form->sSpeedButton1->Width() - 4, 10}));
        for (int i = 0; i <= item; ++i)
            host->Key(platform::VK_DOWN, 20);
        host->Key(platform::VK_RETURN, 30);
        Drain();
    }
    // The next of the skins the program offers (its internal ones and the packed ones in its
    // skin folder, the dark one among them), as the system menu lists them; with only one, it
    // is taken off and put back on, which rebuilds every cache just the same.
    void ChangeSkin() {
        skin::TsSkinManager& m = *form->sSkinManager1;
        toolkit::TStringList names;
        m.GetSkinNames(names, skin::TacSkinListMode::Both);
        if (names.Count() > 1) {
            int current = -1;
            for (int i = 0; i < names.Count(); ++i)
                if (names[i] == m.SkinName())
                    current = i;
            const std::string next = names[(current + 1) % names.Count()];
            m.SetSkinName(next);
            Pump();
            ASSERT_EQ(m.SkinName(), next);
            used.insert(next);
        } else {
            m.SetActive(false);
            Pump();
            m.SetActive(true);
        }
        Pump();
    }
    void Cycle(int cycle) {
        const std::vector<std::string> pictures = {Asset("sample.bmp"), Asset("sample.jpg")};
        Open(pictures[static_cast<std::size_t>(cycle) % pictures.size()]);
        ChoosePreset(cycle % 4);
        ChooseGenerator(cycle % 4);
        TypeInto(*form->sSpinEdit1, std::to_string(3 + cycle % 9));
        ClickOn(*form->sBitBtn2);
        Save(TempFile("soak.txt"));
        if (cycle % 5 == 0)
            ChangeSkin();
    }
    std::set<std::string> used;
};

TEST_F(Soak, CyclesOfEverydayWorkDoNotGrowTheHeap) {
    const char* env = std::getenv("CHARVANE_SOAK_CYCLES");
    const int cycles = env && *env ? std::atoi(env) : 12;
    const int warmUp = std::max(5, cycles / 10);
    for (int i = 0; i < warmUp; ++i)
        Cycle(i);
    const long long before = LiveHeapBytes();
    for (int i = warmUp; i < cycles; ++i)
        Cycle(i);
    const long long after = LiveHeapBytes();
    ASSERT_TRUE(boxes.empty()) << boxes.front().text;
    EXPECT_FALSE(ReadFile(TempFile("soak.txt")).empty());
    EXPECT_TRUE(used.contains("Nightfall")) << "the packed dark skin was not found";
    const long long measured = cycles - warmUp;
    std::printf("soak: %d cycles, live heap %lld bytes after %d warm-up cycles, %lld at the end "
                "(%+lld)\n",
                cycles, before, warmUp, after, after - before);
    // A leak of anything the cycle makes (a picture, a bitmap, a window, a line of text) is
    // far more than a hundred bytes a cycle.
    EXPECT_LT(after - before, 100 * measured + 16 * 1024);
}

} // namespace
