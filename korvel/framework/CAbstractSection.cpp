#include "host/KVAbstractSection.h"

#include <QGroupBox>
#include <QPushButton>

namespace KV {

CAbstractSection::CAbstractSection() = default;
CAbstractSection::~CAbstractSection() = default;

void CAbstractSection::EnableSection(bool enable)
{
    if (m_groupBox != nullptr)
        m_groupBox->setEnabled(enable);
}

void CAbstractSection::SetExpandButton(QPushButton* button)
{
    m_expandButton = button;
    if (button == nullptr)
        return;
    button->setCheckable(true);
    button->setChecked(m_expanded);
    QObject::connect(button, &QPushButton::clicked, button,
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
