// The main window's list state: scroll bar record, rows to draw and the
// pixel geometry of the rows. Plain integers only, so the arithmetic builds
// and is tested without any window system.
#pragma once
#include <cstdint>

// Laid out exactly like the platform's SCROLLINFO, so the Win32 layer can
// hand it to SetScrollInfo unchanged.
struct ScrollInfo {
    uint32_t cbSize;
    uint32_t fMask;
    int32_t nMin;
    int32_t nMax;
    uint32_t nPage;
    int32_t nPos;
    int32_t nTrackPos;
};

// Laid out like the platform's RECT.
struct ListRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

constexpr uint32_t kScrollInfoSize = 28;
constexpr uint32_t kScrollMaskRangePage = 3; // SIF_RANGE | SIF_PAGE
constexpr uint32_t kScrollMaskAll = 23;      // SIF_ALL
static_assert(sizeof(ScrollInfo) == kScrollInfoSize, "ScrollInfo must match SCROLLINFO");

struct ListScrollState {
    ScrollInfo scrollInfo;
    int32_t rowsToDraw;
    int32_t firstRowOffset;
    int32_t oneLineRepaint;
    int32_t lineHeight;
    ListRect clientRect;
    ListRect updateRect;
};

// The page size as a signed number: every comparison with counts is signed.
inline int32_t PageRows(const ListScrollState& state)
{
    return static_cast<int32_t>(state.scrollInfo.nPage);
}
