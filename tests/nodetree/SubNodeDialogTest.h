#pragma once

#include "CSubNodeDialogUser.h"
#include "nodetree/CLinkSubNodeDlg.h"
#include "section/LinkageSectionTest.h"
#include "support/Transforms.h"

#include <QString>
#include <QStringList>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

/// The Linkage section on a shown host window over the scene model. Its link-to-sub-node
/// button runs the dialog modally; a test drives the open dialog as a user would, from a
/// zero-time timer, and the dialog is cancelled afterwards should the test leave it open.
class SubNodeDialogTest : public LinkageSectionTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Adds the objects of an indented drawing (two spaces per level, "<empty>" for a node
    /// without a name), each line optionally followed by attributes in brackets: "type=N",
    /// "kind=N", "unlinkable", "excluded". Returns the drawing's first object.
    UB::CHandle* AddStructure(const QString& drawing);
    /// Adds a top-level object of type 1 at `place`, links it to `parent` from time 0 and
    /// selects it, so that the section offers the sub-node command for it.
    UB::CHandle* AddSelectedObject(const QString& name, UB::CHandle* parent,
                                   const TransformRecord& place);
    UB::CHandle* Node(const char* name) const;
    static TransformRecord Place(float x, float y, float z);

    /// Clicks qtLinkSubNode and runs `whileOpen` inside the dialog's event loop. Returns what
    /// exec() gave, -1 when the dialog never opened.
    int RunDialog(const std::function<void()>& whileOpen);
    /// The same through the section's command itself, for selections the button is not
    /// offered for.
    int RunCommand(const std::function<void()>& whileOpen);

    // ---- What a user does while the dialog is open -------------------------------------------

    KV::CLinkSubNodeDlg* Dialog() const;
    /// The user's hands on the open dialog.
    KV::CSubNodeDialogUser User() const;
    QTreeWidget* Tree() const;
    template<typename T>
    T* DialogObject(const char* name) const
    {
        return Dialog()->findChild<T*>(QLatin1String(name));
    }
    /// Clicks the `occurrence`-th visible item showing `text`, in the tree's pre-order.
    void ClickItem(const QString& text, int occurrence = 0);
    void ClickButton(const char* name);
    void TypeInSearch(const QString& text);
    /// Empties the search field with select-all and delete.
    void EraseSearch();
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    /// The enabled states of the view menu's four entries as the menu showed them.
    struct CMenuState
    {
        bool hierarchy = false;
        bool list = false;
        bool expand = false;
        bool collapse = false;
    };
    /// Opens the view menu with a click on its tool button and clicks the entry `action`;
    /// a disabled entry cannot be clicked, and the menu is closed with Esc instead.
    CMenuState ChooseView(const char* action);
    /// Whether the view menu shows `action` checked.
    bool IsChecked(const char* action) const;

    // ---- What the user sees and what the host received ---------------------------------------

    /// The tree drawn as DrawTree (support/TreeText.h) draws it.
    QString DrawnTree() const;
    /// The texts of the selected items, in the tree's pre-order.
    QStringList SelectedTexts() const;
    /// The journal's SetTransform and LinkObjects lines since `ClearJournal`.
    QStringList Edits() const;

private:
    /// Whether the search field ever held text in this test.
    bool m_searched = false;

    int Run(const std::function<void()>& start, const std::function<void()>& whileOpen);
};
