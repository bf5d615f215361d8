#pragma once

#include <QString>

class QTreeWidget;

namespace KV {
class CSceneModel;
}
namespace UB {
class CHandle;
}

/// Adds the objects of an indented drawing to `scene`: one node per line, two spaces per
/// level, "<empty>" for a node without a name. Returns the first object of the drawing.
UB::CHandle* AddSketch(KV::CSceneModel& scene, const QString& drawing);

/// The tree drawn the same way: two spaces per level, the item's text, then the states that
/// differ from a freshly built tree: " [hidden]", " [collapsed]", " [selected]".
QString DrawTree(QTreeWidget* tree);
