#pragma once

#include "host/UBTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QObject;
class QPluginLoader;

namespace KV {

class CAbstractPlugin;

/// A plug-in library as the host meets it: a file that must be a Qt plug-in offering the
/// host's plug-in interface, with its resource file beside it. Loads it through QPluginLoader
/// exactly as the host does and gets its plug-in object.
///
/// The library is loaded with QLibrary::PreventUnloadHint, as the host loads it: Qt keeps
/// function pointers into a plug-in (its meta-types, its connections) that must never dangle,
/// so unloading deletes the plug-in object and leaves the code mapped.
class CPluginFile
{
public:
    static const QString kResourceFileName;
    static const QString kInterfaceId;
    static const QString kClassName;

    explicit CPluginFile(const QString& path);
    ~CPluginFile();
    CPluginFile(const CPluginFile&) = delete;
    CPluginFile& operator=(const CPluginFile&) = delete;

    /// Loads the library and takes its plug-in object. Returns false, with Problem() saying
    /// what is wrong with the file, when the host could not start it: no such file, not a Qt
    /// plug-in, a plug-in of another interface, no plug-in object.
    bool Load();
    QString Problem() const { return m_problem; }
    CAbstractPlugin* Plugin() const { return m_plugin; }
    QObject* Instance() const;
    /// The folder the library lies in: the first text of Initialize.
    QString Folder() const;
    QString Path() const { return m_path; }
    bool HasResourceFile() const;

    /// The metadata that QPluginLoader reads and the raw metadata block the library exports.
    void CheckMetaData(QStringList* problems) const;
    /// What the host may assume of a freshly loaded plug-in object, before Initialize.
    void CheckFreshInstance(QStringList* problems) const;

    /// Deletes the plug-in object, as the host's loader does when it lets the plug-in go.
    void Unload();

private:
    template<typename T>
    void CheckEmptyList(UB::Result (CAbstractPlugin::*query)(QList<T*>&), const char* name,
                        QStringList* problems) const;

    QString m_path;
    std::unique_ptr<QPluginLoader> m_loader;
    CAbstractPlugin* m_plugin = nullptr;
    QString m_problem;
};

} // namespace KV
