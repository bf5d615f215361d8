#include "CSubNodeCommandCheck.h"

#include "CHostQueries.h"
#include "KVSceneModel.h"

#include <cstring>

namespace KV {

namespace {

bool SameTransform(const TransformRecord& a, const TransformRecord& b)
{
    return std::memcmp(a.position, b.position, sizeof a.position) == 0 &&
           std::memcmp(a.rotation, b.rotation, sizeof a.rotation) == 0 &&
           std::memcmp(a.scale, b.scale, sizeof a.scale) == 0;
}

QString TransformText(const TransformRecord& record)
{
    return QStringLiteral("T(%1,%2,%3)")
        .arg(QString::number(record.position[0]), QString::number(record.position[1]),
             QString::number(record.position[2]));
}

QString CallText(const CJournalEntry& entry)
{
    return QStringLiteral("%1(%2)").arg(entry.call, entry.args.join(QStringLiteral(", ")));
}

} // namespace

CSubNodeCommandCheck::CSubNodeCommandCheck(CSceneModel& scene, CHostQueries& queries)
    : m_scene(scene)
    , m_queries(queries)
{}

void CSubNodeCommandCheck::Begin()
{
    m_queries.Selection(m_selection);
    m_time = m_queries.Now();
    // With several objects selected the last one's parent decides.
    m_previousParent = nullptr;
    for (UB::CHandle* object : qAsConst(m_selection))
        m_queries.LinkParent(object, m_time, m_previousParent);
    m_owner = m_queries.NodeOwner(m_previousParent);
    if (m_queries.NodeKind(m_owner) == 1)
        m_owner = m_queries.OwnerRoot(m_owner);
    UB::CHandle* first = m_selection.IsEmpty() ? nullptr : m_selection[0];
    UB::Result transformResult;
    m_savedTransform = m_queries.Transform(first, m_time, &transformResult);
    m_beforeParent = m_scene.LinkParentAt(first, m_time);
    m_beforeTransform = m_scene.LocalTransformAt(first, m_time);
    m_openJournal = m_scene.Journal().size();
    m_endJournal = m_openJournal;
}

void CSubNodeCommandCheck::MayEnd(UB::CHandle* target, int alignment)
{
    m_endJournal = m_scene.Journal().size();
    m_finalAlign = alignment;
    m_finalTarget = Render(target);
}

void CSubNodeCommandCheck::CheckEnd(bool accepted,
                                    const std::function<bool(const QString&)>& faulted,
                                    QStringList* problems) const
{
    CheckPreviews(problems);
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    QStringList actual;
    for (int i = m_endJournal; i < journal.size(); ++i) {
        if (journal.at(i).call == QLatin1String("LinkObjects") ||
            journal.at(i).call == QLatin1String("SetTransform"))
            actual.append(CallText(journal.at(i)));
    }
    const QString objects = Render(m_selection);
    const QString now = QString::number(m_time);
    UB::CHandle* first = m_selection.IsEmpty() ? nullptr : m_selection[0];
    QStringList expected;
    if (accepted) {
        expected.append(QStringLiteral("LinkObjects(%1, %2, %3, %4, true, true)")
                            .arg(objects, m_finalTarget)
                            .arg(m_finalAlign)
                            .arg(now));
    } else {
        expected.append(QStringLiteral("LinkObjects(%1, %2, 0, %3, false, false)")
                            .arg(objects, Render(m_previousParent), now));
        expected.append(QStringLiteral("SetTransform(%1, %2, %3)")
                            .arg(Render(first), now, TransformText(m_savedTransform)));
    }
    if (actual != expected)
        problems->append(
            QStringLiteral("after the dialog %1 the section called [%2]; the rule "
                           "gives [%3]")
                .arg(accepted ? QStringLiteral("was accepted") : QStringLiteral("was cancelled"),
                     actual.join(QStringLiteral("; ")), expected.join(QStringLiteral("; "))));
    if (accepted || m_selection.GetCount() != 1 || !m_scene.Contains(first))
        return;
    // A failing call may keep Cancel from putting everything back; that is the host's doing.
    for (const QString& call : {QStringLiteral("GetSelectedObjects"),
                                QStringLiteral("GetLinkParent"), QStringLiteral("GetTransform"),
                                QStringLiteral("SetTransform"), QStringLiteral("LinkObjects")}) {
        if (faulted(call))
            return;
    }
    CheckCancelRestored(problems);
}

void CSubNodeCommandCheck::CheckCancelRestored(QStringList* problems) const
{
    UB::CHandle* first = m_selection[0];
    UB::CHandle* parent = m_scene.LinkParentAt(first, m_time);
    if (parent != m_beforeParent)
        problems->append(QStringLiteral("after Cancel \"%1\" hangs from %2; before the dialog it "
                                        "hung from %3")
                             .arg(m_scene.Name(first), Render(parent), Render(m_beforeParent)));
    const TransformRecord transform = m_scene.LocalTransformAt(first, m_time);
    if (!SameTransform(transform, m_beforeTransform))
        problems->append(QStringLiteral("after Cancel \"%1\" stands at %2; before the dialog it "
                                        "stood at %3")
                             .arg(m_scene.Name(first), TransformText(transform),
                                  TransformText(m_beforeTransform)));
}

void CSubNodeCommandCheck::CheckPreviews(QStringList* problems) const
{
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    const QString previous = Render(m_previousParent);
    const QString saved = TransformText(m_savedTransform);
    for (int i = m_openJournal; i < m_endJournal && i < journal.size(); ++i) {
        const CJournalEntry& entry = journal.at(i);
        if (entry.call == QLatin1String("LinkObjects") && entry.args.size() == 6) {
            if (entry.args.at(4) != QLatin1String("false") ||
                entry.args.at(5) != QLatin1String("false"))
                problems->append(QStringLiteral("a preview committed or announced its link: %1")
                                     .arg(CallText(entry)));
            if (entry.args.at(1) != previous && entry.args.at(2) == QLatin1String("0"))
                problems->append(QStringLiteral("a preview without alignment linked to another "
                                                "node than the previous parent: %1")
                                     .arg(CallText(entry)));
        } else if (entry.call == QLatin1String("SetTransform") && entry.args.size() == 3 &&
                   entry.args.at(2) != saved) {
            problems->append(QStringLiteral("a preview set another transform than the saved one "
                                            "%1: %2")
                                 .arg(saved, CallText(entry)));
        } else if (entry.call == QLatin1String("UnlinkObject")) {
            problems->append(QStringLiteral("the dialog unlinked: %1").arg(CallText(entry)));
        }
    }
}

QString CSubNodeCommandCheck::Render(UB::CHandle* handle) const
{
    if (handle == nullptr)
        return QStringLiteral("null");
    return m_scene.Contains(handle) ? m_scene.Name(handle) : QStringLiteral("<invalid>");
}

QString CSubNodeCommandCheck::Render(const HandleList& handles) const
{
    QStringList names;
    for (UB::CHandle* handle : handles)
        names.append(Render(handle));
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace KV
