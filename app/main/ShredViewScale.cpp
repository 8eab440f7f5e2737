// The destruction view at a screen scale: every place of its table times dpi / 96, its fonts in points at
// that DPI, the buttons' icons and the list's pictures drawn for it.
#include "app/App.h"
#include "app/RoomPlaces.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredView.h"
#include "controls/BigButton.h"

#include <commctrl.h>

#include <array>
#include <utility>

using namespace mainwin::layout;

void ShredView::applyScale(UINT dpi) {
    const win::Scale s(dpi);
    const HFONT dialog = app_.fonts.get(FontRole::Dialog, dpi);
    PlaceControl(view_, s(kRightArea));
    PlaceControl(listView_, s(kShredList));
    ListView_SetColumnWidth(listView_, 0, s(kShredListColumnWidth));
    // The list shows the system's own font, which Windows gives at the system's scale.
    SetControlFont(listView_, dpi == win::SystemDpi() ? nullptr : app_.fonts.iconTitle(dpi));

    // Pictures of the program's own for what scans add (a folder, a file, a Prefetch layout), then the
    // shell's icons of the listed files as rows ask for them, all at this scale's size.
    HIMAGELIST images = ImageList_Create(s(kListPicture), s(kListPicture), ILC_COLOR32 | ILC_MASK, 16, 64);
    for (int id : {IDR_LINK_ADD_FOLDER, IDR_LINK_ADD_FILES, IDR_LINK_PRESETS})
        ImageList_Add(images, app_.pictures.bitmap(id, dpi), nullptr);
    ListView_SetImageList(listView_, images, LVSIL_SMALL);
    if (images_)
        ImageList_Destroy(images_);
    images_ = images;
    shellImages_.clear();

    const std::pair<int, RECT> panels[] = {{kIdRunButtonsPanel, kRunButtonsPanel},
                                           {kIdRunInfoPanel, kRunInfoPanel},
                                           {kIdListButtonsBar, kListButtonsBar},
                                           {kIdRunBanner, kRunBanner}};
    for (const auto& [id, place] : panels)
        PlaceControl(control(id), s(place));
    auto labels = [&](const auto& table) {
        for (const Label& label : table) {
            SetControlFont(control(label.id), app_.fonts.get(label.font, dpi));
            PlaceControl(control(label.id), s(label.place));
        }
    };
    labels(kCounters);
    labels(kDetailLabels);
    labels(kRunInfoLabels);
    labels(std::array<Label, 3>{kFileLine, kStatusLine, kRunBannerText});

    // Each colour bar fills a holder of its own size.
    auto bars = [&](const auto& table) {
        for (const Bar& bar : table) {
            HWND control = this->control(bar.id);
            PlaceControl(::GetParent(control), s(bar.place));
            ::SetWindowPos(control, nullptr, 0, 0, s(Width(bar.place)), s(Height(bar.place)),
                           SWP_NOZORDER | SWP_NOACTIVATE);
            SetControlFont(control, dialog);
        }
    };
    bars(kDetailBars);
    bars(std::array<Bar, 2>{kOverallBar, kNameWipeBar});
    SetControlFont(control(kIdDetailFrame), dialog);
    PlaceControl(control(kIdDetailFrame), s(kDetailFrame));
    PlaceControl(control(kIdRepetitionsBar), s(kRepetitionsBar));

    auto buttons = [&](const auto& table) {
        for (const Button& button : table) {
            HWND control = this->control(button.id);
            SetControlFont(control, dialog);
            BigButton::SetIcon(control, app_.pictures.icon(button.icon, s(kButtonIcon)), dpi);
            PlaceControl(control, s(button.place));
        }
    };
    buttons(kRunButtons);
    buttons(kListButtons);
}
