#include "sdk/CUiComponent.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace {

template<typename T, typename Parent>
T* MakeChild(Parent* parent, const char* name)
{
    auto* child = new T(parent);
    child->setObjectName(QString::fromLatin1(name));
    return child;
}

template<typename T>
std::function<QObject*()> Finder(KV::CWidgetBuilder& builder, const char* name)
{
    return [&builder, name] {
        return static_cast<QObject*>(FindWidget<T>(&builder, QLatin1String(name)));
    };
}

QStringList MissingNames(const KV::CWidgetBuilder& builder)
{
    return QStringList(builder.GetMissingNames().begin(), builder.GetMissingNames().end());
}

} // namespace

//   Linkage (QWidget)                      qtSectionHost
//   ├─ Linkage (QPushButton)               ├─ qtEscHotkey (QAction)
//   ├─ linkage (QLabel)                    ├─ qtName (QLabel)
//   ├─ qtBox                               └─ qtTitle (QLabel)
//   │  └─ qtName (QLabel)   deeper, made first
//   ├─ qtName (QWidget)     right name, another class
//   ├─ qtName (QLabel)      first direct match
//   └─ qtName (QLabel)
TEST(FindWidget, SearchesThePrimaryRootThenItsTreeThenTheSecondaryTreeAndRecordsMisses)
{
    QWidget primary;
    QWidget secondary;
    primary.setObjectName(QStringLiteral("Linkage"));
    secondary.setObjectName(QStringLiteral("qtSectionHost"));
    MakeChild<QPushButton>(&primary, "Linkage");
    QLabel* lowerCase = MakeChild<QLabel>(&primary, "linkage");
    MakeChild<QLabel>(MakeChild<QWidget>(&primary, "qtBox"), "qtName");
    QWidget* plain = MakeChild<QWidget>(&primary, "qtName");
    QLabel* firstDirect = MakeChild<QLabel>(&primary, "qtName");
    MakeChild<QLabel>(&primary, "qtName");
    QAction* esc = MakeChild<QAction>(&secondary, "qtEscHotkey");
    MakeChild<QLabel>(&secondary, "qtName");
    QLabel* title = MakeChild<QLabel>(&secondary, "qtTitle");
    KV::CWidgetBuilder builder;
    builder.SetRoots(&primary, &secondary);
    builder.SetReady(true);

    struct Case
    {
        const char* lookup;
        std::function<QObject*()> find;
        QObject* found;
    };
    const Case cases[] = {
        // The root itself is the answer, or none when of another class: no namesake child.
        {"QWidget Linkage", Finder<QWidget>(builder, "Linkage"), &primary},
        {"QPushButton Linkage", Finder<QPushButton>(builder, "Linkage"), nullptr},
        {"QLabel linkage", Finder<QLabel>(builder, "linkage"), lowerCase},
        {"QWidget 'Linkage '", Finder<QWidget>(builder, "Linkage "), nullptr},
        {"QLabel qtName", Finder<QLabel>(builder, "qtName"), firstDirect},
        {"QWidget qtName", Finder<QWidget>(builder, "qtName"), plain},
        {"QPushButton qtName", Finder<QPushButton>(builder, "qtName"), nullptr},
        {"QAction qtEscHotkey", Finder<QAction>(builder, "qtEscHotkey"), esc},
        {"QLabel qtTitle", Finder<QLabel>(builder, "qtTitle"), title},
        // The secondary root itself is never compared, only its descendants.
        {"QWidget qtSectionHost", Finder<QWidget>(builder, "qtSectionHost"), nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.find(), c.found) << c.lookup;
    EXPECT_EQ(MissingNames(builder),
              (QStringList{QStringLiteral("Linkage "), QStringLiteral("qtName"),
                           QStringLiteral("qtSectionHost")}));

    // Without a primary root the secondary is still searched; without a secondary it is not.
    builder.SetRoots(nullptr, &secondary);
    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtTitle")), title);
    builder.SetRoots(&primary, nullptr);
    EXPECT_EQ(FindWidget<QAction>(&builder, QStringLiteral("qtEscHotkey")), nullptr);

    // Before the builder is ready every lookup fails and is recorded, even the root's name.
    builder.SetReady(false);
    EXPECT_EQ(FindWidget<QWidget>(&builder, QStringLiteral("Linkage")), nullptr);
    EXPECT_EQ(MissingNames(builder).mid(3),
              (QStringList{QStringLiteral("qtEscHotkey"), QStringLiteral("Linkage")}));
}
