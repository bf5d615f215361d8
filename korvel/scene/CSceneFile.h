#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace KV {

class CSceneState;

/// The JSON scene file: a flat list of nodes with ids, parent and owner references, link and
/// transform keys, plus the selection, camera, current time and standard node names. The
/// format is described in docs/scene-format.md.
class CSceneFile
{
public:
    static QByteArray Write(const CSceneState& state);
    /// A complete new state, or null with `error` set to "<source>: <object>: <problem>".
    static std::unique_ptr<CSceneState> Read(const QByteArray& json, const QString& sourceName,
                                             QString* error);
};

} // namespace KV
