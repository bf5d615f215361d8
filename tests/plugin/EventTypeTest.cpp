// Host events carry no run-time type information: their classes are told apart by the names
// along their class records. The plug-in and the section react to link events only.

#include "host/KVEvents.h"
#include "plugin/LinkEventPrototype.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A class of another module that happens to be called CLinkEvent too, with no base record.
class CForeignLinkEvent : public KV::CBaseEvent
{
public:
    static const KV::CEventClassInfo* GetStaticClassInfo()
    {
        static const KV::CEventClassInfo info{"CLinkEvent", nullptr};
        return &info;
    }
    const KV::CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }
};

// A host event derived from the link event, for example for links to sub-nodes.
class CSubNodeLinkEvent : public KV::CLinkEvent
{
public:
    static const KV::CEventClassInfo* GetStaticClassInfo()
    {
        static const KV::CEventClassInfo info{"CSubNodeLinkEvent",
                                              KV::CLinkEvent::GetStaticClassInfo()};
        return &info;
    }
    const KV::CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }
};

// Same letters, other case: names compare byte for byte.
class CLowerCaseLinkEvent : public KV::CAnimationEvent
{
public:
    static const KV::CEventClassInfo* GetStaticClassInfo()
    {
        static const KV::CEventClassInfo info{"Clinkevent",
                                              KV::CAnimationEvent::GetStaticClassInfo()};
        return &info;
    }
    const KV::CEventClassInfo* GetClassInfo() const override { return GetStaticClassInfo(); }
};

TEST(EventTypes, RecordsChainLinkToAnimationToBase)
{
    const KV::CEventClassInfo* link = KV::CLinkEvent().GetClassInfo();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->name, "CLinkEvent");
    ASSERT_NE(link->parent, nullptr);
    EXPECT_EQ(link->parent->name, "CAnimationEvent");
    ASSERT_NE(link->parent->parent, nullptr);
    EXPECT_EQ(link->parent->parent->name, "CBaseEvent");
    EXPECT_EQ(link->parent->parent->parent, nullptr);
    EXPECT_EQ(link->parent, KV::CAnimationEvent().GetClassInfo());
}

TEST(EventTypes, IsKindOfWalksUpTheChainOnly)
{
    const KV::CBaseEvent base;
    const KV::CAnimationEvent animation;
    const KV::CLinkEvent link;
    const CSubNodeLinkEvent subNodeLink;

    struct Case
    {
        const KV::CBaseEvent* event;
        const KV::CBaseEvent* other;
        bool kindOf;
    };
    const Case cases[] = {
        {&link, &animation, true},    {&link, &base, true},        {&link, &link, true},
        {&animation, &base, true},    {&subNodeLink, &link, true}, {&subNodeLink, &base, true},
        {&base, &link, false},        {&animation, &link, false},  {&base, &animation, false},
        {&link, &subNodeLink, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.event->IsKindOf(c.other), c.kindOf)
            << c.event->GetClassInfo()->name << " kind of " << c.other->GetClassInfo()->name;
    }
}

TEST(EventTypes, IsSameClassComparesOwnNamesOnly)
{
    const KV::CAnimationEvent animation;
    const KV::CLinkEvent link;
    const KV::CLinkEvent otherLink;
    const CForeignLinkEvent foreign;
    const CLowerCaseLinkEvent lowerCase;

    EXPECT_FALSE(link.IsSameClass(&animation));
    EXPECT_FALSE(animation.IsSameClass(&link));
    EXPECT_TRUE(link.IsSameClass(&otherLink));
    // Identity is the name, not the record: another class called CLinkEvent is the same class.
    EXPECT_NE(foreign.GetClassInfo(), link.GetClassInfo());
    EXPECT_TRUE(foreign.IsSameClass(&link));
    EXPECT_TRUE(link.IsSameClass(&foreign));
    EXPECT_FALSE(lowerCase.IsSameClass(&link));
}

TEST(EventTypes, LinkEventTestAcceptsLinkEventsAndTheirDerivedClassesOnly)
{
    const KV::CBaseEvent base;
    const KV::CAnimationEvent animation;
    const KV::CLinkEvent link;
    const CSubNodeLinkEvent subNodeLink;
    const CForeignLinkEvent foreign;
    const CLowerCaseLinkEvent lowerCase;

    EXPECT_TRUE(KV::IsLinkEvent(&link));
    EXPECT_TRUE(KV::IsLinkEvent(&subNodeLink));
    EXPECT_TRUE(KV::IsLinkEvent(&foreign));
    EXPECT_FALSE(KV::IsLinkEvent(&animation));
    EXPECT_FALSE(KV::IsLinkEvent(&base));
    EXPECT_FALSE(KV::IsLinkEvent(&lowerCase));
    EXPECT_FALSE(KV::IsLinkEvent(nullptr));
}

TEST(EventTypes, PrototypeIsOneDefaultLinkEvent)
{
    const KV::CLinkEvent& prototype = KV::GetLinkEventPrototype();
    EXPECT_EQ(&prototype, &KV::GetLinkEventPrototype());
    EXPECT_EQ(prototype.GetClassInfo()->name, "CLinkEvent");
    EXPECT_EQ(prototype.time, 0);
    EXPECT_EQ(prototype.object, nullptr);
    EXPECT_EQ(prototype.oldParent, nullptr);
    EXPECT_EQ(prototype.newParent, nullptr);
}

} // namespace
