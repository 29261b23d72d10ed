#include "dialog_templates.h"

#include <cstring>

const char kGermanKeyboardOff[] = " German Keyboard       ";
const char kGermanKeyboardOn[] = " German Keyboard In Use";
static_assert(sizeof(kGermanKeyboardOff) == 24 && sizeof(kGermanKeyboardOn) == 24, "23 characters each");

namespace {

constexpr uint32_t kDialogStyle = 0x10C80000;     // visible, caption, system menu
constexpr uint32_t kAddWordStyle = 0x10C80004;    // the same with DS_3DLOOK
constexpr uint32_t kEditStyle = 0x50800080;       // child, visible, border, auto-scroll
constexpr uint32_t kCheckBoxStyle = 0x50000003;   // child, visible, auto check box
constexpr uint16_t kEditClass = 0x0081;
constexpr uint16_t kButtonClass = 0x0080;

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
    w.Title(SearchCaption(direction), 51);
    w.Item(124, kEditStyle, 0, g.fieldWidth, 10, IDC_SEARCH_EDIT, kEditClass);
    w.Item(152, kCheckBoxStyle, 12, g.fieldWidth, 7, IDC_GERMAN_KBD, kButtonClass);
}

void BuildAddWordDialogTemplate(AddWordDialogTemplate& t, const DialogGeometry& g, DictionaryDirection direction)
{
    std::memset(t.bytes, 0, sizeof(t.bytes));
    TemplateWriter w{t.bytes};
    w.Header(kAddWordStyle, g.dialogLeft, g.addDialogTop, g.dialogWidth, g.dialogHeight);
    w.Title(AddWordCaption(direction), 81);
    w.Item(184, kEditStyle, 0, g.fieldWidth, g.addEditHeight, IDC_ENTRY_EDIT, kEditClass);
    w.Item(212, kCheckBoxStyle, 12, g.fieldWidth, 7, IDC_GERMAN_KBD, kButtonClass);
}
