#include "toolkit/TComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Exceptions.h"

namespace toolkit {
namespace {

std::vector<std::string> g_events;

class TTracked : public TComponent {
public:
    TTracked(TComponent* owner, std::string tag) : TComponent(owner), m_tag(std::move(tag)) {
        SetName(m_tag);
    }
    ~TTracked() override {
        g_events.push_back("~" + m_tag + (IsDestroying() ? "" : " (not marked)"));
    }
    void BeforeDestruction() override {
        TComponent::BeforeDestruction();
        g_events.push_back("before " + m_tag);
    }
    std::vector<std::string> heard;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        // Names: an insertion is heard while the newcomer is still being made, nameless.
        heard.push_back(std::string(op == TOperation::opInsert ? "+" : "-") + c->Name());
    }

private:
    std::string m_tag;
};

class TComponentOwnership : public ::testing::Test {
protected:
    void SetUp() override { g_events.clear(); }
};

// The derived part of a component goes first (C++ order), then its owned components, last
// first, each with its BeforeDestruction, and each marked destroying throughout.
TEST_F(TComponentOwnership, OwnerFreesItsComponentsLastFirstAfterMarkingThemDestroying) {
    auto* owner = new TTracked(nullptr, "owner");
    new TTracked(owner, "a");
    auto* b = new TTracked(owner, "b");
    new TTracked(b, "b1");
    new TTracked(owner, "c");
    TComponent::Free(owner);
    EXPECT_EQ(g_events,
              (std::vector<std::string>{"before owner", "~owner", "before c", "~c", "before b",
                                        "~b", "before b1", "~b1", "before a", "~a"}));
}

TEST_F(TComponentOwnership, AComponentFreedFirstLeavesItsOwnerAndIsNotFreedTwice) {
    TTracked owner(nullptr, "owner");
    auto* a = new TTracked(&owner, "a");
    auto* b = new TTracked(&owner, "b");
    ASSERT_EQ(owner.ComponentCount(), 2);
    TComponent::Free(a);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_EQ(owner.heard, (std::vector<std::string>{"+", "+", "-a"}));
    EXPECT_EQ(b->heard, (std::vector<std::string>{"-a"})); // siblings hear removals too
    EXPECT_THROW(owner.Components(1), EListError);
}

TEST_F(TComponentOwnership, ABareDeleteSkipsBeforeDestructionButStillLeavesTheOwner) {
    TTracked owner(nullptr, "owner");
    delete new TTracked(&owner, "x");
    EXPECT_EQ(g_events, (std::vector<std::string>{"~x (not marked)"}));
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(owner.heard.back(), "-x");
}

TEST_F(TComponentOwnership, FreeNotificationReachesComponentsOfOtherOwners) {
    TTracked formA(nullptr, "formA");
    TTracked formB(nullptr, "formB");
    auto* menu = new TTracked(&formA, "menu");
    auto* button = new TTracked(&formB, "button");
    menu->FreeNotification(button);
    TComponent::Free(menu);
    EXPECT_EQ(button->heard, (std::vector<std::string>{"-menu"}));
    // Going the other way after the menu is gone must not touch it (the sanitizers see a touch),
    // nor tell its old owner anything.
    TComponent::Free(button);
    EXPECT_EQ(g_events,
              (std::vector<std::string>{"before menu", "~menu", "before button", "~button"}));
    EXPECT_EQ(formA.heard, (std::vector<std::string>{"+", "-menu"}));
}

TEST_F(TComponentOwnership, MovingToAnotherOwnerTellsBoth) {
    TTracked first(nullptr, "first");
    TTracked second(nullptr, "second");
    auto* c = new TTracked(&first, "c");
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(first.heard, (std::vector<std::string>{"+", "-c"}));
    EXPECT_EQ(second.heard, (std::vector<std::string>{"+c"}));
}

TEST(TComponentNames, NamesAreIdentifiersUniqueInTheOwnerWithoutRegardToCase) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("sPanel1");
    EXPECT_EQ(owner.FindComponent("SPANEL1"), a);
    EXPECT_EQ(owner.FindComponent("sPanel2"), nullptr);
    try {
        b->SetName("spanel1");
        FAIL() << "duplicate accepted";
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named spanel1 already exists");
    }
    EXPECT_EQ(b->Name(), "");
    for (const char* bad : {"1abc", "a b", "a-b", "Ж"}) {
        try {
            b->SetName(bad);
            FAIL() << bad << " accepted";
        } catch (const EComponentError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid component name");
        }
    }
    b->SetName("_x9");
    a->SetName("sPanel1"); // renaming to its own name is no clash
    EXPECT_EQ(b->Name(), "_x9");
}

TEST(TComponentState, LoadingIsSetBetweenLoadingAndLoaded) {
    TComponent c(nullptr);
    EXPECT_FALSE(c.IsLoading());
    c.Loading();
    EXPECT_TRUE(c.ComponentState().Contains(csLoading));
    c.Loaded();
    EXPECT_FALSE(c.IsLoading());
}

} // namespace
} // namespace toolkit
