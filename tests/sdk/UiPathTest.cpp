#include "host/KVWidgetBuilder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(SetUiPath, DerivesThePresetPathFromTheLastDotAnywhereInThePath)
{
    const char* cases[][2] = {
        {":/plugin/KVLinkageSection/Linkage.ui", ":/plugin/KVLinkageSection/Linkage.preset"},
        // The only dot is in a folder name: the file name is lost.
        {"/layouts/v1.2/Linkage", "/layouts/v1.preset"},
        {"/layouts/Linkage", "/layouts/Linkage"},
        {"Linkage.", "Linkage.preset"},
        {"Linkage.backup.ui", "Linkage.backup.preset"},
        {"", ""},
    };
    KV::CWidgetBuilder builder;
    for (const auto& c : cases) {
        builder.SetUiPath(QString::fromLatin1(c[0]));
        EXPECT_EQ(builder.GetFormPath(), QString::fromLatin1(c[0]));
        EXPECT_EQ(builder.GetPresetPath(), QString::fromLatin1(c[1])) << c[0];
    }
}
