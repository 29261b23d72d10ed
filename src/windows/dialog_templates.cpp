#include "dialog_templates.h"

#include <cstring>

const char kGermanKeyboardOff[] = " German Keyboard       ";
const char kGermanKeyboardOn[] = " German Keyboard In Use";
static_assert(sizeof(kGermanKeyboardOff) == 24 && sizeof(kGermanKeyboardOn) == 24, "23 characters each");

namespace {

constexpr uint32_t kDialogStyle = kWsVisible | kWsCaption | kWsSysMenu;
constexpr uint32_t kAddWordStyle = kDialogStyle | kDs3dLook;
constexpr uint32_t kEditStyle = kWsChild | kWsVisible | kWsBorder | kEsAutoHScroll;
constexpr uint32_t kCheckBoxStyle = kWsChild | kWsVisible | kBsAutoCheckBox;
constexpr uint16_t kEditClass = 0x0081;   // the predefined classes, by atom
constexpr uint16_t kButtonClass = 0x0080;

// Each title field has a fixed size in code units, filled with blanks after
// the caption and closed by a 0, as the program's templates have always
// been laid out: 51 for the search dialog, 81 for the add-word dialog. The
// first control follows the title, on the DWORD boundary it must start on.
constexpr size_t kSearchTitleUnits = 51;
constexpr size_t kAddWordTitleUnits = 81;
constexpr size_t FirstItemAt(size_t titleUnits)
{
    return (kTitleOffset + 2 * titleUnits + 3) / 4 * 4;
}
// One control: DLGITEMTEMPLATE (18 bytes), the class as 0xFFFF and an atom
// (4), an empty title (2) and no creation data (2), padded to a DWORD.
constexpr size_t kItemBytes = 26;
constexpr size_t kItemStride = (kItemBytes + 3) / 4 * 4;
constexpr size_t kSearchEditAt = FirstItemAt(kSearchTitleUnits);
constexpr size_t kSearchCheckBoxAt = kSearchEditAt + kItemStride;
constexpr size_t kAddWordEditAt = FirstItemAt(kAddWordTitleUnits);
constexpr size_t kAddWordCheckBoxAt = kAddWordEditAt + kItemStride;
static_assert(kSearchEditAt == 124 && kSearchCheckBoxAt == 152, "the search template's controls");
static_assert(kAddWordEditAt == 184 && kAddWordCheckBoxAt == 212, "the add-word template's controls");
static_assert(kSearchCheckBoxAt + kItemBytes <= kSearchTemplateBytes, "the search template holds both controls");
static_assert(kAddWordCheckBoxAt + kItemBytes <= kAddWordTemplateBytes, "the add-word template holds both controls");

// Writes little-endian fields into a template whatever the host's order.
struct TemplateWriter {
    unsigned char* bytes;

    void Word(size_t at, uint16_t value)
    {
        bytes[at] = static_cast<unsigned char>(value & 0xFF);
        bytes[at + 1] = static_cast<unsigned char>(value >> 8);
    }
    void Long(size_t at, uint32_t value)
    {
        Word(at, static_cast<uint16_t>(value & 0xFFFF));
        Word(at + 2, static_cast<uint16_t>(value >> 16));
    }
    void Header(uint32_t style, uint16_t x, uint16_t y, uint16_t cx, uint16_t cy)
    {
        Long(0, style);
        Word(8, 2);
        Word(10, x);
        Word(12, y);
        Word(14, cx);
        Word(16, cy);
    }
    // A title field of units code units: the caption, blanks, a final 0.
    void Title(const char* caption, size_t units)
    {
        const size_t length = std::strlen(caption);
        for (size_t i = 0; i + 1 < units; ++i)
            Word(kTitleOffset + 2 * i, i < length ? static_cast<unsigned char>(caption[i]) : u' ');
        Word(kTitleOffset + 2 * (units - 1), 0);
    }
    // One control: style, position, id, predefined class, empty title and
    // no creation data.
    void Item(size_t at, uint32_t style, uint16_t y, uint16_t cx, uint16_t cy, uint16_t id, uint16_t cls)
    {
        Long(at, style);
        Word(at + 10, y);
        Word(at + 12, cx);
        Word(at + 14, cy);
        Word(at + 16, id);
        Word(at + 18, 0xFFFF);
        Word(at + 20, cls);
    }
};

} // namespace

const char* SearchCaption(DictionaryDirection direction)
{
    return direction == DictionaryDirection::GermanToEnglish ? "Search German To English" : "Search English To German";
}

const char* AddWordCaption(DictionaryDirection direction)
{
    return direction == DictionaryDirection::GermanToEnglish ? "AddWord : German To English"
                                                             : "AddWord : English To German";
}

void BuildSearchDialogTemplate(SearchDialogTemplate& t, const DialogGeometry& g, DictionaryDirection direction)
{
    std::memset(t.bytes, 0, sizeof(t.bytes));
    TemplateWriter w{t.bytes};
    w.Header(kDialogStyle, g.dialogLeft, g.searchDialogTop, g.dialogWidth, g.dialogHeight);
    w.Title(SearchCaption(direction), kSearchTitleUnits);
    w.Item(kSearchEditAt, kEditStyle, 0, g.fieldWidth, 10, IDC_SEARCH_EDIT, kEditClass);
    w.Item(kSearchCheckBoxAt, kCheckBoxStyle, 12, g.fieldWidth, 7, IDC_GERMAN_KBD, kButtonClass);
}

void BuildAddWordDialogTemplate(AddWordDialogTemplate& t, const DialogGeometry& g, DictionaryDirection direction)
{
    std::memset(t.bytes, 0, sizeof(t.bytes));
    TemplateWriter w{t.bytes};
    w.Header(kAddWordStyle, g.dialogLeft, g.addDialogTop, g.dialogWidth, g.dialogHeight);
    w.Title(AddWordCaption(direction), kAddWordTitleUnits);
    w.Item(kAddWordEditAt, kEditStyle, 0, g.fieldWidth, g.addEditHeight, IDC_ENTRY_EDIT, kEditClass);
    w.Item(kAddWordCheckBoxAt, kCheckBoxStyle, 12, g.fieldWidth, 7, IDC_GERMAN_KBD, kButtonClass);
}
