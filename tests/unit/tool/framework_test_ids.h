/* Identifiers of the framework test's own resources. */
#ifndef FRAMEWORK_TEST_IDS_H
#define FRAMEWORK_TEST_IDS_H
#define IDD_PROBE       200
#define IDC_PROBE_EDIT  1000
#define IDC_PROBE_PRESS 1001
#define IDC_PROBE_OTHER 1002
#define IDD_MISSING     299
#endif
