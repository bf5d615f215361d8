#include "FailingAllocation.h"

#include "sdk/CDestoryWatchableObject.h"
#include "sdk/CDestroyWatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using UB::CDestoryWatchableObject;
using UB::CDestroyWatcher;
using Object = std::unique_ptr<CDestoryWatchableObject>;
// Who was told of which object; kept outside the watchers so that it survives them.
using Log = std::vector<std::pair<std::string, const void*>>;

class CLoggingWatcher : public CDestroyWatcher
{
public:
    CLoggingWatcher(std::string name, Log& log)
        : m_name(std::move(name))
        , m_log(log)
    {}
    void OnObjectDestroyed(CDestoryWatchableObject* object) override
    {
        m_log.emplace_back(m_name, object);
        if (onDestroyed)
            onDestroyed(object);
    }
    bool Watches(const void* object) const
    {
        return GetWatchedObjects().count(
                   static_cast<CDestoryWatchableObject*>(const_cast<void*>(object))) == 1;
    }
    std::function<void(CDestoryWatchableObject*)> onDestroyed;

private:
    std::string m_name;
    Log& m_log;
};

class DestroyWatcherTest : public ::testing::Test
{
protected:
    std::unique_ptr<CLoggingWatcher> Watcher(const char* name)
    {
        return std::make_unique<CLoggingWatcher>(name, log);
    }
    Log log;
};

} // namespace

TEST_F(DestroyWatcherTest, WatchersAreToldOnceOfEachObjectAndLinksEndWithEitherSide)
{
    auto first = Watcher("first");
    auto second = Watcher("second");
    auto early = Watcher("early");
    auto bone = std::make_unique<CDestoryWatchableObject>();
    auto camera = std::make_unique<CDestoryWatchableObject>();
    const void* boneObject = bone.get();
    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(second.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk); // already linked: still one link
    EXPECT_EQ(bone->AddDestroyWatcher(nullptr), UB::kNothingDone);
    camera->AddDestroyWatcher(first.get());
    bone->AddDestroyWatcher(early.get());
    camera->AddDestroyWatcher(early.get());
    EXPECT_TRUE(first->Watches(boneObject));

    // A watcher destroyed first is dropped by its objects and never told.
    early.reset();
    EXPECT_EQ(bone->GetDestroyWatchers().size(), 2u);
    EXPECT_EQ(camera->GetDestroyWatchers().size(), 1u);

    bone.reset();
    std::sort(log.begin(), log.end()); // in no particular order
    EXPECT_EQ(log, (Log{{"first", boneObject}, {"second", boneObject}}));
    EXPECT_FALSE(first->Watches(boneObject));
    EXPECT_TRUE(second->GetWatchedObjects().empty());
    EXPECT_TRUE(first->Watches(camera.get()));

    // Unlinking from either side ends the link; what is not linked cannot be unlinked.
    EXPECT_EQ(first->Unwatch(camera.get()), UB::kOk);
    EXPECT_EQ(camera->RemoveDestroyWatcher(first.get()), UB::kOk);
    EXPECT_EQ(camera->RemoveDestroyWatcher(first.get()), UB::kNotCreated);
    EXPECT_EQ(first->Unwatch(camera.get()), UB::kNotCreated);
    camera.reset();
    EXPECT_EQ(log.size(), 2u);

    // Release deletes only when it brings the count back to zero.
    auto* shared = new CDestoryWatchableObject();
    shared->AddDestroyWatcher(first.get());
    shared->AddRef();
    shared->AddRef();
    shared->Release();
    EXPECT_EQ(shared->GetRefCount(), 1);
    EXPECT_EQ(log.size(), 2u);
    shared->Release();
    EXPECT_EQ(log.size(), 3u);
    EXPECT_TRUE(first->GetWatchedObjects().empty());
}

namespace {

// A watcher that, like one owning the objects it watches, stops watching at the start of its
// own teardown and then is asked to link again.
class CTearingDownWatcher : public CDestroyWatcher
{
public:
    CTearingDownWatcher(CDestoryWatchableObject& object, std::vector<UB::Result>& results,
                        std::size_t& watchedAfterward)
        : m_object(object)
        , m_results(results)
        , m_watchedAfterward(watchedAfterward)
    {}
    ~CTearingDownWatcher() override
    {
        BeginDestruction();
        m_results.push_back(Watch(&m_object));
        m_results.push_back(Unwatch(&m_object));
        m_results.push_back(m_object.AddDestroyWatcher(this));
        m_watchedAfterward = GetWatchedObjects().size();
        // The object took the destroying watcher; take it back out before leaving.
        m_results.push_back(m_object.RemoveDestroyWatcher(this));
    }
    void OnObjectDestroyed(CDestoryWatchableObject*) override {}

private:
    CDestoryWatchableObject& m_object;
    std::vector<UB::Result>& m_results;
    std::size_t& m_watchedAfterward;
};

} // namespace

TEST_F(DestroyWatcherTest, EitherSideRefusesNewLinksWhileItIsBeingDestroyed)
{
    // An object being destroyed refuses the changes its watchers try to make.
    auto latecomer = Watcher("latecomer");
    auto first = Watcher("first");
    auto bone = std::make_unique<CDestoryWatchableObject>();
    const void* boneObject = bone.get();
    bool destroyingSeen = false;
    UB::Result lateResult;
    UB::Result leaveResult;
    first->onDestroyed = [&](CDestoryWatchableObject* object) {
        destroyingSeen = object->IsDestroying();
        lateResult = object->AddDestroyWatcher(latecomer.get());
        // While the object walks its watchers, it alone changes their set.
        leaveResult = object->RemoveDestroyWatcher(first.get());
    };
    bone->AddDestroyWatcher(first.get());
    bone.reset();
    EXPECT_TRUE(destroyingSeen);
    EXPECT_EQ(lateResult, UB::kNothingDone);
    EXPECT_EQ(leaveResult, UB::kNothingDone);
    EXPECT_EQ(log, (Log{{"first", boneObject}}));
    EXPECT_FALSE(latecomer->Watches(boneObject));

    // A watcher being destroyed ignores Watch and Unwatch; the object still takes it but is
    // not listed back, so the watcher's set stays empty.
    auto camera = std::make_unique<CDestoryWatchableObject>();
    std::vector<UB::Result> results;
    std::size_t watchedAfterward = 99;
    {
        CTearingDownWatcher watcher(*camera, results, watchedAfterward);
        camera->AddDestroyWatcher(&watcher);
        ASSERT_EQ(watcher.GetWatchedObjects().size(), 1u);
    }
    EXPECT_EQ(results,
              (std::vector<UB::Result>{UB::kNothingDone, UB::kNothingDone, UB::kOk, UB::kOk}));
    EXPECT_EQ(watchedAfterward, 0u);
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
}

TEST_F(DestroyWatcherTest, MemoryRunningOutLeavesNoHalfLink)
{
    auto watcher = Watcher("watcher");
    auto bone = std::make_unique<CDestoryWatchableObject>();
    auto camera = std::make_unique<CDestoryWatchableObject>();
    bone->AddDestroyWatcher(watcher.get());

    UB::Result results[4];
    {
        CFailingAllocation noMemory;
        results[0] = bone->AddDestroyWatcher(watcher.get());
        results[1] = camera->AddDestroyWatcher(watcher.get());
        results[2] = watcher->Watch(camera.get());
    }
    {
        CFailingAllocation roomForTheObjectSideOnly(1);
        results[3] = camera->AddDestroyWatcher(watcher.get());
    }
    // Already there needs no memory; a new entry does, and then nothing changes.
    EXPECT_EQ(results[0], UB::kOk);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(results[i], UB::kAllocationFailed) << i;
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
    EXPECT_EQ(watcher->GetWatchedObjects().size(), 1u);
    camera.reset();
    EXPECT_TRUE(log.empty());
}
