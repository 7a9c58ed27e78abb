/* Identifiers the framework itself gives meaning to: standard commands, the strings it
   looks up, and the status bar indicators. Included by resource scripts too, so plain
   defines only. */
#ifndef ZF_FRAMEWORK_IDS_H
#define ZF_FRAMEWORK_IDS_H

/* Strings */
#define ZF_IDS_APP_TITLE        57344  /* the application title: settings sub-key, box captions */
#define ZF_IDS_IDLE_MESSAGE     57345  /* the status bar text when no menu item is highlighted */

/* Standard commands */
#define ZF_ID_APP_ABOUT         57664
#define ZF_ID_APP_EXIT          57665

/* Status bar indicator panes; their strings are the texts shown while the key is on */
#define ZF_ID_INDICATOR_CAPS    59137
#define ZF_ID_INDICATOR_NUM     59138
#define ZF_ID_INDICATOR_SCRL    59139

/* Child window ids inside a frame */
#define ZF_ID_VIEW              59648
#define ZF_ID_STATUS_BAR        59393
#define ZF_ID_TOOL_BAR          59392

#endif
