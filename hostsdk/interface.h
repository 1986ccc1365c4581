// The host's interfaces as an importer sees them: the core interface, the
// import interface, import nodes and scene nodes.
#pragma once

#include "hostsdk/mtl.h"

class HOSTSDK_API INode {
public:
    virtual ~INode() {}
    virtual const char* GetName() = 0;
    virtual void SetName(const char* name) = 0;
    virtual Object* GetObjectRef() = 0;
    virtual Matrix3 GetNodeTM(TimeValue t) = 0;
    virtual Mtl* GetMtl() = 0;
    // The node holds the material from now on (releasing any earlier one).
    virtual void SetMtl(Mtl* mtl) = 0;
    // The node's user-defined properties, one text replaced whole by each set.
    virtual void SetUserPropBuffer(const char* buf) = 0;
    virtual void GetUserPropBuffer(CStr& buf) = 0;
    virtual int Selected() = 0;  // nonzero while the user has the node selected
};

// What IScene::EnumTree asks of the caller for each node it visits.
const int TREE_CONTINUE = 0;
const int TREE_IGNORECHILDREN = 1;
const int TREE_ABORT = 2;

class HOSTSDK_API ITreeEnumProc {
public:
    virtual ~ITreeEnumProc() {}
    virtual int callback(INode* node) = 0;  // TREE_CONTINUE, ... or TREE_ABORT
};

// The scene as an exporter walks it.
class HOSTSDK_API IScene {
public:
    virtual ~IScene() {}
    // Visits every node in scene order; 0 when the walk ran to its end,
    // 1 when a callback aborted it.
    virtual int EnumTree(ITreeEnumProc* proc) = 0;
};

class HOSTSDK_API ExpInterface {
public:
    virtual ~ExpInterface() {}
    IScene* theScene = nullptr;
};

typedef int RefResult;
const RefResult REF_SUCCEED = 1;
const RefResult REF_FAIL = 0;

class HOSTSDK_API ImpNode {
public:
    virtual ~ImpNode() {}
    // The node holds the object from now on.
    virtual RefResult Reference(Object* obj) = 0;
    virtual void SetTransform(TimeValue t, Matrix3 tm) = 0;
    virtual void SetName(const char* name) = 0;
    virtual INode* GetINode() = 0;
};

class HOSTSDK_API ImpInterface {
public:
    virtual ~ImpInterface() {}
    virtual ImpNode* CreateNode() = 0;  // null when no node can be made
    virtual void AddNodeToScene(ImpNode* node) = 0;
    virtual int NewScene() = 0;  // deletes the whole scene
    virtual void RedrawViews() = 0;
};

class HOSTSDK_API Interface {
public:
    virtual ~Interface() {}
    virtual HWND GetMAXHWnd() = 0;
    virtual const char* GetDir(int which) = 0;  // APP_PLUGCFG_DIR, APP_HELP_DIR
    // Resets the host to an empty scene; noPrompt skips the host's own question.
    virtual BOOL FileReset(BOOL noPrompt = FALSE) = 0;
    // Shows a map in the viewports on the material (sub-material subNum, -1 the material itself).
    virtual void ActivateTexture(MtlBase* map, Mtl* mtl, int subNum = -1) = 0;
    virtual int GetSelNodeCount() = 0;
    virtual INode* GetSelNode(int i) = 0;  // null outside 0..GetSelNodeCount()-1
    virtual TimeValue GetTime() = 0;
};

class HOSTSDK_API Interface7 : public Interface {
public:
    virtual void PutMtlToMtlEditor(MtlBase* mtl, int slot) = 0;
};

HOSTSDK_API Interface7* GetCOREInterface7();
// Set by the host application at start-up.
HOSTSDK_API void SetCOREInterface(Interface7* ip);
