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
#include <QPointer>
#include <QQuaternion>
#include <QStatusBar>
#include <QTest>

#include <cmath>

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

CModalAnswer::CModalAnswer(std::function<void(QWidget*)> answer, int timeoutMs)
    : m_answer(std::move(answer))
    , m_polls(timeoutMs / 10)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &CModalAnswer::Poll);
    m_timer.start();
}

void CModalAnswer::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        if (--m_polls <= 0)
            m_timer.stop();
        return;
    }
    m_timer.stop();
    m_answered = true;
    const QPointer<QWidget> guard(modal);
    m_answer(modal);
    // An answer that failed half-way must not leave the test waiting in exec() for ever.
    if (!guard.isNull() && guard->isVisible()) {
        ADD_FAILURE() << "the modal dialog was still open after the test's answer";
        if (auto* dialog = qobject_cast<QDialog*>(guard.data()))
            dialog->reject();
        else
            guard->close();
    }
}

::testing::AssertionResult SamePlace(const TransformRecord& expected, const TransformRecord& actual)
{
    constexpr float kTolerance = 1e-3f;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(expected.position[i] - actual.position[i]) > kTolerance) {
            return ::testing::AssertionFailure()
                   << "position differs: expected (" << expected.position[0] << ", "
                   << expected.position[1] << ", " << expected.position[2] << "), got ("
                   << actual.position[0] << ", " << actual.position[1] << ", " << actual.position[2]
                   << ")";
        }
    }
    const QQuaternion a(expected.rotation[3], expected.rotation[0], expected.rotation[1],
                        expected.rotation[2]);
    const QQuaternion b(actual.rotation[3], actual.rotation[0], actual.rotation[1],
                        actual.rotation[2]);
    if (std::fabs(QQuaternion::dotProduct(a.normalized(), b.normalized())) < 1.0f - kTolerance) {
        return ::testing::AssertionFailure()
               << "rotation differs: expected " << a.toEulerAngles().z() << "° about z, got "
               << b.toEulerAngles().z() << "°";
    }
    return ::testing::AssertionSuccess();
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
