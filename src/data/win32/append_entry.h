// The add-word dialog's Enter: compose the typed line and append it to the
// dictionary file.
#pragma once
#include <windows.h>

#include <cstdint>

void AppendEntry(HWND dialog);

// Tests set this to make the next write stop after that many bytes and fail,
// as a full disk would; negative means no limit.
extern int32_t appendWriteLimitForTests;

extern const char kEntryNotWrittenMessage[];
extern const char kEntryNeedsBothPartsMessage[];
