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
