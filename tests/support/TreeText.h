#pragma once

#include <QString>

class QTreeWidget;

/// What the tree shows, one item a line in pre-order, two spaces per level, then, with
/// `states`, what differs from a freshly built tree: " [hidden]", " [collapsed]" (only an
/// item with children shows it), " [selected]".
QString DrawTree(QTreeWidget* tree, bool states = true);
