// Resource ids of the plug-in library. Shared by the resource script and the code.
#pragma once

// String table.
#define IDS_CLASS_NAME 1
#define IDS_CATEGORY 2
#define IDS_EXTENSION 3
#define IDS_LONG_DESC 4
#define IDS_SHORT_DESC 5
#define IDS_COPYRIGHT 6
#define IDS_VERSION_NAME 7
#define IDS_LIB_DESCRIPTION 8
#define IDS_AUTHOR 9
#define IDS_CONTROLS_FAILED 10
#define IDS_CONTROLS_FAILED_CAPTION 11
#define IDS_SETTINGS_FILE 12
#define IDS_HELP_FILE 13
#define IDS_HELP_NOT_FOUND 14
#define IDS_NO_MEMORY_VERTICES 15
#define IDS_NO_MEMORY_TVERTICES 16
#define IDS_NO_MEMORY_TVFACES 17
#define IDS_NO_MEMORY_CVERTICES 18
#define IDS_NO_MEMORY_CVFACES 19
#define IDS_NO_MEMORY_FACES 20
#define IDS_NO_IMPORT_THREAD 21
#define IDS_NODE_FAILED 22
#define IDS_MULTI_MTL_NAME 23
#define IDS_VERTEX_COLOR_MTL_NAME 24
#define IDS_STEP_CREATING_MESH 25
#define IDS_STEP_ISOLATED_VERTICES 26
#define IDS_STEP_BUILDING_NORMALS 27
#define IDS_STEP_UPDATING_EDGES 28
#define IDS_STEP_BOUNDING_BOX 29
#define IDS_STEP_CENTER_PIVOT 30

// The manifest of a library (as opposed to a program, which uses 1).
#define IDR_LIBRARY_MANIFEST 2

// Skin bitmaps of the dialog frame.
#define IDB_SKIN_BOTTOM_LEFT 110
#define IDB_SKIN_BOTTOM_RIGHT 111
#define IDB_SKIN_BADGE 112
#define IDB_SKIN_BOTTOM_RIGHT_SIZABLE 114
#define IDB_SKIN_RAIL_END 115
#define IDB_SKIN_CAPTION_TAB 116
#define IDB_SKIN_TOP_RIGHT 117

// The progress dialog and its controls.
#define IDD_PROGRESS 103
#define IDC_PROGRESS_GROUP 1017
#define IDC_PROGRESS_BAR 1019
#define IDC_STEP_TEXT 1020
#define IDC_CANCEL_IMPORT 1021
#define IDC_DONE 1022
#define IDC_BASE_NAME 1023
