#include "LinkageSectionTest.h"

#include <QTest>

void LinkageSectionTest::SetUp()
{
    SceneHostTest::SetUp();
    section = new KV::CLinkageSection(&window);
}

UB::Result LinkageSectionTest::Initialize()
{
    return section->Initialize(QStringLiteral(KV_PLUGIN_DIR), QStringLiteral("sandbox-theme"),
                               scene.get());
}

void LinkageSectionTest::ShowInHostWindow()
{
    window.setCentralWidget(section);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}
