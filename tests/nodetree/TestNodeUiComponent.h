#pragma once

#include "sdk/CUiComponent.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

/// The widgets of data/TestNodeStructure.ui.
class CTestNodeUiComponent : public CUiComponent
{
public:
    void BindWidgets(KV::CWidgetBuilder* builder) override;
    QWidget* GetRootWidget() override { return TestNodeStructure; }

    QWidget* TestNodeStructure = nullptr;
    QLineEdit* qtSearch = nullptr;
    QTreeWidget* qtTree = nullptr;
    QPushButton* qtOk = nullptr;
    QPushButton* qtCancel = nullptr;
};
