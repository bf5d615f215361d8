#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>

class QMimeData;
class QSettings;

namespace KV {

class CSceneModel;

/// The File menu: New, Open, the sample scene, Save, Save As, recent files and Quit, on the
/// scene's JSON format, and Import of any 3D file Assimp reads. Every dialog it shows runs in
/// the host's dialog mode.
class CFileMenu : public QMenu
{
    Q_OBJECT
public:
    static constexpr int kMaximumRecentFiles = 8;
    static const QString kSampleSceneResource;

    /// `window` is the parent of the menu and of its dialogs, and what Quit closes.
    CFileMenu(CSceneModel* scene, QSettings* settings, QWidget* window);

    void NewScene();
    /// Replaces the scene by the file's; an unreadable file leaves the scene as it was and says
    /// why in a message box.
    bool OpenFile(const QString& path);
    bool OpenSampleScene();
    /// Saves to the current file, or asks for one.
    bool Save();
    bool SaveAs(const QString& path);
    /// Offers to save unsaved edits; false when the user cancels.
    bool MaybeSave();
    /// Adds the nodes of a 3D file to the scene as one undo step and selects the object that
    /// stands for the file. A file that cannot be imported leaves the scene as it was and says
    /// why: in a message box when `interactive`, else only in `error` and Message.
    bool ImportFile(const QString& path, bool interactive = true, QString* error = nullptr);
    /// The program that reads files for ImportFile (korvel-import beside the application by
    /// default).
    void SetImportWorker(const QString& path) { m_importWorker = path; }

    /// The local files a drag carries.
    static QStringList DroppedFiles(const QMimeData* data);
    /// Opens a dropped scene file (*.json); imports any other dropped file.
    void TakeDroppedFiles(const QStringList& files);

    QString CurrentFile() const { return m_currentFile; }
    /// A name for the window title: the file's name, or what the scene is.
    QString SceneTitle() const { return m_title; }
    QStringList RecentFiles() const;
    QMenu* RecentMenu() const { return m_recentMenu; }

signals:
    void Message(const QString& text);
    /// Something went wrong; the user must see it.
    void Problem(const QString& text);
    /// Another scene replaced the old one (New, Open, sample scene).
    void SceneReplaced();
    /// A file's nodes were added to the scene.
    void Imported();
    void TitleChanged(const QString& title);

private:
    void ChooseAndOpen();
    void ChooseAndImport();
    /// The file the user chooses in a file dialog, starting in the folder kept under
    /// `folderKey`; empty when the user cancels.
    QString ChooseFileToRead(const QString& title, const QString& folderKey, const QString& filter);
    bool ChooseAndSaveAs();
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    void FillRecentMenu();
    void OpenRecentFile(QAction* action);
    void SetCurrent(const QString& path, const QString& title);
    void ShowError(const QString& title, const QString& text);

    CSceneModel* m_scene;
    QSettings* m_settings;
    QWidget* m_window;
    QMenu* m_recentMenu;
    QString m_currentFile;
    QString m_title;
    QString m_importWorker;
};

} // namespace KV
