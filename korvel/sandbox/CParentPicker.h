#pragma once

#include "host/UBTypes.h"

#include <QObject>
#include <QString>
#include <QVector>

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;

/// What the host does in its pick-parent mode (pick mode 2): a picked object or node becomes the
/// link parent of the selection, each selected object keeping its place in the world, as one
/// committed, undoable edit. A refused link leaves the mode on and says why.
class CParentPicker : public QObject
{
    Q_OBJECT
public:
    explicit CParentPicker(CSceneModel* scene, QObject* parent = nullptr);

    /// Links the selection to `target` while the pick-parent mode is on; does nothing otherwise.
    void Pick(UB::CHandle* target);
    /// Leaves the pick-parent mode without linking.
    void Cancel();

signals:
    void Message(const QString& text);
    /// The pick did not link; says why.
    void Problem(const QString& text);

private:
    QString RefusalReason(const QVector<UB::CHandle*>& objects, UB::CHandle* target,
                          const UB::Result& result) const;
    QString Names(const QVector<UB::CHandle*>& nodes) const;

    CSceneModel* m_scene;
};

} // namespace KV
