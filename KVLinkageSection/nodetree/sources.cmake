list(APPEND KV_CORE_SOURCES
    nodetree/CNodeHandleValue.h       nodetree/CNodeHandleValue.cpp
    nodetree/CNodeTreeWidgetTool.h    nodetree/CNodeTreeWidgetTool.cpp
    nodetree/CNodeStructureDlg.h      nodetree/CNodeStructureDlg.cpp
)
