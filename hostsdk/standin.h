// The stand-in host's own side: a scene that importers fill through
// ImpInterface and Interface7, and that the reference host and tests read back.
#pragma once

#include <string>
#include <vector>

#include "hostsdk/interface.h"

// One scene node; plays both the import node and the scene node.
class HOSTSDK_API HostNode : public ImpNode, public INode {
public:
    HostNode();
    ~HostNode() override;  // releases its object and material
    HostNode(const HostNode&) = delete;
    HostNode& operator=(const HostNode&) = delete;
    // ImpNode
    RefResult Reference(Object* obj) override;
    void SetTransform(TimeValue t, Matrix3 tm) override;
    void SetName(const char* name) override;
    INode* GetINode() override { return this; }
    // INode
    const char* GetName() override { return name.data(); }
    Object* GetObjectRef() override { return object; }
    Matrix3 GetNodeTM(TimeValue t) override { return transform; }
    Mtl* GetMtl() override { return material; }
    void SetMtl(Mtl* mtl) override;
    void SetUserPropBuffer(const char* buf) override { userProps = buf; }
    void GetUserPropBuffer(CStr& buf) override { buf = userProps; }
    int Selected() override { return selected ? 1 : 0; }
    void SetSelected(bool on) { selected = on; }

    const char* UserPropBuffer() const { return userProps.data(); }  // never null

private:
    CStr name;
    CStr userProps;
    Object* object;
    Mtl* material;
    Matrix3 transform;
    bool selected = false;
};

// Plays the import interface and, through theScene, the export interface.
class HOSTSDK_API HostScene : public ImpInterface, public ExpInterface, public IScene {
public:
    HostScene();
    ~HostScene() override;
    HostScene(const HostScene&) = delete;
    HostScene& operator=(const HostScene&) = delete;
    ImpNode* CreateNode() override;
    void AddNodeToScene(ImpNode* node) override;
    int NewScene() override;
    void RedrawViews() override;
    int EnumTree(ITreeEnumProc* proc) override;

    int NodeCount() const;
    HostNode* GetNode(int i) const;
    int RedrawCount() const { return redraws; }
    // Test hook: CreateNode answers null while set.
    void SetFailNodeCreation(bool fail) { failNodeCreation = fail; }

private:
    std::vector<HostNode*> nodes;    // in the scene, in order
    std::vector<HostNode*> pending;  // created, not yet added
    int redraws;
    bool failNodeCreation;
};

class HOSTSDK_API HostCore : public Interface7 {
public:
    explicit HostCore(HostScene& scene);
    ~HostCore() override;
    HostCore(const HostCore&) = delete;
    HostCore& operator=(const HostCore&) = delete;
    HWND GetMAXHWnd() override { return mainWindow; }
    const char* GetDir(int which) override;
    BOOL FileReset(BOOL noPrompt = FALSE) override;
    void ActivateTexture(MtlBase* map, Mtl* mtl, int subNum = -1) override;
    int GetSelNodeCount() override;
    INode* GetSelNode(int i) override;
    TimeValue GetTime() override { return 0; }
    void PutMtlToMtlEditor(MtlBase* mtl, int slot) override;

    void SetMainWindow(HWND w) { mainWindow = w; }
    void SetDir(int which, const char* path);
    // The material in an editor slot; null when empty or since released.
    MtlBase* EditorSlot(int slot) const;
    // Forgets a material that is being released (called by the material itself).
    void ForgetMaterial(MtlBase* mtl);
    int FileResetCount() const { return fileResets; }
    int ActivatedTextureCount() const { return activatedTextures; }
    // The last map shown in the viewports, with its material and sub-material
    // index; null since either was released.
    MtlBase* ActivatedMap() const { return activeMap; }
    Mtl* ActivatedMaterial() const { return activeMaterial; }
    int ActivatedSubMaterial() const { return activeSubNum; }

    static const int kEditorSlots = 24;

private:
    HostScene& scene;
    HWND mainWindow;
    std::string helpDir, plugCfgDir;
    MtlBase* editorSlots[kEditorSlots];
    int fileResets;
    int activatedTextures;
    MtlBase* activeMap;
    Mtl* activeMaterial;
    int activeSubNum;
    HostCore* nextCore;  // the list of live cores that hear of released materials
    friend void HostForgetMaterial(MtlBase* mtl);
};

// The node blocks of the scene dump, one item per line, ending with "end".
HOSTSDK_API std::string DumpScene(const HostScene& scene);
// A float as the dump prints it (%.9g, whatever the C locale).
HOSTSDK_API std::string DumpFloat(float f);
// A text as the dump prints it: each line break (CR LF, LF or CR) as \n,
// every other control byte as \xNN.
HOSTSDK_API std::string DumpText(const char* text);
