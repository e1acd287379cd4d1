// Every hostile skin chosen through the skin manager after the internal skin: it loads or is
// refused with the system's own error, within a second and 100 MiB of heap, and the internal
// skin can be chosen back and works. Heap use is measured by this program's own operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <malloc.h>
#include <new>

#include "fuzz/skin/HostileSkins.h"
#include "skin/InternalSkin.h"
#include "skin/sSkinManager.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Streams.h"

namespace {

std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void* Counted(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    const long long live = g_live += static_cast<long long>(malloc_usable_size(p));
    long long peak = g_peak;
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void Uncounted(void* p) {
    if (p != nullptr) {
        g_live -= static_cast<long long>(malloc_usable_size(p));
        std::free(p);
    }
}

} // namespace

void* operator new(std::size_t size) {
    return Counted(size);
}
void* operator new[](std::size_t size) {
    return Counted(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Counted(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Counted(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    Uncounted(p);
}
void operator delete[](void* p) noexcept {
    Uncounted(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Uncounted(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Uncounted(p);
}

namespace {

using fuzzskin::HostileKind;
using fuzzskin::HostileSkin;

constexpr long long kHeapLimit = 100ll << 20;

// Made once: the bombs take a while to deflate.
const std::vector<HostileSkin>& Catalogue() {
    static const std::vector<HostileSkin> all = fuzzskin::HostileSkins();
    return all;
}
// A second in the plain build. The address sanitizer makes every load two to three times
// slower, and the busiest case (one picture named 2,000 times) sits near 0.8 s there, so the
// sanitized build allows twice that.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSecondsLimit = 2.0;
#else
constexpr double kSecondsLimit = 1.0;
#endif

// Processor time rather than the clock's: the tests share busy machines, and what a skin must
// not do is make us work for long.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Outcome {
    bool loaded = false;
    std::string error;
    double seconds = 0;
    long long heapGrowth = 0;
};

class HostileReplay : public ::testing::Test {
protected:
    void SetUp() override {
        m_quiet = toolkit::SetMessageBoxHandler(
            [](const toolkit::MessageBoxRequest&) { return toolkit::ModalResult::OK; });
        skin::AddInternalSkin(m_manager.InternalSkins());
        m_manager.SetSkinDirectory(m_folder.Str());
        m_manager.SetSkinName(skin::kInternalSkinName);
        m_internalSections = m_manager.gd().size();
        ASSERT_GT(m_internalSections, 0u);
    }
    void TearDown() override { toolkit::SetMessageBoxHandler(m_quiet); }

    Outcome Choose(const HostileSkin& hostile) {
        toolkit::TMemoryStream bytes(hostile.bytes);
        bytes.SaveToFile(m_folder.Str() + "/" + hostile.name + ".asz");
        Outcome outcome;
        const long long before = g_live;
        g_peak = before;
        const double start = CpuSeconds();
        try {
            m_manager.SetSkinName(hostile.name);
            outcome.loaded = true;
        } catch (const toolkit::Exception& e) {
            outcome.error = e.Message();
        }
        outcome.seconds = CpuSeconds() - start;
        outcome.heapGrowth = g_peak - before;
        return outcome;
    }

    // The skin the user had before can always be chosen back, whole.
    void ExpectInternalSkinBack(const std::string& name) {
        EXPECT_NO_THROW(m_manager.SetSkinName(skin::kInternalSkinName)) << name;
        EXPECT_EQ(m_manager.SkinName(), skin::kInternalSkinName) << name;
        EXPECT_EQ(m_manager.gd().size(), m_internalSections) << name;
        EXPECT_GE(m_manager.FindSectionIndex("FORM"), 0) << name;
    }

    void ReplayKind(HostileKind kind) {
        for (const HostileSkin& hostile : Catalogue()) {
            if (hostile.kind != kind)
                continue;
            const Outcome outcome = Choose(hostile);
            std::printf("%-28s %-8s %6.3f s cpu %8lld KiB %s\n", hostile.name.c_str(),
                        outcome.loaded ? "loaded" : "refused", outcome.seconds,
                        outcome.heapGrowth >> 10, outcome.error.c_str());
            EXPECT_LE(outcome.seconds, kSecondsLimit) << hostile.name;
            EXPECT_LE(outcome.heapGrowth, kHeapLimit) << hostile.name;
            ExpectInternalSkinBack(hostile.name);
        }
    }

    skin::TsSkinManager m_manager;
    charvane::testing::TempFolder m_folder{"charvane-hostile"};
    std::size_t m_internalSections = 0;
    toolkit::MessageBoxHandler m_quiet;
};

TEST_F(HostileReplay, EachLoadsOrIsRefusedInBoundedTimeAndMemory) {
    ReplayKind(HostileKind::Plain);
}

// Parent chains and rings are resolved once, and a very long section name is not worked on again
// for every value read from it.
TEST_F(HostileReplay, LongChainsRingsAndNamesLoadQuickly) {
    ReplayKind(HostileKind::SectionWalks);
}

// The bombs and damaged containers are refused as damaged skins, not merely survived (the
// message may name the file first).
TEST_F(HostileReplay, BombsAndBrokenContainersAreDamagedSkins) {
    for (const HostileSkin& hostile : Catalogue()) {
        const std::string& n = hostile.name;
        if (n.rfind("bomb-", 0) != 0 && n.rfind("cut-in", 0) != 0 && n.rfind("size-", 0) != 0)
            continue;
        const Outcome outcome = Choose(hostile);
        if (n == "bomb-at-ratio-floor")
            EXPECT_TRUE(outcome.loaded) << n << ": " << outcome.error;
        else
            EXPECT_TRUE(outcome.error.ends_with("Stream read error")) << n << ": " << outcome.error;
        ExpectInternalSkinBack(n);
    }
}

} // namespace
