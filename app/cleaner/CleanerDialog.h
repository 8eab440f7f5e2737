#pragma once

#include "app/RoomPlaces.h"
#include "app/cleaner/CleanerRelay.h"
#include "journal/JournalFile.h"
#include "win/Handle.h"
#include "win/StopToken.h"
#include "win/Thread.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct App;

namespace cleaner {

// The Fast Cleaner: a fixed-size window over the main window, with the fourteen items and the run
// ("Général"), the age option ("Paramètres"), the DNS cache ("Cache DNS") and the recent-documents traces
// ("M.R.U."). run() disables the owner, runs the window's own message loop until it closes and enables
// the owner again. Nothing of a dialog survives its closing: each opening starts from the defaults.
//
// The cleaner run, the DNS commands and the M.R.U. buttons' work run on threads of their own and never
// touch the window: they report through a CleanerRelay, whose mailbox wakes the window. Closing during a run asks
// first, then asks the run to stop and closes at once; the run winds down on its own and its last reports go nowhere.
// Its pieces: CleanerDialog.cpp (window, loop, events), CleanerDialogBuild.cpp (the controls), CleanerDialogWork.cpp
// (the run, the DNS commands and the M.R.U. list).
class CleanerDialog {
public:
    CleanerDialog(App& app, const JournalFile& journal);
    ~CleanerDialog();
    CleanerDialog(const CleanerDialog&) = delete;
    CleanerDialog& operator=(const CleanerDialog&) = delete;

    void run(HWND owner);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool create(HWND owner);

    // CleanerDialogBuild.cpp
    void buildBanner();
    void buildTabs();
    HWND buildPage(int index);
    void buildGeneral(HWND page);
    void buildSettings(HWND page);
    void buildDns(HWND page);
    void buildMru(HWND page);
    HWND label(HWND parent,
               int id,
               const RECT& place,
               const wchar_t* text,
               COLORREF color,
               FontRole font,
               RoomPlaces::Fit fit = RoomPlaces::Fit::None);
    HWND button(HWND parent,
                int id,
                const RECT& place,
                const wchar_t* text,
                DWORD style,
                RoomPlaces::Fit fit = RoomPlaces::Fit::None);
    void attachTip(HWND control, const wchar_t* title, const wchar_t* text);
    void drawBanner(const win::Scale& scale);
    // Places every control at the dialog's DPI, with that DPI's fonts and pictures; a control whose text
    // would be clipped at the width of the layout is widened, so that the text stays whole.
    void place();
    void onDpiChanged(UINT dpi, const RECT* suggested);

    // CleanerDialog.cpp
    void onCommand(int id, int code);
    void showPage(int index);
    void tickAll(bool on);
    bool anyTicked() const;
    void requestClose();
    void close();
    int ask(const wchar_t* text, UINT flags);
    bool brushFor(HWND control, HDC dc, LRESULT* brush);

    // CleanerDialogWork.cpp
    void startCleaning();
    void onTimer();
    void onReport(const CleanerRelay::Report& report);
    void updateRunButtons();
    void setItemState(int item, bool done);
    void startDnsCommand(bool flush);
    void appendDnsLine(const std::wstring& text);
    // The M.R.U. buttons: the work on a worker, one at a time in the order of the clicks; the list shows
    // the result when it arrives. The dialog waits for the work under way when it goes.
    enum class MruWork { Show, CleanValues, ResetKey };
    void startMruWork(MruWork work);
    void showMruTraces(const std::vector<MruRow>& rows);

    App& app_;
    JournalFile journal_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    UINT dpi_ = win::kBaseDpi;
    RoomPlaces places_;
    HWND tabs_ = nullptr;
    std::array<HWND, 4> pages_ = {};
    std::array<HWND, kCleanerItemCount> checks_ = {};
    std::array<HWND, 4> pageIcons_ = {};
    std::array<HWND, kCleanerItemCount> states_ = {};
    std::array<bool, kCleanerItemCount> itemDone_ = {};
    HWND busy_ = nullptr;
    HWND status_ = nullptr;
    HWND dnsText_ = nullptr;
    HWND mruList_ = nullptr;
    std::map<int, HWND> controls_;
    std::vector<HWND> balloons_;  // the items' and buttons' balloons, which wrap at the dialog's scale
    std::map<HWND, COLORREF> textColors_;
    win::UniqueBitmap banner_;
    win::UniqueBrush pageBrush_;
    win::UniqueBrush sheetBrush_;
    UniqueImageList tabImages_;
    UniqueImageList mruImages_;

    std::shared_ptr<CleanerRelay> relay_;
    std::deque<CleanerRelay::Report> pending_;  // taken from the relay, not yet shown
    bool runActive_ = false;                    // a run started here has not yet reported its end
    bool runButtonsOn_ = true;                  // "Nettoyer", "Sélectionner tout", "Désélectionner tout"
    std::shared_ptr<win::StopToken> dnsStop_;   // stopped to end the tab's DNS command
    bool dnsBusy_ = false;
    bool mruBusy_ = false;
    std::deque<MruWork> mruWaiting_;  // clicked while an earlier one worked
    win::Worker mruWorker_;           // last: joined before the rest of the dialog goes
    int modal_ = 0;                   // message boxes open over the dialog
};

}  // namespace cleaner
