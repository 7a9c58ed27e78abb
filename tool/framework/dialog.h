// Dialog: a modal dialog from a template in our resources. DoModal runs it and returns
// the code given to EndDialog (-1 when the template cannot be shown). A subclass binds its
// handlers through its static table (WithHandlers<CMyDlg, zf::Dialog>); what its table
// leaves over reaches the defaults here: WM_INITDIALOG calls OnInitDialog, IDOK and
// IDCANCEL call OnOK and OnCancel, which end the dialog with that code.
#pragma once

#include <windows.h>

#include <string>

#include "message_map.h"

namespace zf {

class Dialog : public MessageTarget {
public:
    // `owner` nullptr: the application's main window.
    explicit Dialog(UINT template_id, HWND owner = nullptr);
    ~Dialog() override = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    HWND hwnd() const { return hwnd_; }
    UINT template_id() const { return template_id_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    // Return TRUE to let the system put the focus on the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);

    UINT template_id_;
    HWND owner_;
    HWND hwnd_ = nullptr;
};

}  // namespace zf
