#include "CDemoTour.h"

#include "CSandboxWindow.h"
#include "CViewport.h"
#include "KVSceneModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>

#include <cstdio>

namespace KV {

namespace {

// The sample scene's names the tour relies on.
const QString kSword = QStringLiteral("Sword");
const QString kRightHand = QStringLiteral("Hand_R");
const QString kRightGrip = QStringLiteral("Grip_R");
const QString kCamera = QStringLiteral("Camera01");

QDialog* ModalDialog()
{
    return qobject_cast<QDialog*>(QApplication::activeModalWidget());
}

} // namespace

CDemoTour::CDemoTour(CSandboxWindow* window, int stepMs, const QString& screenshotPath)
    : QObject(window)
    , m_window(window)
    , m_screenshotPath(screenshotPath)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(stepMs);
    connect(&m_timer, &QTimer::timeout, this, &CDemoTour::RunNext);
    AddSteps();
}

void CDemoTour::AddSteps()
{
    m_steps = {
        {tr("The sample scene: a knight, a squire, and the props they carry."),
         [this]() -> QString {
             if (Node(kSword) == nullptr || Node(kRightHand) == nullptr)
                 return tr("the sample scene is not open");
             if (m_window->findChild<QWidget*>(QStringLiteral("qtPickParent")) == nullptr)
                 return tr("the linkage plug-in is not loaded (Help > Plug-ins says why)");
             return {};
         }},
        {tr("Select the sword: click it in the viewport."),
         [this]() -> QString {
             if (QString failure = ClickNode(kSword); !failure.isEmpty())
                 return failure;
             const QVector<UB::CHandle*> expected{Node(kSword)};
             return m_window->Scene()->Selection() == expected ? QString()
                                                               : tr("the sword is not selected");
         }},
        {tr("Pick Parent in the Linkage section: the viewport waits for a parent."),
         [this]() -> QString {
             if (QString failure = ClickButton(m_window, QStringLiteral("qtPickParent"));
                 !failure.isEmpty())
                 return failure;
             return m_window->Scene()->PickMode() == ePickParent
                        ? QString()
                        : tr("the host is not in its pick-parent mode");
         }},
        {tr("Click the knight's right hand: the sword is linked and keeps its place."),
         [this]() -> QString {
             if (QString failure = ClickNode(kRightHand); !failure.isEmpty())
                 return failure;
             return ExpectParent(kSword, kRightHand);
         }},
        {tr("Link to Sub-Node lists the nodes of the hand's owner, the knight."),
         [this]() -> QString {
             // The dialog is modal: the next steps run inside it while this click waits.
             return ClickButton(m_window, QStringLiteral("qtLinkSubNode"));
         }},
        {tr("Choose the right hand's grip."),
         [this]() -> QString {
             return ClickTreeItem(kRightGrip);
         }},
        {tr("Align position and rotation: the preview moves the sword into the grip."),
         [this]() -> QString {
             QDialog* dialog = ModalDialog();
             return dialog != nullptr ? ClickButton(dialog, QStringLiteral("qtAlignPosRot"))
                                      : tr("the Link to Sub-Node dialog is not open");
         }},
        {tr("OK: the sword is linked to the grip, aligned with it."),
         [this]() -> QString {
             QDialog* dialog = ModalDialog();
             return dialog != nullptr ? ClickButton(dialog, QStringLiteral("qtOKPushButton"))
                                      : tr("the Link to Sub-Node dialog is not open");
         }},
        {tr("Undo: one step takes the sword back to where it was before the dialog."),
         [this]() -> QString {
             if (QString failure = ExpectParent(kSword, kRightGrip); !failure.isEmpty())
                 return failure;
             auto* undo = m_window->findChild<QAction*>(QStringLiteral("qtUndoAction"));
             auto* toolBar = m_window->findChild<QToolBar*>(QStringLiteral("qtMainToolBar"));
             QWidget* button =
                 undo != nullptr && toolBar != nullptr ? toolBar->widgetForAction(undo) : nullptr;
             if (button == nullptr || !button->isEnabled())
                 return tr("there is nothing to undo");
             QTest::mouseClick(button, Qt::LeftButton);
             return ExpectParent(kSword, kRightHand);
         }},
        {tr("Link To Camera: the sword now moves with the view."),
         [this]() -> QString {
             if (QString failure = ClickButton(m_window, QStringLiteral("qtLinkCameraPushButton"));
                 !failure.isEmpty())
                 return failure;
             return ExpectParent(kSword, kCamera);
         }},
        {tr("Unlink: the sword is free again and stays where it is."),
         [this]() -> QString {
             if (QString failure = ClickButton(m_window, QStringLiteral("qtUnlink"));
                 !failure.isEmpty())
                 return failure;
             return ExpectParent(kSword, QString());
         }},
    };
}

void CDemoTour::Start()
{
    Say(tr("demo: %n step(s)", nullptr, m_steps.size()));
    m_timer.start();
}

void CDemoTour::RunNext()
{
    if (m_finished)
        return;
    // A step that opened a modal dialog waits in it while the next steps work the dialog.
    // Once they have closed it, that step must finish (the launcher applies the dialog's
    // answer after exec returns) before the tour goes on.
    if (m_running > 0 && ModalDialog() == nullptr) {
        m_timer.start();
        return;
    }
    const int index = m_next++;
    if (index >= m_steps.size()) {
        Finish(QString());
        return;
    }
    // The next step is timed before this one runs: a step may open a modal dialog and wait in
    // it, and the steps after it are what closes the dialog.
    m_timer.start();
    const CStep& step = m_steps[index];
    Say(QStringLiteral("demo: [%1/%2] %3").arg(index + 1).arg(m_steps.size()).arg(step.caption));
    m_window->Viewport()->SetCaption(step.caption);
    m_window->statusBar()->showMessage(step.caption);
    ++m_running;
    const QString failure = step.run();
    --m_running;
    if (!failure.isEmpty() && !m_finished)
        Finish(tr("step %1 failed: %2").arg(index + 1).arg(failure));
}

void CDemoTour::Finish(const QString& failure)
{
    m_finished = true;
    m_timer.stop();
    if (QDialog* dialog = ModalDialog())
        dialog->reject();

    int exitCode = failure.isEmpty() ? 0 : 1;
    m_window->Viewport()->SetCaption(failure.isEmpty() ? tr("The tour is over.")
                                                       : tr("The tour stopped: %1").arg(failure));
    Say(failure.isEmpty() ? tr("demo: finished") : tr("demo: %1").arg(failure));
    if (!m_screenshotPath.isEmpty()) {
        const QPixmap picture = m_window->grab();
        if (picture.save(m_screenshotPath, "PNG")) {
            Say(tr("demo: screenshot saved to %1")
                    .arg(QDir::toNativeSeparators(QFileInfo(m_screenshotPath).absoluteFilePath())));
        } else {
            Say(tr("demo: the screenshot could not be written to %1")
                    .arg(QDir::toNativeSeparators(m_screenshotPath)));
            exitCode = 1;
        }
    }
    emit Finished(exitCode);
}

void CDemoTour::Say(const QString& line)
{
    m_log.append(line);
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString CDemoTour::ClickNode(const QString& name)
{
    UB::CHandle* node = Node(name);
    if (node == nullptr)
        return tr("the scene has no %1").arg(name);
    CViewport* viewport = m_window->Viewport();
    const QPoint position = viewport->NodePosition(node);
    if (viewport->NodeAt(position) != node)
        return tr("%1 cannot be clicked in the viewport: something else lies on top").arg(name);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, position);
    return {};
}

QString CDemoTour::ClickButton(QWidget* root, const QString& objectName)
{
    auto* button = root->findChild<QAbstractButton*>(objectName);
    if (button == nullptr)
        return tr("there is no %1").arg(objectName);
    if (!button->isVisible() || !button->isEnabled())
        return tr("%1 is not offered here (hidden or disabled)").arg(objectName);
    QTest::mouseClick(button, Qt::LeftButton);
    return {};
}

QString CDemoTour::ClickTreeItem(const QString& text)
{
    QDialog* dialog = ModalDialog();
    if (dialog == nullptr)
        return tr("the Link to Sub-Node dialog is not open");
    auto* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("qtObjectTreeWidget"));
    if (tree == nullptr)
        return tr("the dialog has no node tree");
    const QList<QTreeWidgetItem*> items =
        tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.isEmpty())
        return tr("the dialog does not list %1").arg(text);
    tree->scrollToItem(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(items.first()).center());
    return {};
}

QString CDemoTour::ExpectParent(const QString& object, const QString& parent)
{
    CSceneModel* scene = m_window->Scene();
    UB::CHandle* actual = scene->LinkParentAt(Node(object), scene->CurrentTime());
    const QString actualName = actual != nullptr ? scene->Name(actual) : QString();
    if (actualName == parent)
        return {};
    return tr("the %1's parent is %2, not %3")
        .arg(object.toLower(), actualName.isEmpty() ? tr("none") : actualName,
             parent.isEmpty() ? tr("none") : parent);
}

UB::CHandle* CDemoTour::Node(const QString& name) const
{
    return m_window->Scene()->FindByName(name);
}

} // namespace KV
