#pragma once

#include "host/KVKorvelInterface.h"

#include <QString>

namespace KV {

class CSceneModel;

/// The host's answers as the plug-in gets them: every query goes through the host interface,
/// with the caller's presets (0, false, null) that the plug-in uses, so that injected
/// failures reach the checker exactly as they reach the plug-in. The checker's own queries
/// stay out of the scene's call journal, which records the plug-in's calls only.
class CHostQueries
{
public:
    explicit CHostQueries(CSceneModel& scene);

    UB::Result Selection(HandleList& out);
    UBTime Now();
    bool IsPlaying();
    int PickMode();
    int DialogMode();
    int ObjectType(UB::CHandle* object);
    int NodeKind(UB::CHandle* node);
    bool IsLinkDisabled(UB::CHandle* object);
    bool IsLinkBlocked(UB::CHandle* object);
    bool IsLinkableNode(UB::CHandle* node);
    bool IsSubNodeLinkExcluded(UB::CHandle* node);
    UB::Result LinkParent(UB::CHandle* object, UBTime time, UB::CHandle*& parent);
    QString Name(UB::CHandle* node);
    QString StandardName(int index);
    UB::CHandle* FindNodeByName(UB::CHandle* node, const QString& name);
    UB::Result SubNodes(UB::CHandle* node, HandleList& out);
    UB::CHandle* NodeOwner(UB::CHandle* node);
    UB::CHandle* OwnerRoot(UB::CHandle* node);
    UB::CHandle* Camera();
    TransformRecord Transform(UB::CHandle* object, UBTime time, UB::Result* result);

    /// The linkability rule of the Linkage section: every object's type is one of the
    /// linkable types and the host does not report it link-disabled. An empty list passes.
    bool CanLink(const HandleList& objects);
    bool CanLink(UB::CHandle* object);
    static bool IsLinkableType(int type);

private:
    /// Keeps the journal off for one query.
    class CQuiet
    {
    public:
        explicit CQuiet(CSceneModel& scene);
        ~CQuiet();

    private:
        CSceneModel& m_scene;
    };

    CSceneModel& m_scene;
};

} // namespace KV
