#include "CSubNodeCommandCheck.h"

#include "CHostQueries.h"
#include "KVSceneModel.h"

#include <QQuaternion>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace KV {

namespace {

/// The same place in the world, to float noise (a rotation and its negation are the same).
bool SamePlace(const TransformRecord& a, const TransformRecord& b)
{
    const QQuaternion ra(a.rotation[3], a.rotation[0], a.rotation[1], a.rotation[2]);
    const QQuaternion rb(b.rotation[3], b.rotation[0], b.rotation[1], b.rotation[2]);
    float apart = 0.0f;
    float scaled = 0.0f;
    for (int i = 0; i < 3; ++i) {
        apart = std::max(apart, std::fabs(a.position[i] - b.position[i]));
        scaled = std::max(scaled, std::fabs(a.scale[i] - b.scale[i]));
    }
    return apart < 1e-2f && scaled < 1e-3f &&
           std::fabs(QQuaternion::dotProduct(ra.normalized(), rb.normalized())) > 0.9999f;
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
    m_beforeWorld = m_scene.WorldTransformAt(first, m_time);
    m_before = m_scene.Snapshot();
    m_openJournal = m_scene.Journal().size();
    m_endJournal = m_openJournal;
}

void CSubNodeCommandCheck::MayEnd(UB::CHandle* target, int alignment)
{
    m_endJournal = m_scene.Journal().size();
    m_finalAlign = alignment;
    m_finalTarget = Render(target);
}

void CSubNodeCommandCheck::CheckEnd(bool accepted, QStringList* problems) const
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
}

void CSubNodeCommandCheck::CheckPreview(int selectedItems, UB::CHandle* chosen, int alignment,
                                        const std::function<bool(const QString&)>& faulted,
                                        QStringList* problems) const
{
    const QVector<CJournalEntry>& journal = m_scene.Journal();
    int lastLink = -1;
    for (int i = m_openJournal; i < journal.size(); ++i) {
        if (journal.at(i).call == QLatin1String("LinkObjects"))
            lastLink = i;
    }
    if (lastLink < 0) {
        if (m_scene.Snapshot() != m_before)
            problems->append(QStringLiteral("nothing was previewed yet, but the scene changed: %1")
                                 .arg(DescribeDifference(m_before, m_scene.Snapshot())));
        return;
    }
    UB::CHandle* first = m_selection.IsEmpty() ? nullptr : m_selection[0];
    // A refused link, or a saved transform the host could not give, leaves no place to judge.
    if (selectedItems != 1 || journal.at(lastLink).result < 0 || !m_scene.Contains(first) ||
        faulted(QStringLiteral("GetTransform")) || faulted(QStringLiteral("SetTransform")))
        return;
    const TransformRecord world = m_scene.WorldTransformAt(first, m_time);
    UB::CHandle* parent = m_scene.LinkParentAt(first, m_time);
    TransformRecord expected = m_beforeWorld;
    UB::CHandle* expectedParent = m_previousParent;
    if (alignment != 0 && chosen == nullptr) {
        expectedParent = nullptr; // a link to no node unlinks in place
    } else if (alignment != 0) {
        const TransformRecord target = m_scene.WorldTransformAt(chosen, m_time);
        std::copy(std::begin(target.position), std::end(target.position), expected.position);
        if (alignment == 2)
            std::copy(std::begin(target.rotation), std::end(target.rotation), expected.rotation);
        expectedParent = chosen;
    }
    if (parent != expectedParent || !SamePlace(world, expected))
        problems->append(QStringLiteral("the preview of %1 with alignment %2 shows \"%3\" under "
                                        "%4 at %5; it belongs under %6 at %7")
                             .arg(Render(chosen))
                             .arg(alignment)
                             .arg(Render(first), Render(parent), TransformText(world),
                                  Render(expectedParent), TransformText(expected)));
}

void CSubNodeCommandCheck::CheckAfterCommand(bool accepted, QStringList* problems) const
{
    const CSceneSnapshot after = m_scene.Snapshot();
    if (!accepted || after == m_before) {
        // OK may leave the scene alone when the host refused the final link.
        if (after != m_before)
            problems->append(QStringLiteral("after Cancel the scene is not as it was: %1")
                                 .arg(DescribeDifference(m_before, after)));
        return;
    }
    if (after.undoIndex != m_before.undoIndex + 1 || after.undoCount != after.undoIndex) {
        problems->append(QStringLiteral("OK left %1 undo steps at %2 after %3 at %4; it is one "
                                        "step")
                             .arg(after.undoCount)
                             .arg(after.undoIndex)
                             .arg(m_before.undoCount)
                             .arg(m_before.undoIndex));
        return;
    }
    QUndoStack* history = m_scene.UndoStack();
    history->undo();
    const CSceneSnapshot undone = m_scene.Snapshot();
    if (undone.file != m_before.file)
        problems->append(QStringLiteral("Undo after OK does not give the scene from before the "
                                        "dialog: %1")
                             .arg(DescribeDifference(m_before, undone)));
    history->redo();
    if (m_scene.Snapshot() != after)
        problems->append(QStringLiteral("Redo after OK does not give the OK result: %1")
                             .arg(DescribeDifference(after, m_scene.Snapshot())));
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
