// The ownership tree and free notification.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Classes.h"

namespace {
std::vector<std::string> g_log;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string tag) : TComponent(owner), tag_(std::move(tag)) { SetName(tag_); }
    ~Probe() override { g_log.push_back("~" + tag_); }
    void BeforeDestruction() override { g_log.push_back("before " + tag_); }
    TComponent* watched = nullptr;
    void Watch(TComponent* c) {
        watched = c;
        c->FreeNotification(this);
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove && c == watched) {
            watched = nullptr;
            g_log.push_back(tag_ + " saw " + c->Name());
        }
    }

private:
    std::string tag_;
};

TEST(TComponentTest, AnOwnerFreesItsComponentsLastFirstAndFindsThemByName) {
    g_log.clear();
    {
        auto root = CreateUnowned<Probe>("root");
        auto* a = CreateComponent<Probe>(root.get(), "a");
        CreateComponent<Probe>(root.get(), "b");
        CreateComponent<Probe>(a, "a1");
        EXPECT_EQ(root->ComponentCount(), 2);
        EXPECT_EQ(root->FindComponent("B"), root->Components(1));
        EXPECT_EQ(root->FindComponent("a1"), nullptr);  // only direct children
        EXPECT_EQ(a->ComponentIndex(), 0);
        EXPECT_EQ(a->Owner(), root.get());
    }
    // The owner's own destructor body runs first; then its components go,
    // the last one made first, each told before it is freed.
    const std::vector<std::string> expected{"before root", "~root", "before b", "~b", "before a", "~a",
                                            "before a1", "~a1"};
    EXPECT_EQ(g_log, expected);
}

TEST(TComponentTest, FreeNotificationClearsReferencesWhicheverSideGoesFirst) {
    g_log.clear();
    auto root = CreateUnowned<Probe>("root");
    auto* watcher = CreateComponent<Probe>(root.get(), "w");
    auto* target = CreateComponent<Probe>(root.get(), "t");
    watcher->Watch(target);
    FreeComponent(target);
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "w saw t"), g_log.end());

    // The watcher goes first: the target must not call it later.
    auto* target2 = CreateComponent<Probe>(root.get(), "t2");
    watcher->Watch(target2);
    FreeComponent(watcher);
    g_log.clear();
    FreeComponent(target2);
    EXPECT_EQ(g_log, (std::vector<std::string>{"before t2", "~t2"}));
}

TEST(TComponentTest, RemoveAndInsertMoveOwnership) {
    auto a = CreateUnowned<Probe>("a");
    auto b = CreateUnowned<Probe>("b");
    auto* c = CreateComponent<Probe>(a.get(), "c");
    std::unique_ptr<TComponent> taken = a->RemoveComponent(c);
    ASSERT_EQ(taken.get(), c);
    EXPECT_EQ(c->Owner(), nullptr);
    b->InsertComponent(std::move(taken));
    EXPECT_EQ(c->Owner(), b.get());
    EXPECT_EQ(a->ComponentCount(), 0);
    EXPECT_EQ(b->ComponentCount(), 1);
}
}  // namespace
