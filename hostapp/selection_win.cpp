#include "hostapp/selection_win.h"

#include "hostapp/report.h"
#include "hostapp/viewer/viewport_win.h"

namespace {

void SelectAll(const HostScene& scene, bool on) {
    for (int i = 0; i < scene.NodeCount(); ++i) scene.GetNode(i)->SetSelected(on);
}

// A node's name as a menu shows it: an ampersand stays one, a tab or line
// break splits nothing, a long name is cut.
std::string MenuText(const char* name) {
    std::string text;
    for (const char* p = name; *p && text.size() < 64; ++p) {
        if (*p == '&') text += '&';
        text += static_cast<unsigned char>(*p) < 0x20 ? ' ' : *p;
    }
    if (*name && text.size() >= 64) text += "...";
    return text.empty() ? "(no name)" : text;
}

}  // namespace

HMENU CreateSelectMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kCmdSelectAll, "&All\tCtrl+A");
    AppendMenuA(menu, MF_STRING, kCmdSelectNone, "&None");
    return menu;
}

void FillSelectMenu(HMENU menu, const HostScene& scene, bool enabled) {
    while (GetMenuItemCount(menu) > 2) DeleteMenu(menu, 2, MF_BYPOSITION);
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, kCmdSelectAll, MF_BYCOMMAND | state);
    EnableMenuItem(menu, kCmdSelectNone, MF_BYCOMMAND | state);
    if (!enabled || scene.NodeCount() == 0) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < scene.NodeCount() && i < kMaxSelectNodeItems; ++i) {
        HostNode* node = scene.GetNode(i);
        AppendMenuA(menu, MF_STRING | (node->Selected() ? MF_CHECKED : MF_UNCHECKED),
                    kCmdFirstSelectNode + i, MenuText(node->GetName()).c_str());
    }
    if (scene.NodeCount() > kMaxSelectNodeItems) AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, "...");
}

bool OnSelectCommand(const HostScene& scene, int id) {
    if (id == kCmdSelectAll || id == kCmdSelectNone) {
        SelectAll(scene, id == kCmdSelectAll);
        return true;
    }
    const int node = id - kCmdFirstSelectNode;
    if (node < 0 || node >= kMaxSelectNodeItems) return false;
    if (node < scene.NodeCount())
        scene.GetNode(node)->SetSelected(!scene.GetNode(node)->Selected());
    return true;
}

void SelectByClick(const HostScene& scene, INT_PTR node, bool toggle) {
    const bool onNode = node >= 0 && node < scene.NodeCount();
    if (onNode && toggle) {
        HostNode* n = scene.GetNode(int(node));
        n->SetSelected(!n->Selected());
    } else if (!toggle) {
        SelectAll(scene, false);
        if (onNode) scene.GetNode(int(node))->SetSelected(true);
    }
}

int SelectedNodeCount(const HostScene& scene) {
    int count = 0;
    for (int i = 0; i < scene.NodeCount(); ++i) count += scene.GetNode(i)->Selected();
    return count;
}

std::string DescribeSelection(const HostScene& scene) {
    const int count = SelectedNodeCount(scene);
    std::string only;
    for (int i = 0; i < scene.NodeCount() && count == 1; ++i)
        if (scene.GetNode(i)->Selected()) only = scene.GetNode(i)->GetName();
    return SelectionText(count, scene.NodeCount(), only);
}
