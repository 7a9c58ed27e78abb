// CPlandeskView: the view filling the main window; it draws nothing, so the client area
// shows the window background.
#pragma once

#include "framework/document.h"

class CPlandeskView : public zf::View {
protected:
    void OnDraw(HDC) override {}
};
