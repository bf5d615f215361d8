#include "CSubNodeDialogUser.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace KV {

CSubNodeDialogUser::CSubNodeDialogUser(QDialog* dialog)
    : m_dialog(dialog)
    , m_tree(dialog->findChild<QTreeWidget*>(QStringLiteral("qtObjectTreeWidget")))
    , m_search(dialog->findChild<QLineEdit*>(QStringLiteral("qtObjectTreeSearchLineEdit")))
    , m_ok(dialog->findChild<QPushButton*>(QStringLiteral("qtOKPushButton")))
    , m_cancel(dialog->findChild<QPushButton*>(QStringLiteral("qtCancelPushButton")))
    , m_alignments{dialog->findChild<QRadioButton*>(QStringLiteral("qtNoAlign")),
                   dialog->findChild<QRadioButton*>(QStringLiteral("qtAlignPos")),
                   dialog->findChild<QRadioButton*>(QStringLiteral("qtAlignPosRot"))}
    , m_viewButton(dialog->findChild<QToolButton*>(QStringLiteral("qtObjectTreeToolButton")))
    , m_hierarchy(dialog->findChild<QAction*>(QStringLiteral("qtHierarchyAction")))
    , m_list(dialog->findChild<QAction*>(QStringLiteral("qtListAction")))
    , m_expand(dialog->findChild<QAction*>(QStringLiteral("qtExpandAction")))
    , m_collapse(dialog->findChild<QAction*>(QStringLiteral("qtCollapseAction")))
{}

QStringList CSubNodeDialogUser::MissingControls() const
{
    const std::pair<const char*, bool> controls[] = {
        {"QTreeWidget qtObjectTreeWidget", m_tree},
        {"QLineEdit qtObjectTreeSearchLineEdit", m_search},
        {"QPushButton qtOKPushButton", m_ok},
        {"QPushButton qtCancelPushButton", m_cancel},
        {"QRadioButton qtNoAlign", m_alignments[0]},
        {"QRadioButton qtAlignPos", m_alignments[1]},
        {"QRadioButton qtAlignPosRot", m_alignments[2]},
        {"QToolButton qtObjectTreeToolButton", m_viewButton},
        {"QAction qtHierarchyAction", m_hierarchy},
        {"QAction qtListAction", m_list},
        {"QAction qtExpandAction", m_expand},
        {"QAction qtCollapseAction", m_collapse},
    };
    QStringList missing;
    for (const auto& control : controls) {
        if (!control.second)
            missing.append(QLatin1String(control.first));
    }
    return missing;
}

QRadioButton* CSubNodeDialogUser::Alignment(int mode) const
{
    return mode >= 0 && mode < 3 ? m_alignments[mode].data() : nullptr;
}

int CSubNodeDialogUser::CheckedAlignment() const
{
    for (int mode = 1; mode < 3; ++mode) {
        if (m_alignments[mode] && m_alignments[mode]->isChecked())
            return mode;
    }
    return 0;
}

QList<QTreeWidgetItem*> CSubNodeDialogUser::Items() const
{
    QList<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it)
        items.append(*it);
    return items;
}

QList<QTreeWidgetItem*> CSubNodeDialogUser::ReachableItems() const
{
    QList<QTreeWidgetItem*> reachable;
    for (QTreeWidgetItem* item : Items()) {
        bool shown = !item->isHidden();
        for (QTreeWidgetItem* ancestor = item->parent(); shown && ancestor != nullptr;
             ancestor = ancestor->parent())
            shown = !ancestor->isHidden() && ancestor->isExpanded();
        if (shown)
            reachable.append(item);
    }
    return reachable;
}

bool CSubNodeDialogUser::ClickItem(QTreeWidgetItem* item)
{
    m_tree->scrollToItem(item);
    const QRect rect = m_tree->visualItemRect(item);
    const QWidget* viewport = m_tree->viewport();
    if (rect.isEmpty() || rect.bottom() < 0 || rect.top() >= viewport->height())
        return false;
    const QPoint at(qBound(0, rect.left() + qMin(rect.width() / 2, 12), viewport->width() - 1),
                    rect.center().y());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

void CSubNodeDialogUser::Click(QAbstractButton* button)
{
    auto* radio = qobject_cast<QRadioButton*>(button);
    if (radio == nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
        return;
    }
    // A radio button takes clicks on its indicator and label only, not on all of its width.
    QStyleOptionButton option;
    option.initFrom(radio);
    const QRect clickRect =
        radio->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, radio);
    QTest::mouseClick(radio, Qt::LeftButton, Qt::NoModifier, clickRect.center());
}

void CSubNodeDialogUser::ChooseAlignment(int mode)
{
    Click(Alignment(mode));
}

void CSubNodeDialogUser::TypeInSearch(const QString& text)
{
    m_search->end(false);
    for (const QChar letter : text) {
        // QTest maps only ASCII to keys; other letters come as text with no key, as an input
        // method delivers them.
        if (letter.unicode() < 128)
            QTest::keyClick(m_search, letter.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, m_search, Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
    }
}

void CSubNodeDialogUser::EraseSearch()
{
    QTest::keyClick(m_search, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_search, Qt::Key_Backspace);
}

void CSubNodeDialogUser::DeleteLastLetter()
{
    m_search->end(false);
    QTest::keyClick(m_search, Qt::Key_Backspace);
}

void CSubNodeDialogUser::PressKey(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(m_search, static_cast<Qt::Key>(key), modifiers);
}

bool CSubNodeDialogUser::ChooseView(QAction* entry, const std::function<void(QMenu*)>& whileOpen)
{
    bool shown = false;
    // The button opens its menu with a click and runs the menu's own event loop inside it.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        poll.stop();
        shown = true;
        if (whileOpen)
            whileOpen(menu);
        const QRect rect = menu->actionGeometry(entry);
        if (entry->isEnabled() && !rect.isEmpty())
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, rect.center());
        if (menu->isVisible())
            QTest::keyClick(menu, Qt::Key_Escape);
    });
    poll.start();
    QTest::mouseClick(m_viewButton, Qt::LeftButton);
    return shown;
}

} // namespace KV
