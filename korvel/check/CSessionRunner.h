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
    /// One kind of event a session draws: how often, when it can happen at all, what it does.
    struct CEventKind
    {
        int weight;
        /// Null: always possible.
        bool (CSessionRunner::*possible)() const;
        void (CSessionRunner::*run)();
    };
    static const CEventKind kEventKinds[];

    bool RunStarted();
    const CEventKind& DrawEvent();
    void Begin(const QString& description);
    /// A problem found by the current event.
    void Problem(const QString& text) { m_problems.append(text); }
    bool Check(QStringList problems);
    void Fail(const QString& text);

    UB::CHandle* RandomObject(bool linkableBias);
    UB::CHandle* RandomNode();
    bool Chance(int percent);
    int Bounded(int bound);

    // When an event can happen.
    bool IsPickingParent() const;
    bool HasObjectsToDelete() const;
    /// The control (a pointer to a member of CPluginWidgets) is on screen.
    template<auto control>
    bool IsShown() const;
    /// The control is on screen and enabled, or with `enabled` false on screen and disabled.
    template<auto control, bool enabled = true>
    bool IsOffered() const;
    /// The action is shown where the user finds it, and enabled.
    template<auto action>
    bool IsReachable() const;
    /// The hot key's action is enabled.
    template<auto action>
    bool IsEnabled() const;

    // Host events (CSessionRunnerHostEvents.cpp).
    void SelectOneObject();
    void SelectSeveralObjects();
    void SelectNothing();
    void SelectInnerNodes();
    void SelectLinkedObject();
    void Select(const QVector<UB::CHandle*>& selection);
    void HostLinks();
    void HostUnlinks();
    void HostPicksParent();
    void HostDeletesNode();
    void HostAddsObject();
    void TimeChanges();
    void PlaybackStartsOrStops();
    void PickModeChanges();
    void DialogModeChanges();
    void FileEvent();
    void DataEvent();
    void HostStateDrifts();
    void UndoOrRedo();
    void FaultsChange();

    // User actions. Click and Trigger give `command` through a button or an action, a pointer
    // to a member of CPluginWidgets; the others are in CSessionRunnerUserActions.cpp.
    template<auto button, auto command>
    void Click();
    template<auto action, auto command>
    void Trigger();
    void ClickSplitButton();
    void ClickLinkSubNode();
    void ChooseFromSplitMenu();
    void PressSectionHotkey();
    void PressEscHotkey();

    // What the three section commands must do, however the user gave them.
    void PickParent(const QString& how, const std::function<void()>& act, bool runs);
    void Unlink(const QString& how, const std::function<void()>& act, bool runs);
    void LinkToCamera(const QString& how, const std::function<void()>& act, bool runs);

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

    QSet<QString> m_faults;
    int m_event = 0;
    QString m_description;
    QStringList m_problems;
    bool m_failed = false;
    QStringList m_sectionShowRequests;
};

} // namespace KV
