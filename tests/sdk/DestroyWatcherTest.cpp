#include "FailingAllocation.h"

#include "sdk/CDestoryWatchableObject.h"
#include "sdk/CDestroyWatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
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
using Names = std::map<const CDestoryWatchableObject*, std::string>;

class CLoggingWatcher : public CDestroyWatcher
{
public:
    CLoggingWatcher(std::string watcherName, Log& log, const Names& names)
        : name(std::move(watcherName))
        , m_log(log)
        , m_names(names)
    {}

    void OnObjectDestroyed(CDestoryWatchableObject* object) override
    {
        const auto found = m_names.find(object);
        m_log.push_back(name + " told of " + (found != m_names.end() ? found->second : "?"));
        if (onDestroyed)
            onDestroyed(object);
    }

    std::string name;
    std::function<void(CDestoryWatchableObject*)> onDestroyed;

private:
    Log& m_log;
    const Names& m_names;
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
    long CountInLog(const std::string& entry) const
    {
        return std::count(log.begin(), log.end(), entry);
    }

    Log log;
    Names names;
};

bool Lists(const CDestoryWatchableObject& object, CDestroyWatcher* watcher)
{
    return object.GetDestroyWatchers().count(watcher) == 1;
}

bool Lists(const CDestroyWatcher& watcher, CDestoryWatchableObject* object)
{
    return watcher.GetWatchedObjects().count(object) == 1;
}

} // namespace

TEST_F(DestroyWatcherTest, IsToldOnceOfEachWatchedObjectAndForgetsIt)
{
    auto first = MakeWatcher("first");
    auto second = MakeWatcher("second");
    auto bone = MakeObject("bone");
    auto camera = MakeObject("camera");

    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(second.get()), UB::kOk);
    EXPECT_EQ(bone->AddDestroyWatcher(first.get()), UB::kOk); // already linked: still one link
    EXPECT_EQ(camera->AddDestroyWatcher(first.get()), UB::kOk);
    EXPECT_TRUE(Lists(*bone, first.get()) && Lists(*first, bone.get()));
    EXPECT_EQ(first->GetWatchedObjects().size(), 2u);

    CDestoryWatchableObject* gone = bone.get();
    bone.reset();

    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(CountInLog("first told of bone"), 1);
    EXPECT_EQ(CountInLog("second told of bone"), 1);
    EXPECT_FALSE(Lists(*first, gone));
    EXPECT_TRUE(second->GetWatchedObjects().empty());
    EXPECT_TRUE(Lists(*first, camera.get()));

    camera.reset();
    EXPECT_EQ(CountInLog("first told of camera"), 1);
    EXPECT_TRUE(first->GetWatchedObjects().empty());
}

TEST_F(DestroyWatcherTest, DestroyedFirstIsDroppedByItsObjectsAndNeverTold)
{
    auto bone = MakeObject("bone");
    auto camera = MakeObject("camera");
    auto survivor = MakeWatcher("survivor");
    auto early = MakeWatcher("early");
    bone->AddDestroyWatcher(early.get());
    camera->AddDestroyWatcher(early.get());
    bone->AddDestroyWatcher(survivor.get());
    ASSERT_EQ(bone->GetDestroyWatchers().size(), 2u);

    early.reset();

    EXPECT_EQ(bone->GetDestroyWatchers().size(), 1u);
    EXPECT_TRUE(Lists(*bone, survivor.get()));
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
    bone.reset();
    camera.reset();
    EXPECT_EQ(log, Log{"survivor told of bone"});
}

TEST_F(DestroyWatcherTest, DestroyingObjectRefusesNewWatchers)
{
    auto latecomer = MakeWatcher("latecomer");
    auto first = MakeWatcher("first");
    auto bone = MakeObject("bone");
    CDestoryWatchableObject* boneObject = bone.get();
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
    EXPECT_FALSE(Lists(*latecomer, boneObject));
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

TEST_F(DestroyWatcherTest, DestroyingWatcherIgnoresWatchAndUnwatch)
{
    auto bone = MakeObject("bone");
    TeardownRecord record;
    {
        CTearingDownWatcher watcher(*bone, record);
        bone->AddDestroyWatcher(&watcher);
        ASSERT_TRUE(Lists(watcher, bone.get()));
    }
    // Watch and Unwatch are ignored; the object still takes the watcher but is not listed
    // back, so the watcher's set stays empty.
    EXPECT_EQ(record.results,
              (std::vector<UB::Result>{UB::kNothingDone, UB::kNothingDone, UB::kOk, UB::kOk}));
    EXPECT_EQ(record.watchedAfterward, 0u);
    EXPECT_TRUE(bone->GetDestroyWatchers().empty());
}

TEST_F(DestroyWatcherTest, SetOperationsGiveTheirResultCodes)
{
    auto watcher = MakeWatcher("watcher");
    auto bone = MakeObject("bone");
    auto camera = MakeObject("camera");

    EXPECT_EQ(watcher->Unwatch(bone.get()), UB::kNotCreated);
    EXPECT_EQ(bone->RemoveDestroyWatcher(watcher.get()), UB::kNotCreated);
    EXPECT_EQ(bone->AddDestroyWatcher(nullptr), UB::kNothingDone);
    EXPECT_EQ(watcher->Watch(nullptr), UB::kNothingDone);
    EXPECT_EQ(bone->AddDestroyWatcher(watcher.get()), UB::kOk);

    UB::Result present;
    UB::Result fresh;
    UB::Result freshWatch;
    {
        CFailingAllocation noMemory;
        present = bone->AddDestroyWatcher(watcher.get());
        fresh = camera->AddDestroyWatcher(watcher.get());
        freshWatch = watcher->Watch(camera.get());
    }
    // Already there needs no memory; a new entry does, and then nothing changes.
    EXPECT_EQ(present, UB::kOk);
    EXPECT_EQ(fresh, UB::kAllocationFailed);
    EXPECT_EQ(freshWatch, UB::kAllocationFailed);
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
    EXPECT_FALSE(Lists(*watcher, camera.get()));

    // Room for the object's side only: no half link is left behind.
    {
        CFailingAllocation noMemory(1);
        fresh = camera->AddDestroyWatcher(watcher.get());
    }
    EXPECT_EQ(fresh, UB::kAllocationFailed);
    EXPECT_TRUE(camera->GetDestroyWatchers().empty());
    EXPECT_FALSE(Lists(*watcher, camera.get()));

    EXPECT_EQ(watcher->Unwatch(bone.get()), UB::kOk);
    EXPECT_EQ(bone->RemoveDestroyWatcher(watcher.get()), UB::kOk);
    EXPECT_EQ(bone->RemoveDestroyWatcher(watcher.get()), UB::kNotCreated);
    bone.reset();
    EXPECT_TRUE(log.empty());
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

    // Never AddRef'd: only its owner ends it.
    auto owned = MakeObject("owned");
    owned->AddDestroyWatcher(watcher.get());
    owned.reset();
    EXPECT_EQ(log, (Log{"watcher told of bone", "watcher told of owned"}));
}
