#include "LinkageSectionTest.h"

#include <QDir>
#include <QResource>
#include <QTest>

namespace {

QString ResourceFile()
{
    return QDir(QStringLiteral(KV_PLUGIN_DIR)).filePath(QStringLiteral("KVLinkageSection.rcc"));
}

} // namespace

void LinkageSectionTest::SetUpTestSuite()
{
    ASSERT_TRUE(QResource::registerResource(ResourceFile()));
}

void LinkageSectionTest::TearDownTestSuite()
{
    QResource::unregisterResource(ResourceFile());
}

void LinkageSectionTest::SetUp()
{
    scene = std::make_unique<KV::CSceneModel>();
    scene->SetMainWindow(&window);
    section = new KV::CLinkageSection(&window);
}

void LinkageSectionTest::TearDown()
{
    // The host's event sender goes before the window that holds the section.
    scene.reset();
}

UB::Result LinkageSectionTest::Initialize()
{
    return section->Initialize(QStringLiteral(KV_PLUGIN_DIR), QStringLiteral("sandbox-theme"),
                               scene.get());
}

UB::CHandle* LinkageSectionTest::AddObject(const QString& name, int type, UB::CHandle* linkParent)
{
    KV::CNodeDesc desc;
    desc.name = name;
    desc.objectType = type;
    UB::CHandle* object = scene->AddObject(desc);
    if (linkParent != nullptr)
        scene->SetLinkKey(object, 0, linkParent);
    return object;
}

void LinkageSectionTest::ShowInHostWindow()
{
    window.setCentralWidget(section);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}
