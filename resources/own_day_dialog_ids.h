// Dialog and control numbers of the own-day dialogs, shared by the resource
// script and the code (plain macros: the resource compiler reads them too).
#pragma once

#define IDD_OWN_DAY 200
#define IDD_OWN_DAYS 201

#define IDC_OWN_NAME 1001
#define IDC_OWN_LUNAR 1002
#define IDC_OWN_GREGORIAN 1003
#define IDC_OWN_LEAP 1004
#define IDC_OWN_MONTH 1005
#define IDC_OWN_DAY 1006
#define IDC_OWN_ORIGIN 1007
#define IDC_OWN_BIRTHDAY 1008
#define IDC_OWN_ANNIVERSARY 1009
#define IDC_OWN_REMIND0 1010
#define IDC_OWN_REMIND1 1011
#define IDC_OWN_REMIND3 1012
#define IDC_OWN_REMIND7 1013
#define IDC_OWN_TIME 1014
#define IDC_OWN_FAULT 1015

#define IDC_OWN_LIST 1101
#define IDC_OWN_ADD 1102
#define IDC_OWN_EDIT 1103
#define IDC_OWN_DELETE 1104
#define IDC_OWN_EXPORT 1105
