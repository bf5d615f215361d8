#include "host/KVPluginDialog.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

// Records the hooks in the order the framework calls them, with the visibility each saw.
class CHookRecordingDialog : public KV::CPluginDialog
{
public:
    QStringList calls;

protected:
    void BeforeDialogModeChangedToShow() override { Record("before show"); }
    void AfterDialogModeChangedToShow() override { Record("after show"); }
    void BeforeDialogModeChangedTHide() override { Record("before hide"); }
    void AfterDialogModeChangedTHide() override { Record("after hide"); }

private:
    void Record(const char* hook)
    {
        calls << QLatin1String(hook) + (isVisible() ? " (visible)" : " (hidden)");
    }
};

} // namespace

TEST(PluginDialog, ShowingAndHidingRunTheHooksAroundTheChange)
{
    CHookRecordingDialog dialog;

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.hide();

    EXPECT_EQ(dialog.calls, (QStringList{"before show (visible)", "after show (visible)",
                                         "before hide (hidden)", "after hide (hidden)"}));
    EXPECT_EQ(dialog.windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
}
