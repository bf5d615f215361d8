#include "host/KVAbstractSection.h"

#include <QGroupBox>
#include <QPushButton>

namespace KV {

CAbstractSection::CAbstractSection() = default;

CAbstractSection::~CAbstractSection()
{
    // The button may outlive the section inside the host's panel.
    QObject::disconnect(m_expandConnection);
}

void CAbstractSection::EnableSection(bool enable)
{
    if (m_groupBox != nullptr)
        m_groupBox->setEnabled(enable);
}

void CAbstractSection::SetExpandButton(QPushButton* button)
{
    QObject::disconnect(m_expandConnection);
    m_expandButton = button;
    if (button == nullptr)
        return;
    button->setCheckable(true);
    button->setChecked(m_expanded);
    m_expandConnection = QObject::connect(button, &QPushButton::clicked, button,
                                          [this](bool) { SetSectionExpandState(!m_expanded); });
}

void CAbstractSection::SetSectionGroupBox(QGroupBox* groupBox)
{
    m_groupBox = groupBox;
    if (groupBox != nullptr)
        groupBox->setVisible(m_expanded);
}

bool CAbstractSection::GetSectionExpandState()
{
    return m_expanded;
}

void CAbstractSection::SetSectionExpandState(bool expanded)
{
    m_expanded = expanded;
    if (m_groupBox != nullptr)
        m_groupBox->setVisible(expanded);
    if (m_expandButton != nullptr) {
        const QSignalBlocker blocker(m_expandButton);
        m_expandButton->setChecked(expanded);
    }
}

bool CAbstractSection::AbleToShowSection()
{
    return true;
}

} // namespace KV
