#include "ResourceSuite.h"

#include "CPluginLoader.h"

#include <QDir>

QString PluginModuleFile()
{
    return QDir(QStringLiteral(KV_PLUGIN_DIR)).filePath(QStringLiteral("libKVLinkageSection.so"));
}

QString PluginResourceFile()
{
    return KV::CPluginLoader(PluginModuleFile()).ResourceFile();
}
