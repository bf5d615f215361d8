#pragma once

#include "host/KVPluginQtGlobal.h"

#include <QDialog>

namespace KV {

/// The framework's dialog: reports showing and hiding through four hooks, which derived
/// dialogs may override. The base hooks do nothing.
class KVPLUGINQT_EXPORT CDialogEx : public QDialog
{
    Q_OBJECT
public:
    explicit CDialogEx(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~CDialogEx() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

    virtual void BeforeDialogModeChangedToShow();
    virtual void AfterDialogModeChangedToShow();
    virtual void BeforeDialogModeChangedTHide();
    virtual void AfterDialogModeChangedTHide();
};

/// Base of the plug-in's dialogs.
class KVPLUGINQT_EXPORT CPluginDialog : public CDialogEx
{
    Q_OBJECT
public:
    explicit CPluginDialog(QWidget* parent = nullptr);
    ~CPluginDialog() override;
};

} // namespace KV
