#include "CWidgetOracle.h"

#include "CHostQueries.h"
#include "KVSceneModel.h"
#include "host/KVEventSender.h"
#include "host/KVEvents.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace KV {

namespace {

// ---- State keys ---------------------------------------------------------------------------------

const QString kSectionShown = QStringLiteral("the section's shown state");
const QString kSectionEnabled = QStringLiteral("the section's own enabled state");
const QString kGroupBoxEnabled = QStringLiteral("qtSectionGroupBox enabled");
const QString kLabelName = QStringLiteral("the object name of label_512");
const QString kText = QStringLiteral("qtLinkNodeText text");
const QString kTextEnabled = QStringLiteral("qtLinkNodeText enabled");
const QString kPickEnabled = QStringLiteral("qtPickParent enabled");
const QString kUnlinkEnabled = QStringLiteral("qtUnlink enabled");
const QString kCameraVisible = QStringLiteral("qtLinkCameraPushButton shown");
const QString kCameraEnabled = QStringLiteral("qtLinkCameraPushButton enabled");
const QString kSubNodeEnabled = QStringLiteral("qtLinkSubNode enabled");
const QString kEscEnabled = QStringLiteral("qtEscHotkey enabled");
const QString kSplitEnabled = QStringLiteral("the split link button enabled");
const QString kLinkEnabled = QStringLiteral("qtLinkAction enabled");
const QString kUnlinkActionEnabled = QStringLiteral("qtUnlinkAction enabled");
const QString kLinkToVisible = QStringLiteral("qtCLinkToAction shown");
const QString kLinkToCameraVisible = QStringLiteral("qtCLinkToCameraAction shown");
const QString kContextUnlinkVisible = QStringLiteral("qtCUnlinkAction shown");

const QString kLabelKeyed = QStringLiteral("label_512");
const QString kLabelNoKey = QStringLiteral("label_512NoKey");

bool ExplicitlyEnabled(const QWidget* widget)
{
    // The rules set each widget's own state; whether an ancestor is disabled is another rule's.
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

QString MenuActionKey(const QAction* action)
{
    const QString name = action->objectName().isEmpty() ? action->text() : action->objectName();
    return QStringLiteral("qtLinkMenu's action \"%1\" enabled").arg(name);
}

QString Shown(const QVariant& value)
{
    if (value.type() == QVariant::Bool)
        return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    return QLatin1Char('"') + value.toString() + QLatin1Char('"');
}

bool IsBlockingPickMode(int mode)
{
    return mode == 19 || mode == 37;
}

bool DisablesSection(int mode)
{
    return mode == 11 || mode == 19 || mode == 22 || mode == 23 || mode == 37;
}

} // namespace

CWidgetOracle::CWidgetOracle(CSceneModel& scene, CHostQueries& queries)
    : m_scene(scene)
    , m_queries(queries)
{}

// ---- Hooks --------------------------------------------------------------------------------------

void CWidgetOracle::ConnectFirst()
{
    CEventSender* sender = m_scene.EventSender();
    QObject::connect(sender, &CEventSender::ObjectSelectionChanged, sender,
                     [this] { BeforeSelectionChanged(); });
}

void CWidgetOracle::Attach(const CPluginWidgets& widgets)
{
    m_widgets = widgets;
    AddProbes();
    for (const CProbe& probe : qAsConst(m_probes))
        Set(probe.key, probe.read(), QStringLiteral("as the layout left it"));
    EnableMenu(false, QStringLiteral("Initialize leaves the link commands off"));
    Set(kEscEnabled, false, QStringLiteral("Initialize disables qtEscHotkey"));

    CEventSender* sender = m_scene.EventSender();
    QObject::connect(sender, &CEventSender::PickedModeChanged, sender,
                     [this](EPickMode, EPickMode) {
                         SectionPickedModeChanged();
                         PluginUpdate();
                     });
    QObject::connect(sender, &CEventSender::FileLoaded, sender, [this](EFileType type) {
        if (type != 0)
            return;
        SectionUpdate();
        PluginUpdate();
    });
    QObject::connect(sender, &CEventSender::ObjectSelectionChanged, sender,
                     [this] { AfterSelectionChanged(); });
    QObject::connect(sender, &CEventSender::ObjectDeleted, sender, [this](const HandleList&) {
        SectionUpdate();
        PluginUpdate();
    });
    QObject::connect(sender, &CEventSender::DialogModeChanged, sender, [this](EDialogMode mode) {
        if (mode == 0)
            PluginUpdate();
        else
            PluginOff(QStringLiteral("dialog mode %1 turns the commands off").arg(mode));
    });
    QObject::connect(sender, &CEventSender::HierarchyChanged, sender, [this] {
        SectionUpdate();
        PluginUpdate();
    });
    QObject::connect(sender, &CEventSender::ObjectDataChanged, sender,
                     [this](const HandleList&, EObjectChangedDataType type) {
                         if ((type & 2) != 0)
                             PluginUpdate();
                     });
    QObject::connect(sender, &CEventSender::ObjectDataChanged2, sender, [this](CBaseEvent* event) {
        if (!IsLinkEvent(event))
            return;
        SectionUpdate();
        PluginUpdate();
    });
    QObject::connect(sender, &CEventSender::CurrentTimeChanged, sender, [this](UBTime) {
        SectionUpdate();
        PluginUpdate();
    });
    QObject::connect(sender, &CEventSender::Played, sender, [this] { PluginPlayStop(); });
    QObject::connect(sender, &CEventSender::Stopped, sender, [this] { PluginPlayStop(); });
}

void CWidgetOracle::BeforeSelectionChanged()
{
    m_selectionMarks.append({m_queries.PickMode(), m_scene.Journal().size()});
}

void CWidgetOracle::AfterSelectionChanged()
{
    const CSelectionMark mark =
        m_selectionMarks.isEmpty() ? CSelectionMark{} : m_selectionMarks.takeLast();
    int endCalls = 0;
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    for (int i = mark.journalSize; i < journal.size(); ++i) {
        if (journal.at(i).call == QLatin1String("EndPickMode"))
            ++endCalls;
    }
    const int expectedCalls = mark.pickMode == 2 ? 1 : 0;
    if (endCalls != expectedCalls)
        m_problems.append(QStringLiteral("the selection changed in pick mode %1 and the plug-in "
                                         "called EndPickMode %2 times; the rule is %3")
                              .arg(mark.pickMode)
                              .arg(endCalls)
                              .arg(expectedCalls));
    SectionUpdate();
    PluginUpdate();
}

bool CWidgetOracle::IsLinkEvent(const CBaseEvent* event)
{
    if (event == nullptr)
        return false;
    for (const CEventClassInfo* info = event->GetClassInfo(); info != nullptr;
         info = info->parent) {
        if (info->name == "CLinkEvent")
            return true;
    }
    return false;
}

// ---- The section's refresh ----------------------------------------------------------------------

void CWidgetOracle::SectionUpdate()
{
    if (m_queries.IsPlaying())
        return;
    Set(kGroupBoxEnabled, true, QStringLiteral("every refresh while stopped enables it"));
    HandleList selection;
    if (m_queries.Selection(selection).IsFailed())
        return;
    if (selection.IsEmpty()) {
        Set(kSectionShown, false, QStringLiteral("nothing selected"));
        return;
    }
    if (selection.GetCount() == 1)
        SectionSinglePick(selection[0]);
    else
        SectionMultiPick(selection);
}

void CWidgetOracle::SectionSinglePick(UB::CHandle* object)
{
    const QString what = Describe(object);
    if (!m_queries.CanLink(object)) {
        Set(kSectionShown, false, what + QStringLiteral(", not linkable"));
        return;
    }
    const int type = m_queries.ObjectType(object);
    Set(kCameraVisible, type == 41, what);
    Set(kLabelName, type == 14 || type == 15 ? kLabelNoKey : kLabelKeyed, what);
    Set(kSectionShown, true, what);
    if (m_queries.IsLinkBlocked(object) || m_queries.IsPlaying()) {
        const QString reason = what + QStringLiteral(", link blocked");
        Set(kText, QString(), reason);
        for (const QString& key :
             {kTextEnabled, kSubNodeEnabled, kCameraEnabled, kPickEnabled, kUnlinkEnabled})
            Set(key, false, reason);
        return;
    }
    Set(kPickEnabled, true, what);
    Set(kCameraEnabled, true, what);
    UB::CHandle* parent = nullptr;
    if (m_queries.LinkParent(object, m_queries.Now(), parent).IsFailed())
        return;
    const bool linked = parent != nullptr;
    const QString reason = linked ? what + QStringLiteral(" linked to %1").arg(Describe(parent))
                                  : what + QStringLiteral(" without link parent");
    Set(kTextEnabled, linked, reason);
    const bool subNode = linked && !m_queries.IsSubNodeLinkExcluded(parent) &&
                         m_queries.ObjectType(parent) != 18 && m_queries.ObjectType(parent) != 19;
    Set(kSubNodeEnabled, subNode, reason);
    Set(kUnlinkEnabled, linked, reason);
    Set(kText, linked ? m_queries.Name(parent) : QString(), reason);
}

void CWidgetOracle::SectionMultiPick(const HandleList& objects)
{
    for (UB::CHandle* object : objects) {
        if (!m_queries.CanLink(object)) {
            Set(kSectionShown, false,
                QStringLiteral("%1 objects, %2 not linkable")
                    .arg(objects.GetCount())
                    .arg(Describe(object)));
            return;
        }
    }
    const QString what = QStringLiteral("%1 linkable objects").arg(objects.GetCount());
    Set(kSectionShown, true, what);
    Set(kCameraVisible, false, what);
    const bool playing = m_queries.IsPlaying();
    const QString name = CommonParentName(objects);
    Set(kText, name, what);
    Set(kTextEnabled, !name.isEmpty(), what);
    Set(kSubNodeEnabled, false, what);
    Set(kPickEnabled, !playing, what);
    Set(kUnlinkEnabled, !playing, what);
}

QString CWidgetOracle::CommonParentName(const HandleList& objects)
{
    const UBTime now = m_queries.Now();
    QString name;
    for (UB::CHandle* object : objects) {
        UB::CHandle* parent = nullptr;
        m_queries.LinkParent(object, now, parent);
        if (parent == nullptr)
            return QString();
        const QString parentName = m_queries.Name(parent);
        if (name.isEmpty())
            name = parentName;
        else if (parentName != name)
            return QString();
    }
    return name;
}

void CWidgetOracle::SectionPickedModeChanged()
{
    const int mode = m_queries.PickMode();
    Set(kSectionEnabled, !DisablesSection(mode), QStringLiteral("pick mode %1").arg(mode));
}

// ---- The plug-in's refresh ----------------------------------------------------------------------

void CWidgetOracle::PluginUpdate()
{
    HandleList selection;
    if (m_queries.Selection(selection).IsFailed())
        return;
    if (selection.IsEmpty())
        PluginOff(QStringLiteral("nothing selected"));
    else if (selection.GetCount() == 1)
        PluginSinglePick(selection[0]);
    else
        PluginMultiPick(selection);
}

void CWidgetOracle::PluginSinglePick(UB::CHandle* object)
{
    const QString what = Describe(object);
    if (!m_queries.CanLink(object)) {
        PluginOff(what + QStringLiteral(", not linkable"));
        return;
    }
    if (m_queries.IsLinkBlocked(object)) {
        PluginOff(what + QStringLiteral(", link blocked"));
        return;
    }
    const int pickMode = m_queries.PickMode();
    const int dialogMode = m_queries.DialogMode();
    const bool playing = m_queries.IsPlaying();
    const bool allowed = !IsBlockingPickMode(pickMode) && dialogMode == 0 && !playing;
    const QString situation =
        QStringLiteral("%1, pick mode %2, dialog mode %3, %4")
            .arg(what)
            .arg(pickMode)
            .arg(dialogMode)
            .arg(playing ? QStringLiteral("playing") : QStringLiteral("stopped"));
    Set(kSplitEnabled, allowed, situation);
    Set(kLinkEnabled, allowed, situation);
    Set(kLinkToVisible, allowed, situation);
    Set(kLinkToCameraVisible, allowed && m_queries.ObjectType(object) == 41, situation);
    UB::CHandle* parent = nullptr;
    if (m_queries.LinkParent(object, m_queries.Now(), parent).IsFailed())
        return;
    const bool unlink = allowed && parent != nullptr;
    const QString reason = situation + (parent != nullptr ? QStringLiteral(", linked")
                                                          : QStringLiteral(", not linked"));
    Set(kUnlinkActionEnabled, unlink, reason);
    Set(kContextUnlinkVisible, unlink, reason);
}

void CWidgetOracle::PluginMultiPick(const HandleList& objects)
{
    for (UB::CHandle* object : objects) {
        if (!m_queries.CanLink(object)) {
            PluginOff(QStringLiteral("%1 objects, %2 not linkable")
                          .arg(objects.GetCount())
                          .arg(Describe(object)));
            return;
        }
    }
    const int pickMode = m_queries.PickMode();
    const int dialogMode = m_queries.DialogMode();
    const bool allowed = !IsBlockingPickMode(pickMode) && dialogMode != 9 && dialogMode != 67;
    const QString reason = QStringLiteral("%1 linkable objects, pick mode %2, dialog mode %3")
                               .arg(objects.GetCount())
                               .arg(pickMode)
                               .arg(dialogMode);
    Set(kLinkToVisible, allowed, reason);
    Set(kContextUnlinkVisible, allowed, reason);
    Set(kLinkToCameraVisible, false, reason);
    EnableMenu(allowed, reason);
}

void CWidgetOracle::PluginOff(const QString& reason)
{
    const QString why = reason + QStringLiteral(": commands off");
    EnableMenu(false, why);
    Set(kLinkToVisible, false, why);
    Set(kLinkToCameraVisible, false, why);
    Set(kContextUnlinkVisible, false, why);
}

void CWidgetOracle::EnableMenu(bool enabled, const QString& reason)
{
    // The split button and every action the link menu holds, switched together.
    Set(kSplitEnabled, enabled, reason);
    if (!m_widgets.linkMenu)
        return;
    for (QAction* action : m_widgets.linkMenu->actions()) {
        if (action == m_widgets.linkAction)
            Set(kLinkEnabled, enabled, reason);
        else if (action == m_widgets.unlinkAction)
            Set(kUnlinkActionEnabled, enabled, reason);
        else
            Set(MenuActionKey(action), enabled, reason);
    }
}

void CWidgetOracle::PluginPlayStop()
{
    const bool playing = m_queries.IsPlaying();
    Set(kGroupBoxEnabled, !playing,
        playing ? QStringLiteral("playback started") : QStringLiteral("playback stopped"));
    if (playing)
        PluginOff(QStringLiteral("playback running"));
    else
        PluginUpdate();
}

// ---- Commands -----------------------------------------------------------------------------------

void CWidgetOracle::CommandPickParentRan()
{
    Set(kEscEnabled, true, QStringLiteral("pick-parent mode entered"));
}

void CWidgetOracle::CommandEscRan()
{
    Set(kEscEnabled, false, QStringLiteral("Esc left the pick mode"));
}

void CWidgetOracle::CommandLinkToCameraRan(const QString& cameraName)
{
    const QString reason = QStringLiteral("linked to the camera");
    Set(kUnlinkEnabled, true, reason);
    Set(kText, cameraName, reason);
}

// ---- Comparing ----------------------------------------------------------------------------------

void CWidgetOracle::AddProbes()
{
    m_probes.clear();
    const CPluginWidgets w = m_widgets;
    const auto widgetEnabled = [](const QPointer<QWidget>& widget) {
        return [widget]() -> QVariant {
            return widget ? QVariant(ExplicitlyEnabled(widget)) : QVariant();
        };
    };
    const auto actionEnabled = [](const QPointer<QAction>& action) {
        return [action]() -> QVariant {
            return action ? QVariant(action->isEnabled()) : QVariant();
        };
    };
    const auto actionVisible = [](const QPointer<QAction>& action) {
        return [action]() -> QVariant {
            return action ? QVariant(action->isVisible()) : QVariant();
        };
    };
    const QPointer<QWidget> section = w.section;
    const QPointer<QWidget> camera = w.linkCamera.data();
    const QPointer<QLabel> label = w.label;
    const QPointer<QLineEdit> text = w.linkNodeText;
    m_probes = {
        {kSectionShown,
         [section]() -> QVariant {
             return section ? QVariant(!section->isHidden()) : QVariant();
         }},
        {kSectionEnabled, widgetEnabled(section)},
        {kGroupBoxEnabled, widgetEnabled(w.groupBox.data())},
        {kLabelName,
         [label]() -> QVariant {
             return label ? QVariant(label->objectName()) : QVariant();
         }},
        {kText,
         [text]() -> QVariant {
             return text ? QVariant(text->text()) : QVariant();
         }},
        {kTextEnabled, widgetEnabled(w.linkNodeText.data())},
        {kPickEnabled, widgetEnabled(w.pickParent.data())},
        {kUnlinkEnabled, widgetEnabled(w.unlink.data())},
        {kCameraVisible,
         [camera]() -> QVariant {
             return camera ? QVariant(!camera->isHidden()) : QVariant();
         }},
        {kCameraEnabled, widgetEnabled(camera)},
        {kSubNodeEnabled, widgetEnabled(w.linkSubNode.data())},
        {kEscEnabled, actionEnabled(w.escHotkey)},
        {kSplitEnabled, widgetEnabled(w.splitButton.data())},
        {kLinkEnabled, actionEnabled(w.linkAction)},
        {kUnlinkActionEnabled, actionEnabled(w.unlinkAction)},
        {kLinkToVisible, actionVisible(w.linkToAction)},
        {kLinkToCameraVisible, actionVisible(w.linkToCameraAction)},
        {kContextUnlinkVisible, actionVisible(w.contextUnlinkAction)},
    };
    if (w.linkMenu) {
        for (QAction* action : w.linkMenu->actions()) {
            if (action != w.linkAction && action != w.unlinkAction)
                m_probes.append({MenuActionKey(action), actionEnabled(action)});
        }
    }
}

void CWidgetOracle::Set(const QString& key, const QVariant& value, const QString& reason)
{
    m_expected.insert(key, value);
    m_reasons.insert(key, reason);
}

QVariant CWidgetOracle::Actual(const QString& key) const
{
    for (const CProbe& probe : m_probes) {
        if (probe.key == key)
            return probe.read();
    }
    return QVariant();
}

QStringList CWidgetOracle::Compare() const
{
    QStringList differences;
    for (const CProbe& probe : m_probes) {
        const QVariant expected = m_expected.value(probe.key);
        if (!expected.isValid())
            continue;
        const QVariant actual = probe.read();
        if (!actual.isValid() || actual == expected)
            continue;
        differences.append(
            QStringLiteral("%1 is %2, should be %3 (%4)")
                .arg(probe.key, Shown(actual), Shown(expected), m_reasons.value(probe.key)));
    }
    return differences;
}

QStringList CWidgetOracle::TakeProblems()
{
    QStringList taken;
    taken.swap(m_problems);
    return taken;
}

QString CWidgetOracle::Describe(UB::CHandle* object)
{
    if (object == nullptr)
        return QStringLiteral("no object");
    return QStringLiteral("\"%1\" (type %2)")
        .arg(m_queries.Name(object))
        .arg(m_queries.ObjectType(object));
}

} // namespace KV
