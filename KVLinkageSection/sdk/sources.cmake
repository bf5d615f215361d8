list(APPEND KV_CORE_SOURCES
    sdk/CUiComponent.h
    sdk/UBHandle.h
    sdk/CWidgetBuilderUiPath.cpp
    sdk/UBPointerSet.h
    sdk/CDestoryWatchableObject.h      sdk/CDestoryWatchableObject.cpp
    sdk/CDestroyWatcher.h              sdk/CDestroyWatcher.cpp
    sdk/CSettingsReader.h
    sdk/CInternalSettingInterface.h
    sdk/CInternalSettings.h            sdk/CInternalSettings.cpp
    sdk/CExternalFileSetting.h         sdk/CExternalFileSetting.cpp
    sdk/CExternalFileSettingInstance.cpp
)
