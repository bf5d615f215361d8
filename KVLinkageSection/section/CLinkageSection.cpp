#include "section/CLinkageSection.h"

#include "host/KVEventSender.h"
#include "host/KVKorvelInterface.h"
#include "plugin/HotKeyRegistration.h"
#include "plugin/LinkEventPrototype.h"
#include "plugin/LinkageConstants.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QtDebug>

#include <string>

namespace KV {

CLinkageSection::CLinkageSection(QWidget* parent)
    : QWidget(parent)
{}

CLinkageSection::~CLinkageSection() = default;

CSceneManager* CLinkageSection::Scene() const
{
    return m_host->GetSceneManager();
}

// ---- Set-up -----------------------------------------------------------------------------------

UB::Result CLinkageSection::Initialize(const QString& first, const QString& second,
                                       CKorvelInterface* host)
{
    if (host == nullptr)
        return UB::kNoHost;
    m_firstText = first;
    m_host = host;
    m_widgetBuilder.SetUiPath(QLatin1String(kSectionLayout));
    m_widgetBuilder.SetSetupString(second);
    m_widgetBuilder.SetLayoutIniPath(QLatin1String(kLinkageLayoutSettings));
    const UB::Result result = m_widgetBuilder.InitUi(this, &ui, host, true);
    if (result.IsFailed())
        return result;
    // Every command and refresh works on these widgets; the framework has named the missing.
    if (!m_widgetBuilder.GetMissingNames().isEmpty()) {
        qWarning("KVLinkageSection: the section layout '%s' is incomplete; the Linkage section "
                 "is not set up",
                 kSectionLayout);
        return UB::kNotCreated;
    }

    SetExpandButton(ui.qtExpandPushButton);
    SetSectionGroupBox(ui.qtSectionGroupBox);

    connect(ui.qtPickParent, &QPushButton::clicked, this, &CLinkageSection::OnPickParent);
    connect(ui.qtLinkCameraPushButton, &QPushButton::clicked, this,
            &CLinkageSection::OnLinkToCamera);
    connect(ui.qtUnlink, &QPushButton::clicked, this, &CLinkageSection::OnUnlink);
    connect(ui.qtLinkSubNode, &QToolButton::clicked, this, &CLinkageSection::OnLinkToSubNode);

    ConnectHostEvents();
    connect(
        ui.qtEscHotkey, &QAction::triggered, ui.qtEscHotkey, [this](bool) { OnEscHotkey(); },
        Qt::DirectConnection);

    m_hotKeyCategory = RegisterLinkageHotKeyCategory(host, QLatin1String(kSectionHotKeyOwner));
    RegisterLinkageHotKeyAction(host, m_hotKeyCategory, ui.qtEscHotkey);
    ui.qtEscHotkey->setEnabled(false);
    return UB::kOk;
}

void CLinkageSection::ConnectHostEvents()
{
    connect(m_host->GetEventSender(), &CEventSender::FileLoaded, this,
            &CLinkageSection::OnFileLoaded);
    connect(m_host->GetEventSender(), &CEventSender::ObjectSelectionChanged, this,
            &CLinkageSection::UpdateSectionUi);
    connect(m_host->GetEventSender(), &CEventSender::ObjectDeleted, this,
            &CLinkageSection::UpdateSectionUi);
    connect(m_host->GetEventSender(), &CEventSender::HierarchyChanged, this,
            &CLinkageSection::UpdateSectionUi);
    connect(m_host->GetEventSender(), &CEventSender::ObjectDataChanged2, this,
            &CLinkageSection::OnObjectDataChanged2);
    connect(m_host->GetEventSender(), &CEventSender::CurrentTimeChanged, this,
            &CLinkageSection::UpdateSectionUi);
    // This connection lives as long as the event sender, which may outlive the section.
    CEventSender* sender = m_host->GetEventSender();
    const QPointer<CLinkageSection> self(this);
    connect(
        sender, &CEventSender::PickedModeChanged, sender,
        [self](EPickMode newMode, EPickMode oldMode) {
            if (self)
                self->OnPickedModeChanged(newMode, oldMode);
        },
        Qt::DirectConnection);
}

// ---- Section interface ------------------------------------------------------------------------

int CLinkageSection::GetSectionPanel()
{
    return kSectionPanel;
}

int CLinkageSection::GetSectionId()
{
    return kSectionId;
}

int CLinkageSection::GetSectionTab()
{
    return kSectionTab;
}

QWidget* CLinkageSection::GetSectionWidget()
{
    return this;
}

// ---- Linkability ------------------------------------------------------------------------------

bool CLinkageSection::CanLink(const UB::CArrayList<UB::CHandle*>& objects)
{
    if (m_host == nullptr)
        return objects.IsEmpty();
    // The query results are not looked at: a query that writes nothing leaves type 0 and
    // "not disabled", and type 0 alone excludes the object.
    for (UB::CHandle* object : objects) {
        int type = 0;
        Scene()->GetObjectType(object, type);
        if (!IsLinkableType(type))
            return false;
        bool disabled = false;
        Scene()->IsLinkDisabled(object, disabled);
        if (disabled)
            return false;
    }
    return true;
}

// ---- Refresh ----------------------------------------------------------------------------------

UB::Result CLinkageSection::UpdateSectionUi()
{
    if (Scene()->IsPlaying())
        return UB::kNothingDone;
    ui.qtSectionGroupBox->setEnabled(true);

    UB::CArrayList<UB::CHandle*> selection;
    const UB::Result result = Scene()->GetSelectedObjects(selection, true);
    if (result.IsFailed())
        return result;
    if (selection.IsEmpty()) {
        hide();
        return UB::kNothingDone;
    }
    if (selection.GetCount() == 1)
        UpdateSectionSinglePick(selection[0]);
    else
        UpdateSectionMultiPick(selection);
    return UB::kOk;
}

UB::Result CLinkageSection::UpdateSectionSinglePick(UB::CHandle* object)
{
    if (!CanLink(UB::CArrayList<UB::CHandle*>{object})) {
        hide();
        return UB::kNothingDone;
    }
    int type = 0;
    Scene()->GetObjectType(object, type);
    ui.qtLinkCameraPushButton->setVisible(type == kLinkToCameraType);
    type = 0;
    Scene()->GetObjectType(object, type);
    SetLabelStyleForType(type);
    show();

    if (Scene()->IsLinkBlocked(object) || Scene()->IsPlaying()) {
        ui.qtLinkNodeText->setText(QString());
        ui.qtLinkNodeText->setEnabled(false);
        ui.qtLinkSubNode->setEnabled(false);
        ui.qtLinkCameraPushButton->setEnabled(false);
        ui.qtPickParent->setEnabled(false);
        ui.qtUnlink->setEnabled(false);
        return UB::kOk;
    }
    ui.qtPickParent->setEnabled(true);
    ui.qtLinkCameraPushButton->setEnabled(true);

    UB::CHandle* parent = nullptr;
    const UB::Result result = Scene()->GetLinkParent(object, Scene()->GetCurrentTime(), parent);
    if (result.IsFailed())
        return result;
    const bool linked = parent != nullptr;
    ui.qtLinkNodeText->setEnabled(linked);
    bool subNodesOffered = false;
    if (linked && !Scene()->IsSubNodeLinkExcluded(parent)) {
        int parentType = 0;
        Scene()->GetObjectType(parent, parentType);
        subNodesOffered = !IsSubNodeLessParentType(parentType);
    }
    ui.qtLinkSubNode->setEnabled(subNodesOffered);
    ui.qtUnlink->setEnabled(linked);
    ui.qtLinkNodeText->setText(linked ? QString::fromStdWString(Scene()->GetObjectName(parent))
                                      : QString());
    return UB::kOk;
}

// The style sheet tells the two label names apart; a renamed widget keeps its old style until
// the style is applied to it again. Polishing through the style, not ensurePolished(), because
// the label counts as polished already and would keep its old palette. A label that keeps its
// name keeps its style: restyling it would only have the style sheet set its palette and font
// again and lay the section out anew, on every time change of a scrub.
void CLinkageSection::SetLabelStyleForType(int type)
{
    const QString name =
        IsNoKeyType(type) ? QStringLiteral("label_512NoKey") : QStringLiteral("label_512");
    if (ui.label_512->objectName() == name)
        return;
    ui.label_512->setObjectName(name);
    ui.label_512->style()->unpolish(ui.label_512);
    ui.label_512->style()->polish(ui.label_512);
    ui.label_512->update();
}

UB::Result CLinkageSection::UpdateSectionMultiPick(const UB::CArrayList<UB::CHandle*>& objects)
{
    // One list refilled for each object: a large selection costs no list per object.
    UB::CArrayList<UB::CHandle*> single{nullptr};
    for (UB::CHandle* object : objects) {
        single[0] = object;
        if (!CanLink(single)) {
            hide();
            return UB::kNothingDone;
        }
    }
    show();
    ui.qtLinkCameraPushButton->hide();
    const bool playing = Scene()->IsPlaying();
    const QString parentName = GetCommonParentName(objects);
    ui.qtLinkNodeText->setText(parentName);
    ui.qtLinkNodeText->setEnabled(!parentName.isEmpty());
    ui.qtLinkSubNode->setEnabled(false);
    ui.qtPickParent->setEnabled(!playing);
    ui.qtUnlink->setEnabled(!playing);
    return UB::kOk;
}

QString CLinkageSection::GetCommonParentName(const UB::CArrayList<UB::CHandle*>& objects)
{
    const UBTime now = Scene()->GetCurrentTime();
    QString name;
    // The host's text that gave `name`: a parent with the very same text has the same name, so
    // only a different text needs converting to be compared.
    std::wstring nameText;
    for (UB::CHandle* object : objects) {
        UB::CHandle* parent = nullptr;
        Scene()->GetLinkParent(object, now, parent); // a failed query reads as no parent
        if (parent == nullptr)
            return QString();
        std::wstring parentText = Scene()->GetObjectName(parent);
        if (name.isEmpty()) {
            name = QString::fromStdWString(parentText);
            nameText = std::move(parentText);
        } else if (parentText != nameText && QString::fromStdWString(parentText) != name) {
            return QString();
        }
    }
    return name;
}

void CLinkageSection::OnFileLoaded(EFileType type)
{
    if (type == eFileScene)
        UpdateSectionUi();
}

void CLinkageSection::OnObjectDataChanged2(CBaseEvent* event)
{
    if (IsLinkEvent(event))
        UpdateSectionUi();
}

void CLinkageSection::OnPickedModeChanged(EPickMode, EPickMode)
{
    setEnabled(!IsSectionBlockingPickMode(Scene()->GetPickMode()));
}

// ---- Commands ---------------------------------------------------------------------------------
// Host results are not looked at: the host's events and the refresh show what happened.

void CLinkageSection::OnPickParent()
{
    UB::CArrayList<UB::CHandle*> selection;
    Scene()->GetSelectedObjects(selection, true);
    if (!CanLink(selection))
        return;
    m_host->GetPickManager()->SetPickMode(ePickParent);
    ui.qtEscHotkey->setEnabled(true);
}

void CLinkageSection::OnEscHotkey()
{
    m_host->GetPickManager()->SetPickMode(ePickNone);
    ui.qtEscHotkey->setEnabled(false);
}

void CLinkageSection::OnUnlink()
{
    UB::CArrayList<UB::CHandle*> selection;
    Scene()->GetSelectedObjects(selection, true);
    for (UB::CHandle* object : selection) {
        if (CanLink(UB::CArrayList<UB::CHandle*>{object}))
            m_host->GetLinkManager()->UnlinkObject(object, Scene()->GetCurrentTime(), true, true);
    }
}

void CLinkageSection::OnLinkToCamera()
{
    UB::CArrayList<UB::CHandle*> selection;
    Scene()->GetSelectedObjects(selection, true);
    if (selection.GetCount() != 1)
        return;
    int type = 0;
    Scene()->GetObjectType(selection[0], type);
    if (type != kLinkToCameraType)
        return;
    UB::CHandle* camera = Scene()->GetCurrentCamera();
    m_host->GetLinkManager()->LinkObjects(selection, camera, 0, Scene()->GetCurrentTime(), true,
                                          true);
    // The camera link shows at once, before the host's events arrive.
    ui.qtUnlink->setEnabled(true);
    ui.qtLinkNodeText->setText(QString::fromStdWString(Scene()->GetObjectName(camera)));
}

} // namespace KV
