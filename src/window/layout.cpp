#include <string>

#include "config/process_objects.h"
#include "controls/image.h"
#include "resource.h"
#include "window/dot_labels.h"
#include "window/orvane_dlg.h"

namespace {

constexpr wchar_t kFontFace[] = L"Arial";

// A font of `tenths` tenths of a point for the screen, the way a point font is made: the
// height in pixels of the screen's vertical resolution, negative so it is the character height.
HFONT CreatePointFont(int tenths, const wchar_t* face) noexcept {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    const platform::WindowDc screen(nullptr);
    const int pixelsPerInch = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    // Rounded to the nearest pixel, as MulDiv does: 14 pt at 96 dpi is 19 pixels, not 18.
    const int height = MulDiv(pixelsPerInch, tenths, 720);
    font.lfHeight = -(height < 0 ? -height : height);
    return CreateFontIndirectW(&font);
}

const wchar_t* Slot(UiSlot slot) noexcept { return UiText(g_uiTextTable, slot); }

}  // namespace

BOOL COrvaneDlg::OnInitDialog() noexcept {
    framework::Dialog::OnInitDialog();
    // A dialog has no icon of its own; the taskbar and Alt+Tab show this one.
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    PlaceControls();

    ShowMenuPage(true);
    ShowCustomInstallPage(false);
    ShowDefaultInstallPage(false);
    ShowManualsPage(false);
    ShowProgressPage(false);
    ShowFinishPage(false);
    ShowRestartPage(false);
    HideProgressDots();

    MoveWindow(Handle(), 0, 0, 800, 570, TRUE);

    try {
        const std::wstring menuPath = g_imageFolder + L"menu.png";
        m_brBackground = controls::MakePatternBrushFromFile(menuPath.c_str());
    } catch (...) {
        // Out of memory for the path: the dialog keeps the platform's background.
    }

    m_picLogo.Show(false);
    ApplyFontsAndTexts();
    SetButtonImages();
    g_pMainDlg = this;

    m_imageList.Reset(ImageList_Create(32, 32, ILC_COLOR32, 10, 10));
    FillImageList();
    PrepareLists();
    return TRUE;
}

void COrvaneDlg::PlaceControls() noexcept {
    struct Placement {
        const framework::Control& control;
        int x, y, width, height;
    };
    const Placement placements[] = {
        {m_picLogo, 50, 20, 180, 40},
        {m_stTitle, 341, 20, 400, 40},
        {m_stSubtitle, 341, 60, 300, 40},
        {m_btnDefaultInstall, 341, 130, 400, 70},
        {m_btnCustomInstall, 401, 260, 280, 50},
        {m_btnManuals, 401, 356, 280, 50},
        {m_btnExit, 401, 446, 280, 50},
        {m_stDefaultInstallInfo, 341, 208, 450, 40},
        {m_stDefaultInstallInfo2, 341, 224, 400, 40},
        {m_stCustomInstallInfo, 341, 318, 400, 40},
        {m_stManualsInfo, 341, 414, 400, 40},
        {m_stDefaultPageTitle, 267, 22, 300, 20},
        {m_stDefaultPageText1, 267, 52, 500, 20},
        {m_stDefaultPageText2, 267, 68, 500, 40},
        {m_btnBack, 267, 512, 136, 40},
        {m_btnInstall, 486, 512, 136, 40},
        {m_btnCancel, 636, 512, 136, 40},
        {m_stCustomPageTitle, 267, 22, 300, 20},
        {m_stCustomPageText1, 267, 52, 500, 20},
        {m_stCustomPageText2, 267, 70, 500, 40},
        {m_btnSelectAll, 512, 450, 100, 26},
        {m_btnSelectNone, 644, 450, 100, 26},
        {m_stManualsPageTitle, 267, 22, 300, 20},
        {m_stManualsPageText1, 267, 52, 500, 30},
        {m_stManualsPageText2, 267, 70, 500, 20},
        {m_listManuals, 267, 104, 500, 365},
        {m_listInstalls, 267, 104, 500, 340},
        {m_stProgressTitle, 267, 22, 500, 30},
        {m_stProgressText, 267, 55, 500, 40},
        {m_stFinishTitle, 267, 22, 300, 20},
        {m_stFinishText, 267, 55, 300, 20},
        {m_btnFinish, 636, 512, 136, 40},
        {m_stProgressDots[0], 400, 22, 300, 20},
        {m_stProgressDots[1], 267, 22, 300, 20},
        {m_stProgressDots[2], 267, 22, 300, 20},
        {m_stProgressDots[3], 267, 22, 300, 20},
        {m_stProgressDots[4], 267, 22, 300, 20},
        {m_stRestartLead, 267, 350, 60, 40},
        {m_stRestartSeconds, 300, 350, 60, 40},
        {m_stRestartText, 267, 390, 500, 80},
    };
    for (const Placement& placement : placements) {
        placement.control.Move(placement.x, placement.y, placement.width, placement.height, true);
    }
}

void COrvaneDlg::ApplyFontsAndTexts() noexcept {
    m_fontTitle.Reset(CreateFontW(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, kFontFace));
    m_font16.Reset(CreatePointFont(160, kFontFace));
    m_font14.Reset(CreatePointFont(140, kFontFace));
    m_font10.Reset(CreatePointFont(100, kFontFace));
    m_font30.Reset(CreatePointFont(300, kFontFace));

    struct Caption {
        const framework::Control& control;
        HFONT font;
        UiSlot slot;
    };
    const HFONT title = m_fontTitle.Get();
    const HFONT f16 = m_font16.Get();
    const HFONT f14 = m_font14.Get();
    const HFONT f10 = m_font10.Get();
    const Caption captions[] = {
        {m_stTitle, title, UiSlot::Title},
        {m_stSubtitle, f10, UiSlot::Subtitle},
        {m_stDefaultInstallInfo, f10, UiSlot::DefaultInstallInfo},
        {m_stDefaultInstallInfo2, f10, UiSlot::DefaultInstallInfo2},
        {m_stCustomInstallInfo, f10, UiSlot::CustomInstallInfo},
        {m_stManualsInfo, f10, UiSlot::ManualsInfo},
        {m_btnDefaultInstall, f16, UiSlot::DefaultInstall},
        {m_btnCustomInstall, f14, UiSlot::CustomInstall},
        {m_btnManuals, f14, UiSlot::Manuals},
        {m_btnExit, f14, UiSlot::Exit},
        {m_stDefaultPageTitle, f16, UiSlot::DefaultInstall},
        {m_stDefaultPageText1, f10, UiSlot::DefaultPageText1},
        {m_stDefaultPageText2, f10, UiSlot::InstallPageText2},
        {m_btnBack, f16, UiSlot::Back},
        {m_btnInstall, f16, UiSlot::Install},
        {m_btnCancel, f16, UiSlot::Cancel},
        {m_stCustomPageTitle, f16, UiSlot::CustomInstall},
        {m_stCustomPageText1, f10, UiSlot::CustomPageText1},
        {m_stCustomPageText2, f10, UiSlot::InstallPageText2},
        {m_btnSelectAll, f10, UiSlot::SelectAll},
        {m_btnSelectNone, f10, UiSlot::SelectNone},
        {m_stManualsPageTitle, f16, UiSlot::Manuals},
        {m_stManualsPageText1, f10, UiSlot::ManualsPageText1},
        {m_stManualsPageText2, f10, UiSlot::ManualsPageText2},
        {m_stProgressTitle, f16, UiSlot::ProgressHeading},
        {m_stProgressText, f10, UiSlot::ProgressText},
        {m_stFinishTitle, f16, UiSlot::FinishTitle},
        {m_stFinishText, f10, UiSlot::FinishText},
        {m_btnFinish, f16, UiSlot::Finish},
    };
    for (const Caption& caption : captions) {
        caption.control.SetFont(caption.font, true);
        caption.control.SetText(Slot(caption.slot));
    }

    wchar_t dotLabel[kDotLabelCapacity] = {};
    for (int i = 0; i < static_cast<int>(m_stProgressDots.size()); ++i) {
        BuildDotLabel(Slot(UiSlot::ProgressHeading), i + 1, dotLabel);
        m_stProgressDots[static_cast<size_t>(i)].SetFont(f16, true);
        m_stProgressDots[static_cast<size_t>(i)].SetText(dotLabel);
    }

    m_stRestartLead.SetFont(f16, true);
    m_stRestartLead.SetText(Slot(UiSlot::RestartLead));
    m_stRestartSeconds.SetFont(m_font30.Get(), true);
    m_stRestartSeconds.SetText(L"8");
    m_stRestartText.SetFont(f16, true);
    m_stRestartText.SetText(Slot(UiSlot::RestartText));
    m_listInstalls.SetFont(f10, true);
    m_listManuals.SetFont(f10, true);
}

void COrvaneDlg::SetButtonImages() noexcept {
    struct Skin {
        CPngButton& button;
        const wchar_t* normal;
        const wchar_t* hover;
        const wchar_t* pressed;
    };
    // The file names are the medium's own: "Button" for the two large sizes, "button" for the rest.
    static constexpr const wchar_t* k400x70[] = {L"400x70_Button_Normal.png", L"400x70_Button_Hover.png",
                                                 L"400x70_Button_Pressed.png"};
    static constexpr const wchar_t* k280x50[] = {L"280x50_Button_Normal.png", L"280x50_Button_Hover.png",
                                                 L"280x50_Button_Pressed.png"};
    static constexpr const wchar_t* k136x40[] = {L"136x40_button_Normal.png", L"136x40_button_Hover.png",
                                                 L"136x40_button_Pressed.png"};
    static constexpr const wchar_t* k120x26[] = {L"120x26_button_Normal.png", L"120x26_button_Hover.png",
                                                 L"120x26_button_Pressed.png"};
    const Skin skins[] = {
        {m_btnDefaultInstall, k400x70[0], k400x70[1], k400x70[2]},
        {m_btnCustomInstall, k280x50[0], k280x50[1], k280x50[2]},
        {m_btnManuals, k280x50[0], k280x50[1], k280x50[2]},
        {m_btnExit, k280x50[0], k280x50[1], k280x50[2]},
        {m_btnBack, k136x40[0], k136x40[1], k136x40[2]},
        {m_btnInstall, k136x40[0], k136x40[1], k136x40[2]},
        {m_btnCancel, k136x40[0], k136x40[1], k136x40[2]},
        {m_btnSelectAll, k120x26[0], k120x26[1], k120x26[2]},
        {m_btnSelectNone, k120x26[0], k120x26[1], k120x26[2]},
        {m_btnFinish, k136x40[0], k136x40[1], k136x40[2]},
    };
    try {
        for (const Skin& skin : skins) {
            const std::wstring normal = g_imageFolder + skin.normal;
            const std::wstring hover = g_imageFolder + skin.hover;
            const std::wstring pressed = g_imageFolder + skin.pressed;
            skin.button.SetImages(Handle(), 1, normal.c_str(), hover.c_str(), pressed.c_str());
        }
    } catch (...) {
        // Out of memory for a path: the remaining buttons stay without images, as for missing files.
    }
}

void COrvaneDlg::FillImageList() noexcept {
    // The order fixes each icon's index, which conf.xml's items refer to.
    static constexpr int kIcons[] = {IDI_LIST_PDF,     IDI_LIST_APPLICATION, IDI_LIST_COMPUTER,
                                     IDI_LIST_DEVICE,  IDI_LIST_ARCHIVE,     IDI_LIST_DOCUMENT};
    for (const int id : kIcons) {
        const platform::UniqueIcon icon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
        ImageList_AddIcon(m_imageList.Get(), icon.Get());
    }
}

void COrvaneDlg::PrepareLists() noexcept {
    const bool manualIcons = g_productConfig.manualsShowIcon;
    m_listManuals.SetExtendedStyle(m_listManuals.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                   (manualIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listManuals.AddStyle(LVS_NOCOLUMNHEADER);
    m_listManuals.InsertColumn(0, L"NAME", LVCFMT_CENTER, 495);
    if (manualIcons) m_listManuals.SetImageList(m_imageList.Get(), LVSIL_SMALL);

    const bool installIcons = g_productConfig.installsShowIcon;
    m_listInstalls.SetExtendedStyle(m_listInstalls.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                    LVS_EX_FULLROWSELECT | (installIcons ? LVS_EX_SUBITEMIMAGES : 0));
    m_listInstalls.AddStyle(LVS_NOCOLUMNHEADER);
    m_listInstalls.InsertColumn(0, L"NAME", LVCFMT_LEFT, 495);
    if (installIcons) m_listInstalls.SetImageList(m_imageList.Get(), LVSIL_SMALL);
}
