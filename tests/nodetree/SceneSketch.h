#pragma once

#include "support/TreeText.h"

#include <QString>

namespace KV {
class CSceneModel;
}
namespace UB {
class CHandle;
}

/// Adds the objects of an indented drawing to `scene`: one node per line, two spaces per
/// level, "<empty>" for a node without a name, optionally followed by attributes in brackets:
/// "type=N", "kind=N", "unlinkable", "excluded". Returns the first object of the drawing.
UB::CHandle* AddSketch(KV::CSceneModel& scene, const QString& drawing);

/// Adds an object "<prefix>_0" with a chain of nodes "<prefix>_1" … below it, `depth` in all;
/// returns the object.
UB::CHandle* AddChain(KV::CSceneModel& scene, int depth, const QString& prefix);
