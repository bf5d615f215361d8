// Host events carry no run-time type information: their classes are told apart by the names
// along their class records. The plug-in and the section react to link events only.

#include "host/KVEvents.h"
#include "plugin/LinkEventPrototype.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

template<typename Base>
class CNamedEvent : public Base
{
public:
    explicit CNamedEvent(const char* name, const KV::CEventClassInfo* parent)
        : m_info{name, parent}
    {}
    const KV::CEventClassInfo* GetClassInfo() const override { return &m_info; }

private:
    KV::CEventClassInfo m_info;
};

TEST(EventTypes, ClassesAreToldApartByTheNamesAlongTheirRecords)
{
    const KV::CBaseEvent base;
    const KV::CAnimationEvent animation;
    const KV::CLinkEvent link;
    // A host event derived from the link event; a class of another module that happens to be
    // called CLinkEvent too; and one whose name differs in case only.
    const CNamedEvent<KV::CLinkEvent> subNodeLink("CSubNodeLinkEvent",
                                                  KV::CLinkEvent::GetStaticClassInfo());
    const CNamedEvent<KV::CBaseEvent> foreign("CLinkEvent", nullptr);
    const CNamedEvent<KV::CAnimationEvent> lowerCase("Clinkevent",
                                                     KV::CAnimationEvent::GetStaticClassInfo());

    struct Case
    {
        const KV::CBaseEvent* event;
        const KV::CBaseEvent* other;
        bool kindOf;
        bool sameClass;
    };
    const Case cases[] = {
        {&link, &animation, true, false},    {&link, &base, true, false},
        {&link, &link, true, true},          {&animation, &base, true, false},
        {&subNodeLink, &link, true, false},  {&subNodeLink, &base, true, false},
        {&base, &link, false, false},        {&animation, &link, false, false},
        {&link, &subNodeLink, false, false}, {&foreign, &link, true, true},
        {&link, &foreign, true, true},       {&lowerCase, &link, false, false},
    };
    for (const Case& c : cases) {
        const std::string names =
            std::string(c.event->GetClassInfo()->name) + " / " + c.other->GetClassInfo()->name;
        EXPECT_EQ(c.event->IsKindOf(c.other), c.kindOf) << names;
        EXPECT_EQ(c.event->IsSameClass(c.other), c.sameClass) << names;
    }

    // The host's own link, animation, base and missing events reach the plug-in's refresh and
    // are checked there.
    EXPECT_TRUE(KV::IsLinkEvent(&subNodeLink));
    EXPECT_TRUE(KV::IsLinkEvent(&foreign));
    EXPECT_FALSE(KV::IsLinkEvent(&lowerCase));

    const KV::CLinkEvent& prototype = KV::GetLinkEventPrototype();
    EXPECT_TRUE(prototype.IsSameClass(&link));
    EXPECT_EQ(prototype.time, 0);
    EXPECT_EQ(prototype.object, nullptr);
    EXPECT_EQ(prototype.oldParent, nullptr);
    EXPECT_EQ(prototype.newParent, nullptr);
}

} // namespace
