list(APPEND KV_CORE_SOURCES
    nodetree/CNodeHandleValue.h       nodetree/CNodeHandleValue.cpp
    nodetree/CHandleItemMap.h         nodetree/CHandleItemMap.cpp
    nodetree/CNodeTreeWidgetTool.h    nodetree/CNodeTreeWidgetTool.cpp
    nodetree/CNodeStructureDlg.h      nodetree/CNodeStructureDlg.cpp
    nodetree/CTreeDepthLimit.h        nodetree/CTreeDepthLimit.cpp
    nodetree/HostText.h               nodetree/HostText.cpp
)
list(APPEND KV_CORE_SOURCES
    nodetree/CLinktoSub_NodeUiComponent.h   nodetree/CLinktoSub_NodeUiComponent.cpp
    nodetree/CLinkSubNodeDlg.h              nodetree/CLinkSubNodeDlg.cpp
    nodetree/CSubNodeListing.h              nodetree/CSubNodeListing.cpp
)
