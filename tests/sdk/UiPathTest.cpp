#include "host/KVWidgetBuilder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct PresetCase
{
    const char* formPath;
    const char* presetPath;
};

} // namespace

TEST(SetUiPath, DerivesThePresetPathFromTheLastDotAnywhereInThePath)
{
    const PresetCase cases[] = {
        {":/plugin/KVLinkageSection/Linkage.ui", ":/plugin/KVLinkageSection/Linkage.preset"},
        {":/plugin/KVLinkageSection/LinktoSub_Node.ui",
         ":/plugin/KVLinkageSection/LinktoSub_Node.preset"},
        // The only dot is in a folder name: the file name is lost.
        {"/layouts/v1.2/Linkage", "/layouts/v1.preset"},
        {"/layouts/Linkage", "/layouts/Linkage"},
        {"Linkage.", "Linkage.preset"},
        {"Linkage.backup.ui", "Linkage.backup.preset"},
        {"", ""},
    };
    for (const PresetCase& c : cases) {
        KV::CWidgetBuilder builder;
        builder.SetUiPath(QString::fromLatin1(c.formPath));
        EXPECT_EQ(builder.GetFormPath(), QString::fromLatin1(c.formPath));
        EXPECT_EQ(builder.GetPresetPath(), QString::fromLatin1(c.presetPath)) << c.formPath;
    }
}

TEST(SetUiPath, ReplacesBothPathsOfAnEarlierCall)
{
    KV::CWidgetBuilder builder;
    builder.SetUiPath(QStringLiteral(":/a/First.ui"));
    builder.SetUiPath(QStringLiteral(":/b/Second"));

    EXPECT_EQ(builder.GetFormPath(), QStringLiteral(":/b/Second"));
    EXPECT_EQ(builder.GetPresetPath(), QStringLiteral(":/b/Second"));
}
