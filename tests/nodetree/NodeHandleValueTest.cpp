#include "KVSceneModel.h"
#include "nodetree/CNodeHandleValue.h"

#include <gtest/gtest.h>

#include <QString>
#include <QVariant>

using KV::CNodeHandleValue;

TEST(NodeHandleValueTest, IsAnEightByteMovableTypeRegisteredOnceAsUbHandle)
{
    const int id = CNodeHandleValue::MetaTypeId();

    EXPECT_EQ(QMetaType::type("UBHANDLE"), id);
    EXPECT_STREQ(QMetaType::typeName(id), "UBHANDLE");
    EXPECT_EQ(QMetaType::sizeOf(id), 8);
    EXPECT_TRUE(QMetaType::typeFlags(id) & QMetaType::MovableType);
    EXPECT_EQ(CNodeHandleValue::MetaTypeId(), id);
    EXPECT_EQ(qMetaTypeId<CNodeHandleValue>(), id);
    // The event sender's plain pointer type stays a type of its own.
    EXPECT_NE(qMetaTypeId<UB::CHandle*>(), id);
}

TEST(NodeHandleValueTest, ReadsItsOwnValueConvertsAPlainHandleAndRefusesTheRest)
{
    KV::CSceneModel scene;
    UB::CHandle* node = scene.AddObject(KV::CNodeDesc{QStringLiteral("Rig")});

    const QVariant own = CNodeHandleValue::ToVariant(node);
    EXPECT_EQ(own.userType(), CNodeHandleValue::MetaTypeId());
    EXPECT_EQ(CNodeHandleValue::FromVariant(own), node);
    EXPECT_EQ(CNodeHandleValue::FromVariant(QVariant::fromValue<UB::CHandle*>(node)), node);

    EXPECT_EQ(CNodeHandleValue::FromVariant(QVariant()), nullptr);
    EXPECT_EQ(CNodeHandleValue::FromVariant(QVariant(QStringLiteral("Rig"))), nullptr);
    EXPECT_EQ(CNodeHandleValue::FromVariant(QVariant(42)), nullptr);
}
