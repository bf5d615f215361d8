#include "nodetree/CNodeStructureDlg.h"

#include "sdk/CUiComponent.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QtDebug>

namespace KV {

CNodeStructureDlg::CNodeStructureDlg(QWidget* parent)
    : CPluginDialog(parent)
{}

CNodeStructureDlg::~CNodeStructureDlg() = default;

UB::Result CNodeStructureDlg::InitDialogUi(const QString& uiPath, const QString& coreString,
                                           const QString& iniPath, CUiComponent* component,
                                           CKorvelInterface* host)
{
    if (host == nullptr)
        return UB::kNotCreated;
    m_dialogHost = host;
    m_builder.SetUiPath(uiPath);
    m_builder.SetSetupString(coreString);
    m_builder.SetLayoutIniPath(iniPath);
    const UB::Result built = m_builder.InitUi(this, component, host, true, true);
    if (built.IsFailed())
        return built;

    InitTreeTool(host); // always succeeds

    if (QAbstractButton* cancel = GetCancelButton())
        connect(cancel, &QAbstractButton::clicked, this, &CNodeStructureDlg::OnCancel);
    else
        qWarning("KVLinkageSection: layout '%s' has no Cancel button", qPrintable(uiPath));
    if (QAbstractButton* ok = GetOkButton())
        connect(ok, &QAbstractButton::clicked, this, &CNodeStructureDlg::OnOk);
    else
        qWarning("KVLinkageSection: layout '%s' has no OK button", qPrintable(uiPath));
    return UB::kOk;
}

void CNodeStructureDlg::OnOk()
{
    QTreeWidget* tree = GetTreeWidget();
    const QList<QTreeWidgetItem*> selected =
        tree != nullptr ? tree->selectedItems() : QList<QTreeWidgetItem*>();
    m_chosenNode = selected.isEmpty() ? nullptr : GetItemNode(selected.first());
    accept();
}

void CNodeStructureDlg::OnCancel()
{
    m_chosenNode = nullptr;
    reject();
}

void CNodeStructureDlg::keyPressEvent(QKeyEvent* event)
{
    // Only keypad Enter means anything; the dialog's usual Return and Escape handling is
    // deliberately not reached.
    if (event->key() != Qt::Key_Enter)
        return;
    if (m_enterPending) {
        m_enterPending = false;
        return;
    }
    OnOk();
}

} // namespace KV
