// The stand-in host's scene, nodes and core interface.
#include "hostsdk/standin.h"

#include <algorithm>
#include <mutex>
#include <new>

// Defined with the materials.
bool HostMaterialReaches(Mtl* keeper, Mtl* held);
void HostDetachMaterial(Mtl* keeper, Mtl* held);

namespace {

Interface7* coreInterface = nullptr;

// Every live HostCore, so a released material leaves no editor slot behind.
std::mutex coresMutex;
HostCore* firstCore = nullptr;

}  // namespace

void HostForgetMaterial(MtlBase* mtl) {
    std::lock_guard<std::mutex> lock(coresMutex);
    for (HostCore* core = firstCore; core; core = core->nextCore) core->ForgetMaterial(mtl);
}

Interface7* GetCOREInterface7() { return coreInterface; }
void SetCOREInterface(Interface7* ip) { coreInterface = ip; }

// ---- HostNode

HostNode::HostNode() : object(nullptr), material(nullptr) {}

HostNode::~HostNode() {
    if (object) object->DeleteMe();
    if (material) material->DeleteMe();
}

// The node holds one object; a different one replaces and releases the old.
RefResult HostNode::Reference(Object* obj) {
    if (obj == object) return REF_SUCCEED;
    Object* old = object;
    object = obj;
    if (old) old->DeleteMe();
    return REF_SUCCEED;
}

void HostNode::SetTransform(TimeValue t, Matrix3 tm) { transform = tm; }

void HostNode::SetName(const char* newName) { name = newName; }

// The earlier material is released unless the new one still holds it; when
// the new one was a sub-material of the old, it is taken out first so that
// it does not go with the old one.
void HostNode::SetMtl(Mtl* mtl) {
    if (mtl == material) return;
    Mtl* old = material;
    material = mtl;
    if (!old || HostMaterialReaches(mtl, old)) return;
    if (mtl) HostDetachMaterial(old, mtl);
    old->DeleteMe();
}

// ---- HostScene

HostScene::HostScene() : redraws(0), failNodeCreation(false) { theScene = this; }

HostScene::~HostScene() { NewScene(); }

// The scene owns the node from here on, added or not.
ImpNode* HostScene::CreateNode() {
    if (failNodeCreation) return nullptr;
    HostNode* node = new (std::nothrow) HostNode;
    if (!node) return nullptr;
    try {
        pending.push_back(node);
    } catch (...) {
        delete node;
        return nullptr;
    }
    return node;
}

// Only nodes this scene made can be added; adding one twice changes nothing.
void HostScene::AddNodeToScene(ImpNode* node) {
    auto it = std::find(pending.begin(), pending.end(), node);
    if (it == pending.end()) return;
    try {
        nodes.push_back(*it);
    } catch (...) {
        return;  // stays pending, still owned
    }
    pending.erase(it);
}

int HostScene::NewScene() {
    for (HostNode* n : nodes) delete n;
    for (HostNode* n : pending) delete n;
    nodes.clear();
    pending.clear();
    return 1;
}

void HostScene::RedrawViews() { ++redraws; }

// The stand-in's nodes have no children: the tree is the list.
int HostScene::EnumTree(ITreeEnumProc* proc) {
    for (HostNode* node : nodes)
        if (proc->callback(node) == TREE_ABORT) return 1;
    return 0;
}

int HostScene::NodeCount() const { return int(nodes.size()); }

HostNode* HostScene::GetNode(int i) const {
    return (i >= 0 && i < NodeCount()) ? nodes[size_t(i)] : nullptr;
}

// ---- HostCore

HostCore::HostCore(HostScene& s)
    : scene(s),
      mainWindow(nullptr),
      editorSlots{},
      fileResets(0),
      activatedTextures(0),
      activeMap(nullptr),
      activeMaterial(nullptr),
      activeSubNum(-1) {
    std::lock_guard<std::mutex> lock(coresMutex);
    nextCore = firstCore;
    firstCore = this;
}

HostCore::~HostCore() {
    std::lock_guard<std::mutex> lock(coresMutex);
    for (HostCore** link = &firstCore; *link; link = &(*link)->nextCore)
        if (*link == this) {
            *link = nextCore;
            break;
        }
}

const char* HostCore::GetDir(int which) {
    switch (which) {
        case APP_PLUGCFG_DIR:
            return plugCfgDir.c_str();
        case APP_HELP_DIR:
            return helpDir.c_str();
        default:
            return "";
    }
}

void HostCore::SetDir(int which, const char* path) {
    const char* text = path ? path : "";
    if (which == APP_PLUGCFG_DIR)
        plugCfgDir = text;
    else if (which == APP_HELP_DIR)
        helpDir = text;
}

// The host's own reset question is never asked here; the scene is emptied.
BOOL HostCore::FileReset(BOOL noPrompt) {
    ++fileResets;
    scene.NewScene();
    return TRUE;
}

void HostCore::ActivateTexture(MtlBase* map, Mtl* mtl, int subNum) {
    if (!map || !mtl) return;
    ++activatedTextures;
    activeMap = map;
    activeMaterial = mtl;
    activeSubNum = subNum;
}

int HostCore::GetSelNodeCount() {
    int count = 0;
    for (int i = 0; i < scene.NodeCount(); ++i) count += scene.GetNode(i)->Selected();
    return count;
}

INode* HostCore::GetSelNode(int i) {
    for (int k = 0; k < scene.NodeCount(); ++k) {
        HostNode* node = scene.GetNode(k);
        if (node->Selected() && i-- == 0) return node;
    }
    return nullptr;
}

// The editor shows a material; it does not own it.
void HostCore::PutMtlToMtlEditor(MtlBase* mtl, int slot) {
    if (slot >= 0 && slot < kEditorSlots) editorSlots[slot] = mtl;
}

MtlBase* HostCore::EditorSlot(int slot) const {
    return (slot >= 0 && slot < kEditorSlots) ? editorSlots[slot] : nullptr;
}

void HostCore::ForgetMaterial(MtlBase* mtl) {
    for (MtlBase*& slot : editorSlots)
        if (slot == mtl) slot = nullptr;
    if (mtl == activeMap || mtl == activeMaterial) {
        activeMap = nullptr;
        activeMaterial = nullptr;
        activeSubNum = -1;
    }
}
