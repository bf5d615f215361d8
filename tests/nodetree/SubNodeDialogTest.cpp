#include "SubNodeDialogTest.h"

#include "CCommandScope.h"
#include "CModalWatch.h"
#include "SceneSketch.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

void SubNodeDialogTest::SetUp()
{
    SceneHostTest::SetUp();
    section = new KV::CLinkageSection(&window);
    ASSERT_EQ(section->Initialize(QStringLiteral(KV_PLUGIN_DIR), QStringLiteral("sandbox-theme"),
                                  scene.get()),
              UB::kOk);
    // As in the host's Modify panel, the section is laid out at its full size.
    window.setCentralWidget(section);
    window.resize(400, 600);
    window.show();
}

void SubNodeDialogTest::TearDown()
{
    SceneHostTest::TearDown();
    // The search field's clear button fades in and out with animations that delete
    // themselves once they have run their time; no event loop comes after this to run them.
    if (m_searched)
        QTest::qWait(250);
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
    return Run(
        [this] {
            QTest::mouseClick(section->findChild<QToolButton*>(QStringLiteral("qtLinkSubNode")),
                              Qt::LeftButton);
        },
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

void SubNodeDialogTest::ClickItem(const QString& text)
{
    KV::CSubNodeDialogUser user = User();
    for (QTreeWidgetItem* item : user.Items()) {
        if (item->isHidden() || item->text(0) != text)
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
