#pragma once

#include "sdk/CUiComponent.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

// UI components for the test layouts in data/, bound the way the plug-in's components bind
// theirs.

/// TestSection.ui; optionally also asks for two objects the layout does not have.
class CTestSectionComponent : public CUiComponent
{
public:
    void BindWidgets(KV::CWidgetBuilder* builder) override
    {
        TestSection = FindWidget<QWidget>(builder, QStringLiteral("TestSection"));
        qtExpandButton = FindWidget<QPushButton>(builder, QStringLiteral("qtExpandButton"));
        qtGroupBox = FindWidget<QGroupBox>(builder, QStringLiteral("qtGroupBox"));
        if (askForAbsentObjects)
            qtAbsentLabel = FindWidget<QLabel>(builder, QStringLiteral("qtAbsentLabel"));
        label_512 = FindWidget<QLabel>(builder, QStringLiteral("label_512"));
        label_512NoKey = FindWidget<QLabel>(builder, QStringLiteral("label_512NoKey"));
        if (askForAbsentObjects)
            qtAbsentButton = FindWidget<QPushButton>(builder, QStringLiteral("qtAbsentButton"));
        qtPickParent = FindWidget<QPushButton>(builder, QStringLiteral("qtPickParent"));
        ++bindCount;
    }
    QWidget* GetRootWidget() override { return TestSection; }

    bool askForAbsentObjects = false;
    int bindCount = 0;
    QWidget* TestSection = nullptr;
    QPushButton* qtExpandButton = nullptr;
    QGroupBox* qtGroupBox = nullptr;
    QLabel* qtAbsentLabel = nullptr;
    QLabel* label_512 = nullptr;
    QLabel* label_512NoKey = nullptr;
    QPushButton* qtAbsentButton = nullptr;
    QPushButton* qtPickParent = nullptr;
};
