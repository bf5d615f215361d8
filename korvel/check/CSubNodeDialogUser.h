#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

class QMenu;

namespace KV {

/// A user's hands on the link-to-sub-node dialog: its controls found by object name, and the
/// clicks and keys a user gives them. It judges nothing; the checker's dialog driver and the
/// dialog's tests say what must follow.
class CSubNodeDialogUser
{
public:
    explicit CSubNodeDialogUser(QDialog* dialog);

    /// "Class objectName" of each control the dialog lacks.
    QStringList MissingControls() const;

    QDialog* Dialog() const { return m_dialog; }
    QTreeWidget* Tree() const { return m_tree; }
    QLineEdit* Search() const { return m_search; }
    QAbstractButton* Ok() const { return m_ok; }
    QAbstractButton* Cancel() const { return m_cancel; }
    /// The radio button of an alignment: 0 none, 1 position, 2 position and rotation.
    QRadioButton* Alignment(int mode) const;
    /// The checked alignment, 0 when none is.
    int CheckedAlignment() const;
    QToolButton* ViewButton() const { return m_viewButton; }
    QAction* HierarchyAction() const { return m_hierarchy; }
    QAction* ListAction() const { return m_list; }
    QAction* ExpandAction() const { return m_expand; }
    QAction* CollapseAction() const { return m_collapse; }

    /// Every item of the tree in pre-order, and those a user can reach: shown, under shown and
    /// expanded ancestors.
    QList<QTreeWidgetItem*> Items() const;
    QList<QTreeWidgetItem*> ReachableItems() const;

    /// Scrolls to `item` and clicks it near the start of its text; false when it cannot be
    /// brought on screen.
    bool ClickItem(QTreeWidgetItem* item);
    /// Clicks a button where it takes clicks: a radio button on its indicator and label only.
    static void Click(QAbstractButton* button);
    void ChooseAlignment(int mode);
    /// Types at the end of the search field, letter by letter.
    void TypeInSearch(const QString& text);
    /// Select all and delete.
    void EraseSearch();
    void DeleteLastLetter();
    /// A key pressed while the search field has the focus.
    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// Opens the view menu with a click on its button; inside it, `whileOpen` sees the open
    /// menu, then `entry` is clicked when it is enabled and the menu closed with Esc when it
    /// is not. Returns whether the menu opened.
    bool ChooseView(QAction* entry, const std::function<void(QMenu*)>& whileOpen = {});

private:
    QPointer<QDialog> m_dialog;
    QPointer<QTreeWidget> m_tree;
    QPointer<QLineEdit> m_search;
    QPointer<QAbstractButton> m_ok;
    QPointer<QAbstractButton> m_cancel;
    QPointer<QRadioButton> m_alignments[3];
    QPointer<QToolButton> m_viewButton;
    QPointer<QAction> m_hierarchy;
    QPointer<QAction> m_list;
    QPointer<QAction> m_expand;
    QPointer<QAction> m_collapse;
};

} // namespace KV
