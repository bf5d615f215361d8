#include "FailingAllocation.h"

#include "sdk/CDestoryWatchableObject.h"
#include "sdk/CDestroyWatcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using UB::CDestoryWatchableObject;
using UB::CDestroyWatcher;

// What the watchers were told, kept outside them so that it survives them. Objects are named
// by the test: by the time a watcher hears of one, only its handle part is left.
using Log = std::vector<std::string>;

class CLoggingWatcher : public CDestroyWatcher
{
public:
    CLoggingWatcher(std::string name, Log& log, std::map<const void*, std::string>& names)
        : m_name(std::move(name))
        , m_log(log)
        , m_names(names)
    {}
    void OnObjectDestroyed(CDestoryWatchableObject* object) override
    {
        m_log.push_back(m_name + " told of " + m_names[object]);
        if (onDestroyed)
            onDestroyed(object);
    }
    std::function<void(CDestoryWatchableObject*)> onDestroyed;

private:
    std::string m_name;
    Log& m_log;
    std::map<const void*, std::string>& m_names;
};

class DestroyWatcherTest : public ::testing::Test
{
protected:
    std::unique_ptr<CDestoryWatchableObject> MakeObject(const std::string& name)
    {
        auto object = std::make_unique<CDestoryWatchableObject>();
        names[object.get()] = name;
        return object;
    }
    std::unique_ptr<CLoggingWatcher> MakeWatcher(const std::string& name)
    {
        return std::make_unique<CLoggingWatcher>(name, log, names);
    }

    Log log;
    std::map<const void*, std::string> names;
};

bool Linked(const CDestoryWatchableObject* object, CDestroyWatcher* watcher)
{
    return object->GetDestroyWatchers().count(watcher) == 1 &&
           watcher->GetWatchedObjects().count(const_cast<CDestoryWatchableObject*>(object)) == 1;
}

} // namespace

TEST_F(DestroyWatcherTest, WatchersAreToldOnceOfEachObjectAndLinksEndWithEitherSide)
{
    auto first = MakeWatcher("first");
    auto second = MakeWatcher("second");
    auto early = MakeWatcher("early");
    auto bone = MakeObject("bone");
    auto camera = MakeObject("camera");
    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(second.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk); // already linked: still one link
    EXPECT_EQ(bone->AddDestroyWatcher(nullptr), UB::kNothingDone);
    camera->AddDestroyWatcher(first.get());
    bone->AddDestroyWatcher(early.get());
    camera->AddDestroyWatcher(early.get());
    EXPECT_TRUE(Linked(bone.get(), first.get()));

    // A watcher destroyed first is dropped by its objects and never told.
    early.reset();
    EXPECT_EQ(bone->GetDestroyWatchers().size(), 2u);
    EXPECT_EQ(camera->GetDestroyWatchers().size(), 1u);

    const CDestoryWatchableObject* gone = bone.get();
    bone.reset();
    EXPECT_EQ(log, (Log{"first told of bone", "second told of bone"}));
    EXPECT_EQ(first->GetWatchedObjects().count(const_cast<CDestoryWatchableObject*>(gone)), 0u);
    EXPECT_TRUE(second->GetWatchedObjects().empty());
    EXPECT_TRUE(Linked(camera.get(), first.get()));

    // Unlinking from either side ends the link; what is not linked cannot be unlinked.
    EXPECT_EQ(first->Unwatch(camera.get()), UB::kOk);
    EXPECT_EQ(camera->RemoveDestroyWatcher(first.get()), UB::kOk);
    EXPECT_EQ(camera->RemoveDestroyWatcher(first.get()), UB::kNotCreated);
    EXPECT_EQ(first->Unwatch(camera.get()), UB::kNotCreated);
    camera.reset();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(DestroyWatcherTest, ReleaseDeletesOnlyWhenItBringsTheCountBackToZero)
{
    auto watcher = MakeWatcher("watcher");
    CDestoryWatchableObject* bone = MakeObject("bone").release();
    bone->AddDestroyWatcher(watcher.get());
    EXPECT_EQ(bone->GetRefCount(), 0);

    bone->AddRef();
    bone->AddRef();
    bone->Release();
    EXPECT_EQ(bone->GetRefCount(), 1);
    EXPECT_TRUE(log.empty());
    bone->Release();
    EXPECT_EQ(log, Log{"watcher told of bone"});
    EXPECT_TRUE(watcher->GetWatchedObjects().empty());
}

namespace {

struct TeardownRecord
{
    std::vector<UB::Result> results;
    std::size_t watchedAfterward = 99;
};

// A watcher that, like one owning the objects it watches, stops watching at the start of its
// own teardown and then is asked to link again.
class CTearingDownWatcher : public CDestroyWatcher
{
public:
    CTearingDownWatcher(CDestoryWatchableObject& object, TeardownRecord& record)
        : m_object(object)
        , m_record(record)
    {}
    ~CTearingDownWatcher() override
    {
        BeginDestruction();
        m_record.results.push_back(Watch(&m_object));
        m_record.results.push_back(Unwatch(&m_object));
        m_record.results.push_back(m_object.AddDestroyWatcher(this));
        m_record.watchedAfterward = GetWatchedObjects().size();
        // The object took the destroying watcher; take it back out before leaving.
        m_record.results.push_back(m_object.RemoveDestroyWatcher(this));
    }
    void OnObjectDestroyed(CDestoryWatchableObject*) override {}

private:
    CDestoryWatchableObject& m_object;
    TeardownRecord& m_record;
};

} // namespace

TEST_F(DestroyWatcherTest, EitherSideRefusesNewLinksWhileItIsBeingDestroyed)
{
    // An object being destroyed refuses a watcher its watchers try to add.
    auto latecomer = MakeWatcher("latecomer");
    auto first = MakeWatcher("first");
    auto bone = MakeObject("bone");
    const CDestoryWatchableObject* boneObject = bone.get();
    bool destroyingSeen = false;
    UB::Result lateResult;
    first->onDestroyed = [&](CDestoryWatchableObject* object) {
        destroyingSeen = object->IsDestroying();
        lateResult = object->AddDestroyWatcher(latecomer.get());
    };
    bone->AddDestroyWatcher(first.get());
    bone.reset();
    EXPECT_TRUE(destroyingSeen);
    EXPECT_EQ(lateResult, UB::kNothingDone);
    EXPECT_EQ(log, Log{"first told of bone"});
    EXPECT_EQ(
        latecomer->GetWatchedObjects().count(const_cast<CDestoryWatchableObject*>(boneObject)), 0u);

    // A watcher being destroyed ignores Watch and Unwatch; the object still takes it but is
    // not listed back, so the watcher's set stays empty.
    auto camera = MakeObject("camera");
    TeardownRecord record;
    {
        CTearingDownWatcher watcher(*camera, record);
        camera->AddDestroyWatcher(&watcher);
        ASSERT_TRUE(Linked(camera.get(), &watcher));
    }
    EXPECT_EQ(record.results,
              (std::vector<UB::Result>{UB::kNothingDone, UB::kNothingDone, UB::kOk, UB::kOk}));
    EXPECT_EQ(record.watchedAfterward, 0u);
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
}

TEST_F(DestroyWatcherTest, MemoryRunningOutLeavesNoHalfLink)
{
    auto watcher = MakeWatcher("watcher");
    auto bone = MakeObject("bone");
    auto camera = MakeObject("camera");
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
