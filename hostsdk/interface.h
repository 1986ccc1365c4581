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
};

class HOSTSDK_API Interface7 : public Interface {
public:
    virtual void PutMtlToMtlEditor(MtlBase* mtl, int slot) = 0;
};

HOSTSDK_API Interface7* GetCOREInterface7();
// Set by the host application at start-up.
HOSTSDK_API void SetCOREInterface(Interface7* ip);
