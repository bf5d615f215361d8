#pragma once

#include "CHostWindow.h"
#include "host/KVKorvelInterface.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace KV {

class CBaseEvent;
class CHostQueries;
class CSceneModel;

/// The states the commands and the Linkage section must show, worked out from the host's
/// state by the rules that decide which commands are on and what the section shows, and
/// compared with the real widgets.
///
/// The rules say what each host event changes and leave everything else as it was, so the
/// oracle follows the events: it listens on the host's event sender with one hook that runs
/// before the plug-in's handlers and one that runs after them, and applies, after each event,
/// what the plug-in's and the section's handlers must have done. It reads the host through
/// the host interface (CHostQueries), so an injected failure reaches it as it reaches the
/// plug-in.
class CWidgetOracle
{
public:
    CWidgetOracle(CSceneModel& scene, CHostQueries& queries);

    /// Hooks that run before the plug-in's handlers; call before Initialize.
    void ConnectFirst();
    /// Takes the states the layouts give the widgets as the starting ones (Initialize changes
    /// only the link commands and qtEscHotkey) and connects the hooks that run after the
    /// plug-in's handlers.
    void Attach(const CPluginWidgets& widgets);

    /// One line per widget whose state differs from the expected one.
    QStringList Compare() const;
    /// Rule breaches seen while events were handled (an EndPickMode missing, say).
    QStringList TakeProblems();

    // Effects of the section's commands that come without a host event.
    void CommandPickParentRan();
    void CommandEscRan();
    void CommandLinkToCameraRan(const QString& cameraName);

    /// The expected value of a state by its key ("qtUnlink enabled"), or an invalid QVariant.
    QVariant Expected(const QString& key) const { return m_expected.value(key); }
    /// The real value of a state by its key.
    QVariant Actual(const QString& key) const;

private:
    struct CProbe
    {
        QString key;
        std::function<QVariant()> read;
    };

    void AddProbes();
    void Set(const QString& key, const QVariant& value, const QString& reason);

    // The section's refresh and handlers.
    void SectionUpdate();
    void SectionSinglePick(UB::CHandle* object);
    void SectionMultiPick(const HandleList& objects);
    QString CommonParentName(const HandleList& objects);
    void SectionPickedModeChanged();

    // The plug-in's refresh and handlers.
    void PluginUpdate();
    void PluginSinglePick(UB::CHandle* object);
    void PluginMultiPick(const HandleList& objects);
    void PluginOff(const QString& reason);
    void EnableMenu(bool enabled, const QString& reason);
    void PluginPlayStop();

    void BeforeSelectionChanged();
    void AfterSelectionChanged();
    static bool IsLinkEvent(const CBaseEvent* event);
    QString Describe(UB::CHandle* object);

    CSceneModel& m_scene;
    CHostQueries& m_queries;
    CPluginWidgets m_widgets;
    QVector<CProbe> m_probes;
    QMap<QString, QVariant> m_expected;
    QMap<QString, QString> m_reasons;
    QStringList m_problems;

    struct CSelectionMark
    {
        int pickMode = 0;
        int journalSize = 0;
    };
    QVector<CSelectionMark> m_selectionMarks;
};

} // namespace KV
