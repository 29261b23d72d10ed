// The in-memory templates the two modeless dialogs are built from, filled
// anew at every creation from the start-up geometry and the current
// direction, with the dialogs' captions and check box texts. Building the
// bytes needs no window system, so they are checked natively.
#pragma once
#include <cstddef>
#include <cstdint>

#include "../shared/dialog_geometry.h"
#include "../shared/resource_ids.h"
#include "../shared/shared_types.h"

// The style bits the templates hold, with the values <winuser.h> gives them
// under those names: this file builds without it. dialog_common.cpp, which
// has it, checks each against the platform's.
constexpr uint32_t kWsChild = 0x40000000;       // WS_CHILD
constexpr uint32_t kWsVisible = 0x10000000;     // WS_VISIBLE
constexpr uint32_t kWsCaption = 0x00C00000;     // WS_CAPTION
constexpr uint32_t kWsBorder = 0x00800000;      // WS_BORDER
constexpr uint32_t kWsSysMenu = 0x00080000;     // WS_SYSMENU
constexpr uint32_t kDs3dLook = 0x0004;          // DS_3DLOOK
constexpr uint32_t kEsAutoHScroll = 0x0080;     // ES_AUTOHSCROLL
constexpr uint32_t kBsAutoCheckBox = 0x0003;    // BS_AUTOCHECKBOX

// The fixed header before the title: style, extended style, item count,
// x, y, cx, cy, then an empty menu and the default class (DLGTEMPLATE).
constexpr size_t kTitleOffset = 22;
constexpr size_t kSearchCaptionChars = 24;
constexpr size_t kAddWordCaptionChars = 27;

const char* SearchCaption(DictionaryDirection direction);
const char* AddWordCaption(DictionaryDirection direction);

// Both checkbox captions have 23 characters, so the box never changes width.
extern const char kGermanKeyboardOff[];
extern const char kGermanKeyboardOn[];

// Fills every field; the title gets the caption widened to UTF-16 code
// units followed by blanks up to the title field's terminating 0.
void BuildSearchDialogTemplate(SearchDialogTemplate& t, const DialogGeometry& g, DictionaryDirection direction);
void BuildAddWordDialogTemplate(AddWordDialogTemplate& t, const DialogGeometry& g, DictionaryDirection direction);
