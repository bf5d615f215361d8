#include "SceneHostTest.h"

void SceneHostTest::SetUp()
{
    scene = std::make_unique<KV::CSceneModel>();
    scene->SetMainWindow(&window);
}

void SceneHostTest::TearDown()
{
    scene.reset();
}

UB::CHandle* SceneHostTest::AddObject(const QString& name, int type, UB::CHandle* linkParent)
{
    UB::CHandle* object = scene->AddObject({name, type});
    if (linkParent != nullptr)
        scene->SetLinkKey(object, 0, linkParent);
    return object;
}
