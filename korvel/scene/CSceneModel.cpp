#include "CSceneFile.h"
#include "CSceneModelPrivate.h"
#include "TransformMath.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace KV {

namespace {
// Larger files are refused before they are read into memory.
constexpr qint64 kMaxFileSize = qint64(256) << 20;
} // namespace

CSceneModel::Private::Private(CSceneModel* model)
    : q(model)
    , state(std::make_unique<CSceneState>())
    , sender(new CEventSender(model))
    , undo(new QUndoStack(model))
{}

CSceneModel::CSceneModel(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this))
{
    qRegisterMetaType<KV::CJournalEntry>("KV::CJournalEntry");
    qRegisterMetaType<QVector<KV::CJournalEntry>>("QVector<KV::CJournalEntry>");
    qRegisterMetaType<UBTime>("UBTime");
    connect(d->undo, &QUndoStack::cleanChanged, this, [this] { d->UpdateModified(); });
    connect(d->undo, &QUndoStack::indexChanged, this, [this] { d->UpdateModified(); });
}

CSceneModel::~CSceneModel() = default;

void CSceneModel::Private::ReplaceState(std::unique_ptr<CSceneState> next)
{
    // The history and the previews point into the old nodes, so they go first.
    undo->clear();
    previewBaseline.clear();
    previewOrder.clear();
    previewAnnounced = false;
    state = std::move(next);
    UpdateModified();
}

// ---- Building a scene ---------------------------------------------------------------------------

UB::CHandle* CSceneModel::AddObject(const CNodeDesc& desc)
{
    CSceneNode* node = d->state->AddNode(nullptr, desc);
    emit SceneChanged();
    return node;
}

UB::CHandle* CSceneModel::AddNode(UB::CHandle* structuralParent, const CNodeDesc& desc,
                                  const TransformRecord& rest)
{
    CSceneNode* parent = d->state->Find(structuralParent);
    if (!parent) {
        qWarning("Scene: AddNode(\"%s\") was given no node of this scene as parent",
                 qUtf8Printable(desc.name));
        return nullptr;
    }
    CSceneNode* node = d->state->AddNode(parent, desc, 0, rest);
    emit SceneChanged();
    return node;
}

void CSceneModel::SetOwner(UB::CHandle* node, UB::CHandle* owner)
{
    CSceneNode* target = d->state->Find(node);
    if (target && (!owner || Contains(owner))) {
        target->owner = d->state->Find(owner);
        emit SceneChanged();
    }
}

void CSceneModel::SetOwnerRoot(UB::CHandle* node, UB::CHandle* root)
{
    CSceneNode* target = d->state->Find(node);
    if (target && (!root || Contains(root))) {
        target->ownerRoot = d->state->Find(root);
        emit SceneChanged();
    }
}

CNodeDesc& CSceneModel::Desc(UB::CHandle* node)
{
    if (CSceneNode* found = d->state->Find(node))
        return found->desc;
    // Writes through an unknown handle land here and are forgotten.
    static CNodeDesc scratch;
    scratch = CNodeDesc();
    return scratch;
}

const CNodeDesc& CSceneModel::Desc(UB::CHandle* node) const
{
    static const CNodeDesc none;
    const CSceneNode* found = d->state->Find(node);
    return found ? found->desc : none;
}

void CSceneModel::SetStandardNodeName(int index, const QString& name)
{
    d->state->standardNames.insert(index, name);
    emit SceneChanged();
}

void CSceneModel::SetCurrentCamera(UB::CHandle* camera)
{
    if (!camera || Contains(camera)) {
        d->state->camera = d->state->Find(camera);
        emit SceneChanged();
    }
}

void CSceneModel::SetMainWindow(QWidget* window)
{
    d->mainWindow = window;
}

void CSceneModel::Clear()
{
    d->ReplaceState(std::make_unique<CSceneState>());
    d->pickMode = 0;
    d->dialogMode = 0;
    d->playing = false;
    emit SceneChanged();
    emit SelectionChanged();
    emit TimeChanged(0);
}

// ---- Looking at the scene -----------------------------------------------------------------------

QVector<UB::CHandle*> CSceneModel::Objects() const
{
    QVector<UB::CHandle*> objects;
    for (CSceneNode* node : d->state->Nodes()) {
        if (!node->structuralParent)
            objects.append(node);
    }
    return objects;
}

QVector<UB::CHandle*> CSceneModel::AllNodes() const
{
    const auto& nodes = d->state->Nodes();
    return QVector<UB::CHandle*>(nodes.begin(), nodes.end());
}

UB::CHandle* CSceneModel::FindByName(const QString& name) const
{
    return d->state->FindByName(name);
}

bool CSceneModel::Contains(UB::CHandle* handle) const
{
    return d->state->Find(handle) != nullptr;
}

QString CSceneModel::Name(UB::CHandle* node) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? found->desc.name : QString();
}

UB::CHandle* CSceneModel::StructuralParent(UB::CHandle* node) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? found->structuralParent : nullptr;
}

QVector<UB::CHandle*> CSceneModel::StructuralChildren(UB::CHandle* node) const
{
    const CSceneNode* found = d->state->Find(node);
    if (!found)
        return {};
    return QVector<UB::CHandle*>(found->children.begin(), found->children.end());
}

UB::CHandle* CSceneModel::LinkParentAt(UB::CHandle* node, UBTime time) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? found->LinkParentAt(time) : nullptr;
}

TransformRecord CSceneModel::LocalTransformAt(UB::CHandle* node, UBTime time) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? found->LocalTransformAt(time) : TransformRecord();
}

TransformRecord CSceneModel::WorldTransformAt(UB::CHandle* node, UBTime time) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? d->state->WorldTransformAt(found, time) : TransformRecord();
}

namespace {
template<typename Keys>
QVector<UBTime> TimesOf(const Keys& keys)
{
    QVector<UBTime> times;
    times.reserve(static_cast<int>(keys.size()));
    for (const auto& key : keys)
        times.append(key.first);
    return times;
}
} // namespace

QVector<UBTime> CSceneModel::LinkKeyTimes(UB::CHandle* node) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? TimesOf(found->keys.link) : QVector<UBTime>();
}

QVector<UBTime> CSceneModel::TransformKeyTimes(UB::CHandle* node) const
{
    const CSceneNode* found = d->state->Find(node);
    return found ? TimesOf(found->keys.transform) : QVector<UBTime>();
}

QVector<UB::CHandle*> CSceneModel::Selection() const
{
    return QVector<UB::CHandle*>(d->state->selection.begin(), d->state->selection.end());
}

UBTime CSceneModel::CurrentTime() const
{
    return d->state->currentTime;
}

int CSceneModel::PickMode() const
{
    return d->pickMode;
}

int CSceneModel::DialogMode() const
{
    return d->dialogMode;
}

bool CSceneModel::Playing() const
{
    return d->playing;
}

QUndoStack* CSceneModel::UndoStack() const
{
    return d->undo;
}

bool CSceneModel::IsModified() const
{
    return d->modified;
}

CSceneSnapshot CSceneModel::Snapshot() const
{
    return {ToJson(), d->undo->count(), d->undo->index(), d->modified};
}

CEventSender* CSceneModel::EventSender() const
{
    return d->sender;
}

const QVector<CHotKeyCategory>& CSceneModel::HotKeyCategories() const
{
    return d->hotKeys.Categories();
}

// ---- Keys set directly --------------------------------------------------------------------------

void CSceneModel::SetLinkKey(UB::CHandle* node, UBTime time, UB::CHandle* parent)
{
    CSceneNode* child = d->state->Find(node);
    CSceneNode* newParent = d->state->Find(parent);
    if (!child || (parent && !newParent)) {
        qWarning("Scene: SetLinkKey was given a handle that is not in the scene");
        return;
    }
    if (d->state->WouldCycle(child, newParent, time)) {
        qWarning("Scene: SetLinkKey would make \"%s\" its own ancestor; the key is not set",
                 qUtf8Printable(child->desc.name));
        return;
    }
    child->keys.link[time] = newParent;
    emit SceneChanged();
}

void CSceneModel::SetTransformKey(UB::CHandle* node, UBTime time, const TransformRecord& transform)
{
    CSceneNode* found = d->state->Find(node);
    if (!found || !TransformMath::IsUsable(transform)) {
        qWarning("Scene: SetTransformKey was given an unknown node or an unusable transform");
        return;
    }
    found->keys.transform[time] = transform;
    emit SceneChanged();
}

// ---- What a host does ---------------------------------------------------------------------------

void CSceneModel::SetSelection(const QVector<UB::CHandle*>& selection)
{
    QVector<CSceneNode*> nodes;
    for (UB::CHandle* handle : selection) {
        CSceneNode* node = d->state->Find(handle);
        if (node && !nodes.contains(node))
            nodes.append(node);
    }
    d->state->selection = nodes;
    emit SelectionChanged();
    emit d->sender->ObjectSelectionChanged();
}

void CSceneModel::SetCurrentTime(UBTime time)
{
    d->state->currentTime = time;
    emit TimeChanged(time);
    emit d->sender->CurrentTimeChanged(time);
}

void CSceneModel::Play()
{
    d->playing = true;
    emit d->sender->Played();
}

void CSceneModel::Stop()
{
    // A host settles the time where playback stopped and reports it, so that every view shows
    // that moment.
    d->playing = false;
    emit d->sender->Stopped();
    emit TimeChanged(d->state->currentTime);
    emit d->sender->CurrentTimeChanged(d->state->currentTime);
}

void CSceneModel::SetDialogMode(int mode)
{
    d->dialogMode = mode;
    emit d->sender->DialogModeChanged(static_cast<EDialogMode>(mode));
}

void CSceneModel::ChangePickMode(int mode)
{
    d->ChangePickMode(mode, [] {});
}

void CSceneModel::SendFileLoaded(int fileType)
{
    emit d->sender->FileLoaded(static_cast<EFileType>(fileType));
}

void CSceneModel::SendHierarchyChanged()
{
    emit d->sender->HierarchyChanged();
}

void CSceneModel::SendObjectDataChanged(const QVector<UB::CHandle*>& nodes, int changeType)
{
    HandleList list;
    for (UB::CHandle* node : nodes)
        list.Add(node);
    emit d->sender->ObjectDataChanged(list, static_cast<EObjectChangedDataType>(changeType));
}

void CSceneModel::SendLinkEvent(UB::CHandle* object)
{
    CSceneNode* node = d->state->Find(object);
    if (!node)
        return;
    CSceneNode* parent = node->LinkParentAt(d->state->currentTime);
    d->SendLinkEvent({node, parent, parent, TransformRecord(), d->state->currentTime, true}, false);
}

// ---- Journal ------------------------------------------------------------------------------------

void CSceneModel::SetJournalEnabled(bool enabled)
{
    d->journal.SetEnabled(enabled);
}

const QVector<CJournalEntry>& CSceneModel::Journal() const
{
    return d->journal.Entries();
}

QStringList CSceneModel::JournalLines(const QStringList& onlyCalls) const
{
    return d->journal.Lines(onlyCalls);
}

void CSceneModel::ClearJournal()
{
    d->journal.Clear();
}

void CSceneModel::Private::Append(const CJournalEntry& entry)
{
    journal.Append(entry);
    emit q->JournalAppended(entry);
}

QString CSceneModel::Private::Handle(const UB::CHandle* handle) const
{
    if (!handle)
        return QStringLiteral("null");
    const CSceneNode* node = state->Find(handle);
    return node ? node->desc.name : QStringLiteral("<invalid>");
}

QString CSceneModel::Private::Handles(const HandleList& handles) const
{
    QStringList names;
    for (const UB::CHandle* handle : handles)
        names.append(Handle(handle));
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// ---- Fault injection ----------------------------------------------------------------------------

void CSceneModel::InjectFault(const QString& call, int code, int count, bool touchOutputs)
{
    d->faults.Inject(call, code, count, touchOutputs);
}

QStringList CSceneModel::FaultableCalls()
{
    return CFaultTable::FaultableCalls();
}

void CSceneModel::ClearFault(const QString& call)
{
    d->faults.Clear(call);
}

void CSceneModel::ClearFaults()
{
    d->faults.ClearAll();
}

UB::CHandle* CSceneModel::Private::GarbageHandle()
{
    static CSceneNode garbage(-1, CNodeDesc{QStringLiteral("<garbage>")});
    return &garbage;
}

// ---- Files --------------------------------------------------------------------------------------

bool CSceneModel::LoadFile(const QString& path, QString* error)
{
    QFile file(path);
    QString problem;
    if (!file.open(QIODevice::ReadOnly))
        problem = QStringLiteral("file: cannot be opened (%1)").arg(file.errorString());
    else if (file.size() > kMaxFileSize)
        problem =
            QStringLiteral("file: %1 bytes is larger than a scene file can be").arg(file.size());
    if (!problem.isEmpty()) {
        if (error)
            *error = path + QStringLiteral(": ") + problem;
        return false;
    }
    return LoadJson(file.readAll(), path, error);
}

bool CSceneModel::LoadJson(const QByteArray& json, const QString& sourceName, QString* error)
{
    std::unique_ptr<CSceneState> loaded = CSceneFile::Read(json, sourceName, error);
    if (!loaded)
        return false;
    d->ReplaceState(std::move(loaded));
    emit SceneChanged();
    emit SelectionChanged();
    emit TimeChanged(d->state->currentTime);
    emit d->sender->FileLoaded(eFileScene);
    return true;
}

bool CSceneModel::SaveFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    const QByteArray json = ToJson();
    if (file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit())
        return true;
    if (error)
        *error = path + QStringLiteral(": file: cannot be written (%1)").arg(file.errorString());
    return false;
}

QByteArray CSceneModel::ToJson() const
{
    return CSceneFile::Write(*d->state);
}

} // namespace KV
