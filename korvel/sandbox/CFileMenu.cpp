#include "CFileMenu.h"

#include "CAssimpImporter.h"
#include "CDialogModeScope.h"
#include "CImportProcess.h"
#include "KVSceneModel.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QSettings>
#include <QUndoStack>
#include <QUrl>

#include <memory>

namespace KV {

namespace {

const QString kRecentFilesKey = QStringLiteral("RecentFiles");
const QString kLastFolderKey = QStringLiteral("LastFolder");
const QString kLastImportFolderKey = QStringLiteral("LastImportFolder");

QString SceneFilter()
{
    return QObject::tr("Korvel scenes (*.json);;All files (*)");
}

QString ImportFilter()
{
    return QObject::tr("3D files (%1);;All files (*)")
        .arg(CAssimpImporter::NamePatterns().join(QLatin1Char(' ')));
}

// An import that takes longer than this shows its progress, with a way to stop it.
constexpr int kImportProgressDelayMs = 400;

} // namespace

const QString CFileMenu::kSampleSceneResource = QStringLiteral(":/sandbox/SampleScene.json");

CFileMenu::CFileMenu(CSceneModel* scene, QSettings* settings, QWidget* window)
    : QMenu(tr("&File"), window)
    , m_scene(scene)
    , m_settings(settings)
    , m_window(window)
    , m_recentMenu(new QMenu(tr("Open &Recent"), this))
{
    setObjectName(QStringLiteral("qtFileMenu"));
    m_recentMenu->setObjectName(QStringLiteral("qtRecentMenu"));

    QAction* newScene = addAction(tr("&New"), this, [this] {
        if (MaybeSave())
            NewScene();
    });
    newScene->setObjectName(QStringLiteral("qtNewAction"));
    newScene->setShortcut(QKeySequence::New);
    QAction* open = addAction(tr("&Open…"), this, &CFileMenu::ChooseAndOpen);
    open->setObjectName(QStringLiteral("qtOpenAction"));
    open->setShortcut(QKeySequence::Open);
    addMenu(m_recentMenu);
    QAction* sample = addAction(tr("Open &Sample Scene"), this, [this] {
        if (MaybeSave())
            OpenSampleScene();
    });
    sample->setObjectName(QStringLiteral("qtOpenSampleAction"));
    QAction* import = addAction(tr("&Import…"), this, &CFileMenu::ChooseAndImport);
    import->setObjectName(QStringLiteral("qtImportAction"));
    import->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    addSeparator();
    QAction* save = addAction(tr("&Save"), this, &CFileMenu::Save);
    save->setObjectName(QStringLiteral("qtSaveAction"));
    save->setShortcut(QKeySequence::Save);
    QAction* saveAs = addAction(tr("Save &As…"), this, &CFileMenu::ChooseAndSaveAs);
    saveAs->setObjectName(QStringLiteral("qtSaveAsAction"));
    saveAs->setShortcut(QKeySequence::SaveAs);
    addSeparator();
    QAction* quit = addAction(tr("&Quit"), m_window, &QWidget::close);
    quit->setObjectName(QStringLiteral("qtQuitAction"));
    quit->setShortcut(QKeySequence::Quit);

    // The list is rebuilt only while the menu is closed, so no recent-file action is ever
    // deleted while it is being triggered.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CFileMenu::FillRecentMenu);
    connect(m_recentMenu, &QMenu::triggered, this, &CFileMenu::OpenRecentFile);
    FillRecentMenu();
}

void CFileMenu::NewScene()
{
    m_scene->Clear();
    SetCurrent(QString(), tr("Untitled"));
    emit SceneReplaced();
    // A new, empty scene counts as a loaded scene file for everyone who listens.
    m_scene->SendFileLoaded(eFileScene);
    emit Message(tr("New scene."));
}

bool CFileMenu::OpenFile(const QString& path)
{
    QString error;
    if (!m_scene->LoadFile(path, &error)) {
        if (!QFileInfo::exists(path))
            RemoveRecentFile(path);
        ShowError(tr("Open Scene"), error);
        return false;
    }
    const QFileInfo info(path);
    m_settings->setValue(kLastFolderKey, info.absolutePath());
    AddRecentFile(info.absoluteFilePath());
    SetCurrent(info.absoluteFilePath(), info.fileName());
    emit SceneReplaced();
    emit Message(tr("Opened %1.").arg(QDir::toNativeSeparators(info.absoluteFilePath())));
    return true;
}

bool CFileMenu::OpenSampleScene()
{
    QFile file(kSampleSceneResource);
    QString error;
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("The built-in sample scene is missing from the application.");
    } else if (m_scene->LoadJson(file.readAll(), tr("sample scene"), &error)) {
        SetCurrent(QString(), tr("Sample scene"));
        emit SceneReplaced();
        emit Message(tr("Opened the sample scene."));
        return true;
    }
    ShowError(tr("Open Sample Scene"), error);
    return false;
}

bool CFileMenu::Save()
{
    if (m_currentFile.isEmpty())
        return ChooseAndSaveAs();
    return SaveAs(m_currentFile);
}

bool CFileMenu::SaveAs(const QString& path)
{
    QString error;
    if (!m_scene->SaveFile(path, &error)) {
        ShowError(tr("Save Scene"), error);
        return false;
    }
    const QFileInfo info(path);
    m_scene->UndoStack()->setClean();
    m_settings->setValue(kLastFolderKey, info.absolutePath());
    AddRecentFile(info.absoluteFilePath());
    SetCurrent(info.absoluteFilePath(), info.fileName());
    emit Message(tr("Saved %1.").arg(QDir::toNativeSeparators(info.absoluteFilePath())));
    return true;
}

bool CFileMenu::MaybeSave()
{
    if (!m_scene->IsModified())
        return true;
    QMessageBox::StandardButton answer;
    {
        const CDialogModeScope dialogMode(m_scene);
        answer = QMessageBox::question(
            m_window, tr("Unsaved Changes"),
            tr("%1 has changes that are not saved. Save them first?").arg(m_title),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    }
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::Discard || Save();
}

bool CFileMenu::ImportFile(const QString& path, bool interactive, QString* error)
{
    const QFileInfo info(path);
    CImportProcess importer(m_importWorker);
    QVector<CNewNode> nodes;
    QString problem;
    bool imported = false;
    if (interactive) {
        QProgressDialog progress(tr("Importing %1…").arg(info.fileName()), tr("Cancel"), 0, 0,
                                 m_window);
        progress.setWindowTitle(tr("Import"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(kImportProgressDelayMs);
        // The host is in a dialog only once the progress dialog has appeared.
        std::unique_ptr<CDialogModeScope> dialogMode;
        imported = importer.Run(path, nodes, problem, [&] {
            progress.setValue(0);
            if (progress.isVisible() && dialogMode == nullptr)
                dialogMode = std::make_unique<CDialogModeScope>(m_scene);
            return !progress.wasCanceled();
        });
    } else {
        imported = importer.Run(path, nodes, problem);
    }
    QVector<UB::CHandle*> added;
    if (imported)
        added = m_scene->AddNodesAsStep(nodes, tr("Import %1").arg(info.fileName()));
    if (imported && added.isEmpty()) {
        imported = false;
        problem = tr("%1: the importer's nodes do not form a hierarchy").arg(path);
    }
    if (!imported) {
        if (error != nullptr)
            *error = problem;
        if (interactive)
            ShowError(tr("Import"), problem);
        else
            emit Problem(problem);
        return false;
    }
    UB::CHandle* object = added.first();
    m_settings->setValue(kLastImportFolderKey, info.absolutePath());
    m_scene->SetSelection({object});
    emit Imported();
    emit Message(
        tr("Imported %1: %n node(s) below %2.", nullptr, nodes.size() - 1)
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()), m_scene->Name(object)));
    return true;
}

QStringList CFileMenu::DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr)
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

void CFileMenu::TakeDroppedFiles(const QStringList& files)
{
    for (const QString& file : files) {
        if (QFileInfo(file).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0) {
            if (MaybeSave())
                OpenFile(file);
        } else {
            ImportFile(file);
        }
    }
}

void CFileMenu::ChooseAndImport()
{
    const QString path = ChooseFileToRead(tr("Import"), kLastImportFolderKey, ImportFilter());
    if (!path.isEmpty())
        ImportFile(path);
}

void CFileMenu::ChooseAndOpen()
{
    if (!MaybeSave())
        return;
    const QString path = ChooseFileToRead(tr("Open Scene"), kLastFolderKey, SceneFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

QString CFileMenu::ChooseFileToRead(const QString& title, const QString& folderKey,
                                    const QString& filter)
{
    const CDialogModeScope dialogMode(m_scene);
    return QFileDialog::getOpenFileName(m_window, title, m_settings->value(folderKey).toString(),
                                        filter);
}

bool CFileMenu::ChooseAndSaveAs()
{
    QString path;
    {
        const CDialogModeScope dialogMode(m_scene);
        const QString start =
            m_currentFile.isEmpty() ? m_settings->value(kLastFolderKey).toString() : m_currentFile;
        path = QFileDialog::getSaveFileName(m_window, tr("Save Scene As"), start, SceneFilter());
    }
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    return SaveAs(path);
}

QStringList CFileMenu::RecentFiles() const
{
    return m_settings->value(kRecentFilesKey).toStringList();
}

void CFileMenu::AddRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kMaximumRecentFiles)
        files.removeLast();
    m_settings->setValue(kRecentFilesKey, files);
    m_recentMenu->setEnabled(true);
}

void CFileMenu::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    if (files.removeAll(path) == 0)
        return;
    m_settings->setValue(kRecentFilesKey, files);
    m_recentMenu->setEnabled(!files.isEmpty());
}

void CFileMenu::FillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QAction* action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
        action->setObjectName(QStringLiteral("qtRecentFile%1").arg(i));
        action->setToolTip(QDir::toNativeSeparators(files[i]));
        action->setData(files[i]);
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void CFileMenu::OpenRecentFile(QAction* action)
{
    const QString path = action->data().toString();
    if (!path.isEmpty() && MaybeSave())
        OpenFile(path);
}

void CFileMenu::SetCurrent(const QString& path, const QString& title)
{
    m_currentFile = path;
    m_title = title;
    emit TitleChanged(title);
}

void CFileMenu::ShowError(const QString& title, const QString& text)
{
    emit Problem(text);
    const CDialogModeScope dialogMode(m_scene);
    QMessageBox::warning(m_window, title, text);
}

} // namespace KV
