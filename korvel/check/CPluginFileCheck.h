#pragma once

#include <QStringList>

namespace KV {

class CPluginLoader;

/// What the host may assume of a plug-in file beyond what its loader checks: the metadata of a
/// release build of Qt 5.15 naming the plug-in's class and nothing else, in the block the
/// library exports as much as in what Qt reads from it, and a fresh plug-in object that
/// answers as the host expects before Initialize.
class CPluginFileCheck
{
public:
    static void CheckMetaData(const CPluginLoader& plugin, QStringList* problems);
    /// `plugin` is loaded and not yet initialised.
    static void CheckFreshInstance(const CPluginLoader& plugin, QStringList* problems);
};

} // namespace KV
