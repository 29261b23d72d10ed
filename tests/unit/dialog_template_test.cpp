#include <gtest/gtest.h>

#include <string>

#include "windows/dialog_templates.h"

namespace {

const DialogGeometry kGeometry = ComputeDialogGeometry({1024, 768, 8, 16, 18, 4}, {716, 176});

uint16_t Word(const unsigned char* t, size_t at)
{
    return static_cast<uint16_t>(t[at] | t[at + 1] << 8);
}

uint32_t Long(const unsigned char* t, size_t at)
{
    return Word(t, at) | static_cast<uint32_t>(Word(t, at + 2)) << 16;
}

std::u16string Title(const unsigned char* t, size_t units)
{
    std::u16string title;
    for (size_t i = 0; i < units; ++i)
        title += static_cast<char16_t>(Word(t, kTitleOffset + 2 * i));
    return title;
}

std::u16string Widen(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

struct Field {
    size_t offset;
    int size;
    uint32_t value;
};

void ExpectFields(const unsigned char* t, std::initializer_list<Field> fields)
{
    for (const Field& f : fields)
        EXPECT_EQ(f.size == 4 ? Long(t, f.offset) : Word(t, f.offset), f.value) << "offset " << f.offset;
}

TEST(SearchDialogTemplate, EveryFieldForTheCommonScreen)
{
    SearchDialogTemplate t;
    BuildSearchDialogTemplate(t, kGeometry, DictionaryDirection::GermanToEnglish);
    ExpectFields(t.bytes, {
        {0, 4, 0x10C80000}, {4, 4, 0}, {8, 2, 2}, {10, 2, 362}, {12, 2, 20}, {14, 2, 150}, {16, 2, 31},
        {18, 2, 0}, {20, 2, 0},
        {124, 4, 0x50800080}, {128, 4, 0}, {132, 2, 0}, {134, 2, 0}, {136, 2, 142}, {138, 2, 10},
        {140, 2, 2010}, {142, 2, 0xFFFF}, {144, 2, 0x0081}, {146, 2, 0}, {148, 2, 0}, {150, 2, 0},
        {152, 4, 0x50000003}, {156, 4, 0}, {160, 2, 0}, {162, 2, 12}, {164, 2, 142}, {166, 2, 7},
        {168, 2, 2022}, {170, 2, 0xFFFF}, {172, 2, 0x0080}, {174, 2, 0}, {176, 2, 0}, {178, 2, 0},
    });
    EXPECT_EQ(Title(t.bytes, 51), Widen("Search German To English" + std::string(26, ' ')) + u'\0');
    EXPECT_EQ(reinterpret_cast<uintptr_t>(t.bytes) % 4, 0u);
}

TEST(SearchDialogTemplate, CaptionFollowsTheDirection)
{
    SearchDialogTemplate t;
    BuildSearchDialogTemplate(t, kGeometry, DictionaryDirection::EnglishToGerman);
    EXPECT_EQ(Title(t.bytes, 51), Widen("Search English To German" + std::string(26, ' ')) + u'\0');
}

TEST(AddWordDialogTemplate, EveryFieldForTheCommonScreen)
{
    AddWordDialogTemplate t;
    BuildAddWordDialogTemplate(t, kGeometry, DictionaryDirection::GermanToEnglish);
    ExpectFields(t.bytes, {
        {0, 4, 0x10C80004}, {4, 4, 0}, {8, 2, 2}, {10, 2, 362}, {12, 2, 0x10000 - 26}, {14, 2, 150},
        {16, 2, 31}, {18, 2, 0}, {20, 2, 0},
        {184, 4, 0x50800080}, {188, 4, 0}, {192, 2, 0}, {194, 2, 0}, {196, 2, 142}, {198, 2, 10},
        {200, 2, 2110}, {202, 2, 0xFFFF}, {204, 2, 0x0081}, {206, 2, 0}, {208, 2, 0}, {210, 2, 0},
        {212, 4, 0x50000003}, {216, 4, 0}, {220, 2, 0}, {222, 2, 12}, {224, 2, 142}, {226, 2, 7},
        {228, 2, 2022}, {230, 2, 0xFFFF}, {232, 2, 0x0080}, {234, 2, 0}, {236, 2, 0},
    });
    EXPECT_EQ(Title(t.bytes, 81), Widen("AddWord : German To English" + std::string(53, ' ')) + u'\0');
    BuildAddWordDialogTemplate(t, kGeometry, DictionaryDirection::EnglishToGerman);
    EXPECT_EQ(Title(t.bytes, 81), Widen("AddWord : English To German" + std::string(53, ' ')) + u'\0');
}

TEST(DialogTemplates, ItemsStartOnFourByteBoundaries)
{
    for (size_t item : {size_t{124}, size_t{152}, size_t{184}, size_t{212}})
        EXPECT_EQ(item % 4, 0u);
    EXPECT_EQ(sizeof(SearchDialogTemplate), 180u);
    EXPECT_EQ(sizeof(AddWordDialogTemplate), 240u) << "238 bytes, padded by the 4-byte alignment";
}

} // namespace
