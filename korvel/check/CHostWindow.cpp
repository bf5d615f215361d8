#include "CHostWindow.h"

#include "KVSceneModel.h"
#include "host/KVPluginInterface.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace KV {

const QString CHostWindow::kSetupString = QStringLiteral("Light");

namespace {

const QString kPluginOwner = QStringLiteral("KVLinkagePlugin");
const QString kSectionOwner = QStringLiteral("KVLinkageSection");
const QStringList kCategoryPath = {QStringLiteral("[Hot Key] Modify"),
                                   QStringLiteral("[Hot Key] Attribute"),
                                   QStringLiteral("[Hot Key] Linkage")};

template<typename T>
T* FindIn(QWidget* root, const QString& name, QStringList* problems, const char* className)
{
    T* found = root != nullptr ? root->findChild<T*>(name) : nullptr;
    if (found == nullptr && root != nullptr)
        problems->append(
            QStringLiteral("the section holds no %1 named %2").arg(QLatin1String(className), name));
    return found;
}

QString CodeText(const UB::Result& result)
{
    return QStringLiteral("0x%1").arg(static_cast<quint32>(result.code), 8, 16, QLatin1Char('0'));
}

} // namespace

CHostWindow::CHostWindow()
    : m_window(std::make_unique<QMainWindow>())
    , m_scene(std::make_unique<CSceneModel>())
{
    m_window->setObjectName(QStringLiteral("KorvelCheckHostWindow"));
    m_window->resize(1200, 800);
    auto* central = new QWidget(m_window.get());
    auto* centralLayout = new QHBoxLayout(central);
    centralLayout->addStretch(1);
    m_modifyPanel = new QWidget(central);
    m_modifyPanel->setObjectName(QStringLiteral("ModifyPanel"));
    m_modifyPanel->setMinimumWidth(320);
    auto* panelLayout = new QVBoxLayout(m_modifyPanel);
    panelLayout->addStretch(1);
    centralLayout->addWidget(m_modifyPanel);
    m_window->setCentralWidget(central);
    m_scene->SetMainWindow(m_window.get());
}

CHostWindow::~CHostWindow()
{
    // The plug-in's widgets run its code, so they go while the scene still stands; the plug-in
    // object itself is deleted by its loader afterwards.
    m_window.reset();
    m_scene.reset();
}

UB::Result CHostWindow::Start(CPluginLoader& plugin, QStringList* problems)
{
    const UB::Result result = plugin.Initialize(m_scene.get(), kSetupString);
    if (result.IsFailed()) {
        problems->append(plugin.Problem());
        return result;
    }
    if (result != UB::kOk)
        problems->append(QStringLiteral("Initialize returned %1, not 0").arg(CodeText(result)));

    const CPluginLoader::COffers offers = plugin.Offers();
    TakeSection(offers, problems);
    TakeMenusAndToolBars(offers, problems);
    FindSectionControls(problems);
    FindCommands(problems);
    CheckHotKeys(problems);
    CheckSplitButton(problems);

    m_window->show();
    QApplication::processEvents();
    return result;
}

bool CHostWindow::HasAllControls() const
{
    const CPluginWidgets& w = m_widgets;
    return w.section && w.groupBox && w.label && w.linkNodeText && w.pickParent && w.unlink &&
           w.linkCamera && w.linkSubNode && w.escHotkey && w.splitButton && w.linkMenu &&
           w.linkAction && w.unlinkAction && w.linkToAction && w.linkToCameraAction &&
           w.contextUnlinkAction && w.sectionHotkey;
}

void CHostWindow::TakeSection(const CPluginLoader::COffers& offers, QStringList* problems)
{
    const QList<CSectionInterface*>& sections = offers.sections;
    const UB::Result result = offers.CodeOf("GetSectionList");
    if (result != UB::kOk || sections.size() != 1 || sections.constFirst() == nullptr) {
        problems->append(QStringLiteral("after Initialize, GetSectionList gives code %1 and %2 "
                                        "entries; the host expects code 0 and one section")
                             .arg(result.code)
                             .arg(sections.size()));
        if (sections.isEmpty() || sections.constFirst() == nullptr)
            return;
    }
    CSectionInterface* section = sections.constFirst();
    m_widgets.sectionInterface = section;
    m_widgets.section = section->GetSectionWidget();
    if (section->GetSectionPanel() != 4 || section->GetSectionId() != 336 ||
        section->GetSectionTab() != 0)
        problems->append(QStringLiteral("the section reports panel %1, section %2, tab %3; the "
                                        "host expects panel 4, section 336, tab 0")
                             .arg(section->GetSectionPanel())
                             .arg(section->GetSectionId())
                             .arg(section->GetSectionTab()));
    if (m_widgets.section.isNull()) {
        problems->append(QStringLiteral("the section gives no widget"));
        return;
    }
    if (m_widgets.section->parentWidget() != m_window.get())
        problems->append(QStringLiteral("the section widget is not a child of the host's main "
                                        "window"));
    auto* layout = static_cast<QVBoxLayout*>(m_modifyPanel->layout());
    layout->insertWidget(0, m_widgets.section);
}

void CHostWindow::TakeMenusAndToolBars(const CPluginLoader::COffers& offers, QStringList* problems)
{
    const UB::Result menuResult = offers.CodeOf("GetMenusList");
    const UB::Result toolBarResult = offers.CodeOf("GetToolBarsList");
    const UB::Result contextResult = offers.CodeOf("GetContextList");
    if (menuResult != UB::kOk || toolBarResult != UB::kOk || contextResult != UB::kOk)
        problems->append(QStringLiteral("GetMenusList, GetToolBarsList and GetContextList give "
                                        "codes %1, %2 and %3; the host expects 0")
                             .arg(menuResult.code)
                             .arg(toolBarResult.code)
                             .arg(contextResult.code));
    if (!offers.contextActions.isEmpty())
        problems->append(QStringLiteral("GetContextList hands over %1 actions; the plug-in puts "
                                        "none there")
                             .arg(offers.contextActions.size()));
    for (QMenu* menu : offers.menus) {
        if (menu == nullptr)
            continue;
        m_widgets.menus.append(menu);
        m_window->menuBar()->addMenu(menu);
    }
    for (QToolBar* toolBar : offers.toolBars) {
        if (toolBar == nullptr)
            continue;
        m_widgets.toolBars.append(toolBar);
        m_window->addToolBar(toolBar);
    }
    if (m_widgets.toolBars.isEmpty())
        problems->append(QStringLiteral("the plug-in hands over no tool bar"));
}

void CHostWindow::FindSectionControls(QStringList* problems)
{
    QWidget* section = m_widgets.section;
    if (section == nullptr)
        return;
    m_widgets.groupBox =
        FindIn<QGroupBox>(section, QStringLiteral("qtSectionGroupBox"), problems, "QGroupBox");
    m_widgets.label = section->findChild<QLabel*>(QStringLiteral("label_512"));
    if (m_widgets.label.isNull())
        m_widgets.label = section->findChild<QLabel*>(QStringLiteral("label_512NoKey"));
    if (m_widgets.label.isNull())
        problems->append(QStringLiteral("the section holds no QLabel named label_512"));
    m_widgets.linkNodeText =
        FindIn<QLineEdit>(section, QStringLiteral("qtLinkNodeText"), problems, "QLineEdit");
    m_widgets.pickParent =
        FindIn<QPushButton>(section, QStringLiteral("qtPickParent"), problems, "QPushButton");
    m_widgets.unlink =
        FindIn<QPushButton>(section, QStringLiteral("qtUnlink"), problems, "QPushButton");
    m_widgets.linkCamera = FindIn<QPushButton>(section, QStringLiteral("qtLinkCameraPushButton"),
                                               problems, "QPushButton");
    m_widgets.linkSubNode =
        FindIn<QToolButton>(section, QStringLiteral("qtLinkSubNode"), problems, "QToolButton");
    m_widgets.escHotkey = FindRegisteredAction(kSectionOwner, QStringLiteral("qtEscHotkey"));
    if (m_widgets.escHotkey.isNull())
        problems->append(QStringLiteral("no action named qtEscHotkey is registered as a hot key "
                                        "of KVLinkageSection"));
}

void CHostWindow::FindCommands(QStringList* problems)
{
    QList<QMenu*> menus;
    for (const QPointer<QMenu>& menu : qAsConst(m_widgets.menus)) {
        menus.append(menu);
        menus += menu->findChildren<QMenu*>();
    }
    QList<QAction*> actions;
    for (QMenu* menu : qAsConst(menus)) {
        if (menu->objectName() == QLatin1String("qtLinkMenu") && m_widgets.linkMenu.isNull())
            m_widgets.linkMenu = menu;
        actions += menu->actions();
    }
    for (const QPointer<QToolBar>& toolBar : qAsConst(m_widgets.toolBars)) {
        actions += toolBar->actions();
        if (m_widgets.splitButton.isNull())
            m_widgets.splitButton =
                toolBar->findChild<QToolButton*>(QStringLiteral("qtLinkMenuAction"));
    }
    const auto find = [&](const QString& name) -> QAction* {
        for (QAction* action : qAsConst(actions)) {
            if (action->objectName() == name)
                return action;
        }
        problems->append(QStringLiteral("the plug-in's menus and tool bars hold no action named "
                                        "%1")
                             .arg(name));
        return nullptr;
    };
    m_widgets.linkAction = find(QStringLiteral("qtLinkAction"));
    m_widgets.unlinkAction = find(QStringLiteral("qtUnlinkAction"));
    m_widgets.linkToAction = find(QStringLiteral("qtCLinkToAction"));
    m_widgets.linkToCameraAction = find(QStringLiteral("qtCLinkToCameraAction"));
    m_widgets.contextUnlinkAction = find(QStringLiteral("qtCUnlinkAction"));
    if (m_widgets.linkMenu.isNull())
        problems->append(QStringLiteral("the plug-in's menus hold no menu named qtLinkMenu"));
    if (m_widgets.splitButton.isNull())
        problems->append(QStringLiteral("the plug-in's tool bars hold no tool button named "
                                        "qtLinkMenuAction"));
    for (QAction* action : qAsConst(actions)) {
        if (action->objectName() == QLatin1String("qtLinkMenuAction"))
            problems->append(QStringLiteral("the placeholder action qtLinkMenuAction is still in "
                                            "the tool bar"));
    }
    m_widgets.sectionHotkey =
        FindRegisteredAction(kPluginOwner, QStringLiteral("qtLinkageSectionHotkey"));
    if (m_widgets.sectionHotkey.isNull())
        problems->append(QStringLiteral("no action named qtLinkageSectionHotkey is registered as "
                                        "a hot key of KVLinkagePlugin"));
}

void CHostWindow::CheckHotKeys(QStringList* problems)
{
    const auto registered = [&](const QString& owner) {
        QStringList names;
        for (const CHotKeyCategory& category : m_scene->HotKeyCategories()) {
            if (category.owner != owner)
                continue;
            if (category.path != kCategoryPath)
                problems->append(QStringLiteral("%1 registers the hot-key category \"%2\"; the "
                                                "host expects \"%3\"")
                                     .arg(owner, category.path.join(QLatin1String(" / ")),
                                          kCategoryPath.join(QLatin1String(" / "))));
            for (const QPointer<QAction>& action : category.actions)
                names.append(action ? action->objectName() : QStringLiteral("(deleted)"));
        }
        return names;
    };
    const QStringList pluginActions = registered(kPluginOwner);
    const QStringList expectedPluginActions = {QStringLiteral("qtLinkageSectionHotkey"),
                                               QStringLiteral("qtLinkAction"),
                                               QStringLiteral("qtUnlinkAction")};
    if (pluginActions != expectedPluginActions)
        problems->append(QStringLiteral("KVLinkagePlugin registers the hot-key actions [%1]; the "
                                        "host expects [%2]")
                             .arg(pluginActions.join(QLatin1String(", ")),
                                  expectedPluginActions.join(QLatin1String(", "))));
    const QStringList sectionActions = registered(kSectionOwner);
    if (sectionActions != QStringList{QStringLiteral("qtEscHotkey")})
        problems->append(QStringLiteral("KVLinkageSection registers the hot-key actions [%1]; the "
                                        "host expects [qtEscHotkey]")
                             .arg(sectionActions.join(QLatin1String(", "))));
}

void CHostWindow::CheckSplitButton(QStringList* problems)
{
    QToolButton* button = m_widgets.splitButton;
    QAction* link = m_widgets.linkAction;
    QAction* unlink = m_widgets.unlinkAction;
    if (button == nullptr || link == nullptr || unlink == nullptr)
        return;
    if (button->popupMode() != QToolButton::MenuButtonPopup)
        problems->append(QStringLiteral("the split link button does not pop up its menu from a "
                                        "separate arrow"));
    if (button->icon().cacheKey() != link->icon().cacheKey() ||
        button->toolTip() != link->toolTip())
        problems->append(QStringLiteral("the split link button does not show qtLinkAction's icon "
                                        "and tool tip"));
    const QList<QAction*> menuActions =
        button->menu() != nullptr ? button->menu()->actions() : QList<QAction*>();
    if (menuActions != QList<QAction*>{link, unlink})
        problems->append(QStringLiteral("the split link button's drop-down does not list Link "
                                        "then Unlink"));
}

QAction* CHostWindow::FindRegisteredAction(const QString& owner, const QString& name) const
{
    for (const CHotKeyCategory& category : m_scene->HotKeyCategories()) {
        if (category.owner != owner)
            continue;
        for (const QPointer<QAction>& action : category.actions) {
            if (action && action->objectName() == name)
                return action;
        }
    }
    return nullptr;
}

} // namespace KV
