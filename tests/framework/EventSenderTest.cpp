#include "host/KVEventSender.h"
#include "sdk/CDestoryWatchableObject.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

namespace {

// Handles the tests can point at; the sender only carries them.
struct Scene
{
    UB::CDestoryWatchableObject box;
    UB::CDestoryWatchableObject camera;
    UB::CArrayList<UB::CHandle*> objects{&box, &camera};
};

} // namespace

TEST(EventSender, EverySignalCarriesItsArgumentsToASpy)
{
    KV::CEventSender sender;
    Scene scene;
    KV::CLinkEvent linkEvent;

    QSignalSpy picked(&sender, &KV::CEventSender::PickedModeChanged);
    QSignalSpy loaded(&sender, &KV::CEventSender::FileLoaded);
    QSignalSpy selection(&sender, &KV::CEventSender::ObjectSelectionChanged);
    QSignalSpy deleted(&sender, &KV::CEventSender::ObjectDeleted);
    QSignalSpy dialogMode(&sender, &KV::CEventSender::DialogModeChanged);
    QSignalSpy hierarchy(&sender, &KV::CEventSender::HierarchyChanged);
    QSignalSpy dataChanged(&sender, &KV::CEventSender::ObjectDataChanged);
    QSignalSpy dataChanged2(&sender, &KV::CEventSender::ObjectDataChanged2);
    QSignalSpy time(&sender, &KV::CEventSender::CurrentTimeChanged);
    QSignalSpy played(&sender, &KV::CEventSender::Played);
    QSignalSpy stopped(&sender, &KV::CEventSender::Stopped);
    for (QSignalSpy* spy : {&picked, &loaded, &selection, &deleted, &dialogMode, &hierarchy,
                            &dataChanged, &dataChanged2, &time, &played, &stopped})
        ASSERT_TRUE(spy->isValid());

    emit sender.PickedModeChanged(KV::ePickParent, KV::ePickNone);
    emit sender.FileLoaded(KV::eFileMerge);
    emit sender.ObjectSelectionChanged();
    emit sender.ObjectDeleted(scene.objects);
    emit sender.DialogModeChanged(KV::eDialogModal);
    emit sender.HierarchyChanged();
    emit sender.ObjectDataChanged(scene.objects, KV::eChangedLink);
    emit sender.ObjectDataChanged2(&linkEvent);
    emit sender.CurrentTimeChanged(4800);
    emit sender.Played();
    emit sender.Stopped();

    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].value<KV::EPickMode>(), KV::ePickParent);
    EXPECT_EQ(picked[0][1].value<KV::EPickMode>(), KV::ePickNone);
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(loaded[0][0].value<KV::EFileType>(), KV::eFileMerge);
    EXPECT_EQ(selection.count(), 1);
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted[0][0].value<UB::CArrayList<UB::CHandle*>>(), scene.objects);
    ASSERT_EQ(dialogMode.count(), 1);
    EXPECT_EQ(dialogMode[0][0].value<KV::EDialogMode>(), KV::eDialogModal);
    EXPECT_EQ(hierarchy.count(), 1);
    ASSERT_EQ(dataChanged.count(), 1);
    EXPECT_EQ(dataChanged[0][0].value<UB::CArrayList<UB::CHandle*>>(), scene.objects);
    EXPECT_EQ(dataChanged[0][1].value<KV::EObjectChangedDataType>(), KV::eChangedLink);
    ASSERT_EQ(dataChanged2.count(), 1);
    KV::CBaseEvent* event = dataChanged2[0][0].value<KV::CBaseEvent*>();
    EXPECT_EQ(event, &linkEvent);
    ASSERT_EQ(time.count(), 1);
    EXPECT_EQ(time[0][0].value<UBTime>(), 4800);
    EXPECT_EQ(played.count(), 1);
    EXPECT_EQ(stopped.count(), 1);
}

TEST(EventSender, QueuedConnectionsDeliverHandleListsIntact)
{
    KV::CEventSender sender;
    Scene scene;
    QObject receiver;
    UB::CArrayList<UB::CHandle*> received;
    KV::EObjectChangedDataType receivedType{};
    UB::CHandle* firstDeleted = nullptr;
    QObject::connect(
        &sender, &KV::CEventSender::ObjectDataChanged, &receiver,
        [&](UB::CArrayList<UB::CHandle*> objects, KV::EObjectChangedDataType type) {
            received = objects;
            receivedType = type;
        },
        Qt::QueuedConnection);
    QObject::connect(
        &sender, &KV::CEventSender::ObjectDeleted, &receiver,
        [&](UB::CArrayList<UB::CHandle*> objects) { firstDeleted = objects[0]; },
        Qt::QueuedConnection);

    emit sender.ObjectDataChanged(scene.objects, KV::eChangedTransform);
    emit sender.ObjectDeleted(UB::CArrayList<UB::CHandle*>{&scene.camera});
    EXPECT_TRUE(received.IsEmpty()); // nothing before the event loop runs
    QCoreApplication::processEvents();

    EXPECT_EQ(received, scene.objects);
    EXPECT_EQ(receivedType, KV::eChangedTransform);
    EXPECT_EQ(firstDeleted, &scene.camera);
}
