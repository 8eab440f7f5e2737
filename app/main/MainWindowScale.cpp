// The main window at its screen scale: every place of the layout tables times the window's DPI / 96, the
// fonts in points at that DPI, and the pictures and icons drawn for it. At 96 DPI every place is the table's.
#include "app/App.h"
#include "app/RoomPlaces.h"
#include "app/main/ControlIds.h"
#include "app/main/Greeting.h"
#include "app/main/MainWindow.h"
#include "app/main/MainWindowLayout.h"
#include "controls/ExplorerBar.h"
#include "controls/PictureBox.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

using namespace mainwin::layout;

void MainWindow::applyScale(const RECT* suggested) {
    const win::Scale s(dpi_);
    const LONG style = ::GetWindowLongW(window_, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(window_, GWL_EXSTYLE);
    // The client area is exactly the layout's at this scale, the frame the system's at this DPI; a window
    // that moved to another screen stands where the system suggests.
    const RECT frame = win::FrameFor(s(RECT{0, 0, kClientWidth, kClientHeight}), style, exStyle, dpi_);
    RECT now = {};
    ::GetWindowRect(window_, &now);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    if (suggested || Width(now) != Width(frame) || Height(now) != Height(frame))
        ::SetWindowPos(window_, nullptr, at.x, at.y, Width(frame), Height(frame), SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame does not follow the window's DPI (per-monitor awareness before Windows 10 1703 leaves
    // it at the system's), the client area comes out short: the window grows by what is missing.
    RECT client = {};
    ::GetClientRect(window_, &client);
    const SIZE missing = {s(kClientWidth) - client.right, s(kClientHeight) - client.bottom};
    if (missing.cx || missing.cy) {
        ::GetWindowRect(window_, &now);
        ::SetWindowPos(window_, nullptr, 0, 0, Width(now) + missing.cx, Height(now) + missing.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }

    scaleHeader(s);
    scaleLeftColumn(s);
    shredView_.applyScale(dpi_);
    // The tools view's inside follows the system's scale messages itself.
    PlaceControl(toolsView_, s(kRightArea));
    buildMenus();
    scaleIcons();
    // Every child moved and changed font: all of them are painted again, not only the window's own client.
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void MainWindow::scaleHeader(const win::Scale& s) {
    // The header picture is copied before the greeting is drawn on it: the shared picture stays bare, and a
    // window that comes back to a scale draws its greeting once.
    header_.reset(static_cast<HBITMAP>(
        ::CopyImage(app_.pictures.bitmap(IDR_HEADER, s.dpi()), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const bool greeted = header_ && DrawGreeting(app_, header_.get(), s.dpi(), greeting_[0], greeting_[1]);
    const std::wstring text = greeted ? greeting_[0] + L"\r\n" + greeting_[1] : std::wstring();
    ::SetWindowTextW(headerBox_, text.c_str());
    PictureBox::SetPicture(headerBox_, header_ ? header_.get() : app_.pictures.bitmap(IDR_HEADER, s.dpi()));
    PlaceControl(headerBox_, s(kHeaderPicture));
    PictureBox::SetPicture(cornerBox_, app_.pictures.bitmap(IDR_CORNER, s.dpi()));
    PlaceControl(cornerBox_, s(kCornerPicture));
}

void MainWindow::scaleLeftColumn(const win::Scale& s) {
    const UINT dpi = s.dpi();
    PlaceControl(leftCover_, s(kLeftColumn));
    PictureBox::SetPicture(leftCover_, app_.pictures.bitmap(IDR_COVER, dpi));

    // The bar scales its own margins and the entries' heights; it is given this scale's pictures and fonts.
    PlaceControl(leftColumn_, s(kLeftColumn));
    ExplorerBar::SetDpi(leftColumn_, dpi);
    for (size_t index = 0; index < std::size(kColumnEntries); ++index) {
        const ColumnEntry& entry = kColumnEntries[index];
        if (entry.picture)
            ExplorerBar::SetItemPicture(leftColumn_, static_cast<int>(index), app_.pictures.bitmap(entry.picture, dpi));
        if (entry.type == ExplorerBar::kLabel)
            ExplorerBar::SetItemFont(leftColumn_, static_cast<int>(index), app_.fonts.get(kColumnLabelFont, dpi));
    }

    SetControlFont(methodCombo_, app_.fonts.get(FontRole::Dialog, dpi));
    PlaceControl(methodCombo_, s(kMethodCombo));
    SetControlFont(repetitionsCaption_, app_.fonts.get(FontRole::Dialog, dpi));
    PlaceControl(repetitionsCaption_, s(kRepetitionsCaption));
    SetControlFont(repetitionsEdit_, app_.fonts.get(kRepetitionsEditFont, dpi));
    PlaceControl(repetitionsEdit_, s(kRepetitionsEdit));
    // The arrows take the right-hand part of the edit's place again, at this scale's width.
    ::SetWindowPos(repetitionsSpin_, nullptr, 0, 0, s(spinWidth_), s(Height(kRepetitionsEdit)),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    ::SendMessageW(repetitionsSpin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(repetitionsEdit_), 0);
    PlaceControl(explorerTree_.window(), s(kExplorerTree));
    // The tree shows the system's own font, which Windows gives at the system's scale.
    SetControlFont(explorerTree_.window(), dpi == win::SystemDpi() ? nullptr : app_.fonts.iconTitle(dpi));
}

void MainWindow::scaleIcons() {
    const int small = win::MetricFor(SM_CXSMICON, dpi_);
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app_.pictures.icon(IDI_APP, small)));
    ::SendMessageW(window_, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(app_.pictures.icon(IDI_APP, win::MetricFor(SM_CXICON, dpi_))));
    if (!trayIcon_)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = 1;
    data.uFlags = NIF_ICON;
    data.hIcon = app_.pictures.icon(IDI_TRAY, small);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}
