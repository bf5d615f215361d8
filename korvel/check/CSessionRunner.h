#pragma once

#include "host/KVKorvelInterface.h"

#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace KV {

class CCheckReport;
class CDialogDriver;
class CHostQueries;
class CHostWindow;
class CMessageWatch;
class CPluginLoader;
class CSceneGenerator;
class CWidgetOracle;

/// One seeded random session: a fresh host window and scene, the plug-in loaded and started
/// as the host does, then a run of host events and user actions drawn from the seed, with the
/// widget states, the host's calls and the messages checked after every event. The session
/// ends at its first failure, which is reported with the seed and the event number that
/// reproduce it; the plug-in object is unloaded at the end.
class CSessionRunner
{
public:
    struct CSettings
    {
        int events = 100;
        bool watchTreeModel = false;
        bool scribbleFaults = false;
        /// The report's area for failures ("session", "load cycle").
        QString area = QStringLiteral("session");
        /// Start-up problems already reported by an earlier session; each is reported once.
        QSet<QString>* reportedOnce = nullptr;
        bool trace = false;
    };

    CSessionRunner(CPluginLoader& plugin, std::uint32_t seed, const CSettings& settings,
                   CCheckReport& report);
    ~CSessionRunner();
    CSessionRunner(const CSessionRunner&) = delete;
    CSessionRunner& operator=(const CSessionRunner&) = delete;

    /// Returns whether the session passed.
    bool Run();
    int EventsRun() const { return m_event; }

private:
    struct CEvent
    {
        int weight;
        std::function<bool()> possible;
        std::function<void(QStringList*)> run;
    };

    bool RunStarted();
    void AddEvents();
    void Begin(const QString& description);
    bool Check(QStringList problems);
    void Fail(const QString& text);

    // Host events.
    void Select(QStringList* problems, int kind);
    void HostLink(QStringList* problems, bool unlink);
    void HostPick(QStringList* problems);
    void DeleteNodes(QStringList* problems);
    void AddObject(QStringList* problems);
    void ChangeTime(QStringList* problems);
    void PlayOrStop(QStringList* problems);
    void ChangePickMode(QStringList* problems);
    void ChangeDialogMode(QStringList* problems);
    void LoadFile(QStringList* problems);
    void SendDataEvent(QStringList* problems);
    void DriftHostState(QStringList* problems);
    void UndoOrRedo(QStringList* problems);
    void InjectOrClearFault(QStringList* problems);

    // User actions.
    void PickParent(QStringList* problems, const QString& how, const std::function<void()>& act,
                    bool runs);
    void Unlink(QStringList* problems, const QString& how, const std::function<void()>& act,
                bool runs);
    void LinkToCamera(QStringList* problems, const QString& how, const std::function<void()>& act,
                      bool runs);
    void LinkToSubNode(QStringList* problems);
    void UseSplitMenu(QStringList* problems);
    void SectionHotkey(QStringList* problems);
    void EscHotkey(QStringList* problems);

    UB::CHandle* RandomObject(bool linkableBias);
    UB::CHandle* RandomNode();
    bool Chance(int percent);
    int Bounded(int bound);

    CPluginLoader& m_plugin;
    const std::uint32_t m_seed;
    const CSettings m_settings;
    CCheckReport& m_report;
    QRandomGenerator m_random;

    std::unique_ptr<CMessageWatch> m_watch;
    std::unique_ptr<CHostWindow> m_host;
    std::unique_ptr<CHostQueries> m_queries;
    std::unique_ptr<CSceneGenerator> m_generator;
    std::unique_ptr<CWidgetOracle> m_oracle;
    std::unique_ptr<CDialogDriver> m_dialog;

    QVector<CEvent> m_events;
    QSet<QString> m_faults;
    int m_event = 0;
    QString m_description;
    bool m_failed = false;
    QStringList m_sectionShowRequests;
};

} // namespace KV
