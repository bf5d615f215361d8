list(APPEND KV_CORE_SOURCES
    plugin/CLinkagePlugin.h                plugin/CLinkagePlugin.cpp
    plugin/CLinkCommandState.h             plugin/CLinkCommandState.cpp
    plugin/LinkageConstants.h
    plugin/CLinkageActionUiComponent.h     plugin/CLinkageActionUiComponent.cpp
    plugin/HotKeyRegistration.h            plugin/HotKeyRegistration.cpp
    plugin/LinkEventPrototype.h            plugin/LinkEventPrototype.cpp
)
