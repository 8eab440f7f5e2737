#pragma once

#include "app/Fonts.h"
#include "app/RoomPlaces.h"
#include "journal/JournalClearing.h"
#include "journal/JournalLines.h"
#include "win/Handle.h"
#include "win/Mailbox.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

// The journal window: the journal's lines in a list, "Effacer" to delete the journal at once, and one
// option kept in KvlShredder.ini, to delete the journal whenever the window closes. It runs its own
// message loop on the caller's thread, with its owner (the main window) disabled meanwhile. A large
// journal is read a slice at a time between messages, its rows appearing as they are read. A journal
// larger than JournalLines keeps shows its newest lines, and a note under the list says how many older
// ones are left out. The journal is cleared (journal::ClearJournal) on the clearing worker, "Effacer" and
// its one row saying so meanwhile; a window closing with the option ticked stays until the journal is
// gone, answering all along, unless the program is ending, whose exit then waits for the clearing.
class JournalWindow {
public:
    // Control numbers, by which the test driver finds the controls.
    enum ControlId : int {
        kIdExplanation = 101,
        kIdEvents = 102,
        kIdDeleteOnClose = 103,
        kIdClear = 104,
        kIdClose = 105,
        kIdOlderLines = 106,
    };
    static constexpr wchar_t kTitle[] = L"Kestavel Shredder Journal";
    static constexpr wchar_t kNoEvents[] = L"Il n'y a aucun événement à afficher.";
    // The list's one row while the journal is being cleared.
    static constexpr wchar_t kClearing[] = L"Effacement du journal en cours...";
    // The first line of the message that a clearing which failed shows; the reason follows.
    static constexpr wchar_t kClearingFailed[] = L"Le journal n'a pu être effacé.";
    // The note under the list when the journal holds more lines than the window keeps: "Les 1 234 567
    // lignes les plus anciennes ne sont pas affichées." (the figure grouped by no-break spaces); while they
    // are still being counted, a figure-less note.
    static std::wstring OlderLinesNote(unsigned long long count, bool counting);
    static constexpr int kClientWidth = 700;
    static constexpr int kClientHeight = 400;
    // Where the controls stand in the client area at 96 DPI, top to bottom. The list is kListHeightWithNote
    // high while the note about older lines shows under it.
    struct Place {
        ControlId id;
        RECT place;
    };
    static constexpr std::array<Place, 6> kPlaces = {{
        {kIdExplanation, {5, 10, 695, 40}},
        {kIdEvents, {5, 45, 695, 345}},
        {kIdOlderLines, {5, 329, 695, 345}},
        {kIdDeleteOnClose, {5, 350, 335, 370}},
        {kIdClear, {485, 370, 585, 395}},
        {kIdClose, {590, 370, 690, 395}},
    }};
    static constexpr int kListHeightWithNote = 280;

    // Shows the window for the journal and settings file of configFolder (ending with a backslash) and
    // returns once the user has closed it.
    static void run(HWND owner, const std::wstring& configFolder);

private:
    JournalWindow(HWND owner, const std::wstring& configFolder);
    JournalWindow(const JournalWindow&) = delete;
    JournalWindow& operator=(const JournalWindow&) = delete;

    bool create();
    void build();
    // Places every control at the window's DPI, with that DPI's font.
    void place();
    void onDpiChanged(UINT dpi, const RECT* suggested);
    void fitOption();
    void fill();
    void loop();
    void readSlice();
    void startClearing(bool atClose);
    void takeClearingNews();
    bool startClearingAtClose();
    void close();
    void showRows(size_t count, bool placeholder);
    void showOlderLines();
    void sizeList();  // as high as the note under it leaves room for
    void onListKey(WORD key);
    void copySelection();
    void addRowTip();
    int rowUnderPointer() const;
    void rowTipText(NMTTDISPINFOW& info);
    static LRESULT CALLBACK
    RowTipProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    std::wstring journalPath_;
    std::wstring settingsPath_;
    HWND window_ = nullptr;
    UINT dpi_ = win::kBaseDpi;
    Fonts fonts_;  // the window's own, made for each scale it is shown at
    RoomPlaces places_;
    HWND list_ = nullptr;
    HWND option_ = nullptr;
    HWND clear_ = nullptr;
    HWND tips_ = nullptr;
    HWND note_ = nullptr;
    std::wstring noteText_;
    bool noteShown_ = false;
    bool closeRequested_ = false;
    bool ending_ = false;  // the program is ending, or the window has gone: nothing more is waited for
    bool clearing_ = false;
    bool clearedAtClose_ = false;  // the clearing that the option asks for at closing has been started
    bool placeholder_ = false;
    const wchar_t* placeholderText_ = kNoEvents;
    int tipRow_ = -1;             // the row whose line the tooltip shows, -1 for none
    std::wstring tipText_;        // the tooltip's text while it shows
    size_t rows_ = 0;             // the row count the list was last given
    bool deleteOnClose_ = false;  // the option box, as the user left it
    DWORD rowsShownAt_ = 0;       // tick count of the last row count given to the list while reading
    JournalLines lines_;
    // The clearing worker's news; shared with the worker, which may outlive the window.
    std::shared_ptr<win::Mailbox<journal::ClearResult>> clearings_ =
        std::make_shared<win::Mailbox<journal::ClearResult>>();
};
