// CGeneralConfigDlg: the "General System Configuration" dialog (template IDD_GENERAL_CONFIG).
// Not built yet: its template is not among the resources, so running it shows nothing.
#pragma once

#include <span>

#include "framework/dialog.h"
#include "resource.h"

class CGeneralConfigDlg : public zf::WithHandlers<CGeneralConfigDlg, zf::Dialog> {
public:
    CGeneralConfigDlg() : WithHandlers(IDD_GENERAL_CONFIG) {}
    static std::span<const zf::Handler<CGeneralConfigDlg>> handlers() { return {}; }
};
