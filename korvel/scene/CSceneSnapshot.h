#pragma once

#include <QByteArray>
#include <QString>

namespace KV {

/// The whole state of a scene as a user could tell it apart: the scene file it would save
/// (nodes, keys, selection, camera, current time) and its undo history.
struct CSceneSnapshot
{
    QByteArray file;
    int undoCount = 0;
    int undoIndex = 0;
    bool modified = false;

    bool operator==(const CSceneSnapshot& other) const;
    bool operator!=(const CSceneSnapshot& other) const { return !(*this == other); }
};

/// Where two snapshots differ, for a failure message: the first differing lines of the files,
/// or the undo state. Empty when they are equal.
QString DescribeDifference(const CSceneSnapshot& before, const CSceneSnapshot& after);

} // namespace KV
