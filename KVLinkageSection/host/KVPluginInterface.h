#pragma once

#include "host/KVEnums.h"
#include "host/KVPluginQtGlobal.h"
#include "host/UBTypes.h"

#include <QList>
#include <QString>

class QAction;
class QDockWidget;
class QMenu;
class QToolBar;
class QWidget;

namespace KV {

class CKorvelInterface;
class CSectionInterface;

/// What the host asks of every plug-in. Slot order is the host's binary contract.
///
/// Initialize's two texts: `first` is the folder the plug-in library was loaded from (the
/// resource file lies beside it); `second` is the host's set-up string, handed to every
/// layout the plug-in builds (the stand-in host passes its UI theme name).
class KVPLUGINQT_EXPORT CPluginInterface
{
public:
    virtual UB::Result Initialize(const QString& first, const QString& second,
                                  CKorvelInterface* host) = 0;
    virtual UB::Result GetDockWidgetList(QList<QDockWidget*>& list) = 0;
    /// Widgets for the host's status bar.
    virtual UB::Result GetStatusBarWidgetList(QList<QWidget*>& list) = 0;
    virtual UB::Result GetSectionList(QList<CSectionInterface*>& list) = 0;
    virtual UB::Result GetContextList(QList<QAction*>& list) = 0;
    virtual UB::Result GetMenusList(QList<QMenu*>& list) = 0;
    virtual UB::Result GetToolBarsList(QList<QToolBar*>& list) = 0;
    virtual ECompatibleApp GetCompatibleApps() = 0;
    virtual ECompatibleApp GetCurrentApp() = 0;
    virtual void SetCurrentApp(ECompatibleApp app) = 0;
    virtual void RestoreLayout() = 0;
    virtual ~CPluginInterface();
};

/// A section of one of the host's command panels. Slot order is the host's binary contract.
class KVPLUGINQT_EXPORT CSectionInterface
{
public:
    virtual int GetSectionPanel() = 0;
    virtual int GetSectionId() = 0;
    virtual int GetSectionTab() = 0;
    virtual QWidget* GetSectionWidget() = 0;
    virtual bool GetSectionExpandState() = 0;
    virtual void SetSectionExpandState(bool expanded) = 0;
    virtual bool AbleToShowSection() = 0;
    virtual ~CSectionInterface();
};

} // namespace KV
