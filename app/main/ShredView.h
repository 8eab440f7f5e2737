#pragma once

#include "app/main/RunController.h"
#include "app/main/ShredViewLayout.h"
#include "shred/ShredList.h"
#include "win/Handle.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>

struct App;

// The destruction view: the shred list (a virtual list view over the ShredList model), its counters, the
// run's progress displays, the four run buttons, the run information panel, the list buttons and the run
// banner. It shows; the main window commands.
class ShredView final : public ShredListObserver {
public:
    ShredView(App& app, ShredList& list, LatestRunDisplay& display) : app_(app), list_(list), display_(display) {}
    ShredView(const ShredView&) = delete;
    ShredView& operator=(const ShredView&) = delete;

    // Builds the view in the main window's right-hand area.
    void create(HWND main);
    HWND window() const { return view_; }
    HWND list() const { return listView_; }

    // Places every control of the view, with its font and pictures, at a screen scale.
    void applyScale(UINT dpi);

    // Called on the window thread's timer: puts the latest list and run values on screen.
    void refresh();
    // Buttons, banner and list buttons for a run state; a resumed run's banner says so.
    void showRunState(RunController::State state, bool resumed);
    // The buttons under the list, out of reach while a scan fills it.
    void enableListButtons(bool enabled);
    // The list view asks for an entry's text and picture.
    void onGetDisplayInfo(NMLVDISPINFOW& info);
    // The selected entries' positions, for removal; the list view forgets the selection.
    std::vector<size_t> takeSelection();
    // Ctrl+A in the list.
    void selectAll();
    // Text and back colour of a static control, for WM_CTLCOLORSTATIC; false when it has none of its own.
    bool colorsFor(HWND control, COLORREF* text, COLORREF* back) const;

    void listChanged() override { listDirty_ = true; }

private:
    void buildCounters();
    void buildDetails();
    void buildRunButtons();
    void buildRunInfo();
    void buildListButtons();
    void buildBanner();
    HWND label(HWND parent, const mainwin::layout::Label& label);
    HWND progress(HWND parent, const mainwin::layout::Bar& bar);
    HWND button(HWND parent, const mainwin::layout::Button& button, const std::wstring& caption);
    HWND panel(int id, const RECT& place, COLORREF back);
    void setText(int id, const std::wstring& text);
    HWND control(int id) const;
    int imageFor(const ShredEntry& entry);

    App& app_;
    ShredList& list_;
    LatestRunDisplay& display_;
    HWND view_ = nullptr;
    HWND listView_ = nullptr;
    HWND listButtons_ = nullptr;
    HWND banner_ = nullptr;
    HWND bannerText_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::unordered_map<std::wstring, int> shellImages_;
    std::atomic<bool> listDirty_{true};
    std::wstring shownHeader_;
    struct Colors {
        COLORREF text;
        COLORREF back;
    };
    std::unordered_map<int, Colors> colors_;  // by control number
    std::unordered_map<int, HWND> controls_;
};

// The run buttons' captions: ten spaces, then the text in capitals.
std::wstring RunButtonCaption(const std::wstring& text);
