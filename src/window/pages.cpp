#include "config/prefixes.h"
#include "config/process_objects.h"
#include "framework/phase_trace.h"
#include "window/orvane_dlg.h"

void COrvaneDlg::ShowPage(Page page, bool show) noexcept {
    for (const ControlRow& row : ControlTable()) {
        if (Overlaps(row.facts.pages, page)) row.member.control(*this).Show(show);
    }
}

void COrvaneDlg::ShowExactly(Page pages, const framework::Control* alsoShown) noexcept {
    UiTextSlot heading{};
    for (const ControlRow& row : ControlTable()) {
        const framework::Control& control = row.member.control(*this);
        const bool shown = Overlaps(row.facts.pages, pages);
        control.Show(shown || &control == alsoShown);
        if (shown && row.facts.colour == LabelColour::HeadingBlue && row.facts.caption.slot) {
            heading = g_uiTextTable[static_cast<std::size_t>(*row.facts.caption.slot)];
        }
    }
    // A screen reader names a list by its window text: the heading of the page that shows it.
    m_listInstalls.SetText(RemovePrefixes(heading.text));
    m_listManuals.SetText(heading.text);
    framework::MarkPhase("page shown");
    LogPage(g_runLog, PagesText(pages));
}

void COrvaneDlg::ShowMenuPage(bool show) noexcept { ShowPage(Page::Menu, show); }

void COrvaneDlg::ShowDefaultInstallPage(bool show) noexcept { ShowPage(Page::DefaultInstall, show); }

void COrvaneDlg::ShowCustomInstallPage(bool show) noexcept { ShowPage(Page::CustomInstall, show); }

void COrvaneDlg::ShowProgressPage(bool show) noexcept { ShowPage(Page::Progress, show); }

void COrvaneDlg::ShowManualsPage(bool show) noexcept { ShowPage(Page::Manuals, show); }

void COrvaneDlg::ShowFinishPage(bool show) noexcept { ShowPage(Page::Finish, show); }

void COrvaneDlg::ShowRestartPage(bool show) noexcept {
    ShowPage(Page::Restart, show);
    if (show) LogPage(g_runLog, PagesText(Page::Restart));
}
