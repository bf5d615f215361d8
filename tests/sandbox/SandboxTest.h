#pragma once

// The sandbox's main window on the sample scene, offscreen, and the moves every end-to-end test
// makes through it: clicks on objects and buttons, modal dialogs answered, the event loop run.

#include "CSandboxWindow.h"
#include "CSubNodeDialogUser.h"
#include "KVSceneModel.h"
#include "support/ModalAnswer.h"
#include "support/QtPrinters.h"
#include "support/SceneSnapshotAssert.h"
#include "support/Transforms.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QAction;
class QWidget;

namespace KV::test {

/// True when `condition` holds before `timeoutMs` has passed; the event loop runs meanwhile.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

class SandboxTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override { m_window.reset(); }

    /// A shown window on the sample scene with the plug-ins found at `pluginPath`.
    CSandboxWindow& OpenWindow(const QString& pluginPath = QStringLiteral(KV_PLUGIN_DIR));
    /// The same, with an empty plug-in folder: the host side alone.
    CSandboxWindow& OpenWindowWithoutPlugins();
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("sandbox.ini")); }
    QString TempPath(const QString& name) const { return m_dir.filePath(name); }

    CSandboxWindow& Window() { return *m_window; }
    CSceneModel& Scene() { return *m_window->Scene(); }
    UB::CHandle* Node(const QString& name);
    /// The node's link parent at the current time, by name; empty for none.
    QString ParentName(const QString& name);
    TransformRecord World(const QString& name) { return Scene().WorldTransformAt(Node(name), 0); }

    void ClickNode(const QString& name, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// Picks the hand as the sword's parent in the viewport: an unsaved edit.
    void LinkSwordToHand();
    /// Clicks the visible, enabled button of that name in `root` (the window by default).
    ::testing::AssertionResult ClickButton(const QString& objectName, QWidget* root = nullptr);
    /// Opens Link to Sub-Node from the section and lets `answer` work the dialog.
    ::testing::AssertionResult LinkSubNode(const std::function<void(CSubNodeDialogUser&)>& answer);
    /// Clicks the one tree item of that text.
    static void ClickItem(CSubNodeDialogUser& user, const QString& text);
    template<typename T>
    T* Find(const QString& objectName)
    {
        return m_window->findChild<T*>(objectName);
    }
    /// The action of that name: the window's own, or one a plug-in placed in the window.
    QAction* Action(const QString& objectName);
    void Trigger(const char* actionName);
    QString StatusText();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CSandboxWindow> m_window;
};

} // namespace KV::test
