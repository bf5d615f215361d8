#pragma once

#include "host/KVWidgetBuilder.h"

#include <QObject>
#include <QString>

class QWidget;

/// Pairs one `.ui` layout with typed pointers to its objects. The pointers do not own: the
/// objects belong to the Qt object tree the widget builder made.
///
/// Virtual slot order is the host's binary contract: destructor, BindWidgets, GetRootWidget,
/// CustomHook.
class CUiComponent
{
public:
    virtual ~CUiComponent() = default;
    /// Looks up every object of the layout by name and stores the results, nulls included.
    virtual void BindWidgets(KV::CWidgetBuilder* builder) = 0;
    /// The layout's top-level object.
    virtual QWidget* GetRootWidget() = 0;
    virtual void CustomHook() {}
};

/// Finds the object called `name` of class T in the builder's roots (see CWidgetBuilder for
/// the search order). A name that finds nothing is appended to the builder's missing names;
/// a primary root that has the name but another class yields null and is not recorded.
template<typename T>
T* FindWidget(KV::CWidgetBuilder* builder, QString name)
{
    if (!builder->IsReady()) {
        builder->AppendMissingName(name);
        return nullptr;
    }
    QObject* primary = builder->GetPrimaryRoot();
    if (primary != nullptr && primary->objectName() == name)
        return qobject_cast<T*>(primary);

    T* found =
        primary != nullptr ? primary->findChild<T*>(name, Qt::FindChildrenRecursively) : nullptr;
    if (found == nullptr && builder->GetSecondaryRoot() != nullptr)
        found = builder->GetSecondaryRoot()->findChild<T*>(name, Qt::FindChildrenRecursively);
    if (found == nullptr)
        builder->AppendMissingName(name);
    return found;
}
