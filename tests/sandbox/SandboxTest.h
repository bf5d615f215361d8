#pragma once

// The sandbox's main window on the sample scene, offscreen, and the few moves every end-to-end
// test makes through it: clicking objects in the viewport, clicking buttons, answering modal
// dialogs and waiting for the event loop.

#include "CSandboxWindow.h"
#include "KVSceneModel.h"
#include "support/ModalAnswer.h"
#include "support/QtPrinters.h"
#include "support/Transforms.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QAbstractButton;
class QAction;
class QWidget;

namespace KV::test {

/// True when `condition` holds before `timeoutMs` has passed; the event loop runs meanwhile.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

class SandboxTest : public ::testing::Test
{
protected:
    static QString BuiltPluginFolder();
    static bool PluginIsBuilt();

    void SetUp() override;
    void TearDown() override;

    /// A shown window on the sample scene with the plug-ins found at `pluginPath`.
    CSandboxWindow& OpenWindow(const QString& pluginPath = BuiltPluginFolder());
    /// The same, with an empty plug-in folder: the host side alone.
    CSandboxWindow& OpenWindowWithoutPlugins();
    void CloseWindow() { m_window.reset(); }
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("sandbox.ini")); }
    QString TempPath(const QString& name) const { return m_dir.filePath(name); }

    CSandboxWindow& Window() { return *m_window; }
    CSceneModel& Scene() { return *m_window->Scene(); }
    UB::CHandle* Node(const QString& name);
    /// The node's link parent at the current time, by name; empty for none.
    QString ParentName(const QString& name);

    void ClickNode(const QString& name, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// Clicks the visible, enabled button of that name in `root` (the window by default).
    ::testing::AssertionResult ClickButton(const QString& objectName, QWidget* root = nullptr);
    template<typename T>
    T* Find(const QString& objectName)
    {
        return m_window->findChild<T*>(objectName);
    }
    /// The action of that name: the window's own, or one a plug-in placed in the window.
    QAction* Action(const QString& objectName);
    QString StatusText();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CSandboxWindow> m_window;
};

/// Tests that need the real plug-in module. While the module is not built they are skipped,
/// saying so.
class SandboxWithPluginTest : public SandboxTest
{
protected:
    void SetUp() override;
};

} // namespace KV::test
