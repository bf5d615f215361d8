#include "host/KVPluginDialog.h"

#include <QEvent>

namespace KV {

CDialogEx::CDialogEx(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{}

CDialogEx::~CDialogEx() = default;

void CDialogEx::showEvent(QShowEvent* event)
{
    BeforeDialogModeChangedToShow();
    QDialog::showEvent(event);
    AfterDialogModeChangedToShow();
}

void CDialogEx::hideEvent(QHideEvent* event)
{
    BeforeDialogModeChangedTHide();
    QDialog::hideEvent(event);
    AfterDialogModeChangedTHide();
}

void CDialogEx::keyReleaseEvent(QKeyEvent* event)
{
    QDialog::keyReleaseEvent(event);
}

bool CDialogEx::event(QEvent* event)
{
    return QDialog::event(event);
}

void CDialogEx::BeforeDialogModeChangedToShow() {}
void CDialogEx::AfterDialogModeChangedToShow() {}
void CDialogEx::BeforeDialogModeChangedTHide() {}
void CDialogEx::AfterDialogModeChangedTHide() {}

CPluginDialog::CPluginDialog(QWidget* parent)
    : CDialogEx(parent, Qt::WindowFlags())
{}

CPluginDialog::~CPluginDialog() = default;

} // namespace KV
