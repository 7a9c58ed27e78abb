// CVoiceFileChooser: the folder browse button beside every voice file field. It takes over
// a push button of a dialog template, draws itself as a folder button with an embedded
// read-only edit box, runs the open-file dialog for .vox files, keeps the chosen paths and
// tells its dialog after every activation.
//
// How a dialog uses it:
//   - hold one CVoiceFileChooser member per browse button (they live as long as the dialog
//     object; each showing starts with an empty path list);
//   - in OnInitDialog, for each button:  chooser_open_.Attach(hwnd(), IDC_WEEKLY_BROWSE_OPEN);
//   - bind the button's id as an ordinary command in the handler table:
//         zf::on_command(IDC_WEEKLY_BROWSE_OPEN, &CMyDlg::OnBrowseOpen)
//     After every activation (mouse release on the button part, space release, Enter), and
//     whatever the file dialog returned, the chooser posts to its parent
//         WM_COMMAND  wParam = MAKEWPARAM(button id, 0)  lParam = button HWND
//     (0 is BN_CLICKED, so on_command(id, fn) takes it). A click that never reached the
//     button part (BM_CLICK, a press dragged off) posts nothing.
//   - in the handler, take the choice with the shared voice rules:
//         const zel::VoiceChoice c = TakeVoiceChoice(chooser_open_, hwnd(), limit);
//     `set`: show c.text; `keep` (this browse chose nothing): leave the voice alone, even
//     though the list may still hold an earlier pick; `refuse`: the warning box has been
//     shown and the path taken out of the chooser; leave the voice alone. Set the dialog's
//     voice-changed flag in every case.
//   Walking the list by hand: for (auto pos = c.GetStartPosition(); !pos.none();)
//   text += c.GetNextPathName(pos);
//
// Windows only (Win32 control); the path list and the voice rules are portable
// (model/voice_path.h).
#pragma once

#include <windows.h>

#include <string>

#include "voice_path.h"

// Identifiers the control uses inside itself.
inline constexpr int kChooserEditId = 12345;      // the embedded edit box (child id)
inline constexpr UINT kChooserToolId = 12346;     // the tooltip's tool over the button part
inline constexpr UINT_PTR kChooserHotTimer = 12347;    // polls the cursor while hot
inline constexpr UINT_PTR kChooserFocusTimer = 12348;  // polls the edit box's focus

inline constexpr const char* kChooserTooltip = "Find a Vox File";
inline constexpr const char* kChooserFilter = "Vox Files (*.Vox)|*.Vox||";
inline constexpr int kChooserButtonWidth = 27;  // 16 for the glyph plus 11
inline constexpr int kChooserGlyphSize = 16;
inline constexpr DWORD kChooserFileBufferChars = 65535;

// What Browse returns.
inline constexpr int kBrowseChosen = 1;
inline constexpr int kBrowseCancelled = 2;  // also: a browse was already running

class CVoiceFileChooser {
public:
    using Position = zel::VoicePathList::Position;

    CVoiceFileChooser() = default;
    ~CVoiceFileChooser();
    CVoiceFileChooser(const CVoiceFileChooser&) = delete;
    CVoiceFileChooser& operator=(const CVoiceFileChooser&) = delete;

    // Takes over the push button `id` of `dialog` (call in OnInitDialog): keeps its caption,
    // empties it, lays out, creates the edit box, starts the focus poll. The tooltip is made
    // when the pointer first comes onto the button part.
    // False when the dialog has no such control or it is already taken over.
    bool Attach(HWND dialog, int id);

    // The open-file dialog: kBrowseChosen when the operator chose (the path list is
    // replaced and the edit box shows the first path), kBrowseCancelled otherwise (the
    // list is unchanged). Activation calls it; a dialog need not.
    int Browse();

    // Whether the browse of the last activation chose a file; false before any browse and
    // when the browse was cancelled or refused as already running. The dialog's handler
    // runs after the activation that posted it, so it reads its own browse's outcome.
    bool LastBrowseChose() const { return last_chose_; }

    // The chosen paths; empty until the first successful choice.
    const zel::VoicePathList& paths() const { return paths_; }
    Position GetStartPosition() const { return paths_.first_position(); }
    // The full path at `pos`; advances `pos`, to none after the last path.
    std::string GetNextPathName(Position& pos) const { return paths_.next_path(pos); }
    const std::string& first_path() const { return paths_.first_path(); }

    // Empties the path list and the edit box.
    void ClearSelection();

    HWND hwnd() const { return button_; }
    HWND edit() const { return edit_; }
    int id() const { return id_; }
    const std::string& saved_caption() const { return caption_; }

    // Client rectangles of the button part and of the glyph (for tests and painting).
    RECT ButtonPart() const;
    RECT GlyphRect() const;

private:
    static LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnButtonMessage(UINT message, WPARAM wp, LPARAM lp);
    LRESULT OnEditMessage(UINT message, WPARAM wp, LPARAM lp);

    void Layout();
    void Paint(HDC dc);
    void Activate();
    void SetPressed(bool pressed);
    void SetHot(bool hot);
    void RedrawButtonPart();
    void PollHot();
    void PollFocus();
    void RelayToTooltip(UINT message, WPARAM wp, LPARAM lp);
    void MakeTooltip();
    void SelectAll();
    void Unselect();
    void Detach();

    HWND dialog_ = nullptr;
    HWND button_ = nullptr;
    HWND edit_ = nullptr;
    HWND tooltip_ = nullptr;
    int id_ = 0;
    std::string caption_;
    zel::VoicePathList paths_;

    bool hot_ = false;
    bool pressed_ = false;
    bool tracking_ = false;     // left button went down on the button part; mouse captured
    bool space_down_ = false;
    bool browsing_ = false;
    bool last_chose_ = false;
    bool edit_has_focus_ = false;
};

// What a dialog's handler takes from `chooser` after its activation, by the dialog's
// `limit`: the outcome of this browse only (a cancelled one keeps the voice, whatever the
// chooser still holds). A refused path is reported with a warning box over `dialog` and
// taken out of the chooser.
zel::VoiceChoice TakeVoiceChoice(CVoiceFileChooser& chooser, HWND dialog, std::size_t limit);
