#pragma once

#include "host/KVPluginInterface.h"

#include <QGroupBox>

class QLabel;

namespace KV {

class CSceneModel;

/// The sandbox's own Modify-panel section: name, type, flags, link parent, transforms and link
/// keys of the first selected object at the current time, so that a link's effect (and an
/// alignment) can be read off directly.
class CObjectSection : public QGroupBox, public CSectionInterface
{
    Q_OBJECT
public:
    static constexpr int kSectionId = 100;

    explicit CObjectSection(CSceneModel* scene, QWidget* parent = nullptr);

    int GetSectionPanel() override;
    int GetSectionId() override;
    int GetSectionTab() override;
    QWidget* GetSectionWidget() override;
    bool GetSectionExpandState() override;
    void SetSectionExpandState(bool expanded) override;
    bool AbleToShowSection() override;

    void Refresh();

private:
    QLabel* AddRow(const QString& label, const QString& objectName);

    CSceneModel* m_scene;
    QWidget* m_body;
    QLabel* m_name;
    QLabel* m_type;
    QLabel* m_kind;
    QLabel* m_flags;
    QLabel* m_parent;
    QLabel* m_localPosition;
    QLabel* m_localRotation;
    QLabel* m_worldPosition;
    QLabel* m_worldRotation;
    QLabel* m_linkKeys;
};

} // namespace KV
