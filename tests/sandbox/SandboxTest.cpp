#include "SandboxTest.h"

#include "CViewport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

namespace KV::test {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(5);
    }
    return true;
}

QString SandboxTest::BuiltPluginFolder()
{
    return QStringLiteral(KV_PLUGIN_DIR);
}

bool SandboxTest::PluginIsBuilt()
{
    const QDir folder(BuiltPluginFolder());
    for (const QString& file : folder.entryList(QDir::Files)) {
        if (QLibrary::isLibrary(file))
            return true;
    }
    return false;
}

void SandboxTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
}

void SandboxTest::TearDown()
{
    m_window.reset();
}

CSandboxWindow& SandboxTest::OpenWindow(const QString& pluginPath)
{
    CSandboxOptions options;
    options.pluginPath = pluginPath;
    options.settingsPath = SettingsFile();
    m_window.reset();
    m_window = std::make_unique<CSandboxWindow>(options);
    m_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    // Layouts settle and the outliner's deferred rebuild runs.
    QTest::qWait(20);
    return *m_window;
}

UB::CHandle* SandboxTest::Node(const QString& name)
{
    UB::CHandle* node = m_window->Scene()->FindByName(name);
    EXPECT_NE(node, nullptr) << "the scene has no " << name.toStdString();
    return node;
}

QString SandboxTest::ParentName(const QString& name)
{
    UB::CHandle* parent = Scene().LinkParentAt(Node(name), Scene().CurrentTime());
    return parent != nullptr ? Scene().Name(parent) : QString();
}

void SandboxTest::ClickNode(const QString& name, Qt::KeyboardModifiers modifiers)
{
    CViewport* viewport = m_window->Viewport();
    UB::CHandle* node = Node(name);
    const QPoint position = viewport->NodePosition(node);
    ASSERT_EQ(viewport->NodeAt(position), node) << name.toStdString() << " is covered";
    QTest::mouseClick(viewport, Qt::LeftButton, modifiers, position);
}

::testing::AssertionResult SandboxTest::ClickButton(const QString& objectName, QWidget* root)
{
    auto* button =
        (root != nullptr ? root : m_window.get())->findChild<QAbstractButton*>(objectName);
    if (button == nullptr)
        return ::testing::AssertionFailure() << "no button " << objectName.toStdString();
    if (!button->isVisible() || !button->isEnabled()) {
        return ::testing::AssertionFailure()
               << objectName.toStdString() << " is " << (button->isVisible() ? "" : "hidden ")
               << (button->isEnabled() ? "" : "disabled");
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return ::testing::AssertionSuccess();
}

QAction* SandboxTest::Action(const QString& objectName)
{
    if (auto* action = m_window->findChild<QAction*>(objectName))
        return action;
    QList<QAction*> candidates = m_window->actions();
    for (QMenu* menu : m_window->findChildren<QMenu*>())
        candidates += menu->actions();
    for (QAction* action : candidates) {
        if (action->objectName() == objectName)
            return action;
        if (action->menu() != nullptr) {
            for (QAction* inner : action->menu()->actions()) {
                if (inner->objectName() == objectName)
                    return inner;
            }
        }
    }
    ADD_FAILURE() << "the window offers no action " << objectName.toStdString();
    return nullptr;
}

QString SandboxTest::StatusText()
{
    return m_window->statusBar()->currentMessage();
}

CSandboxWindow& SandboxTest::OpenWindowWithoutPlugins()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("no-plugins"));
    return OpenWindow(TempPath(QStringLiteral("no-plugins")));
}

void SandboxWithPluginTest::SetUp()
{
    SandboxTest::SetUp();
    if (!PluginIsBuilt())
        GTEST_SKIP() << "The plug-in module is not built yet: " << BuiltPluginFolder().toStdString()
                     << " holds no library";
}

} // namespace KV::test
