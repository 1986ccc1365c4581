// The scene's selection as the main window changes it: the Select menu
// (All, None, each node by name) and clicks in the viewport.
#pragma once

#include <windows.h>

#include <string>

#include "hostsdk/standin.h"

// Select menu commands; tests post them to the main window.
const int kCmdSelectAll = 40008;
const int kCmdSelectNone = 40009;
const int kCmdFirstSelectNode = 40400;  // + the node's index in the scene
// The menu lists this many nodes; Select All reaches the others.
const int kMaxSelectNodeItems = 50;

HMENU CreateSelectMenu();

// Fills the Select menu as it opens: All, None, then each node by name,
// checked when selected, up to kMaxSelectNodeItems and "..." after; all
// greyed while the scene may not be touched.
void FillSelectMenu(HMENU menu, const HostScene& scene, bool enabled);

// Carries out a Select menu command; false when id is none of them.
bool OnSelectCommand(const HostScene& scene, int id);

// A click on a node (kClickedNothing: on nothing): toggled, or selected
// alone; a plain click on nothing selects none, a toggling one changes nothing.
void SelectByClick(const HostScene& scene, INT_PTR node, bool toggle);

int SelectedNodeCount(const HostScene& scene);
// SelectionText of the scene.
std::string DescribeSelection(const HostScene& scene);
