#include "host/KVWidgetBuilder.h"

#include "LayoutSettings.h"
#include "sdk/CUiComponent.h"

#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QToolBar>
#include <QUiLoader>
#include <QVBoxLayout>
#include <QtDebug>

namespace KV {

CWidgetBuilder::CWidgetBuilder() = default;

CWidgetBuilder::~CWidgetBuilder()
{
    // The actions layout's window is never shown; its menus and actions die with it.
    delete m_layoutWindow.data();
}

void CWidgetBuilder::SetLayoutIniPath(QString path)
{
    m_layoutIniPath = path;
    if (!ReadLayoutStyleSheet(path, m_styleSheet))
        qWarning("KVPluginQt: layout settings '%s' cannot be read", qPrintable(path));
}

void CWidgetBuilder::SetRoots(QObject* primary, QObject* secondary)
{
    m_primaryRoot = primary;
    m_secondaryRoot = secondary;
}

QMainWindow* CWidgetBuilder::GetLayoutWindow() const
{
    return m_layoutWindow.data();
}

QWidget* CWidgetBuilder::LoadForm(QWidget* parent, QString* error)
{
    QFile file(m_formPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open the file");
        return nullptr;
    }
    QUiLoader loader;
    QWidget* form = loader.load(&file, parent);
    if (form == nullptr)
        *error = loader.errorString();
    return form;
}

UB::Result CWidgetBuilder::Bind(CUiComponent* component, QObject* primary, QObject* secondary)
{
    m_missingNames.clear();
    SetRoots(primary, secondary);
    m_ready = true;
    component->BindWidgets(this);
    component->CustomHook();
    if (!m_missingNames.isEmpty()) {
        QStringList names(m_missingNames.begin(), m_missingNames.end());
        qWarning("KVPluginQt: layout '%s' lacks the objects: %s", qPrintable(m_formPath),
                 qPrintable(names.join(QStringLiteral(", "))));
    }
    return UB::kOk;
}

UB::Result CWidgetBuilder::InitToolbarAndMenuUi(CUiComponent* component,
                                                UB::CArrayList<QPointer<QToolBar>>& toolBars,
                                                UB::CArrayList<QPointer<QMenu>>& menus,
                                                CKorvelInterface*)
{
    if (component == nullptr)
        return kNoComponent;
    QString error;
    QWidget* form = LoadForm(nullptr, &error);
    auto* window = qobject_cast<QMainWindow*>(form);
    if (window == nullptr) {
        delete form;
        qWarning("KVPluginQt: layout '%s' does not load as a main window: %s",
                 qPrintable(m_formPath), qPrintable(error));
        return kLayoutNotLoaded;
    }
    delete m_layoutWindow.data();
    m_layoutWindow = window;
    if (!m_styleSheet.isEmpty())
        window->setStyleSheet(m_styleSheet);

    const UB::Result result = Bind(component, window, nullptr);

    // Tool bars in the order the layout declares them; menus as the menu bar shows them.
    for (QToolBar* toolBar : window->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly))
        toolBars.Add(QPointer<QToolBar>(toolBar));
    if (QMenuBar* menuBar = window->menuBar()) {
        for (QAction* action : menuBar->actions()) {
            if (QMenu* menu = action->menu())
                menus.Add(QPointer<QMenu>(menu));
        }
    }
    return result;
}

UB::Result CWidgetBuilder::InitUi(QWidget* widget, CUiComponent* component, CKorvelInterface*,
                                  bool applyStyle)
{
    if (component == nullptr || widget == nullptr)
        return kNoComponent;
    QString error;
    QWidget* form = LoadForm(widget, &error);
    if (form == nullptr) {
        qWarning("KVPluginQt: layout '%s' cannot be loaded: %s", qPrintable(m_formPath),
                 qPrintable(error));
        return kLayoutNotLoaded;
    }
    // A form drawn as a dialog or window would open as a window of its own; it is a part
    // of its host widget instead.
    if (form->isWindow())
        form->setWindowFlags(Qt::Widget);
    // An embedded dialog form still ends itself on Esc or accept/reject: it stays shown as
    // part of its host, and a host dialog ends in its place.
    if (auto* formDialog = qobject_cast<QDialog*>(form)) {
        auto* hostDialog = qobject_cast<QDialog*>(widget);
        QObject::connect(formDialog, &QDialog::finished, widget, [formDialog, hostDialog](int r) {
            formDialog->show();
            if (hostDialog != nullptr)
                hostDialog->done(r);
        });
    }
    // The form fills its host widget; the host widget owns it from here on.
    if (QLayout* existing = widget->layout()) {
        existing->addWidget(form);
    } else {
        auto* layout = new QVBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(form);
    }
    if (applyStyle && !m_styleSheet.isEmpty())
        widget->setStyleSheet(m_styleSheet);
    return Bind(component, form, widget);
}

UB::Result CWidgetBuilder::InitUi(QDialog* dialog, CUiComponent* component, CKorvelInterface* host,
                                  bool applyStyle, bool)
{
    const UB::Result result = InitUi(static_cast<QWidget*>(dialog), component, host, applyStyle);
    if (result.IsSucceeded() && dialog != nullptr && m_primaryRoot != nullptr) {
        auto* form = static_cast<QWidget*>(m_primaryRoot);
        if (!form->windowTitle().isEmpty())
            dialog->setWindowTitle(form->windowTitle());
        dialog->resize(form->size().expandedTo(dialog->sizeHint()));
    }
    return result;
}

} // namespace KV
