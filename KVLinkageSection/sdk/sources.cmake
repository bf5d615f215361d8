list(APPEND KV_CORE_SOURCES
    sdk/CUiComponent.h
    sdk/UBHandle.h
    sdk/CWidgetBuilderUiPath.cpp
)
