#include "host/KVEventSender.h"
#include "sdk/CDestoryWatchableObject.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

// A host that posts its events: the handle lists and change types must cross the event queue
// intact, which needs their types known to Qt's meta-type system.
TEST(EventSender, QueuedConnectionsDeliverHandleListsIntact)
{
    KV::CEventSender sender;
    UB::CDestoryWatchableObject box;
    UB::CDestoryWatchableObject camera;
    const UB::CArrayList<UB::CHandle*> objects{&box, &camera};
    QObject receiver;
    UB::CArrayList<UB::CHandle*> received;
    KV::EObjectChangedDataType receivedType{};
    UB::CHandle* firstDeleted = nullptr;
    QObject::connect(
        &sender, &KV::CEventSender::ObjectDataChanged, &receiver,
        [&](UB::CArrayList<UB::CHandle*> list, KV::EObjectChangedDataType type) {
            received = list;
            receivedType = type;
        },
        Qt::QueuedConnection);
    QObject::connect(
        &sender, &KV::CEventSender::ObjectDeleted, &receiver,
        [&](UB::CArrayList<UB::CHandle*> list) { firstDeleted = list[0]; }, Qt::QueuedConnection);

    emit sender.ObjectDataChanged(objects, KV::eChangedTransform);
    emit sender.ObjectDeleted(UB::CArrayList<UB::CHandle*>{&camera});
    EXPECT_TRUE(received.IsEmpty()); // nothing before the event loop runs
    QCoreApplication::processEvents();

    EXPECT_EQ(received, objects);
    EXPECT_EQ(receivedType, KV::eChangedTransform);
    EXPECT_EQ(firstDeleted, &camera);
}
