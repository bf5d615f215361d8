#pragma once

#include "host/KVEnums.h"
#include "host/KVEvents.h"
#include "host/KVPluginQtGlobal.h"
#include "host/UBTypes.h"
#include "sdk/UBHandle.h"

#include <QMetaType>
#include <QObject>

Q_DECLARE_METATYPE(KV::EPickMode)
Q_DECLARE_METATYPE(KV::EDialogMode)
Q_DECLARE_METATYPE(KV::EFileType)
Q_DECLARE_METATYPE(KV::EObjectChangedDataType)
Q_DECLARE_METATYPE(UB::CHandle*)
Q_DECLARE_METATYPE(UB::CArrayList<UB::CHandle*>)
Q_DECLARE_METATYPE(KV::CBaseEvent*)

namespace KV {

/// The host's event sender: every scene change the plug-in listens to arrives through one of
/// these signals, emitted on the GUI thread.
class KVPLUGINQT_EXPORT CEventSender : public QObject
{
    Q_OBJECT
public:
    explicit CEventSender(QObject* parent = nullptr);
    ~CEventSender() override;

    /// Registers the signals' argument types with Qt's meta-type system, so that queued
    /// connections and QSignalSpy can carry them. Safe to call more than once.
    static void RegisterMetaTypes();

signals:
    void PickedModeChanged(KV::EPickMode newMode, KV::EPickMode oldMode);
    void FileLoaded(KV::EFileType type);
    void ObjectSelectionChanged();
    void ObjectDeleted(UB::CArrayList<UB::CHandle*> objects);
    void DialogModeChanged(KV::EDialogMode mode);
    void HierarchyChanged();
    void ObjectDataChanged(UB::CArrayList<UB::CHandle*> objects, KV::EObjectChangedDataType type);
    void ObjectDataChanged2(KV::CBaseEvent* event);
    void CurrentTimeChanged(UBTime time);
    void Played();
    void Stopped();
};

} // namespace KV
