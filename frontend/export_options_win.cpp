#include "frontend/about.h"
#include "frontend/export_options.h"
#include "frontend/module.h"
#include "hostsdk/colorman.h"
#include "resources/export_ids.h"
#include "resources/resource_ids.h"
#include "toolkit/colours.h"
#include "toolkit/groupbox.h"
#include "toolkit/skin.h"
#include "toolkit/spinner.h"

namespace {

const int kGroupBoxes[] = {IDC_FORMAT_GROUP, IDC_CHANNELS_GROUP, IDC_EXPORT_GEOMETRY_GROUP};

// The combo box's choices, in the order of ExportFormat.
const char* const kFormatNames[] = {"ASCII", "Binary little-endian", "Binary big-endian"};

// A check box and the option it shows.
struct OptionBox {
    int id;
    int32_t ExportOptions::*option;
};
const OptionBox kOptionBoxes[] = {
    {IDC_EXPORT_NORMALS, &ExportOptions::normals},
    {IDC_EXPORT_COLORS, &ExportOptions::vertexColors},
    {IDC_EXPORT_TEXCOORDS, &ExportOptions::textureCoords},
    {IDC_EXPORT_CHANNELS, &ExportOptions::mapChannels},
    {IDC_EXPORT_MATERIALS, &ExportOptions::materials},
    {IDC_EXPORT_FLIP_ZY, &ExportOptions::flipZY},
    {IDC_SELECTED_ONLY, &ExportOptions::selectedOnly},
};

struct ExportDialogState {
    ExportOptions* options;
    bool offerSelectedOnly;
};

ExportDialogState& StateOf(HWND dialog) {
    return *reinterpret_cast<ExportDialogState*>(
        static_cast<LONG_PTR>(GetWindowLongPtrA(dialog, GWLP_USERDATA)));
}

// The box is unchecked and stays so when there is no selection to offer.
void ShowOptions(HWND dialog, const ExportDialogState& state) {
    for (const OptionBox& box : kOptionBoxes)
        CheckDlgButton(dialog, box.id, state.options->*box.option ? BST_CHECKED : BST_UNCHECKED);
    if (!state.offerSelectedOnly) CheckDlgButton(dialog, IDC_SELECTED_ONLY, BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_SELECTED_ONLY), state.offerSelectedOnly);
}

// A stored format outside the three shows no choice and is kept on "Export".
void SetUpFormat(HWND dialog, const ExportOptions& options) {
    for (const char* name : kFormatNames)
        SendDlgItemMessageA(dialog, IDC_EXPORT_FORMAT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, options.format, 0);
}

void SetUpScale(HWND dialog, const ExportOptions& options) {
    const SpinnerParams params = {
        kExportScaleMinimum, kExportScaleMaximum, kExportScaleStep, kExportScalePrecision, 0, 1};
    const double reset = kExportScaleReset;
    const double scale = options.scale;
    SendDlgItemMessageA(dialog, IDC_EXPORT_SCALE, SPM_SETPARAMS, 0,
                        reinterpret_cast<LPARAM>(&params));
    SendDlgItemMessageA(dialog, IDC_EXPORT_SCALE, SPM_SETRESETVALUE, 0,
                        reinterpret_cast<LPARAM>(&reset));
    SendDlgItemMessageA(dialog, IDC_EXPORT_SCALE, SPM_SETVALUE, 0,
                        reinterpret_cast<LPARAM>(&scale));
}

INT_PTR OnInitDialog(HWND dialog, LPARAM stateParam) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(stateParam));
    const ExportDialogState& state = StateOf(dialog);
    CenterWindow(dialog, GetParent(dialog));
    for (int id : kGroupBoxes) SubclassGroupBox(GetDlgItem(dialog, id));
    ApplySkinRegion(dialog);
    ShowOptions(dialog, state);
    SetUpFormat(dialog, *state.options);
    SetUpScale(dialog, *state.options);
    return TRUE;
}

void TakeChoices(HWND dialog, const ExportDialogState& state) {
    ExportOptions& options = *state.options;
    for (const OptionBox& box : kOptionBoxes)
        options.*box.option = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
    const LRESULT format = SendDlgItemMessageA(dialog, IDC_EXPORT_FORMAT, CB_GETCURSEL, 0, 0);
    if (format >= 0) options.format = static_cast<int32_t>(format);
    const double* scale = reinterpret_cast<const double*>(
        SendDlgItemMessageA(dialog, IDC_EXPORT_SCALE, SPM_GETVALUE, 0, 0));
    if (scale) options.scale = static_cast<float>(*scale);
}

// Enter comes as command 1 (the dialog has no default button): ignored, as
// is every command not listed here.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        case IDC_ABOUT:
            ShowAboutDialog(dialog);
            break;
        case IDC_EXPORT:
            TakeChoices(dialog, StateOf(dialog));
            EndDialog(dialog, 1);
            break;
    }
    return FALSE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSkin(dialog, dc);
    EndPaint(dialog, &paint);
    return FALSE;
}

INT_PTR OnDestroy(HWND dialog) {
    for (int id : kGroupBoxes) UnsubclassGroupBox(GetDlgItem(dialog, id));
    return TRUE;
}

// The labels and the standard check boxes take the host's face and text
// colours, so that nothing shows the system's light grey on the dark face.
INT_PTR CALLBACK ExportOptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ControlColourReply(reinterpret_cast<HDC>(wParam), kFaceColour);
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

int ShowExportOptionsDialog(HWND owner, ExportOptions& options, bool offerSelectedOnly) {
    ExportDialogState state = {&options, offerSelectedOnly};
    const INT_PTR result =
        DialogBoxParamA(PluginModule(), MAKEINTRESOURCEA(IDD_EXPORT_OPTIONS), owner,
                        ExportOptionsDialogProc, reinterpret_cast<LPARAM>(&state));
    return result == 1 ? 1 : 0;
}
