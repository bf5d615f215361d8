list(APPEND KV_CORE_SOURCES
    section/CLinkageSection.h              section/CLinkageSection.cpp
    section/CLinkageUiComponent.h          section/CLinkageUiComponent.cpp
)
list(APPEND KV_CORE_SOURCES
    section/CLinkageSectionSubNode.cpp
)
