// CWeeklyOperationDlg: the "Greetings and Weekly Operation Hour Configuration" dialog (template IDD_WEEKLY_OPERATION).
// Not built yet: its template is not among the resources, so running it shows nothing.
#pragma once

#include <span>

#include "framework/dialog.h"
#include "resource.h"

class CWeeklyOperationDlg : public zf::WithHandlers<CWeeklyOperationDlg, zf::Dialog> {
public:
    CWeeklyOperationDlg() : WithHandlers(IDD_WEEKLY_OPERATION) {}
    static std::span<const zf::Handler<CWeeklyOperationDlg>> handlers() { return {}; }
};
