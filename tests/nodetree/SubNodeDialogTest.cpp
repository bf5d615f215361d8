#include "SubNodeDialogTest.h"

#include "CCommandScope.h"
#include "CModalWatch.h"
#include "SceneSketch.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <vector>

namespace {

void ApplyAttribute(KV::CNodeDesc& desc, const QString& attribute)
{
    if (attribute.startsWith(QLatin1String("type=")))
        desc.objectType = attribute.mid(5).toInt();
    else if (attribute.startsWith(QLatin1String("kind=")))
        desc.nodeKind = attribute.mid(5).toInt();
    else if (attribute == QLatin1String("unlinkable"))
        desc.linkable = false;
    else if (attribute == QLatin1String("excluded"))
        desc.subNodeLinkExcluded = true;
    else
        ADD_FAILURE() << "unknown attribute " << attribute.toStdString();
}

} // namespace

void SubNodeDialogTest::SetUp()
{
    LinkageSectionTest::SetUp();
    ASSERT_EQ(Initialize(), UB::kOk);
    // As in the host's Modify panel, the section is laid out at its full size.
    window.setCentralWidget(section);
    window.resize(400, 600);
    window.show();
}

void SubNodeDialogTest::TearDown()
{
    LinkageSectionTest::TearDown();
    // The search field's clear button fades in and out with animations that delete
    // themselves once they have run their time; no event loop comes after this to run them.
    if (m_searched)
        QTest::qWait(250);
}

UB::CHandle* SubNodeDialogTest::AddStructure(const QString& drawing)
{
    QStringList lines;
    std::vector<QStringList> attributes;
    for (const QString& line : drawing.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty())
            continue;
        const int open = line.indexOf(QLatin1Char('['));
        if (open < 0) {
            lines << line;
            attributes.emplace_back();
            continue;
        }
        const int close = line.indexOf(QLatin1Char(']'), open);
        int indent = 0;
        while (line.at(indent) == QLatin1Char(' '))
            ++indent;
        lines << QString(indent, QLatin1Char(' ')) + line.mid(indent, open - indent).trimmed();
        attributes.push_back(
            line.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }
    const int before = scene->AllNodes().size();
    UB::CHandle* first = AddSketch(*scene, lines.join(QLatin1Char('\n')));
    const QVector<UB::CHandle*> added = scene->AllNodes().mid(before);
    EXPECT_EQ(added.size(), static_cast<int>(attributes.size()));
    for (int i = 0; i < added.size() && i < static_cast<int>(attributes.size()); ++i) {
        for (const QString& attribute : attributes[static_cast<std::size_t>(i)])
            ApplyAttribute(scene->Desc(added[i]), attribute);
    }
    return first;
}

UB::CHandle* SubNodeDialogTest::AddSelectedObject(const QString& name, UB::CHandle* parent,
                                                  const TransformRecord& place)
{
    UB::CHandle* object = AddObject(name, 1, parent);
    scene->SetTransformKey(object, 0, place);
    scene->SetSelection({object});
    return object;
}

UB::CHandle* SubNodeDialogTest::Node(const char* name) const
{
    return scene->FindByName(QString::fromUtf8(name));
}

TransformRecord SubNodeDialogTest::Place(float x, float y, float z)
{
    TransformRecord record;
    record.position[0] = x;
    record.position[1] = y;
    record.position[2] = z;
    return record;
}

int SubNodeDialogTest::RunDialog(const std::function<void()>& whileOpen)
{
    return Run([this] { QTest::mouseClick(Widget<QToolButton>("qtLinkSubNode"), Qt::LeftButton); },
               whileOpen);
}

int SubNodeDialogTest::RunCommand(const std::function<void()>& whileOpen)
{
    return Run([this] { section->OnLinkToSubNode(); }, whileOpen);
}

int SubNodeDialogTest::Run(const std::function<void()>& start,
                           const std::function<void()>& whileOpen)
{
    // The whole session is one host command, as a click on the button is in the host.
    KV::CCommandScope command(scene.get());
    // A step that fails half-way leaves the dialog to the watch, which rejects it.
    const bool opened = KV::CModalWatch::Run(start, [&](QDialog* dialog) {
        if (dialog == Dialog())
            whileOpen();
    });
    if (!opened || Dialog() == nullptr) {
        ADD_FAILURE() << "the link-to-sub-node dialog did not open";
        return -1;
    }
    return Dialog()->result();
}

KV::CLinkSubNodeDlg* SubNodeDialogTest::Dialog() const
{
    return section->findChild<KV::CLinkSubNodeDlg*>();
}

KV::CSubNodeDialogUser SubNodeDialogTest::User() const
{
    return KV::CSubNodeDialogUser(Dialog());
}

QTreeWidget* SubNodeDialogTest::Tree() const
{
    return DialogObject<QTreeWidget>("qtObjectTreeWidget");
}

void SubNodeDialogTest::ClickItem(const QString& text, int occurrence)
{
    KV::CSubNodeDialogUser user = User();
    for (QTreeWidgetItem* item : user.Items()) {
        if (item->isHidden() || item->text(0) != text || occurrence-- > 0)
            continue;
        ASSERT_TRUE(user.ClickItem(item)) << text.toStdString() << " is not on screen";
        return;
    }
    ADD_FAILURE() << "no visible item " << text.toStdString();
}

void SubNodeDialogTest::ClickButton(const char* name)
{
    auto* button = DialogObject<QAbstractButton>(name);
    ASSERT_NE(button, nullptr) << name;
    KV::CSubNodeDialogUser::Click(button);
}

void SubNodeDialogTest::TypeInSearch(const QString& text)
{
    m_searched = true;
    User().TypeInSearch(text);
}

void SubNodeDialogTest::EraseSearch()
{
    User().EraseSearch();
}

void SubNodeDialogTest::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    User().PressKey(key, modifiers);
}

SubNodeDialogTest::CMenuState SubNodeDialogTest::ChooseView(const char* action)
{
    CMenuState state;
    KV::CSubNodeDialogUser user = User();
    QAction* entry = DialogObject<QAction>(action);
    if (user.ViewButton() == nullptr || entry == nullptr) {
        ADD_FAILURE() << "no view menu entry " << action;
        return state;
    }
    const bool shown = user.ChooseView(entry, [&](QMenu*) {
        state.hierarchy = user.HierarchyAction()->isEnabled();
        state.list = user.ListAction()->isEnabled();
        state.expand = user.ExpandAction()->isEnabled();
        state.collapse = user.CollapseAction()->isEnabled();
    });
    EXPECT_TRUE(shown) << "the view menu did not open";
    return state;
}

bool SubNodeDialogTest::IsChecked(const char* action) const
{
    return DialogObject<QAction>(action)->isChecked();
}

QString SubNodeDialogTest::DrawnTree() const
{
    return DrawTree(Tree());
}

QStringList SubNodeDialogTest::SelectedTexts() const
{
    QStringList texts;
    for (QTreeWidgetItem* item : User().Items()) {
        if (item->isSelected())
            texts << item->text(0);
    }
    return texts;
}

QStringList SubNodeDialogTest::Edits() const
{
    return scene->JournalLines({QStringLiteral("SetTransform"), QStringLiteral("LinkObjects")});
}
