#include "CObjectSection.h"

#include "CModifyPanel.h"
#include "CNodeNames.h"
#include "CObjectTypes.h"
#include "KVSceneModel.h"

#include <QFormLayout>
#include <QLabel>
#include <QQuaternion>
#include <QStringList>
#include <QVBoxLayout>
#include <QVector3D>

namespace KV {

namespace {

QString PositionText(const TransformRecord& transform)
{
    return QStringLiteral("%1, %2, %3")
        .arg(transform.position[0], 0, 'f', 1)
        .arg(transform.position[1], 0, 'f', 1)
        .arg(transform.position[2], 0, 'f', 1);
}

QString RotationText(const TransformRecord& transform)
{
    const QQuaternion rotation(transform.rotation[3], transform.rotation[0], transform.rotation[1],
                               transform.rotation[2]);
    const QVector3D euler = rotation.normalized().toEulerAngles();
    // -0.0 reads as a difference where there is none.
    auto degrees = [](float value) {
        return qFuzzyIsNull(value) ? 0.0f : value;
    };
    return QStringLiteral("%1°, %2°, %3°")
        .arg(degrees(euler.x()), 0, 'f', 1)
        .arg(degrees(euler.y()), 0, 'f', 1)
        .arg(degrees(euler.z()), 0, 'f', 1);
}

} // namespace

CObjectSection::CObjectSection(CSceneModel* scene, QWidget* parent)
    : QGroupBox(tr("Object"), parent)
    , m_scene(scene)
    , m_body(new QWidget(this))
{
    setObjectName(QStringLiteral("qtObjectSection"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(m_body);
    auto* form = new QFormLayout(m_body);
    form->setContentsMargins(0, 0, 0, 0);
    form->setLabelAlignment(Qt::AlignRight);

    m_name = AddRow(tr("Name"), QStringLiteral("qtObjectName"));
    m_type = AddRow(tr("Type"), QStringLiteral("qtObjectType"));
    m_kind = AddRow(tr("Node kind"), QStringLiteral("qtObjectKind"));
    m_flags = AddRow(tr("Flags"), QStringLiteral("qtObjectFlags"));
    m_parent = AddRow(tr("Parent"), QStringLiteral("qtObjectParent"));
    m_localPosition = AddRow(tr("Local position"), QStringLiteral("qtObjectLocalPosition"));
    m_localRotation = AddRow(tr("Local rotation"), QStringLiteral("qtObjectLocalRotation"));
    m_worldPosition = AddRow(tr("World position"), QStringLiteral("qtObjectWorldPosition"));
    m_worldRotation = AddRow(tr("World rotation"), QStringLiteral("qtObjectWorldRotation"));
    m_linkKeys = AddRow(tr("Link keys"), QStringLiteral("qtObjectLinkKeys"));

    connect(m_scene, &CSceneModel::SceneChanged, this, &CObjectSection::Refresh);
    connect(m_scene, &CSceneModel::SelectionChanged, this, &CObjectSection::Refresh);
    connect(m_scene, &CSceneModel::TimeChanged, this, &CObjectSection::Refresh);
    Refresh();
}

QLabel* CObjectSection::AddRow(const QString& label, const QString& objectName)
{
    auto* value = new QLabel(m_body);
    value->setObjectName(objectName);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    static_cast<QFormLayout*>(m_body->layout())->addRow(label, value);
    return value;
}

int CObjectSection::GetSectionPanel()
{
    return CModifyPanel::kPanelId;
}

int CObjectSection::GetSectionId()
{
    return kSectionId;
}

int CObjectSection::GetSectionTab()
{
    return 0;
}

QWidget* CObjectSection::GetSectionWidget()
{
    return this;
}

bool CObjectSection::GetSectionExpandState()
{
    return !m_body->isHidden();
}

void CObjectSection::SetSectionExpandState(bool expanded)
{
    m_body->setVisible(expanded);
}

bool CObjectSection::AbleToShowSection()
{
    return true;
}

void CObjectSection::Refresh()
{
    const QVector<UB::CHandle*> selection = m_scene->Selection();
    QList<QLabel*> details{m_type,          m_kind,          m_flags,
                           m_parent,        m_localPosition, m_localRotation,
                           m_worldPosition, m_worldRotation, m_linkKeys};
    if (selection.isEmpty() || !m_scene->Contains(selection.first())) {
        m_name->setText(tr("Nothing selected"));
        for (QLabel* label : details)
            label->clear();
        return;
    }

    UB::CHandle* object = selection.first();
    const CNodeDesc& desc = m_scene->Desc(object);
    const UBTime now = m_scene->CurrentTime();
    m_name->setText(selection.size() == 1
                        ? desc.name
                        : tr("%1 (first of %2 selected)").arg(desc.name).arg(selection.size()));
    m_type->setText(QStringLiteral("%1 – %2")
                        .arg(desc.objectType)
                        .arg(CObjectTypes::TypeName(desc.objectType)));
    m_kind->setText(QStringLiteral("%1 – %2")
                        .arg(desc.nodeKind)
                        .arg(CObjectTypes::NodeKindName(desc.nodeKind)));

    QStringList flags;
    if (desc.linkBlocked)
        flags << tr("link blocked");
    if (desc.linkDisabled)
        flags << tr("link disabled");
    if (!desc.linkable)
        flags << tr("not a sub-node target");
    if (desc.subNodeLinkExcluded)
        flags << tr("sub-node link excluded");
    m_flags->setText(flags.isEmpty() ? tr("none") : flags.join(QStringLiteral(", ")));

    // Characters share bone names: a parent is named so that it cannot be taken for another.
    const CNodeNames names(m_scene);
    UB::CHandle* parent = m_scene->LinkParentAt(object, now);
    m_parent->setText(parent != nullptr ? names.Unambiguous(parent) : tr("none"));
    const TransformRecord local = m_scene->LocalTransformAt(object, now);
    const TransformRecord world = m_scene->WorldTransformAt(object, now);
    m_localPosition->setText(PositionText(local));
    m_localRotation->setText(RotationText(local));
    m_worldPosition->setText(PositionText(world));
    m_worldRotation->setText(RotationText(world));

    QStringList keys;
    for (UBTime time : m_scene->LinkKeyTimes(object)) {
        UB::CHandle* keyedParent = m_scene->LinkParentAt(object, time);
        keys << QStringLiteral("%1: %2").arg(time).arg(
            keyedParent != nullptr ? names.Unambiguous(keyedParent) : tr("none"));
    }
    m_linkKeys->setText(keys.isEmpty() ? tr("none") : keys.join(QStringLiteral("; ")));
}

} // namespace KV
