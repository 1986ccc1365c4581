#include <cstdio>

#include "frontend/help.h"
#include "frontend/module.h"
#include "frontend/options.h"
#include "hostsdk/colorman.h"
#include "importer/dazazu.h"
#include "ply/ply_schema.h"
#include "resources/resource_ids.h"
#include "toolkit/colours.h"
#include "toolkit/edit_subclass.h"
#include "toolkit/groupbox.h"
#include "toolkit/skin.h"
#include "toolkit/spinner.h"

namespace {

const int kGroupBoxes[] = {IDC_GENERAL_GROUP, IDC_CONTENT_GROUP, IDC_GEOMETRY_GROUP,
                           IDC_SELECTIVE_GROUP};

// A check box and the option it shows, in the order the choices are taken over.
struct OptionBox {
    int id;
    int32_t ImportOptions::*option;
};
const OptionBox kOptionBoxes[] = {
    {IDC_REPLACE_SCENE, &ImportOptions::replaceScene},
    {IDC_FLIP_ZY, &ImportOptions::flipZY},
    {IDC_CENTER_PIVOT, &ImportOptions::centerPivot},
    {IDC_GENERATE_NORMALS, &ImportOptions::generateNormals},
    {IDC_VERTEX_NORMALS, &ImportOptions::vertexNormals},
    {IDC_VERTEX_COLORS, &ImportOptions::vertexColors},
    {IDC_TEXTURE_COORDS, &ImportOptions::textureCoords},
    {IDC_MATERIALS, &ImportOptions::materials},
};

DazAzu& ImporterOf(HWND dialog) {
    return *reinterpret_cast<DazAzu*>(
        static_cast<LONG_PTR>(GetWindowLongPtrA(dialog, GWLP_USERDATA)));
}

// The child's rectangle in the dialog's client coordinates.
RECT ChildRect(HWND dialog, int id) {
    RECT rect = {};
    HWND child = GetDlgItem(dialog, id);
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveChildDown(HWND dialog, int id, int dy) {
    const RECT rect = ChildRect(dialog, id);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MakeChildTaller(HWND dialog, int id, int dh) {
    const RECT rect = ChildRect(dialog, id);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, 0, 0, rect.right - rect.left,
                 rect.bottom - rect.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The layout converted from dialog units is a pixel off in places.
void CorrectPixels(HWND dialog) {
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + 1, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MakeChildTaller(dialog, IDC_GEOMETRY_GROUP, 1);
    MakeChildTaller(dialog, IDC_SELECTIVE_GROUP, 1);
    MoveChildDown(dialog, IDC_VERTEX_COLORS, 1);
    MoveChildDown(dialog, IDC_MATERIALS, -1);
    MoveChildDown(dialog, IDC_GENERATE_NORMALS, -1);
}

void ShowOptions(HWND dialog, const DazAzu& importer) {
    for (const OptionBox& box : kOptionBoxes)
        CheckDlgButton(dialog, box.id, importer.options.*box.option ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_OBJECT_NAME, importer.baseName);
}

// Channels the file does not have cannot be chosen; their boxes keep the
// saved state, which "Import" writes back unchanged.
void EnableByHeader(HWND dialog, const DazAzu& importer) {
    EnableWindow(GetDlgItem(dialog, IDC_VERTEX_NORMALS),
                 (importer.vertexFlags & kFlagNormals) != 0);
    EnableWindow(GetDlgItem(dialog, IDC_VERTEX_COLORS), importer.HasColours());
    EnableWindow(GetDlgItem(dialog, IDC_TEXTURE_COORDS), importer.HasTextureCoords());
    EnableWindow(GetDlgItem(dialog, IDC_MATERIALS), importer.materialCount > 0);
}

void SetUpScale(HWND dialog, const DazAzu& importer) {
    const SpinnerParams params = {kScaleMinimum, kScaleMaximum, kScaleStep, kScalePrecision, 0, 1};
    const double reset = kScaleReset;
    const double scale = importer.options.scale;
    SendDlgItemMessageA(dialog, IDC_SCALE, SPM_SETPARAMS, 0, reinterpret_cast<LPARAM>(&params));
    SendDlgItemMessageA(dialog, IDC_SCALE, SPM_SETRESETVALUE, 0, reinterpret_cast<LPARAM>(&reset));
    SendDlgItemMessageA(dialog, IDC_SCALE, SPM_SETVALUE, 0, reinterpret_cast<LPARAM>(&scale));
}

void ShowCounts(HWND dialog, const DazAzu& importer) {
    SetDlgItemTextA(dialog, IDC_VERTEX_COUNT, FormatCount(importer.vertexCount));
    SetDlgItemTextA(dialog, IDC_FACE_COUNT, FormatCount(importer.triangleCount));
    SetDlgItemTextA(dialog, IDC_MATERIAL_COUNT, FormatCount(importer.materialCount));
}

INT_PTR OnInitDialog(HWND dialog, LPARAM importerParam) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(importerParam));
    const DazAzu& importer = ImporterOf(dialog);
    CenterWindow(dialog, GetParent(dialog));
    for (int id : kGroupBoxes) SubclassGroupBox(GetDlgItem(dialog, id));
    SubclassEdit(GetDlgItem(dialog, IDC_OBJECT_NAME));
    CorrectPixels(dialog);
    // Shaped for the corrected width: a shape made before it would cut off
    // the frame's last dark column on the right.
    ApplySkinRegion(dialog);
    ShowOptions(dialog, importer);
    EnableByHeader(dialog, importer);
    SetUpScale(dialog, importer);
    ShowCounts(dialog, importer);
    return TRUE;
}

// Every box counts, enabled or not; the name is cut to what the field holds.
void TakeChoices(HWND dialog, DazAzu& importer) {
    for (const OptionBox& box : kOptionBoxes)
        importer.options.*box.option = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
    const double* scale =
        reinterpret_cast<const double*>(SendDlgItemMessageA(dialog, IDC_SCALE, SPM_GETVALUE, 0, 0));
    if (scale) importer.options.scale = static_cast<float>(*scale);
    GetDlgItemTextA(dialog, IDC_OBJECT_NAME, importer.baseName, DazAzu::kBaseNameSize);
}

// Enter comes as command 1 (the dialog has no default button): ignored, as
// is every command not listed here.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        case IDC_HELP_BUTTON:
            ShowHelp(dialog, ImporterOf(dialog));
            break;
        case IDC_ABOUT:
            ImporterOf(dialog).ShowAbout(dialog);
            break;
        case IDC_IMPORT:
            TakeChoices(dialog, ImporterOf(dialog));
            EndDialog(dialog, 1);
            break;
    }
    return FALSE;
}

// The labels and the standard check boxes take the host's face and text
// colours, the name field the host's field colour, so that nothing shows
// the system's light grey on the host's dark face.
INT_PTR OnControlColour(HDC dc, int background) { return ControlColourReply(dc, background); }

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSkin(dialog, dc);
    EndPaint(dialog, &paint);
    return FALSE;
}

INT_PTR OnDestroy(HWND dialog) {
    for (int id : kGroupBoxes) UnsubclassGroupBox(GetDlgItem(dialog, id));
    UnsubclassEdit(GetDlgItem(dialog, IDC_OBJECT_NAME));
    return TRUE;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColour(reinterpret_cast<HDC>(wParam), kFaceColour);
        case WM_CTLCOLOREDIT:
            return OnControlColour(reinterpret_cast<HDC>(wParam), kFieldColour);
        case WM_PAINT:
            return OnPaint(dialog);
        case WM_LBUTTONDOWN:
            DragBySkin(dialog, lParam);
            return FALSE;
        case WM_DESTROY:
            return OnDestroy(dialog);
        default:
            return FALSE;
    }
}

}  // namespace

const char* FormatCount(unsigned int n) {
    static char text[16];
    char digits[12];
    const int length = std::snprintf(digits, sizeof digits, "%u", n);
    int out = 0;
    for (int i = 0; i < length; ++i) {
        // A full stop before each group of three that still follows.
        const int left = length - i;
        if (i > 0 && left % 3 == 0) text[out++] = '.';
        text[out++] = digits[i];
    }
    text[out] = '\0';
    return text;
}

int ShowOptionsDialog(DazAzu& importer) {
    HWND owner = importer.hostInterface ? importer.hostInterface->GetMAXHWnd() : nullptr;
    INT_PTR result = DialogBoxParamA(PluginModule(), MAKEINTRESOURCEA(IDD_OPTIONS), owner,
                                     OptionsDialogProc, reinterpret_cast<LPARAM>(&importer));
    return result == 1 ? 1 : 0;
}
