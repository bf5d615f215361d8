#include "SandboxTest.h"

#include "CViewport.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
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

CSandboxWindow& SandboxTest::OpenWindowWithoutPlugins()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("no-plugins"));
    return OpenWindow(TempPath(QStringLiteral("no-plugins")));
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

void SandboxTest::LinkSwordToHand()
{
    ClickNode(QStringLiteral("Sword"));
    Trigger("qtPickMode2");
    ClickNode(QStringLiteral("Hand_R"));
    ASSERT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
}

::testing::AssertionResult SandboxTest::ClickButton(const QString& objectName, QWidget* root)
{
    auto* button =
        (root != nullptr ? root : m_window.get())->findChild<QAbstractButton*>(objectName);
    if (button == nullptr || !button->isVisible() || !button->isEnabled())
        return ::testing::AssertionFailure() << objectName.toStdString() << " cannot be clicked";
    QTest::mouseClick(button, Qt::LeftButton);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult
SandboxTest::LinkSubNode(const std::function<void(CSubNodeDialogUser&)>& answer)
{
    CModalAnswer modal([&](QDialog* dialog) {
        CSubNodeDialogUser user(dialog);
        answer(user);
    });
    if (!ClickButton(QStringLiteral("qtLinkSubNode")) || !modal.Answered())
        return ::testing::AssertionFailure() << "the Link to Sub-Node dialog did not open";
    // The search field's clear button fades with an animation that deletes itself only once it
    // has run its time; the event loop must run that long before the window may go.
    QTest::qWait(250);
    return ::testing::AssertionSuccess();
}

void SandboxTest::ClickItem(CSubNodeDialogUser& user, const QString& text)
{
    const QList<QTreeWidgetItem*> items =
        user.Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    ASSERT_TRUE(user.ClickItem(items.first())) << text.toStdString() << " is not on screen";
}

QAction* SandboxTest::Action(const QString& objectName)
{
    QList<QAction*> candidates = m_window->findChildren<QAction*>(objectName) + m_window->actions();
    for (QMenu* menu : m_window->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions())
            candidates << action
                       << (action->menu() != nullptr ? action->menu()->actions()
                                                     : QList<QAction*>());
    }
    for (QAction* action : candidates) {
        if (action->objectName() == objectName)
            return action;
    }
    ADD_FAILURE() << "the window offers no action " << objectName.toStdString();
    return nullptr;
}

void SandboxTest::Trigger(const char* actionName)
{
    if (QAction* action = Action(QLatin1String(actionName)))
        action->trigger();
}

QString SandboxTest::StatusText()
{
    return m_window->statusBar()->currentMessage();
}

} // namespace KV::test
