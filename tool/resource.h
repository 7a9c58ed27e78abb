/* Plandesk resource identifiers, grouped by the window or dialog that uses them.
   Plain defines only: the resource script includes this file too. */
#ifndef PLANDESK_RESOURCE_H
#define PLANDESK_RESOURCE_H

#include "framework/framework_ids.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* ---- Application and main frame ---------------------------------------------- */
#define IDR_MAINFRAME               128   /* menu, icon and accelerator table */
#define IDB_SPLASH                  102   /* 450 x 597, 24 bits per pixel */

/* Menu commands; the string with the same id is the status bar prompt */
#define ID_APP_ABOUT                ZF_ID_APP_ABOUT      /* 57664 */
#define ID_APP_EXIT                 ZF_ID_APP_EXIT       /* 57665 */
#define ID_CONFIG_GENERAL           130
#define ID_CONFIG_WEEKLY            133
#define ID_CONFIG_CALL_ROUTE        134
#define ID_CONFIG_HOLIDAY           135
#define ID_CONFIG_VALIDATE          136
#define ID_CONFIG_HELP              32773

/* ---- About box ------------------------------------------------------------------ */
#define IDD_ABOUTBOX                100
#define IDC_ABOUT_PRODUCT           1000
#define IDC_ABOUT_NOTICE            1001
#define IDC_ABOUT_VERSION           1002

/* ---- General system configuration dialog (CGeneralConfigDlg) ------------------- */
#define IDD_GENERAL_CONFIG          130
#define IDC_GENERAL_INFO_LINE_1     1000
#define IDC_GENERAL_INFO_LINE_2     1001
#define IDC_GENERAL_INFO_LINE_3     1002
#define IDC_GENERAL_PASSWORD        1003  /* hidden, disabled, never ticked */
#define IDC_GENERAL_OUTSIDE_DIGIT   1004  /* disabled */
#define IDC_GENERAL_ANSWER_RING     1005
#define IDC_GENERAL_INT_DELAY       1007
#define IDC_GENERAL_EXT_DELAY       1008
#define IDC_GENERAL_VOX_TYPE        1012

/* ---- Weekly operation dialog (CWeeklyOperationDlg) ------------------------------ */
#define IDD_WEEKLY_OPERATION        133
#define IDC_WEEKLY_OPEN_VOX         1000
#define IDC_WEEKLY_CLOSED_VOX       1001
#define IDC_WEEKLY_WRONG_EXT_VOX    1002
#define IDC_WEEKLY_ERROR_VOX        1004
#define IDC_WEEKLY_OPEN_BTN         1015  /* choosers, for the four edits in order */
#define IDC_WEEKLY_CLOSED_BTN       1016
#define IDC_WEEKLY_WRONG_EXT_BTN    1037
#define IDC_WEEKLY_ERROR_BTN        1038
/* Day d (Monday first): closed-all-day box, opening-time picker, closing-time picker */
#define IDC_WEEKLY_DAY_1            1003, 1023, 1024
#define IDC_WEEKLY_DAY_2            1017, 1025, 1026
#define IDC_WEEKLY_DAY_3            1018, 1027, 1028
#define IDC_WEEKLY_DAY_4            1019, 1029, 1030
#define IDC_WEEKLY_DAY_5            1020, 1031, 1032
#define IDC_WEEKLY_DAY_6            1021, 1033, 1034
#define IDC_WEEKLY_DAY_7            1022, 1035, 1036

/* ---- Call route dialog (CCallRouteDlg) ------------------------------------------ */
#define IDD_CALL_ROUTE              134
#define IDC_ROUTE_ONE_VOX_BTN       1110  /* chooser "Button17": one voice for all transfers */
#define IDC_ROUTE_ONE_VOX           1111
#define IDC_ROUTE_DEFAULT_PORT      1112
#define IDC_ROUTE_NO_INPUT_BTN      1113  /* chooser "Button18": the default transfer's voice */
#define IDC_ROUTE_NO_INPUT_VOX      1114
#define IDC_ROUTE_CLEAR_ALL         1131
/* Route row r: extension, chooser, voice display, port, from, to, alternate */
#define IDC_ROUTE_ROW_1             1000, 1015, 1060, 1115, 1023, 1024, 1094
#define IDC_ROUTE_ROW_2             1001, 1016, 1061, 1116, 1025, 1026, 1095
#define IDC_ROUTE_ROW_3             1002, 1037, 1062, 1117, 1027, 1028, 1096
#define IDC_ROUTE_ROW_4             1004, 1038, 1063, 1118, 1029, 1030, 1097
#define IDC_ROUTE_ROW_5             1005, 1039, 1064, 1119, 1031, 1032, 1098
#define IDC_ROUTE_ROW_6             1051, 1040, 1065, 1120, 1033, 1034, 1099
#define IDC_ROUTE_ROW_7             1007, 1041, 1066, 1121, 1035, 1036, 1100
#define IDC_ROUTE_ROW_8             1008, 1042, 1067, 1122, 1076, 1077, 1101
#define IDC_ROUTE_ROW_9             1052, 1043, 1068, 1123, 1078, 1079, 1102
#define IDC_ROUTE_ROW_10            1053, 1044, 1069, 1124, 1080, 1081, 1103
#define IDC_ROUTE_ROW_11            1054, 1045, 1070, 1125, 1082, 1083, 1104
#define IDC_ROUTE_ROW_12            1055, 1046, 1071, 1126, 1084, 1085, 1105
#define IDC_ROUTE_ROW_13            1056, 1047, 1072, 1127, 1086, 1087, 1106
#define IDC_ROUTE_ROW_14            1057, 1048, 1073, 1128, 1088, 1089, 1107
#define IDC_ROUTE_ROW_15            1058, 1049, 1074, 1129, 1090, 1091, 1108
#define IDC_ROUTE_ROW_16            1059, 1050, 1075, 1130, 1092, 1093, 1109

/* ---- Holiday schedules dialog (CHolidayScheduleDlg) ----------------------------- */
#define IDD_HOLIDAY_SCHEDULE        135
#define IDC_HOLIDAY_OPEN_VOX        1000
#define IDC_HOLIDAY_CLOSED_VOX      1001
#define IDC_HOLIDAY_HOLIDAY_VOX     1002
#define IDC_HOLIDAY_SPECIAL_DATE    1132  /* special-hours line j: 1132 + j, j = 0..53 */
#define IDC_HOLIDAY_OPEN_TIME       1186
#define IDC_HOLIDAY_CLOSE_TIME      1187
#define IDC_HOLIDAY_HOLIDAY_DATE    1188  /* holiday line i: 1188 + i, i = 0..59 */
#define IDC_HOLIDAY_OPEN_BTN        1248  /* choosers for 1000, 1001, 1002 */
#define IDC_HOLIDAY_CLOSED_BTN      1249
#define IDC_HOLIDAY_HOLIDAY_BTN     1250

/* ---- Validate and set for use dialog (CValidateDlg) ----------------------------- */
#define IDD_VALIDATE                136
#define IDC_VALIDATE_REPORT         1000  /* the read-only report box */
#define IDC_VALIDATE_SET_FOR_USE    1015  /* "Set Configuration For Use" */

#endif
