// Window class names of the toolkit, as dialogs and controls create them.
#pragma once

const char kStaticClass[] = "ksStatic";
const char kGroupBoxClass[] = "ksGroupBox";
const char kButtonClass[] = "ksButton";
const char kArrowButtonClass[] = "ksArrowButton";
const char kCheckBoxClass[] = "ksCheckBox";
const char kSpinButtonClass[] = "ksSpinButton";
const char kSpinnerClass[] = "ksSpinner";
const char kListBoxClass[] = "ksListBox";
const char kComboBoxClass[] = "ksComboBox";
const char kScrollBarClass[] = "ksScrollBar";
const char kInplaceEditClass[] = "ksInplaceEdit";
const char kMenuClass[] = "ksMenu";
const char kTreeCtrlClass[] = "ksTreeCtrl";
const char kListCtrlClass[] = "ksListCtrl";
const char kProgressCtrlClass[] = "ksProgressCtrl";
