// The view's window and the template that opens the single document.
#include "document.h"

#include "app.h"
#include "frame_wnd.h"
#include "framework_ids.h"

namespace zf {

namespace {
constexpr char kViewClass[] = "ZfView";
}

bool View::Create(FrameWnd& frame, Document* document)
{
    document_ = document;
    if (!RegisterClass(kViewClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW),
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    return CreateEx(WS_EX_CLIENTEDGE, kViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame.hwnd(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(ZF_ID_VIEW)));
}

bool View::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    OnDraw(dc);
    EndPaint(hwnd(), &ps);
    result = 0;
    return true;
}

DocTemplate::DocTemplate(UINT resource_id, DocumentMaker doc, FrameMaker frame, ViewMaker view)
    : resource_id_(resource_id), make_document_(doc), make_frame_(frame), make_view_(view)
{
}

DocTemplate::~DocTemplate() = default;

bool DocTemplate::OpenNewDocument()
{
    document_ = make_document_();
    if (!document_ || !document_->OnNewDocument()) return false;
    frame_ = make_frame_();
    if (!frame_) return false;
    // The frame is the main window from its first message on: boxes raised while it is
    // being created need an owner to name.
    App::Get()->set_main_frame(frame_.get());
    if (!frame_->LoadFrame(resource_id_, document_.get(), make_view_())) {
        App::Get()->set_main_frame(nullptr);
        frame_.reset();
        return false;
    }
    frame_->OnUpdateFrameTitle();
    return true;
}

}  // namespace zf
