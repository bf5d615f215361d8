#pragma once

#include <QStringList>

namespace KV {
class CSceneModel;
}

/// The names of the host calls in the scene's journal, in the order they were made: those
/// named in `calls`, or all of them when it is empty.
QStringList JournalCalls(const KV::CSceneModel& scene, const QStringList& calls = {});
