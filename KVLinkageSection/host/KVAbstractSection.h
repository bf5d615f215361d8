#pragma once

#include "host/KVPluginInterface.h"

#include <QMetaObject>

class QGroupBox;
class QPushButton;

namespace KV {

/// Base of every Modify-panel section. The section hands over its expand button and its
/// group box; the base then expands and collapses the body through the button and enables
/// or disables it on request.
class KVPLUGINQT_EXPORT CAbstractSection : public CSectionInterface
{
public:
    CAbstractSection();
    ~CAbstractSection() override;

    /// Enables or disables the section's body (its group box).
    void EnableSection(bool enable);

    /// Takes the expand button; a click toggles the expand state. A button handed over
    /// before stops toggling it.
    void SetExpandButton(QPushButton* button);
    void SetSectionGroupBox(QGroupBox* groupBox);
    QPushButton* GetExpandButton() const { return m_expandButton; }
    QGroupBox* GetSectionGroupBox() const { return m_groupBox; }

    bool GetSectionExpandState() override;
    void SetSectionExpandState(bool expanded) override;
    bool AbleToShowSection() override;

protected:
    QPushButton* m_expandButton = nullptr;
    QGroupBox* m_groupBox = nullptr;

private:
    bool m_expanded = true;
    QMetaObject::Connection m_expandConnection;
};

} // namespace KV
