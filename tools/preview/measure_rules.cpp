#include "measure_rules.h"

namespace preview {

namespace {

constexpr int kTextInsetAfterImage = 2;
constexpr int kTextInsetWithoutImage = 5;

}  // namespace

// The text flags of the static control's own painting (comctl32), by style.
std::optional<UINT> LabelDrawFlags(LONG style, LONG exStyle) {
    UINT flags = 0;
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
            flags = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_CENTER:
            flags = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            flags = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_SIMPLE:
            flags = DT_LEFT | DT_SINGLELINE;
            break;
        case SS_LEFTNOWORDWRAP:
            flags = DT_LEFT | DT_EXPANDTABS;
            break;
        default:
            return std::nullopt;
    }
    if (exStyle & WS_EX_RIGHT) flags = DT_RIGHT | (flags & ~(DT_LEFT | DT_CENTER));
    if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
    if ((style & SS_TYPEMASK) != SS_SIMPLE) {
        if (style & SS_CENTERIMAGE) flags |= DT_SINGLELINE | DT_VCENTER;
        if (style & SS_EDITCONTROL) flags |= DT_EDITCONTROL;
        switch (style & SS_ELLIPSISMASK) {
            case SS_ENDELLIPSIS:
                flags |= DT_SINGLELINE | DT_END_ELLIPSIS;
                break;
            case SS_PATHELLIPSIS:
                flags |= DT_SINGLELINE | DT_PATH_ELLIPSIS;
                break;
            case SS_WORDELLIPSIS:
                flags |= DT_SINGLELINE | DT_WORD_ELLIPSIS;
                break;
            default:
                break;
        }
    }
    return flags;
}

int CellTextInset(bool drawsImage) noexcept { return drawsImage ? kTextInsetAfterImage : kTextInsetWithoutImage; }

int LinesShown(int height, int lineHeight) noexcept {
    if (lineHeight <= 0) return 1;
    const int whole = height / lineHeight;
    return whole < 1 ? 1 : whole;
}

Verdict JudgeLabel(Extent needed, Extent available, int lineHeight) noexcept {
    Verdict verdict;
    verdict.neededLines = lineHeight > 0 ? (needed.height + lineHeight - 1) / lineHeight : 1;
    if (verdict.neededLines < 1) verdict.neededLines = 1;
    verdict.shownLines = LinesShown(available.height, lineHeight);
    verdict.fits = needed.width <= available.width && verdict.neededLines <= verdict.shownLines;
    return verdict;
}

Verdict JudgeButton(Extent needed, Extent available, int lineHeight) noexcept {
    Verdict verdict;
    verdict.neededLines = lineHeight > 0 ? (needed.height + lineHeight - 1) / lineHeight : 1;
    if (verdict.neededLines < 1) verdict.neededLines = 1;
    const int top = (available.height - lineHeight) / 2;
    const int room = available.height - (top > 0 ? top : 0);
    verdict.shownLines = LinesShown(room, lineHeight);
    verdict.fits = needed.width <= available.width && verdict.neededLines <= verdict.shownLines;
    return verdict;
}

Verdict JudgeCell(int neededWidth, int availableWidth) noexcept {
    Verdict verdict;
    verdict.fits = neededWidth <= availableWidth;
    return verdict;
}

namespace {

// A span of `length` placed in [start, start + room): from the start, centred or at the end.
LONG Place(LONG start, int room, int length, UINT flags) noexcept {
    if (flags & DT_CENTER) return start + (room - length) / 2;
    if (flags & DT_RIGHT) return start + room - length;
    return start;
}

int Smaller(int a, int b) noexcept { return a < b ? a : b; }

}  // namespace

RECT LabelInk(const RECT& box, Extent needed, const Verdict& verdict, int lineHeight, UINT flags) noexcept {
    const int width = static_cast<int>(box.right - box.left);
    const int height = static_cast<int>(box.bottom - box.top);
    const int inkWidth = Smaller(needed.width, width);
    const int inkHeight = Smaller(Smaller(verdict.neededLines, verdict.shownLines) * lineHeight, height);
    RECT ink{};
    ink.left = Place(box.left, width, inkWidth, flags);
    ink.top = (flags & DT_SINGLELINE) && (flags & DT_VCENTER) ? box.top + (height - inkHeight) / 2 : box.top;
    ink.right = ink.left + inkWidth;
    ink.bottom = ink.top + inkHeight;
    return ink;
}

RECT ButtonInk(const RECT& box, Extent needed, const Verdict& verdict, int lineHeight) noexcept {
    const int width = static_cast<int>(box.right - box.left);
    const int height = static_cast<int>(box.bottom - box.top);
    const int top = (height - lineHeight) / 2 > 0 ? (height - lineHeight) / 2 : 0;
    const int inkWidth = Smaller(needed.width, width);
    RECT ink{};
    ink.left = Place(box.left, width, inkWidth, DT_CENTER);
    ink.top = box.top + top;
    ink.right = ink.left + inkWidth;
    ink.bottom = ink.top + Smaller(Smaller(verdict.neededLines, verdict.shownLines) * lineHeight, height - top);
    return ink;
}

std::wstring WithMostDots(const std::wstring& runningText) {
    return runningText + std::wstring(static_cast<size_t>(kMostDots), L'.');
}

bool IsAnimationStep(const std::wstring& text, const std::wstring& runningText) {
    if (text.size() <= runningText.size() || text.compare(0, runningText.size(), runningText) != 0) return false;
    const size_t dots = text.size() - runningText.size();
    return dots <= static_cast<size_t>(kMostDots) &&
           text.find_first_not_of(L'.', runningText.size()) == std::wstring::npos;
}

}  // namespace preview
