#include "CSceneStep.h"

#include "CSceneNode.h"

#include <QObject>
#include <QSet>

#include <utility>

namespace KV {

namespace {

constexpr int kSceneStepId = 0x4b53;

} // namespace

CSceneStep::CSceneStep(int command, const QString& label, Apply apply)
    : m_command(command)
    , m_label(label)
    , m_apply(std::move(apply))
{}

int CSceneStep::id() const
{
    return kSceneStepId;
}

bool CSceneStep::mergeWith(const QUndoCommand* other)
{
    if (other->id() != kSceneStepId)
        return false;
    const auto* next = static_cast<const CSceneStep*>(other);
    if (next->m_command != m_command)
        return false;
    parts += next->parts;
    links += next->links;
    if (m_label.isEmpty())
        m_label = next->m_label;
    else if (!next->m_label.isEmpty() && next->m_label != m_label)
        m_label += QStringLiteral("; ") + next->m_label;
    UpdateText();
    return true;
}

void CSceneStep::undo()
{
    m_apply(*this, true);
    m_inScene = false;
}

void CSceneStep::redo()
{
    if (!m_inScene)
        m_apply(*this, false);
    m_inScene = true;
}

void CSceneStep::CountLinks(const QVector<CLinkChange>& added)
{
    for (const CLinkChange& change : added) {
        if (!m_firstObject)
            m_firstObject = change.node;
        m_objects.insert(change.node);
        m_targets.insert(change.newParent);
    }
}

void CSceneStep::UpdateText()
{
    // Links that came since the last naming; merged steps bring theirs in `links`.
    CountLinks(links.mid(m_counted));
    m_counted = links.size();
    if (links.isEmpty()) {
        setText(m_label);
        return;
    }
    // "Link Box to Hand", "Unlink 3 objects", or, for a mix, "Change the links of 2 objects".
    const QString objects = m_objects.size() == 1 ? m_firstObject->desc.name
                                                  : QObject::tr("%1 objects").arg(m_objects.size());
    QString text;
    if (m_targets.size() != 1)
        text = QObject::tr("Change the links of %1").arg(objects);
    else if (const CSceneNode* target = *m_targets.cbegin())
        text = QObject::tr("Link %1 to %2").arg(objects, target->desc.name);
    else
        text = QObject::tr("Unlink %1").arg(objects);
    setText(m_label.isEmpty() ? text : m_label + QStringLiteral("; ") + text);
}

} // namespace KV
