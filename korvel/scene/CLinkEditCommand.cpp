#include "CLinkEditCommand.h"

#include <utility>

namespace KV {

CLinkEditCommand::CLinkEditCommand(const QString& text, CKeyEdit edit, Apply apply)
    : QUndoCommand(text)
    , m_edit(std::move(edit))
    , m_apply(std::move(apply))
{}

void CLinkEditCommand::undo()
{
    m_apply(m_edit, true);
    m_inScene = false;
}

void CLinkEditCommand::redo()
{
    if (!m_inScene)
        m_apply(m_edit, false);
    m_inScene = true;
}

} // namespace KV
