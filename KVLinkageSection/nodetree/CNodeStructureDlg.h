#pragma once

#include "host/KVPluginDialog.h"
#include "host/KVWidgetBuilder.h"
#include "nodetree/CNodeTreeWidgetTool.h"

class CUiComponent;
class QAbstractButton;
class QKeyEvent;

namespace KV {

class CKorvelInterface;

/// Base of the dialogs in which the user picks one node of a host object from a tree. It
/// builds its layout through its own widget builder, wires OK and Cancel, and leaves the
/// picked node in the tool's chosen node for the caller to read after the dialog closed.
///
/// Keypad Enter confirms like OK unless the search just changed (the Enter-pending flag), in
/// which case it only clears the flag. No other key does anything here: Return and Escape
/// neither confirm nor close the dialog.
///
/// A concrete dialog supplies the tree widget and the two buttons.
class CNodeStructureDlg : public CPluginDialog, public CNodeTreeWidgetTool
{
    Q_OBJECT
public:
    explicit CNodeStructureDlg(QWidget* parent);
    ~CNodeStructureDlg() override;

    /// Builds the layout at `uiPath` into the dialog with `component`, sets the tool up and
    /// connects Cancel and OK. A null host gives 0x80000003 and changes nothing; a failed
    /// build gives the builder's code and leaves the tool unset and the buttons unconnected.
    virtual UB::Result InitDialogUi(const QString& uiPath, const QString& coreString,
                                    const QString& iniPath, CUiComponent* component,
                                    CKorvelInterface* host);
    virtual QAbstractButton* GetCancelButton() = 0;
    virtual QAbstractButton* GetOkButton() = 0;

    /// Takes the node of the first selected item (null when none is selected) and accepts.
    void OnOk();
    /// Takes no node and rejects.
    void OnCancel();

protected:
    void keyPressEvent(QKeyEvent* event) override;

    /// The host interface given to InitDialogUi.
    CKorvelInterface* m_dialogHost = nullptr;
    CWidgetBuilder m_builder;
};

} // namespace KV
