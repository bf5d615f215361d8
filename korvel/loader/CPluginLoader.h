#pragma once

#include "host/UBTypes.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QVector>

#include <memory>
#include <utility>

class QAction;
class QDockWidget;
class QMenu;
class QObject;
class QPluginLoader;
class QToolBar;
class QWidget;

namespace KV {

class CAbstractPlugin;
class CKorvelInterface;
class CSectionInterface;

/// One plug-in library as the host meets it. Load() makes the checks the host makes before it
/// runs any of the library's code (a Qt plug-in whose metadata names the host's plug-in
/// interface), loads it through QPluginLoader and takes its plug-in object; Initialize() starts
/// it from the folder it lies in, where its resource file lies too; Unload() lets it go. Every
/// failure leaves a Problem() that says what is wrong, with Qt's own reason where Qt gives one.
///
/// The library is loaded with QLibrary::PreventUnloadHint: Qt keeps function pointers into a
/// plug-in (its meta-types, its connections) that must never dangle, so unloading deletes the
/// plug-in object and leaves the code mapped.
class CPluginLoader
{
    Q_DECLARE_TR_FUNCTIONS(KV::CPluginLoader)

public:
    /// What the plug-in hands the host through its list queries.
    struct COffers
    {
        QList<CSectionInterface*> sections;
        QList<QMenu*> menus;
        QList<QToolBar*> toolBars;
        QList<QAction*> contextActions;
        QList<QDockWidget*> dockWidgets;
        QList<QWidget*> statusBarWidgets;
        /// Each query's name and code, in the order asked.
        QVector<std::pair<const char*, UB::Result>> answers;

        /// The code of the query of that name.
        UB::Result CodeOf(const char* query) const;
    };

    /// The interface id a library's metadata must name.
    static const QString kInterfaceId;

    explicit CPluginLoader(const QString& path);
    ~CPluginLoader();
    CPluginLoader(const CPluginLoader&) = delete;
    CPluginLoader& operator=(const CPluginLoader&) = delete;

    /// Returns false, with Problem() saying why, when the host could not take a plug-in object
    /// from the library: not a Qt plug-in (no file there, say), a plug-in of another interface,
    /// a library that does not load, no plug-in object or one without the interface.
    bool Load();
    /// Initialize(folder, setupString, host) on the loaded plug-in; `folder` is the one the
    /// library lies in unless given. A failure code leaves a Problem().
    UB::Result Initialize(CKorvelInterface* host, const QString& setupString,
                          const QString& folder = QString());
    /// The answers to the host's list queries.
    COffers Offers() const;
    /// Deletes the plug-in object, as the host's loader does when it lets the plug-in go.
    void Unload();

    QString Problem() const { return m_problem; }
    CAbstractPlugin* Plugin() const { return m_plugin; }
    /// The plug-in object as Qt's loader hands it out.
    QObject* Instance() const;
    bool IsLoaded() const;
    /// The path asked for, and the file Qt found for it.
    QString Path() const { return m_path; }
    QString FileName() const;
    /// The metadata Qt read from the file.
    QJsonObject MetaData() const;
    /// The folder the library lies in: the first text of Initialize.
    QString Folder() const;
    /// The resource file the plug-in registers from that folder, named after the library.
    QString ResourceFile() const;

private:
    QString Shown() const;

    QString m_path;
    std::unique_ptr<QPluginLoader> m_loader;
    CAbstractPlugin* m_plugin = nullptr;
    QString m_problem;
};

} // namespace KV
