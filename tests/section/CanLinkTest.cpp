// The one rule for which objects may take part in linking, used by the section's commands and
// refresh and by the plug-in's commands.

#include "LinkageSectionTest.h"
#include "support/QtPrinters.h"

#include <QSet>

namespace {

const QSet<int> kLinkableTypes = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                  19, 21, 23, 24, 25, 41, 45, 46, 54};

using CanLink = LinkageSectionTest;

TEST_F(CanLink, AcceptsExactlyTheLinkableTypes)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    for (int type = -1; type <= 60; ++type) {
        UB::CHandle* object = AddObject(QStringLiteral("Object%1").arg(type), type);
        EXPECT_EQ(section->CanLink({object}), kLinkableTypes.contains(type)) << "type " << type;
    }
    EXPECT_FALSE(section->CanLink({AddObject(QStringLiteral("Huge"), 1000)}));
}

TEST_F(CanLink, RefusesAListAsSoonAsOneObjectIsRefused)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* prop = AddObject(QStringLiteral("Prop"), 41);
    UB::CHandle* light = AddObject(QStringLiteral("Light"), 6);
    UB::CHandle* locked = AddObject(QStringLiteral("Locked"), 1);
    scene->Desc(locked).linkDisabled = true;

    EXPECT_TRUE(section->CanLink({}));
    EXPECT_TRUE(section->CanLink({box, prop}));
    EXPECT_FALSE(section->CanLink({locked}));
    EXPECT_FALSE(section->CanLink({box, locked, prop}));

    // The first refused object ends the test: nothing after it is asked about.
    scene->ClearJournal();
    EXPECT_FALSE(section->CanLink({box, light, prop}));
    EXPECT_EQ(
        scene->JournalLines({QStringLiteral("GetObjectType"), QStringLiteral("IsLinkDisabled")}),
        (QStringList{QStringLiteral("GetObjectType(Box) -> 0"),
                     QStringLiteral("IsLinkDisabled(Box) -> 0"),
                     QStringLiteral("GetObjectType(Light) -> 0")}));
}

TEST_F(CanLink, AnObjectWhoseTypeCannotBeReadIsRefused)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    scene->InjectFault(QStringLiteral("GetObjectType"), UB::ToCode(0x80004005u));

    EXPECT_FALSE(section->CanLink({box}));

    scene->ClearFaults();
    scene->InjectFault(QStringLiteral("IsLinkDisabled"), UB::ToCode(0x80004005u));
    EXPECT_TRUE(section->CanLink({box})) << "a failed IsLinkDisabled reads as not disabled";
}

} // namespace
