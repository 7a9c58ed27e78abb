// Document, View and DocTemplate: the single-document model.
//
// Document: the data of one open document, and a command target after the view.
// View: the child window that fills the frame's client area between its bars; it paints
//   through OnDraw and forwards nothing else.
// DocTemplate: joins a document class, a frame class and a view class under one resource
//   id (menu, icon, accelerators) and opens a new empty document with its frame and view.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "message_map.h"
#include "window.h"

namespace zf {

class FrameWnd;

class Document : public MessageTarget {
public:
    virtual bool OnNewDocument() { return true; }
    const std::string& title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

private:
    std::string title_ = "Untitled";
};

class View : public Window {
public:
    bool Create(FrameWnd& frame, Document* document);
    Document* document() const { return document_; }
    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    virtual void OnDraw(HDC dc) = 0;

private:
    Document* document_ = nullptr;
};

class DocTemplate {
public:
    using DocumentMaker = std::unique_ptr<Document> (*)();
    using FrameMaker = std::unique_ptr<FrameWnd> (*)();
    using ViewMaker = std::unique_ptr<View> (*)();

    DocTemplate(UINT resource_id, DocumentMaker doc, FrameMaker frame, ViewMaker view);
    ~DocTemplate();

    template <class D, class F, class V>
    static std::unique_ptr<DocTemplate> Make(UINT resource_id)
    {
        return std::make_unique<DocTemplate>(
            resource_id, [] { return std::unique_ptr<Document>(new D); },
            [] { return std::unique_ptr<FrameWnd>(new F); }, [] { return std::unique_ptr<View>(new V); });
    }

    // Creates the document, then the frame (which creates the view); false when any step fails.
    bool OpenNewDocument();

    UINT resource_id() const { return resource_id_; }
    FrameWnd* frame() const { return frame_.get(); }
    Document* document() const { return document_.get(); }

private:
    UINT resource_id_;
    DocumentMaker make_document_;
    FrameMaker make_frame_;
    ViewMaker make_view_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<FrameWnd> frame_;
};

}  // namespace zf
