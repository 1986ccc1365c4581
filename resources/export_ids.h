// Resource ids of the exporter library beyond those it shares with the
// importer's (resource_ids.h: the same id, the same kind of text or dialog).
#pragma once

// String table.
#define IDS_EXPORT_NO_MESHES 200
#define IDS_EXPORT_NO_SELECTION 201
#define IDS_EXPORT_CANNOT_CREATE 202
#define IDS_EXPORT_WRITE_FAILED 203
#define IDS_EXPORT_CANNOT_REPLACE 204
#define IDS_EXPORT_NO_MEMORY 205
#define IDS_EXPORT_MESH_FAILED 206
#define IDS_NO_EXPORT_THREAD 207
#define IDS_STEP_GATHERING 208
#define IDS_STEP_WRITING_VERTICES 209
#define IDS_STEP_WRITING_FACES 210
#define IDS_EXPORT_CANCELLED 211

// The export options dialog and its controls.
#define IDD_EXPORT_OPTIONS 104
#define IDC_EXPORT 1101
// The format is one of three in a ksComboBox: the toolkit has no radio buttons.
#define IDC_EXPORT_FORMAT 1102
#define IDC_EXPORT_NORMALS 1105
#define IDC_EXPORT_COLORS 1106
#define IDC_EXPORT_TEXCOORDS 1107
#define IDC_EXPORT_CHANNELS 1108
#define IDC_EXPORT_MATERIALS 1109
#define IDC_EXPORT_FLIP_ZY 1110
#define IDC_EXPORT_SCALE 1111
#define IDC_SELECTED_ONLY 1112
#define IDC_FORMAT_GROUP 1113
#define IDC_CHANNELS_GROUP 1114
#define IDC_EXPORT_GEOMETRY_GROUP 1115
