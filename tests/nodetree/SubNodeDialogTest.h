#pragma once

#include "CSubNodeDialogUser.h"
#include "SceneSketch.h"
#include "nodetree/CLinkSubNodeDlg.h"
#include "section/CLinkageSection.h"
#include "support/ResourceSuite.h"
#include "support/SceneHostTest.h"
#include "support/Transforms.h"
#include "support/TreeText.h"

#include <QString>
#include <QStringList>

#include <functional>

/// The Linkage section on a shown host window over the scene model. Its link-to-sub-node
/// button runs the dialog modally; a test drives the open dialog as a user would, and the
/// dialog is cancelled afterwards should the test leave it open.
class SubNodeDialogTest : public ResourceSuite<&PluginResourceFile, SceneHostTest>
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Adds a top-level object of type 1 at `place`, linked to `parent` from time 0, and
    /// selects it, so that the section offers the sub-node command for it.
    UB::CHandle* AddSelectedObject(const QString& name, UB::CHandle* parent,
                                   const TransformRecord& place);
    UB::CHandle* Node(const char* name) const;
    static TransformRecord Place(float x, float y, float z);

    /// Clicks qtLinkSubNode (or runs the command itself) and runs `whileOpen` inside the
    /// dialog's event loop. Returns what exec() gave, -1 when the dialog never opened.
    int RunDialog(const std::function<void()>& whileOpen);
    int RunCommand(const std::function<void()>& whileOpen);

    KV::CLinkSubNodeDlg* Dialog() const;
    KV::CSubNodeDialogUser User() const { return KV::CSubNodeDialogUser(Dialog()); }
    QTreeWidget* Tree() const { return User().Tree(); }
    template<typename T>
    T* DialogObject(const char* name) const
    {
        return Dialog()->findChild<T*>(QLatin1String(name));
    }

    /// Clicks the first visible item showing `text`, in the tree's pre-order.
    void ClickItem(const QString& text);
    void ClickButton(const char* name);
    void TypeInSearch(const QString& text);
    void EraseSearch() { User().EraseSearch(); }
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        User().PressKey(key, modifiers);
    }
    /// Opens the view menu with its tool button and clicks `action` if it is enabled.
    void ChooseView(const char* action)
    {
        EXPECT_TRUE(User().ChooseView(DialogObject<QAction>(action))) << action;
    }
    bool IsChecked(const char* action) const { return DialogObject<QAction>(action)->isChecked(); }

    QString DrawnTree() const { return DrawTree(Tree()); }
    /// The texts of the selected items, in the tree's pre-order.
    QStringList SelectedTexts() const;
    /// The journal's SetTransform and LinkObjects lines since `ClearJournal`.
    QStringList Edits() const;

    KV::CLinkageSection* section = nullptr;

private:
    int Run(const std::function<void()>& start, const std::function<void()>& whileOpen);

    /// Whether the search field ever held text in this test.
    bool m_searched = false;
};
