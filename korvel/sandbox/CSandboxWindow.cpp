#include "CSandboxWindow.h"

#include "CDeveloperMenu.h"
#include "CDialogModeScope.h"
#include "CDockSizer.h"
#include "CFileMenu.h"
#include "CHostApplication.h"
#include "CHostCallsPanel.h"
#include "CHotKeyDialog.h"
#include "CHotKeyMap.h"
#include "CModifyPanel.h"
#include "CObjectSection.h"
#include "COutliner.h"
#include "CParentPicker.h"
#include "CPluginHost.h"
#include "CTimelineBar.h"
#include "CViewport.h"
#include "KVSceneModel.h"

#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

// Resources of a static library are registered by hand, from the global namespace.
static void InitSandboxResources()
{
    Q_INIT_RESOURCE(sandbox);
}

namespace KV {

namespace {

constexpr int kMessageTimeoutMs = 10000;

std::unique_ptr<QSettings> OpenSettings(const QString& path)
{
    if (path.isEmpty())
        return std::make_unique<QSettings>();
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString PlainTitle(QString title)
{
    return title.remove(QLatin1Char('&'));
}

} // namespace

CSandboxWindow::CSandboxWindow(const CSandboxOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , m_options(options)
    , m_settings(OpenSettings(options.settingsPath))
    , m_scene(std::make_unique<CSceneModel>())
    , m_plugins(std::make_unique<CPluginHost>())
    , m_hotKeys(std::make_unique<CHotKeyMap>(m_scene.get(), m_settings.get()))
{
    InitSandboxResources();
    setObjectName(QStringLiteral("qtSandboxWindow"));
    m_scene->SetMainWindow(this);
    m_picker = new CParentPicker(m_scene.get(), this);

    BuildCentre();
    BuildDocks();
    BuildMenus();
    BuildStatusBar();

    CHostApplication::RunCommandsOn(m_scene.get());
    connect(m_picker, &CParentPicker::Message, this, &CSandboxWindow::ShowMessage);
    connect(m_picker, &CParentPicker::Problem, this, &CSandboxWindow::ShowProblem);
    connect(m_plugins.get(), &CPluginHost::Message, this, &CSandboxWindow::ShowMessage);
    connect(m_plugins.get(), &CPluginHost::Problem, this, &CSandboxWindow::ShowProblem);
    connect(m_scene.get(), &CSceneModel::CommandEnded, this, &CSandboxWindow::ReportFailedCalls);
    connect(m_viewport, &CViewport::NodePicked, m_picker, &CParentPicker::Pick);
    connect(m_viewport, &CViewport::PickCancelled, m_picker, &CParentPicker::Cancel);
    connect(m_viewport, &CViewport::ContextMenuRequested, this,
            [this](const QPoint& globalPos) { ShowContextMenu(m_viewport, globalPos); });
    connect(m_outliner, &COutliner::NodePicked, m_picker, &CParentPicker::Pick);
    connect(m_outliner, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        ShowContextMenu(m_outliner, m_outliner->viewport()->mapToGlobal(pos));
    });
    connect(m_scene.get(), &CSceneModel::SectionShowRequested, this, &CSandboxWindow::ShowSection);
    connect(m_scene->EventSender(), &CEventSender::PickedModeChanged, this,
            &CSandboxWindow::ShowPickMode);
    connect(m_scene.get(), &CSceneModel::ModifiedChanged, this, &CSandboxWindow::UpdateTitle);

    LoadPlugins();
    m_hotKeys->Apply(this);

    // A file to import comes into a scene of its own unless a scene to take it is named.
    const bool opened = !m_options.scenePath.isEmpty() && m_fileMenu->OpenFile(m_options.scenePath);
    if (!opened && !m_options.importPath.isEmpty())
        m_fileMenu->NewScene();
    else if (!opened)
        m_fileMenu->OpenSampleScene();
    setAcceptDrops(true);
    resize(1400, 860);
}

CSandboxWindow::~CSandboxWindow()
{
    // Nothing may reach a plug-in while it goes. The scene falls silent; the widgets that talk
    // to the scene (the plug-ins' and the sandbox's) go while it still exists; then the scene,
    // whose event sender holds the plug-ins' connections; then the plug-in objects.
    m_scene->blockSignals(true);
    m_scene->EventSender()->blockSignals(true);
    m_scene->UndoStack()->blockSignals(true);
    m_plugins->DeleteWidgets();
    delete centralWidget();
    qDeleteAll(findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly));
    m_scene.reset();
    m_plugins->Unload();
}

// ---- Building the window ----------------------------------------------------------------------

void CSandboxWindow::BuildCentre()
{
    auto* centre = new QWidget(this);
    m_viewport = new CViewport(m_scene.get(), centre);
    m_timeline = new CTimelineBar(m_scene.get(), centre);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_viewport, 1);
    layout->addWidget(m_timeline);
    setCentralWidget(centre);
}

void CSandboxWindow::BuildDocks()
{
    const auto addDock = [this](const QString& title, const QString& name, QWidget* content,
                                Qt::DockWidgetArea area) {
        auto* dock = new QDockWidget(title, this);
        dock->setObjectName(name);
        content->setParent(dock);
        dock->setWidget(content);
        addDockWidget(area, dock);
        return dock;
    };
    // The side panels run the full height; the Host Calls panel sits between them.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    m_outliner = new COutliner(m_scene.get());
    QDockWidget* outlinerDock = addDock(tr("Outliner"), QStringLiteral("qtOutlinerDock"),
                                        m_outliner, Qt::LeftDockWidgetArea);

    m_modifyPanel = new CModifyPanel;
    m_objectSection = new CObjectSection(m_scene.get());
    m_modifyPanel->AddSection(m_objectSection, m_objectSection, 0, CObjectSection::kSectionId);
    m_modifyDock = addDock(tr("Modify"), QStringLiteral("qtModifyDock"), m_modifyPanel,
                           Qt::RightDockWidgetArea);

    m_hostCalls = new CHostCallsPanel(m_scene.get());
    QDockWidget* hostCallsDock = addDock(tr("Host Calls"), QStringLiteral("qtHostCallsDock"),
                                         m_hostCalls, Qt::BottomDockWidgetArea);
    auto* sizer = new CDockSizer(this);
    sizer->Keep(outlinerDock, Qt::Horizontal, 260);
    sizer->Keep(m_modifyDock, Qt::Horizontal, 400);
    sizer->Keep(hostCallsDock, Qt::Vertical, 200);
}

void CSandboxWindow::BuildMenus()
{
    m_fileMenu = new CFileMenu(m_scene.get(), m_settings.get(), this);
    connect(m_fileMenu, &CFileMenu::Message, this, &CSandboxWindow::ShowMessage);
    connect(m_fileMenu, &CFileMenu::Problem, this, &CSandboxWindow::ShowProblem);
    connect(m_fileMenu, &CFileMenu::SceneReplaced, this, &CSandboxWindow::OnSceneReplaced);
    connect(m_fileMenu, &CFileMenu::TitleChanged, this, &CSandboxWindow::UpdateTitle);
    connect(m_fileMenu, &CFileMenu::Imported, m_viewport, &CViewport::ResetView);
    connect(m_fileMenu, &CFileMenu::Imported, m_timeline, &CTimelineBar::UpdateRange);
    menuBar()->addMenu(m_fileMenu);

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    m_editMenu->setObjectName(QStringLiteral("qtSandboxEditMenu"));
    QAction* undo = m_scene->UndoStack()->createUndoAction(this, tr("&Undo"));
    undo->setObjectName(QStringLiteral("qtUndoAction"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_scene->UndoStack()->createRedoAction(this, tr("&Redo"));
    redo->setObjectName(QStringLiteral("qtRedoAction"));
    redo->setShortcut(QKeySequence::Redo);
    m_editMenu->addAction(undo);
    m_editMenu->addAction(redo);
    m_editMenu->addSeparator();
    QAction* selectAll = m_editMenu->addAction(tr("Select &All"), this, &CSandboxWindow::SelectAll);
    selectAll->setObjectName(QStringLiteral("qtSelectAllAction"));
    selectAll->setShortcut(QKeySequence::SelectAll);
    QAction* selectNone = m_editMenu->addAction(tr("Select &None"), m_scene.get(),
                                                [this] { m_scene->SetSelection({}); });
    selectNone->setObjectName(QStringLiteral("qtSelectNoneAction"));
    selectNone->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    m_editMenu->addSeparator();
    QAction* hotKeys = m_editMenu->addAction(tr("&Hot Keys…"), this, &CSandboxWindow::ShowHotKeys);
    hotKeys->setObjectName(QStringLiteral("qtHotKeysAction"));

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    m_viewMenu->setObjectName(QStringLiteral("qtViewMenu"));
    for (QDockWidget* dock : findChildren<QDockWidget*>(QString(), Qt::FindDirectChildrenOnly))
        m_viewMenu->addAction(dock->toggleViewAction());
    m_viewMenu->addSeparator();
    QAction* fit = m_viewMenu->addAction(tr("&Fit Viewport"), m_viewport, &CViewport::ResetView);
    fit->setObjectName(QStringLiteral("qtFitViewAction"));

    m_developerMenu = new CDeveloperMenu(m_scene.get(), this);
    connect(m_developerMenu, &CDeveloperMenu::Message, this, &CSandboxWindow::ShowMessage);
    menuBar()->addMenu(m_developerMenu);

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("qtHelpMenu"));
    m_helpMenu->addAction(tr("&Plug-ins…"), this, &CSandboxWindow::ShowPlugins)
        ->setObjectName(QStringLiteral("qtPluginsAction"));
    m_helpMenu->addAction(tr("&About Korvel Sandbox"), this, &CSandboxWindow::ShowAbout)
        ->setObjectName(QStringLiteral("qtAboutAction"));

    const std::pair<const char*, QStyle::StandardPixmap> fileIcons[] = {
        {"qtNewAction", QStyle::SP_FileIcon},
        {"qtOpenAction", QStyle::SP_DialogOpenButton},
        {"qtSaveAction", QStyle::SP_DialogSaveButton},
    };
    QToolBar* main = addToolBar(tr("Main"));
    main->setObjectName(QStringLiteral("qtMainToolBar"));
    for (const auto& fileIcon : fileIcons) {
        QAction* action = m_fileMenu->findChild<QAction*>(QLatin1String(fileIcon.first));
        action->setIcon(style()->standardIcon(fileIcon.second));
        main->addAction(action);
    }
    main->addSeparator();
    undo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    redo->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    main->addAction(undo);
    main->addAction(redo);
}

void CSandboxWindow::BuildStatusBar()
{
    m_pickModeLabel = new QLabel(this);
    m_pickModeLabel->setObjectName(QStringLiteral("qtPickModeLabel"));
    statusBar()->setObjectName(QStringLiteral("qtStatusBar"));
    statusBar()->addPermanentWidget(m_pickModeLabel);
    ShowPickMode();
}

// ---- Plug-ins ---------------------------------------------------------------------------------

void CSandboxWindow::LoadPlugins()
{
    const QString path = m_options.pluginPath.isEmpty() ? CSandboxOptions::DefaultPluginFolder()
                                                        : m_options.pluginPath;
    m_plugins->Load(path, m_scene.get(), this);

    for (const CPluginHost::CSection& section : m_plugins->Sections()) {
        if (section.panel != CModifyPanel::kPanelId) {
            section.widget->hide();
            ShowMessage(tr("Section %1 asks for panel %2; the sandbox has only the Modify panel "
                           "(%3), so it is not shown.")
                            .arg(section.id)
                            .arg(section.panel)
                            .arg(CModifyPanel::kPanelId));
            continue;
        }
        m_modifyPanel->AddSection(section.section, section.widget, section.tab, section.id);
    }
    for (QMenu* menu : m_plugins->Menus())
        PlacePluginMenu(menu);
    for (QToolBar* toolBar : m_plugins->ToolBars())
        addToolBar(Qt::TopToolBarArea, toolBar);
    for (QDockWidget* dock : m_plugins->DockWidgets()) {
        addDockWidget(Qt::RightDockWidgetArea, dock);
        m_viewMenu->insertAction(m_viewMenu->actions().value(0), dock->toggleViewAction());
    }
    for (QWidget* widget : m_plugins->StatusBarWidgets())
        statusBar()->addPermanentWidget(widget);
}

void CSandboxWindow::PlacePluginMenu(QMenu* menu)
{
    // A plug-in's context menu goes into the context menus of the outliner and the viewport;
    // a menu named like one of the sandbox's joins it; any other menu gets its own title.
    if (menu->objectName().contains(QLatin1String("Context"), Qt::CaseInsensitive)) {
        m_pluginContextMenus.append(menu);
        return;
    }
    const QString title = PlainTitle(menu->title());
    for (QAction* action : menuBar()->actions()) {
        QMenu* mine = action->menu();
        if (mine != nullptr && mine != menu && PlainTitle(mine->title()) == title) {
            mine->addSeparator();
            mine->addActions(menu->actions());
            return;
        }
    }
    menuBar()->insertMenu(m_developerMenu->menuAction(), menu);
}

void CSandboxWindow::ShowSection(int panel, int tab, int section)
{
    if (panel != CModifyPanel::kPanelId) {
        ShowMessage(tr("A plug-in asked to show section %1 of panel %2, which the sandbox does "
                       "not have.")
                        .arg(section)
                        .arg(panel));
        return;
    }
    m_modifyDock->show();
    m_modifyDock->raise();
    if (!m_modifyPanel->ShowSection(tab, section))
        ShowMessage(tr("A plug-in asked to show section %1, which the Modify panel does not hold.")
                        .arg(section));
}

// ---- Context menus, dialogs, messages ---------------------------------------------------------

QMenu* CSandboxWindow::BuildContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("qtObjectContextMenu"));
    menu->addAction(tr("Select All"), this, &CSandboxWindow::SelectAll);
    menu->addAction(tr("Select None"), m_scene.get(), [this] { m_scene->SetSelection({}); });

    QList<QAction*> pluginActions = m_plugins->ContextActions();
    for (const QPointer<QMenu>& pluginMenu : m_pluginContextMenus) {
        if (!pluginMenu.isNull())
            pluginActions += pluginMenu->actions();
    }
    if (!pluginActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(pluginActions);
    }
    return menu;
}

void CSandboxWindow::ShowContextMenu(QWidget* source, const QPoint& globalPos)
{
    QMenu* menu = BuildContextMenu(source);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void CSandboxWindow::ShowHotKeys()
{
    CHotKeyDialog dialog(m_hotKeys.get(), this);
    int result = QDialog::Rejected;
    {
        const CDialogModeScope dialogMode(m_scene.get());
        result = dialog.exec();
    }
    if (result == QDialog::Accepted) {
        dialog.Commit(this);
        ShowMessage(tr("Hot keys saved."));
    }
}

void CSandboxWindow::ShowAbout()
{
    const CDialogModeScope dialogMode(m_scene.get());
    QMessageBox::about(this, tr("About Korvel Sandbox"),
                       tr("<p><b>Korvel Sandbox</b></p><p>A stand-in for the Korvel host: it loads "
                          "plug-ins as the host does and gives them an in-memory scene to work "
                          "on.</p>"));
}

void CSandboxWindow::ShowPlugins()
{
    QStringList lines;
    for (const QString& file : m_plugins->LoadedFiles())
        lines << tr("Running: %1").arg(QDir::toNativeSeparators(file));
    if (lines.isEmpty())
        lines << tr("No plug-in is running.");
    lines << QString() << m_plugins->Messages();
    const CDialogModeScope dialogMode(m_scene.get());
    QMessageBox::information(this, tr("Plug-ins"), lines.join(QLatin1Char('\n')));
}

void CSandboxWindow::ShowMessage(const QString& text)
{
    if (!m_problemShown.isValid() || m_problemShown.hasExpired(kMessageTimeoutMs))
        statusBar()->showMessage(text, kMessageTimeoutMs);
    m_hostCalls->AppendHostLine(text);
}

void CSandboxWindow::ShowProblem(const QString& text)
{
    m_problemShown.start();
    statusBar()->showMessage(text, kMessageTimeoutMs);
    m_hostCalls->AppendHostLine(text);
}

void CSandboxWindow::ReportFailedCalls(const QVector<CJournalEntry>& failedCalls)
{
    if (failedCalls.isEmpty())
        return;
    const CJournalEntry& first = failedCalls.first();
    QString text = tr("Host call failed: %1(%2) returned 0x%3.")
                       .arg(first.call, first.args.join(QStringLiteral(", ")))
                       .arg(static_cast<quint32>(first.result), 8, 16, QLatin1Char('0'));
    if (failedCalls.size() > 1)
        text += tr(" %n more failed in the same command; see Host Calls.", nullptr,
                   failedCalls.size() - 1);
    ShowProblem(text);
}

void CSandboxWindow::ShowPickMode()
{
    // A mode that changes what a click does must be seen, and how to leave it with it.
    const int mode = m_scene->PickMode();
    if (mode == ePickNone)
        m_pickModeLabel->clear();
    else if (mode == ePickParent)
        m_pickModeLabel->setText(tr("Picking a parent: click an object or node; right-click or "
                                    "Esc stops"));
    else
        m_pickModeLabel->setText(tr("Pick mode %1").arg(mode));
    m_pickModeLabel->setStyleSheet(mode == ePickNone
                                       ? QString()
                                       : QStringLiteral("background: #ffd54f; color: #202124; "
                                                        "padding: 1px 6px; border-radius: 3px"));
    if (mode == ePickParent)
        m_outliner->viewport()->setCursor(Qt::CrossCursor);
    else
        m_outliner->viewport()->unsetCursor();
}

void CSandboxWindow::SelectAll()
{
    m_scene->SetSelection(m_scene->Objects());
}

void CSandboxWindow::UpdateTitle()
{
    setWindowTitle(tr("%1[*] – Korvel Sandbox").arg(m_fileMenu->SceneTitle()));
    setWindowModified(m_scene->IsModified());
}

void CSandboxWindow::OnSceneReplaced()
{
    m_viewport->ResetView();
    m_timeline->UpdateRange();
    m_outliner->Refresh();
    m_objectSection->Refresh();
    UpdateTitle();
}

void CSandboxWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!CFileMenu::DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CSandboxWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = CFileMenu::DroppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag ends before any dialog of the import or the opening appears.
    QTimer::singleShot(0, m_fileMenu, [this, files] { m_fileMenu->TakeDroppedFiles(files); });
}

void CSandboxWindow::closeEvent(QCloseEvent* event)
{
    if (m_fileMenu->MaybeSave())
        event->accept();
    else
        event->ignore();
}

} // namespace KV
