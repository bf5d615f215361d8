#include "LinkageSectionTest.h"

#include <QDir>
#include <QResource>

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

UB::CHandle* LinkageSectionTest::AddObject(const QString& name, int type)
{
    KV::CNodeDesc desc;
    desc.name = name;
    desc.objectType = type;
    return scene->AddObject(desc);
}
