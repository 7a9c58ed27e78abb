// Vornline's resource identifiers. Named resources (icon and menu "ZEL_VORN", the
// About dialog "Lang", the bitmaps) are referred to by their names.
#pragma once

// Menu "ZEL_VORN"
#define IDM_OPEN 40001
#define IDM_ABOUT 40003
#define IDM_HELP_TOPICS 40004

// Dialog "Lang" (About box). Its statics carry ids of their own, so that nothing
// mistakes the box for a message box (whose text is the static 0xFFFF).
#define IDC_ABOUT_ICON 1000
#define IDC_ABOUT_LINE1 1001
#define IDC_ABOUT_LINE2 1002
#define IDC_ABOUT_LINE3 1003
