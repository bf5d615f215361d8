#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>

class QSettings;

namespace KV {

class CSceneModel;

/// The File menu: New, Open, the sample scene, Save, Save As, recent files and Quit, on the
/// scene's JSON format. Every dialog it shows runs in the host's dialog mode.
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
    void TitleChanged(const QString& title);

private:
    void ChooseAndOpen();
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
};

} // namespace KV
