// vokabix-import on small ding word lists written here: how lines become
// entries, what is left out or replaced and counted, and what a failed
// import leaves behind.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "data/dictionary_format.h"
#include "data/entry_append.h"
#include "data/entry_composer.h"
#include "data/strongs_list.h"
#include "ding_import.h"
#include "import_command.h"
#include "kept_entries.h"
#include "regular_forms.h"
#include "strong_verbs.h"

namespace fs = std::filesystem;

namespace {

constexpr DictionaryDirection kGerEng = DictionaryDirection::GermanToEnglish;
constexpr DictionaryDirection kEngGer = DictionaryDirection::EnglishToGerman;

// Expected text, written in UTF-8 here and compared as the files' bytes.
std::string W(const std::string& utf8)
{
    std::string out;
    uint32_t bad = 0;
    EXPECT_TRUE(Utf8ToCp1252(utf8, out, bad)) << "test text outside Windows-1252: " << utf8;
    return out;
}

using Entry = std::pair<std::string, std::string>; // source without its padding, translation

std::vector<Entry> Parse(const std::string& entries)
{
    std::vector<Entry> parsed;
    size_t begin = 0;
    while (begin < entries.size()) {
        const size_t end = entries.find("\r\n", begin);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line without CR LF: " << entries.substr(begin);
            break;
        }
        const std::string line = entries.substr(begin, end - begin);
        const size_t star = line.find('*');
        EXPECT_NE(star, std::string::npos) << line;
        std::string source = line.substr(0, star);
        while (!source.empty() && source.back() == ' ')
            source.pop_back();
        parsed.emplace_back(source, line.substr(star + 1));
        begin = end + 2;
    }
    return parsed;
}

ImportResult Import(const std::string& ding)
{
    return ImportDing(ding, {"test.ding", "2024-03-01"});
}

std::vector<Entry> EntriesOf(const std::string& ding, DictionaryDirection d)
{
    const ImportResult result = Import(ding);
    EXPECT_EQ(result.refusal, Refusal::None);
    return Parse(result.Entries(d));
}

// The one translation a single-part line gives its only German source.
std::string EnglishOf(const std::string& english)
{
    const std::vector<Entry> entries = EntriesOf("Wort :: " + english + "\n", kGerEng);
    return entries.size() == 1 ? entries[0].second : "<" + std::to_string(entries.size()) + " entries>";
}

TEST(DingImport, SynonymsAndPartsPairUp)
{
    const std::string ding = "Haus {n}; Gebäude {n} | Häuser {pl} :: house; building | houses\n";
    EXPECT_EQ(EntriesOf(ding, kGerEng), (std::vector<Entry>{
                                            {W("Gebäude {n}"), "house; building"},
                                            {"Haus {n}", "house; building"},
                                            {W("Häuser {pl} (plural of Haus)"), "houses"},
                                        }));
    EXPECT_EQ(EntriesOf(ding, kEngGer), (std::vector<Entry>{
                                            {"building", W("Haus {n}; Gebäude {n}")},
                                            {"house", W("Haus {n}; Gebäude {n}")},
                                            {"houses (plural of house)", W("Häuser {pl}")},
                                        }));
    // Blanks around parts and synonyms, doubled or not, go; the lines of all
    // input lines are put in one order.
    EXPECT_EQ(EntriesOf("  Zug;  Bahn {f} |  Züge  :: train |  trains \nAbend :: evening\n", kGerEng),
              (std::vector<Entry>{{"Abend", "evening"}, {"Bahn {f}", "train"}, {"Zug", "train"}, {W("Züge"), "trains"}}));
}

TEST(DingImport, LinesHaveTheReadersColumns)
{
    const ImportResult result = Import("Haus {n} :: house\n");
    EXPECT_EQ(result.Entries(kGerEng), "Haus {n}" + std::string(35, ' ') + "*house\r\n");
    EXPECT_EQ(result.Entries(kEngGer), "house" + std::string(38, ' ') + "*Haus {n}\r\n");

    // 40 bytes still take the column; 41 are written with one blank. The
    // limit is in the file's bytes: 40 umlauts are 80 bytes of UTF-8.
    const std::string forty(40, 'a');
    const std::string umlauts = [] {
        std::string s;
        for (int i = 0; i < 40; ++i)
            s += "ä";
        return s;
    }();
    const ImportResult lengths =
        Import(forty + " :: x\n" + forty + "b :: y\n" + umlauts + " :: z\n" + "a :: " + forty + "bc\n");
    EXPECT_EQ(lengths.Entries(kGerEng), "a" + std::string(42, ' ') + "*" + forty + "bc\r\n" + forty + "   *x\r\n" +
                                            forty + "b *y\r\n" + std::string(40, '\xE4') + "   *z\r\n");
    EXPECT_EQ(lengths.stats.Of(kGerEng).longSources, 1u);
    EXPECT_EQ(lengths.stats.Of(kEngGer).longSources, 1u);
    EXPECT_EQ(lengths.stats.Of(kGerEng).entries, 4u);
}

std::vector<std::string> SourcesOf(const std::vector<Entry>& entries)
{
    std::vector<std::string> out;
    for (const Entry& entry : entries)
        out.push_back(entry.first);
    return out;
}

// What the search compares decides the order: a headword first, then the
// longer sources with the same words, then longer headwords it begins.
TEST(DingImport, ExactHeadwordsComeFirst)
{
    const std::string ding =
        "Hausboot {n} :: houseboat\n"
        "(altes) Haus {n} :: old chap\n"
        "Haus- :: house\n"
        "Haus (alt) und Hof :: old house and home\n"
        "Haus und Hof :: house and home\n"
        "Haus {n} [arch.] :: building\n"
        "Häuschen {n} :: cottage\n"
        "Bank {f} :: bench\n"
        "Haus {n} (Familie) :: house (family)\n"
        "Haus {n} :: house\n"
        "Bank {f} :: bank\n"
        "Haus :: home\n";
    const std::vector<Entry> german = EntriesOf(ding, kGerEng);
    std::vector<std::string> sources = SourcesOf(german);
    // Which of a headword's entries comes first is the everyday sense's
    // business (see below); here only the groups count.
    ASSERT_EQ(sources.size(), 13u);
    std::sort(sources.begin() + 2, sources.begin() + 7);
    EXPECT_EQ(sources, (std::vector<std::string>{"Bank {f}", "Bank {f}", "Haus", "Haus (altes) {n}", "Haus {n}",
                                                 "Haus {n} (Familie)", "Haus {n} [arch.]", "Haus und Hof",
                                                 "Haus (alt) und Hof", "Haus-", "Hausboot {n}", W("Häuschen {n}"),
                                                 "(altes) Haus {n}"}));
    // Equal in all but the word list's order: kept in it.
    EXPECT_EQ(german[0].second, "bench");
    const std::vector<Entry> english = EntriesOf(ding, kEngGer);
    EXPECT_EQ(SourcesOf(english), (std::vector<std::string>{"bank", "bench", "building", "cottage", "home", "house",
                                                            "house", "house (family)", "house and home", "houseboat",
                                                            "old chap", "old house and home"}));
}

// The sense a reader most likely means comes first among a headword's
// entries: the line about the word, with many parts, over a line that names
// it as a later synonym; no label or note narrowing it; a translation in
// words that the whole list uses often.
TEST(DingImport, TheEverydaySenseComesFirst)
{
    const std::string ding =
        "Katze {f} :: moggy [Br.]\n"
        "Förderwagen {m}; Hund {m}; Hunt {m} [min.] | Förderwagen {pl}; Hunde {pl} :: mine car | mine cars\n"
        "Katze {f} (an einem Kran) [techn.] :: crab\n"
        "Hund {m} [zool.] | Hunde {pl} | Haushund {m} | einen Hund abrichten :: dog | dogs | house dog | to train a dog\n"
        "Katze {f} [zool.] | Katzen {pl} :: cat | cats\n"
        "Zeit {f} :: spell\n"
        "Zeit {f} :: time\n"
        "Freizeit {f} :: free time\n"
        "Uhrzeit {f} :: time of day\n"
        "Zimmer {n} /Zi./ | Zimmer {pl} | Zimmer frei :: room | rooms | vacancies\n";
    std::map<std::string, std::string> first; // headword: the translation of its first entry
    for (const Entry& entry : EntriesOf(ding, kGerEng))
        first.emplace(entry.first.substr(0, entry.first.find(' ')), entry.second);
    EXPECT_EQ(first["Katze"], "cat");
    EXPECT_EQ(first["Hund"], "dog");
    EXPECT_EQ(first["Hunde"], "dogs");
    EXPECT_EQ(first["Zeit"], "time");
    EXPECT_EQ(first["Zimmer"], "room");
    // Headwords in both lines: dog before the mine car, in either direction.
    const std::vector<Entry> english = EntriesOf("Förderwagen {m} :: dog\nHund {m} [zool.] | Hunde {pl} :: dog | dogs\n", kEngGer);
    ASSERT_EQ(english.size(), 3u);
    EXPECT_EQ(english[0].second, "Hund {m} [zool.]");
}

// Each weight of the order on a pair of entries that differ in that sign
// alone, written so that without the weight the other entry would come
// first (the shorter source, or the one given first).
TEST(DingImport, EachWeightOfTheEverydayOrderDecidesItsOwnPair)
{
    struct Pair {
        const char* weight;
        const char* ding;
        const char* headword;
        const char* first;
    };
    const Pair pairs[] = {
        {"kPerDoubledParts", "Bank {f} :: bench\nBank {f} | Bankette {pl} :: bank | banquets\n", "Bank", "bank"},
        {"kLaterSynonym", "Laden {m}; Geschäft {n} :: shop\nGeschäft {n} :: business (firm)\n", "Geschäft",
         "business (firm)"},
        {"kPerSynonymBefore", "Karren {m}; Kutsche {f}; Wagen {m} :: cart\nAuto {n}; Wagen {m} :: car\n", "Wagen", "car"},
        {"kLaterPart", "Spiel {n} | Ball {m} :: game | dance\nBall {m} | Bälle {pl} :: ball | balls\n", "Ball", "ball"},
        {"kPerSourceLabel", "Kater [zool.] :: tomcat\nKater {m} /Ktr./ :: hangover\n", "Kater", "hangover"},
        {"kPerSourceNote", "Bogen (Waffe) :: bow\nBogen {m} /Bgn./ :: sheet\n", "Bogen", "sheet"},
        {"kPerTranslationLabel", "Katze {f} :: cat [zool.]\nKatze {f} :: puss\n", "Katze", "puss"},
        {"kPerTranslationNote", "Maus {f} :: mouse (animal)\nMaus {f} :: mice\n", "Maus", "mice"},
        {"kPerDoubledCommonness", "Hund {m} :: hound\nHund {m} :: dog\nDackel {m} :: dog\nPudel {m} :: dog\n", "Hund",
         "dog"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.weight);
        const std::vector<Entry> entries = EntriesOf(pair.ding, kGerEng);
        const std::string headword = W(pair.headword) + " ";
        const auto first = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.first.compare(0, headword.size(), headword) == 0;
        });
        ASSERT_NE(first, entries.end());
        EXPECT_EQ(first->second, pair.first);
    }
}

// The caps of the score: past them a sign says no more.
TEST(DingImport, TheEverydayScoreStopsCountingWhereASignSaysNoMore)
{
    const auto score = [](uint32_t parts, uint32_t synonym, uint32_t labels) {
        EntrySigns signs;
        signs.parts = parts;
        signs.synonymIndex = synonym;
        signs.sourceLabels = labels;
        signs.translationNotes = labels;
        return EverydayScore(signs, 0);
    };
    EXPECT_GT(score(64, 0, 0), score(32, 0, 0));
    EXPECT_EQ(score(64, 0, 0), score(1000, 0, 0));
    EXPECT_LT(score(1, 5, 0), score(1, 4, 0));
    EXPECT_EQ(score(1, 5, 0), score(1, 9, 0));
    EXPECT_LT(score(1, 0, 3), score(1, 0, 2));
    EXPECT_EQ(score(1, 0, 3), score(1, 0, 7));
}

// A verb that the word list writes after its object, or with "to", and a
// noun after its article, are written a second time with the word first,
// where the search for the word itself finds them.
TEST(DingImport, WordsComeFirstInASecondForm)
{
    struct Case {
        DictionaryDirection d;
        const char* source;
        const char* verbLabel;
        const char* form; // "" when the source keeps its one form
    } cases[] = {
        {kGerEng, "etw. sehen", "{vt}", "sehen (etw.) {vt}"},
        {kGerEng, "sich etw. ansehen {vr}", "{vr}", "ansehen (sich etw.) {vr}"},
        {kGerEng, "(sich) waschen", "{vr}", "waschen (sich) {vr}"},
        {kGerEng, "auf jdn./etw. warten [ugs.]", "{vi}", "warten (auf jdn./etw.) {vi} [ugs.]"},
        {kGerEng, "jdm. etw. geben", "{vt}", "geben (jdm. etw.) {vt}"},
        {kGerEng, "der Himmel", "", "Himmel (der)"},
        {kGerEng, "(großer) Wald {m} [bot.]", "", "Wald (großer) {m} [bot.]"},
        {kEngGer, "to go {went; gone}", "{vi}", "go {v} {went; gone}"},
        {kEngGer, "to see sb./sth.", "{vt}", "see (sb./sth.) {v}"},
        {kEngGer, "the sky", "", "sky (the)"},
        {kEngGer, "to compare sth. with sth.", "{vt}", "compare (sth. with sth.) {v}"},
        // Phrases stay as they are: the word alone would mean something else.
        {kGerEng, "gehen", "{vi}", ""},
        {kGerEng, "zu weit gehen", "{vi}", ""},
        {kGerEng, "etw. Gutes tun", "{vt}", ""},
        {kGerEng, "etw. sehen", "", ""},
        {kGerEng, "die anderen", "", ""},
        {kEngGer, "to give up sth.", "{vt}", ""},
        {kEngGer, "to wait for sb.", "{vi}", ""},
        {kEngGer, "to and fro", "", ""},
        {kEngGer, "(open", "{vt}", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::string form;
        bool narrowed = false;
        const bool written = WordFirstForm(c.d, W(c.source), c.verbLabel, form, narrowed);
        EXPECT_EQ(written, *c.form != '\0');
        if (written) {
            EXPECT_EQ(form, W(c.form));
        }
    }

    // The import writes both forms; the search for the word and for the
    // phrase each finds one of them.
    const ImportResult result = Import("etw. sehen {vt} | sehend :: to see sth. | seeing\nSee {m} :: lake\n");
    EXPECT_EQ(Parse(result.Entries(kGerEng)), (std::vector<Entry>{{"See {m}", "lake"},
                                                                  {"etw. sehen {vt}", "to see sth."},
                                                                  {"sehen (etw.) {vt}", "to see sth."},
                                                                  {"sehend", "seeing"}}));
    EXPECT_EQ(SourcesOf(Parse(result.Entries(kEngGer))),
              (std::vector<std::string>{"lake", "see (sth.) {v}", "seeing", "to see sth."}));
    EXPECT_EQ(result.stats.Of(kGerEng).wordFirst, 1u);
    EXPECT_EQ(result.stats.Of(kEngGer).wordFirst, 1u);
}

TEST(DingImport, SemicolonsInsideBracketsDoNotSplit)
{
    EXPECT_EQ(EntriesOf("hören {vt} (Musik; Radio) :: to hear {heard; heard} [Br.; Am.]\n", kEngGer),
              (std::vector<Entry>{{"hear {v} {heard; heard} [Br.; Am.]", W("hören {vt} (Musik; Radio)")},
                                  {"to hear {heard; heard} [Br.; Am.]", W("hören {vt} (Musik; Radio)")}}));
    // A part whose brackets do not pair up ("/ ( /" names the bracket) is
    // split at every "; " rather than swallowing the rest of the part.
    EXPECT_EQ(EntriesOf("runde Klammer auf; Klammer auf / ( / :: opening bracket; left bracket / ( /\n", kEngGer),
              (std::vector<Entry>{{"left bracket / ( /", "runde Klammer auf; Klammer auf / ( /"},
                                  {"opening bracket", "runde Klammer auf; Klammer auf / ( /"}}));
    // ";" without a blank is text.
    EXPECT_EQ(EntriesOf("a;b :: c\n", kGerEng), (std::vector<Entry>{{"a;b", "c"}}));
}

TEST(DingImport, HiddenTextIsLeftOut)
{
    EXPECT_EQ(EnglishOf("eel smokery <eelsmoking business> <eel smoking business>"), "eel smokery");
    EXPECT_EQ(EnglishOf("demise [poet.] <death>; decease"), "demise [poet.]; decease");
    EXPECT_EQ(EnglishOf("cereal [cook.] <Müsli><Cornflakes>"), "cereal [cook.]");
    EXPECT_EQ(EnglishOf("name-dropping <name--dropping <namedrop>> <name drop>"), "name-dropping");
    EXPECT_EQ(EnglishOf("optical barrier <light barrier>s"), "optical barriers");
    EXPECT_EQ(EnglishOf("\xE2\x80\xB9hidden> tow bar \xE2\x80\xB9towbar\xE2\x80\xBA"), "tow bar");
    // An empty "<>" stands for a blank; one glued to a word keeps them apart.
    EXPECT_EQ(EnglishOf("to stare down <> sb."), "to stare down sb.");
    EXPECT_EQ(EnglishOf("to stare out <>sb."), "to stare out sb.");
    EXPECT_EQ(EnglishOf("to put through (<> a deal)"), "to put through (a deal)");
    // "<" that opens nothing: a comparison, the abbreviation "/</", no ">".
    EXPECT_EQ(EnglishOf("plastic film (thickness < 0.25 mm)"), "plastic film (thickness < 0.25 mm)");
    EXPECT_EQ(EnglishOf("left angle bracket /</"), "left angle bracket /</");
    EXPECT_EQ(EnglishOf("less <than"), "less <than");

    // A synonym that is only hidden text gives no entry.
    const ImportResult result = Import("Kornflocken <Cornflakes>; <Müsli> :: cereal\n");
    EXPECT_EQ(Parse(result.Entries(kGerEng)), (std::vector<Entry>{{"Kornflocken", "cereal"}}));
    EXPECT_EQ(result.stats.emptySynonyms, 1u);
    EXPECT_EQ(result.stats.hiddenDropped, 2u);
}

TEST(DingImport, CharactersOutsideWindows1252AreReplacedAndCounted)
{
    const ImportResult result = Import(
        // ł ź (accents), ó (in 1252), combining acute, ī
        "Łódź; Ae\xCC\x81 :: Lodz; s\xC4\xAB" "c\n"
        // Greek, micro and the ohm sign
        "λ-Kalkül; 5 μm :: λ-calculus; 10 \xE2\x84\xA6\n"
        // hyphen, minus, thin space, figure dash; an en dash and curly quotes 1252 has
        "A‐B −1 2\xE2\x80\x89kg \xE2\x80\x92 – „x“ :: y\n"
        // en dash and right quote arrived as C1 controls; a zero-width space; a tab
        "a\xC2\x96" "b :: it\xC2\x92s\xE2\x80\x8B ok\tnow\n"
        // Cyrillic and a check mark have no stand-in
        "Дом :: ✓ done\n");
    ASSERT_EQ(result.refusal, Refusal::None);
    EXPECT_EQ(Parse(result.Entries(kGerEng)),
              (std::vector<Entry>{
                  {W("A-B -1 2 kg - – \"x\""), "y"},
                  {"Ae", "Lodz; sic"},
                  {W("Lódz"), "Lodz; sic"},
                  {W("a–b"), W("it’s ok now")},
                  {W("lambda-Kalkül"), W("lambda-calculus; 10 Ohm")},
                  {W("5 µm"), W("lambda-calculus; 10 Ohm")},
              }));
    // "???" has no letter the search could start on.
    const std::vector<Entry> english = Parse(result.Entries(kEngGer));
    EXPECT_NE(std::find(english.begin(), english.end(), Entry("? done", "???")), english.end());
    EXPECT_EQ(result.stats.Of(kGerEng).noLetter, 1u);

    const FixCounts& fixes = result.stats.fixes;
    EXPECT_EQ(fixes[Fix::Letter], 5u);      // Ł ź, combining acute, ī, ohm sign
    EXPECT_EQ(fixes[Fix::Greek], 3u);       // λ twice, μ
    EXPECT_EQ(fixes[Fix::Punctuation], 4u); // ‐ − thin space, figure dash
    EXPECT_EQ(fixes[Fix::Misencoded], 2u);
    EXPECT_EQ(fixes[Fix::Control], 2u);     // zero-width space, tab
    EXPECT_EQ(fixes[Fix::Unknown], 4u);     // Д о м ✓
    // The quotes 1252 has stay in translations and become plain in sources.
    EXPECT_EQ(result.stats.Of(kGerEng).quotesPlain, 2u);
}

TEST(DingImport, SourcesStayFindable)
{
    const ImportResult result = Import(
        // "*" in a source would end it early; in a translation it is text.
        "Stern*chen; 5 * 3 :: little star*; five times three\n"
        // Digits and brackets before the first letter are fine; no letter at all is not.
        "3D-Drucker | (sich) waschen | 100 % | ¿? :: 3D printer | to wash | one hundred percent | question\n");
    ASSERT_EQ(result.refusal, Refusal::None);
    EXPECT_EQ(Parse(result.Entries(kGerEng)), (std::vector<Entry>{
                                                  {"3D-Drucker", "3D printer"},
                                                  {"Sternchen", "little star*; five times three"},
                                                  {"(sich) waschen", "to wash"},
                                                  {"waschen (sich)", "to wash"},
                                              }));
    EXPECT_EQ(Parse(result.Entries(kEngGer)), (std::vector<Entry>{
                                                  {"3D printer", "3D-Drucker"},
                                                  {"five times three", "Stern*chen; 5 * 3"},
                                                  {"little star", "Stern*chen; 5 * 3"},
                                                  {"one hundred percent", "100 %"},
                                                  {"question", W("¿?")},
                                                  {"to wash", "(sich) waschen"},
                                              }));
    EXPECT_EQ(result.stats.Of(kGerEng).starsDropped, 2u);
    EXPECT_EQ(result.stats.Of(kEngGer).starsDropped, 1u);
    EXPECT_EQ(result.stats.Of(kGerEng).noLetter, 3u); // "5  3", "100 %", "¿?"
    for (DictionaryDirection d : {kGerEng, kEngGer}) {
        for (const Entry& entry : Parse(result.Entries(d))) {
            EXPECT_NE(entry.first.front(), ' ');
            EXPECT_EQ(entry.first.find('*'), std::string::npos);
        }
    }

    // A part with nothing on the other side gives no entries from that side.
    const ImportResult idiom = Import("Geduldsfaden {m} | mir reißt der Geduldsfaden ::  | I'm losing patience\n");
    EXPECT_EQ(Parse(idiom.Entries(kGerEng)), (std::vector<Entry>{{W("mir reißt der Geduldsfaden"), "I'm losing patience"}}));
    EXPECT_EQ(idiom.stats.Of(kGerEng).noTranslation, 1u);
}

TEST(DingImport, MalformedLinesAreSkippedAndCounted)
{
    const std::string good = "gut :: good\n";
    struct Case {
        std::string line;
        Malformed why;
    } cases[] = {
        {"kein Trenner : no separator", Malformed::NoSeparator},
        {"a :: b :: c", Malformed::SeveralSeparators},
        {"a | b :: c", Malformed::PartCounts},
        {"a :: b | c | d", Malformed::PartCounts},
        {"Stra\xDF" "e :: street", Malformed::InvalidUtf8},
        {"caf\xC3 :: cafe", Malformed::InvalidUtf8},
        {"Jahrgänge (der Nachkriegszeit :: 1950er Jahre) baby boom", Malformed::SeparatorInBrackets},
        {" :: nothing", Malformed::EmptySide},
        {"nichts ::  ", Malformed::EmptySide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        // Far enough down that the opening lines are clean.
        std::string ding;
        for (int i = 0; i < kCheckedOpeningLines; ++i)
            ding += good;
        ding += c.line + "\r\n" + "schlecht :: bad\n";
        const ImportResult result = Import(ding);
        ASSERT_EQ(result.refusal, Refusal::None);
        EXPECT_EQ(result.stats.MalformedTotal(), 1u);
        EXPECT_EQ(result.stats.malformed[static_cast<int>(c.why)], 1u);
        ASSERT_EQ(result.firstSkipped.size(), 1u);
        EXPECT_EQ(result.firstSkipped[0].lineNumber, static_cast<uint64_t>(kCheckedOpeningLines) + 1);
        EXPECT_EQ(result.stats.entryLines, static_cast<uint64_t>(kCheckedOpeningLines) + 1);
        EXPECT_EQ(Parse(result.Entries(kGerEng)).back(), Entry("schlecht", "bad"));
    }
    // Brackets that one side opens and the other closes only look like it
    // when the " :: " is inside them.
    EXPECT_EQ(Import("Smiley /:-)/ :: smiley (face) /:-)/\n").stats.MalformedTotal(), 0u);
    EXPECT_EQ(Import("Klammer / ( / :: bracket / ( /\n").stats.MalformedTotal(), 0u);
}

TEST(DingImport, InputThatIsNoWordListIsRefused)
{
    for (const std::string& nothing : {std::string(), std::string("\n\n"), std::string("# Version :: 1\n# only comments\n"),
                                       std::string("plain text\nwithout any separator\n")}) {
        SCOPED_TRACE(nothing);
        const ImportResult result = Import(nothing);
        EXPECT_EQ(result.refusal, Refusal::NoEntries);
        EXPECT_TRUE(result.Entries(kGerEng).empty());
        EXPECT_TRUE(result.Header(kGerEng).empty());
    }
    const ImportResult latin1 = Import("# Version :: 1\nHaus :: house\nH\xE4user :: houses\n");
    EXPECT_EQ(latin1.refusal, Refusal::NotUtf8);
    EXPECT_EQ(latin1.refusedLine, 3u);
    const char utf16[] = "\xFF\xFEH\0a\0u\0s\0 \0:\0:\0 \0h\0\n\0";
    EXPECT_EQ(Import(std::string(utf16, sizeof utf16 - 1)).refusal, Refusal::NotUtf8);
    // A byte-order mark is not part of the first line, and the last line
    // needs no LF.
    const ImportResult bom = Import("\xEF\xBB\xBFHaus :: house\nMaus :: mouse");
    ASSERT_EQ(bom.refusal, Refusal::None);
    EXPECT_EQ(Parse(bom.Entries(kGerEng)), (std::vector<Entry>{{"Haus", "house"}, {"Maus", "mouse"}}));
}

TEST(DingImport, HeaderNamesItsSourceAndEndsWithTheMarker)
{
    const std::string ding =
        "# Version :: devel 2023-01-30\n"
        "# Copyright (c) :: Frank Richter <frank.richter@example.org>,\n"
        "# License :: GPL Version 2 or later\n"
        "# GerEng Data Starts Here: EngGer Data Starts Here:\n"
        "Haus :: house\n"
        "# a later comment\n";
    const ImportResult result = Import(ding);
    ASSERT_EQ(result.refusal, Refusal::None);
    for (DictionaryDirection d : {kGerEng, kEngGer}) {
        const std::string& header = result.Header(d);
        const std::string marker = std::string(InfoFor(d).marker) + "\r\n";
        ASSERT_GE(header.size(), marker.size());
        EXPECT_EQ(header.substr(header.size() - marker.size()), marker);
        const std::string file = header + result.Entries(d);
        EXPECT_EQ(FindHeaderEnd(reinterpret_cast<const unsigned char*>(file.data()),
                                static_cast<uint32_t>(file.size()), InfoFor(d).marker),
                  header.size() - 2);
        for (const char* wanted : {"test.ding", "Version: devel 2023-01-30", "License: GPL Version 2 or later",
                                   "2024-03-01", "Frank Richter"})
            EXPECT_NE(header.find(wanted), std::string::npos) << wanted;
        EXPECT_EQ(header.find("a later comment"), std::string::npos);
        for (size_t p = header.find('\n'); p != std::string::npos; p = header.find('\n', p + 1))
            EXPECT_EQ(header[p - 1], '\r');
    }
    const std::string bare = Import("Haus :: house\n").Header(kGerEng);
    EXPECT_NE(bare.find("Version: not stated"), std::string::npos);
}

TEST(DingImport, ProgressComesInTenths)
{
    std::string ding;
    for (int i = 0; i < 1000; ++i)
        ding += "Wort" + std::to_string(i) + " :: word\n";
    std::vector<std::pair<uint64_t, int>> calls;
    ImportDing(ding, {"x", "y"}, [&](uint64_t lines, int percent) { calls.emplace_back(lines, percent); });
    ASSERT_EQ(calls.size(), 10u);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_GE(calls[i].second, static_cast<int>(i + 1) * 10);
        EXPECT_LT(calls[i].second, static_cast<int>(i + 2) * 10);
        if (i > 0) {
            EXPECT_GT(calls[i].first, calls[i - 1].first);
        }
    }
    EXPECT_EQ(calls.back(), std::make_pair(uint64_t{1000}, 100));
}

// --- Forms as a reader meets them in a text ---------------------------------

std::vector<std::string> SplitParts(const std::string& side)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    for (size_t at = side.find(" | "); at != std::string::npos; at = side.find(" | ", begin)) {
        parts.push_back(side.substr(begin, at - begin));
        begin = at + 3;
    }
    parts.push_back(side.substr(begin));
    return parts;
}

TEST(Forms, EachKindOfLineListsItsFormsInItsOwnShape)
{
    using K = FormKind;
    const auto kinds = [](const std::string& german, const std::string& english) {
        return FormKindsOf(SplitParts(W(german)), SplitParts(W(english)));
    };
    // The verb's own line names the persons; "ich/er/sie" twice is the
    // preterite, then the subjunctive, which the English says with "would".
    EXPECT_EQ(kinds("gehen {vi} | gehend | gegangen | er/sie geht | ich/er/sie ging | wir/sie gingen | "
                    "er/sie ist/war gegangen | ich/er/sie ginge | Gehen wir!",
                    "to go | going | gone | he/she goes | I/he/she went | we/they went | he/she has/had gone | "
                    "I/he/she would go | Let's go!"),
              (std::vector<K>{K::None, K::PresentParticiple, K::PastParticiple, K::Present, K::Past, K::Past, K::None,
                              K::Subjunctive, K::None}));
    // A synonym line names none: the present, then the preterite.
    EXPECT_EQ(kinds("gehen; laufen {vi} | gehend; laufend | gegangen; gelaufen | geht; läuft | ging; lief | "
                    "Er läuft schnell.",
                    "to walk | walking | walked | walks | walked | He walks fast."),
              (std::vector<K>{K::None, K::PresentParticiple, K::PastParticiple, K::Present, K::Past, K::None}));
    // An impersonal verb names "es" twice; "ich bin", "wir sind" are the present too.
    EXPECT_EQ(kinds("gelten {vi} | geltend | gegolten | es gilt | es galt", "to apply | a | b | c | d")[4], K::Past);
    EXPECT_EQ(kinds("sein {vi} | seiend | gewesen | ich bin | er/sie ist | wir sind | ich/er/sie war",
                    "to be | being | been | I am | he/she is | we are | I/he/she was"),
              (std::vector<K>{K::None, K::PresentParticiple, K::PastParticiple, K::PresentOther, K::Present,
                              K::PresentOther, K::Past}));
    EXPECT_EQ(kinds("können {vt} | ich kann | du kannst | er/sie kann | du konntest | ich/er/sie konnte",
                    "can | I can | you can | he/she can | you could | I/he/she could"),
              (std::vector<K>{K::None, K::PresentOther, K::PresentOther, K::Present, K::None, K::Past}));
    EXPECT_EQ(kinds("Haus {n} | Häuser {pl} | Reihenhaus {n}; Reihenhäuschen {n} | Reihenhäuser {pl} | ein Haus bauen",
                    "house | houses | terraced house | terraced houses | to build a house"),
              (std::vector<K>{K::None, K::Plural, K::None, K::Plural, K::None}));
    EXPECT_EQ(kinds("gut {adj} | besser | am besten | gut gemacht", "good | better | best | well done"),
              (std::vector<K>{K::None, K::Comparative, K::Superlative, K::None}));
    EXPECT_EQ(kinds("schlecht; schlimm {adj} | am schlechtesten; am schlimmsten | nicht schlecht", "bad | worst | not bad"),
              (std::vector<K>{K::None, K::Superlative, K::None}));
    // Examples that happen to begin with a person are no forms.
    EXPECT_EQ(kinds("spielen {vi} | spielend | gespielt | er/sie spielt gern mit dem Ball.", "to play | a | b | c")[3],
              K::None);
}

TEST(Forms, BaseWordsLeaveOutWhatAReaderDoesNotType)
{
    constexpr DictionaryDirection kGerman = kGerEng;
    constexpr DictionaryDirection kEnglish = kEngGer;
    EXPECT_EQ(BaseWord("etw. schreiben {vt}", kGerman), "schreiben");
    EXPECT_EQ(BaseWord("auf jdn. warten {vi}", kGerman), "warten");
    EXPECT_EQ(BaseWord("Zimmer {n} /Zi./", kGerman), "Zimmer");
    EXPECT_EQ(BaseWord("to go {went; gone}", kEnglish), "go");
    EXPECT_EQ(BaseWord("bad ~worse (of a low standard)", kEnglish), "bad");
    EXPECT_EQ(ParticipleOfPerfect(SplitParts(W("wissen | gewissen | ich weiß | er/sie hat/hatte gewusst (gewußt [alt])"))),
              "gewusst");
    EXPECT_EQ(BaseWord("to forgive sb. (for sth.), to pardon sb.", kEnglish), "forgive");
    // A form pairs with the synonym in its place, or where a verb lists
    // its alternatives together, with the one it is spelled most like.
    const std::vector<std::string> show = {"to show {showed; shown, showed}", "to shew [obs.]"};
    EXPECT_EQ(BaseIndexOf(show, 2, 3, "shewn", kEnglish), 1u);
    EXPECT_EQ(BaseIndexOf(show, 1, 3, "showed", kEnglish), 0u);
    EXPECT_EQ(BaseIndexOf(show, 1, 2, "shewn", kEnglish), 1u);
    EXPECT_EQ(BaseIndexOf({"gehen"}, 1, 2, "gingen", kGerman), 0u);
    EXPECT_EQ(BaseIndexOf({}, 0, 1, "ging", kGerman), kNoBase);
    EXPECT_EQ(WithoutPersons("ich/er/sie ging; ich/er/sie lief; es gilt", kGerman), "ging; lief; gilt");
    EXPECT_EQ(WithoutPersons("I/he/she would go; went", kEnglish), "would go; went");
    EXPECT_EQ(BracedForms("to be {was, were; been}", FormKind::Past), (std::vector<std::string>{"was", "were"}));
    EXPECT_EQ(BracedForms("saw {v} {sawed; sawn, sawed}", FormKind::PastParticiple),
              (std::vector<std::string>{"sawn", "sawed"}));
    EXPECT_TRUE(BracedForms("to think {thought; thought}", FormKind::Present).empty());
    // A form whose other words are the base's own, or stand for its object,
    // tells the verb's form; a separable prefix does not.
    FormTable table;
    table.Add("an etw. denken", FormKind::Past, "dachte daran", 5);
    table.Add("anfangen", FormKind::Past, "fing an", 5);
    table.Add("logisch denken", FormKind::PastParticiple, "logisch gedacht", 5);
    EXPECT_EQ(table.Of("denken", FormKind::Past), "dachte");
    EXPECT_EQ(table.Of("denken", FormKind::PastParticiple), "gedacht");
    EXPECT_EQ(table.Of("anfangen", FormKind::Past), "");
}

// A form's entry names its base and gives the form's own translation, and
// comes before the other entries of the same word: of a line that says
// more about the verb, before a headword spelled the same, the past before
// the participle that English spells alike.
TEST(DingImport, FormsNameTheirBaseAndComeFirst)
{
    const std::string ding =
        "gehen; laufen {vi} | gehend; laufend | gegangen; gelaufen | geht; läuft | ging; lief :: "
        "to walk | walking | walked | walks | walked\n"
        "gehen {vi} | gehend | gegangen | er/sie geht | ich/er/sie ging | er/sie ist/war gegangen | Gehen wir! :: "
        "to go {went; gone} | going | gone | he/she goes | I/he/she went | he/she has/had gone | Let's go!\n"
        "Haus {n} | Häuser {pl} :: house | houses\n"
        "gut {adj} | besser | am besten :: good | better | best\n"
        "besser {adj} | bessere | sehr viel besser :: superior | a | b\n"
        "denken {v} :: to think {thought; thought}\n"
        "logisch denken {vi} | logisch denkend | logisch gedacht | denkt logisch | dachte logisch :: "
        "to reason | reasoning | reasoned | reasons | reasoned\n"
        "kaufen {vt} | kaufend | gekauft | er/sie kauft | ich/er/sie kaufte :: "
        "to buy {bought; bought} | buying | bought | he/she buys | I/he/she bought\n"
        "erwerben {vt} | erwerbend | erworben | ein Haus erwerben | Land erwerben | ein Recht erwerben :: "
        "to buy | buying | bought | to buy a house | to buy land | to buy a right\n"
        "sein {vi} | ich bin | du bist | wir sind :: to be | I am | you are | we are\n"
        "etw. wissen {vt} | wissend | gewissen | er/sie hat/hatte gewusst :: "
        "to know {knew; known} | knowing | known | he/she has/had known\n";
    const ImportResult result = Import(ding);
    const std::vector<Entry> german = Parse(result.Entries(kGerEng));
    const std::vector<Entry> english = Parse(result.Entries(kEngGer));
    const auto from = [](const std::vector<Entry>& entries, const std::string& word) {
        std::vector<Entry> found;
        for (const Entry& entry : entries) {
            if (entry.first.compare(0, word.size() + 1, word + " ") == 0)
                found.push_back(entry);
        }
        return found;
    };
    EXPECT_EQ(from(german, "ging"), (std::vector<Entry>{{"ging (past of gehen)", "went"}, {"ging (past of gehen)", "walked"}}));
    EXPECT_EQ(from(german, "geht")[0], Entry("geht (present of gehen)", "goes"));
    EXPECT_EQ(from(english, "went"), (std::vector<Entry>{{"went (past of go)", "ging"}}));
    EXPECT_EQ(from(german, W("Häuser")), (std::vector<Entry>{{W("Häuser {pl} (plural of Haus)"), "houses"}}));
    EXPECT_EQ(from(english, "houses"), (std::vector<Entry>{{"houses (plural of house)", W("Häuser {pl}")}}));
    EXPECT_EQ(from(german, "besser")[0], Entry("besser (comparative of gut)", "better"));
    EXPECT_EQ(from(german, "am")[0], Entry("am besten (superlative of gut)", "best"));
    // ding gives "dachte" only after "logisch"; the braces give "thought".
    EXPECT_EQ(from(german, "dachte")[0], Entry("dachte (past of denken)", "thought"));
    EXPECT_EQ(from(english, "thought")[0], Entry("thought (past of think)", "dachte"));
    EXPECT_EQ(from(english, "bought")[0], Entry("bought (past of buy)", "kaufte"));
    // The line's perfect mends its misspelt participle; the slip stays a
    // line of the import before, so an old file's copy is not kept as a user's.
    EXPECT_EQ(from(english, "known")[0], Entry("known (past participle of know)", "gewusst"));
    EXPECT_NE(result.formerLines[0].find("gewissen"), std::string::npos);
    // "we are" before the "you are" a text seldom says.
    EXPECT_EQ(from(english, "are"), (std::vector<Entry>{{"are (present of be)", "sind"}, {"are (present of be)", "bist"}}));
    // What an import before forms wrote in their place, for telling an old
    // file's own lines from a user's.
    EXPECT_NE(result.formerLines[0].find("ich/er/sie ging" + std::string(28, ' ') + "*I/he/she went\r\n"),
              std::string::npos);
}

// The regular forms a spell checker's list may confirm: each rule offers
// the spelling its language most likely uses first.
TEST(Forms, RegularFormsFollowTheirLanguagesRules)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(GermanRegularPast(W("erzählen"))[0], W("erzählte"));
    EXPECT_EQ(GermanRegularPast("arbeiten")[0], "arbeitete");
    EXPECT_EQ(GermanRegularPast("rechnen")[0], "rechnete");
    EXPECT_EQ(GermanRegularPast("lernen")[0], "lernte");
    EXPECT_EQ(GermanRegularPast("wohnen")[0], "wohnte");
    EXPECT_EQ(GermanRegularPast("sammeln"), V{"sammelte"});
    EXPECT_TRUE(GermanRegularPast("logisch denken").empty());
    EXPECT_EQ(EnglishRegularPast("try"), V{"tried"});
    EXPECT_EQ(EnglishRegularPast("play"), V{"played"});
    EXPECT_EQ(EnglishRegularPast("bake"), V{"baked"});
    EXPECT_EQ(EnglishRegularPast("stop"), (V{"stopped", "stoped"}));
    EXPECT_EQ(EnglishRegularPast("visit"), (V{"visited", "visitted"}));
    EXPECT_EQ(EnglishRegularComparison("easy", FormKind::Superlative), V{"easiest"});
    EXPECT_EQ(EnglishRegularComparison("close", FormKind::Comparative), V{"closer"});
    EXPECT_EQ(EnglishRegularComparison("big", FormKind::Comparative)[0], "bigger");
    EXPECT_TRUE(EnglishRegularComparison("big", FormKind::Past).empty());
    EXPECT_EQ(AttributiveSuperlative(W("am größten")), W("größte"));
    EXPECT_EQ(AttributiveSuperlative("am besten"), "beste");
    EXPECT_EQ(AttributiveSuperlative("am besten [ugs.]"), "");
    EXPECT_EQ(AttributiveSuperlative("best"), "");
    std::string prefix;
    std::string rest;
    EXPECT_TRUE(SplitSeparablePrefix("herausgehen", prefix, rest));
    EXPECT_EQ(prefix + "|" + rest, "heraus|gehen");
    EXPECT_FALSE(SplitSeparablePrefix(W("erzählen"), prefix, rest));
    EXPECT_TRUE(SplitSeparablePrefix("ablagern", prefix, rest));
    EXPECT_EQ(prefix + "|" + rest, "ab|lagern");
    EXPECT_EQ(WithSeparablePrefix("aus", "schaute", FormKind::Past), "schaute aus");
    EXPECT_EQ(WithSeparablePrefix("aus", "geschaut", FormKind::PastParticiple), "ausgeschaut");
    EXPECT_EQ(FormAlternatives("got, gotten"), (V{"got", "gotten"}));
    EXPECT_EQ(FormAlternatives("stood up, rose"), V{"stood up, rose"});
    KnownWords known;
    known.AddList("gr\xC3\xB6\xC3\x9Fte\r\nstopped\n");
    EXPECT_TRUE(known.Holds(W("größte")));
    EXPECT_EQ(FirstKnown(EnglishRegularPast("stop"), known), "stopped");
    EXPECT_EQ(FirstKnown(EnglishRegularPast("visit"), known), "");
}

// With the word lists, the regular forms ding leaves out come in, each
// with its base named; a word the lists lack never does.
TEST(DingImport, RegularFormsComeOnlyFromTheWordLists)
{
    const std::string ding =
        "erzählen {vt} :: to tell {told; told}\n"
        "setzen {vt} :: to put {put; put}\n"
        "legen {vt} :: to put\n"
        "gehen {vi} :: to walk\n"
        "groß {adj} | größer | am größten :: big | bigger | biggest\n"
        "nahe; nah {adj} | näher | am nächsten :: near | nearer | nearest\n"
        "nahe {adj} :: close\n"
        "jdm. etw. verzeihen; vergeben {vt} | verzeihend; vergebend | verziehen; vergeben | ich/er/sie verzieh :: "
        "to forgive sb. sth. {forgave; forgiven} | forgiving | forgiven | I/he/she forgave\n"
        "etw. vergeben {vt} | vergebend | vergeben | ich/er/sie vergab :: "
        "to award sth. | awarding | awarded | I/he/she awarded\n"
        "etw. bekommen {vt} | bekommend | bekommen :: to get sth. | getting | got, gotten\n"
        "frieren {vi} | frierend | gefroren | ich/er/sie fror :: to be cold | being cold | been cold | I/he/she was cold\n"
        "frieren; gefrieren; einfrieren; zufrieren {vi} | es gefriert; es friert ein | es gefror; es fror ein :: "
        "to freeze {froze; frozen} | it freezes | it froze\n"
        "weichen {vi} | weichend | gewichen | ich/er/sie wich :: to yield | yielding | yielded | I/he/she yielded\n"
        "etw. aufweichen {vt} :: to soften sth.\n"
        "arg {adj} | ärger | am ärgsten :: bad | worse | worst\n"
        "mies {adj} | mieser | am miesesten :: lousy | lousier | lousiest\n"
        "mies {adj} :: bad\n"
        "lassen {vt} | lassend | gelassen | ich/er/sie ließ :: to let | letting | let | I/he/she let\n"
        "nachlassen {vi} | nachlassend | nachgelassen :: to sink {sank, sunk; sunk} | sinking | sunk\n";
    KnownWords german;
    KnownWords english;
    german.AddList("erzählte\nlegte\ngrößte\nweichte\n"); // UTF-8, as the lists are
    english.AddList("putted\nwalked\ncloser\nsoftened\n");
    ImportSettings settings("test.ding", "2024-03-01");
    settings.germanWords = &german;
    settings.englishWords = &english;
    settings.wordListNames = "german, english";
    const ImportResult result = ImportDing(ding, settings);
    const auto from = [](const ImportResult& imported, DictionaryDirection d, const std::string& word) {
        std::vector<Entry> found;
        for (const Entry& entry : Parse(imported.Entries(d))) {
            if (entry.first.compare(0, word.size() + 1, word + " ") == 0)
                found.push_back(entry);
        }
        return found;
    };
    EXPECT_EQ(from(result, kGerEng, W("erzählte")), (std::vector<Entry>{{W("erzählte (past of erzählen)"), "told"}}));
    EXPECT_EQ(from(result, kEngGer, "told")[0], Entry("told (past of tell)", W("erzählte")));
    // "put" is irregular where another line says so; "walked" has no
    // German past to pair with, as the list holds no "gehte".
    EXPECT_TRUE(from(result, kEngGer, "putted").empty());
    EXPECT_TRUE(from(result, kEngGer, "walked").empty());
    EXPECT_EQ(from(result, kEngGer, "biggest"), (std::vector<Entry>{{"biggest (superlative of big)", W("größte")},
                                                                     {"biggest (superlative of big)", W("am größten")}}));
    EXPECT_EQ(from(result, kGerEng, W("größte")), (std::vector<Entry>{{W("größte (superlative of groß)"), "biggest"}}));
    EXPECT_EQ(from(result, kEngGer, "closer"), (std::vector<Entry>{{"closer (comparative of close)", W("näher")}}));
    EXPECT_EQ(from(result, kEngGer, "forgave"),
              (std::vector<Entry>{{"forgave (past of forgive)", "verzieh"}, {"forgave (past of forgive)", "vergab"}}));
    EXPECT_EQ(from(result, kEngGer, "gotten")[0], Entry("gotten (past participle of get)", "bekommen"));
    // ding lists two of four forms, not in the verbs' order; the others'
    // come from "frieren"'s own line, "fror zu" as a separable verb's.
    EXPECT_EQ(from(result, kEngGer, "froze"), (std::vector<Entry>{{"froze (past of freeze)", "gefror; fror ein"},
                                                                   {"froze (past of freeze)", "fror; fror zu"}}));
    // English gives "worse" for "bad" wherever a line lists it.
    EXPECT_EQ(from(result, kEngGer, "worse")[1], Entry("worse (comparative of bad)", "mieser"));
    // "sunk" is a past only after "sank": the participle goes first.
    const std::vector<Entry> sunk = from(result, kEngGer, "sunk");
    EXPECT_EQ(sunk[0], Entry("sunk (past participle of sink)", "nachgelassen"));
    EXPECT_NE(std::find(sunk.begin(), sunk.end(), Entry("sunk (past of sink)", W("ließ nach"))), sunk.end());
    // "weichen" is strong, "aufweichen" weak: with both pasts known, none.
    EXPECT_TRUE(from(result, kEngGer, "softened").empty());
    // An import before these forms wrote none of the parts made here.
    for (const Entry& former : Parse(result.formerLines[0]))
        EXPECT_NE(former.first, W("größte"));
    for (const Entry& former : Parse(result.formerLines[1]))
        EXPECT_FALSE(former.second == "vergab" && former.first.find("forgave") != std::string::npos);
    EXPECT_NE(result.Header(kGerEng).find("Regular forms checked against: german, english\r\n"), std::string::npos);
    // Without the lists, only ding's own forms.
    EXPECT_TRUE(from(Import(ding), kGerEng, W("erzählte")).empty());
    EXPECT_TRUE(from(Import(ding), kEngGer, "closer").empty());
}

// strongs.dat: a record line per strong or irregular verb, "û" and three
// 17-byte columns, the meaning, CR LF.
std::string StrongsLine(const std::string& infinitive, const std::string& preterite, const std::string& participle,
                        const std::string& meaning)
{
    std::string line = "\xFB";
    for (const std::string& column : {infinitive, preterite, participle})
        line += W(column) + std::string(17 - W(column).size(), ' ');
    return line + meaning + "\r\n";
}

TEST(DingImport, StrongVerbsFromTheirForms)
{
    const std::string ding =
        // Synonyms, each with its forms; the second is the first with a prefix.
        "finden; vorfinden {vt} | findend; vorfindend | gefunden; vorgefunden | er/sie findet; er/sie findet vor | "
        "ich/er/sie fand; ich/er/sie fand vor :: to find {found; found} | finding | found | finds | found\n"
        // The object first; "fehlen" is weak, so "befehlen" is a verb of its own.
        "jdm. etw. befehlen {vt} | befehlend | befohlen | er/sie befiehlt | ich/er/sie befahl :: "
        "to command sb. to do sth. | commanding | commanded | commands | commanded\n"
        "fehlen {vi} | fehlend | gefehlt | er/sie fehlt | ich/er/sie fehlte :: to be missing | a | b | c | d\n"
        // "verstehen" is "ver" and "stehen".
        "verstehen {vt} | verstehend | verstanden | er/sie versteht | ich/er/sie verstand :: to understand | a | b | c | d\n"
        "stehen {vi} | stehend | gestanden | er/sie steht | ich/er/sie stand :: to stand | a | b | c | d\n"
        // Two preterites; a slip in the participle part that the perfect mends.
        "etw. (im Ofen) backen {vt} | backend | gebacken | ich/er/sie backte; ich/er/sie buk :: to bake sth. | a | b | c\n"
        "etw. wissen {vt} | wissend | gewissen | er/sie weiß | ich/er/sie wusste | er/sie hat/hatte gewusst :: "
        "to know sth. | a | b | c | d | e\n"
        // The short shape; the separable second verb tells the forms of "fangen".
        "beginnen; anfangen {vt} | beginnend; anfangend | begonnen; angefangen | beginnt; fängt an | begann; fing an :: "
        "to begin | beginning | begun | begins | began\n"
        "fangen {vt} :: to catch\n"
        // A slip in the one line with a preterite; the others give the participle.
        "erlöschen {vi} | erlöschend | erlöscht | erlischt | erlosch :: to expire | a | b | c | d\n"
        "erlöschen {vi} (Vulkan) | erlöschend | erloschen :: to become extinct | a | b\n"
        "erlöschen; ersterben {vi} | erlöschend; ersterbend | erloschen; erstorben :: to die away | a | b\n";
    const ImportResult result = Import(ding);
    EXPECT_EQ(result.strongs, StrongsLine("backen", "backte/buk", "gebacken", "to bake sth.") +
                                  StrongsLine("befehlen", "befahl", "befohlen", "to command sb. to do sth.") +
                                  StrongsLine("beginnen", "begann", "begonnen", "to begin") +
                                  StrongsLine("erlöschen", "erlosch", "erloschen", "to expire") +
                                  StrongsLine("fangen", "fing", "gefangen", "to catch") +
                                  StrongsLine("finden", "fand", "gefunden", "to find") +
                                  StrongsLine("stehen", "stand", "gestanden", "to stand") +
                                  StrongsLine("wissen", "wusste", "gewusst", "to know sth."));
    EXPECT_EQ(result.strongStats.verbs, 8u);
    EXPECT_EQ(result.strongStats.compounds, 1u); // verstehen

    // The meaning is the one the dictionary lists first for the verb, not
    // that of the line with the forms.
    const std::string fahren =
        "fahren; navigieren {vt} | fahrend; navigierend | gefahren; navigiert | er/sie fährt; er/sie navigiert | "
        "ich/er/sie fuhr; ich/er/sie navigierte :: to navigate | navigating | navigated | navigates | navigated\n"
        "fahren {vi} | Auto fahren | Rad fahren | Bus fahren | schnell fahren | weit fahren :: "
        "to drive | to drive a car | to ride a bike | to go by bus | to drive fast | to drive far\n";
    EXPECT_EQ(Import(fahren).strongs, StrongsLine("fahren", "fuhr", "gefahren", "to drive"));
}

// The list's table holds 250 records: a word list with more strong verbs
// gives a file of 250 record lines, the verbs ding says most about, and
// the program reads every one of them. The verbs left out are spread over
// the alphabet, so that a cut by the alphabet keeps some of them.
TEST(DingImport, StrongVerbsFitTheTable)
{
    std::string ding;
    const auto stemOf = [](int i) {
        return std::string("s") + static_cast<char>('a' + i / 26 % 26) + static_cast<char>('a' + i % 26);
    };
    // Every sixth says less: a phrase fewer on its line.
    const auto rich = [](int i) { return i % 6 != 0; };
    for (int i = 0; i < 300; ++i) {
        const std::string stem = stemOf(i);
        ding += stem + "ingen {vi} | " + stem + "ingend | ge" + stem + "ungen | er/sie " + stem + "ingt | ich/er/sie " +
                stem + "ang" + (rich(i) ? " | " + stem + "ingen gehen" : "") + " :: to sing | a | b | c | d" +
                (rich(i) ? " | e" : "") + "\n";
    }
    const ImportResult result = Import(ding);
    EXPECT_EQ(result.strongStats.verbs, 250u);
    EXPECT_EQ(result.strongStats.beyondTable, 50u);
    std::string left;
    for (int i = 0; i < 300; ++i) {
        if ((result.strongs.find("\xFB" + stemOf(i) + "ingen ") != std::string::npos) != rich(i))
            left += " " + stemOf(i) + "ingen";
    }
    EXPECT_EQ(left, "") << "kept or left out against what their lines say";
    int lines = 0;
    for (size_t at = 0; at < result.strongs.size(); at = result.strongs.find("\r\n", at) + 2) {
        EXPECT_EQ(result.strongs[at], '\xFB') << "a line that is no record";
        ++lines;
    }
    EXPECT_EQ(lines, 250);
    static ResultTable table;
    const StrongsLoad load = ReadStrongsList(reinterpret_cast<const unsigned char*>(result.strongs.data()),
                                             static_cast<uint32_t>(result.strongs.size()), table);
    EXPECT_EQ(load.recordCount, lines);
}

// The rules that judge a verb's forms, each where it lives.
TEST(StrongVerbRules, AFormIsWeakOrStrong)
{
    using namespace StrongVerbRules;
    EXPECT_TRUE(IsWeak("kaufen", "kaufte", false));
    EXPECT_TRUE(IsWeak("kaufen", "gekauft", true));
    EXPECT_FALSE(IsWeak("finden", "fand", false));
    EXPECT_FALSE(IsWeak("finden", "gefunden", true));
    // A separable verb's preterite stands without its prefix, its
    // participle has "ge" after it.
    EXPECT_TRUE(IsWeak("ausbaggern", "baggerte", false));
    EXPECT_TRUE(IsWeak("ausbaggern", "ausgebaggert", true));
    // A mixed verb: the weak preterite, the strong participle.
    EXPECT_TRUE(IsWeak("backen", "backte", false));
    EXPECT_FALSE(IsWeak("backen", "gebacken", true));
    // From the stem: "-et" after a "t", and a slip of one letter is still
    // the weak form; a vowel change is more than a slip.
    EXPECT_EQ(Stem("wandern"), "wander");
    EXPECT_EQ(Stem("tun"), "tu");
    EXPECT_TRUE(IsWeakFrom("arbeit", "arbeitete", false));
    EXPECT_TRUE(IsWeakFrom("richt", "richtetet", false));
    EXPECT_TRUE(IsWeakFrom("herrsch", "geherscht", true));
    EXPECT_FALSE(IsWeakFrom("brenn", "brannte", false));
}

TEST(StrongVerbRules, APrefixSplitsOffAVerb)
{
    using namespace StrongVerbRules;
    EXPECT_EQ(SeparableBase("ausweichen", "aus"), "weichen");
    EXPECT_EQ(SeparableBase("ausweichen", "an"), "");
    EXPECT_TRUE(IsPrefix("zur\xFC" "ck"));
    EXPECT_FALSE(IsPrefix("fehl"));
    const std::set<std::string> strong = {"stehen", "essen", "tun"};
    EXPECT_TRUE(IsCompound("verstehen", strong));
    EXPECT_TRUE(IsCompound("antun", strong));
    EXPECT_FALSE(IsCompound("stehen", strong));
    // "ver" + "gessen" is no verb of the list; "fehlen" is weak, so not in it.
    EXPECT_FALSE(IsCompound("vergessen", strong));
    EXPECT_FALSE(IsCompound("befehlen", strong));
}

// Where a line holds the preterite and the perfect: after the persons,
// in the short shape without them, and in an impersonal verb's.
TEST(StrongVerbRules, TheShapeOfALine)
{
    using namespace StrongVerbRules;
    const auto shapeOf = [](const std::vector<std::string>& german) {
        std::vector<Part> parts;
        for (const std::string& part : german)
            parts.push_back(Items(W(part)));
        return ShapeOf(parts);
    };
    Shape shape = shapeOf({"wissen", "wissend", "gewusst", "er/sie weiß", "er/sie hat/hatte gewusst",
                           "ich/er/sie wusste", "ich/er/sie wüsste"});
    EXPECT_EQ(std::make_tuple(shape.preterite, shape.perfect, shape.persons), std::make_tuple(5, 4, true));
    shape = shapeOf({"beginnen; anfangen", "beginnend; anfangend", "begonnen; angefangen", "beginnt; fängt an",
                     "begann; fing an"});
    EXPECT_EQ(std::make_tuple(shape.preterite, shape.perfect, shape.persons), std::make_tuple(4, -1, false));
    shape = shapeOf({"gelten", "geltend", "gegolten", "es gilt", "es galt", "es hat/hatte gegolten"});
    EXPECT_EQ(std::make_tuple(shape.preterite, shape.perfect, shape.persons), std::make_tuple(4, 5, true));
    // No preterite: the participles alone, or later parts that are no
    // present in -t and its preterite.
    EXPECT_EQ(shapeOf({"fehlen", "fehlend", "gefehlt"}).preterite, -1);
    EXPECT_EQ(shapeOf({"fehlen", "fehlend", "gefehlt", "Fehler", "Fehlen"}).preterite, -1);
}

// --- The entries a user added ------------------------------------------------------

std::string Line(const std::string& source, const std::string& translation)
{
    return source + std::string(43 - source.size(), ' ') + "*" + translation + "\r\n";
}

std::vector<std::string> Texts(const std::vector<std::string_view>& lines)
{
    return std::vector<std::string>(lines.begin(), lines.end());
}

std::string WithoutRecord(const std::string& header)
{
    const size_t at = header.find("Imported part: ");
    return at == std::string::npos ? header : header.substr(0, at) + header.substr(header.find("\r\n", at) + 2);
}

TEST(KeptEntries, TheRecordedImportedPartEndsWhereTheUsersLinesBegin)
{
    const ImportResult r = Import("Haus :: house\nHund :: dog\n");
    const ImportedPart part = FindImportedPart(r.Header(kGerEng));
    ASSERT_TRUE(part.recorded);
    EXPECT_EQ(part.length, r.Entries(kGerEng).size() + 2) << "from the byte after the marker";
    const std::string user = Line("Igel", "hedgehog");
    const std::string file = r.Header(kGerEng) + r.Entries(kGerEng) + user + "\r\n";
    std::vector<std::string_view> added;
    ASSERT_TRUE(AddedAfterImportedPart(SplitDictionary(file, kGerEng), added));
    EXPECT_EQ(Texts(added), std::vector<std::string>{user.substr(0, user.size() - 2)}) << "the blank line is no entry";

    // One byte of the imported part changed, or the part cut short: the
    // record no longer tells where the user's lines begin.
    std::string edited = file;
    edited[r.Header(kGerEng).size() + 2] = 'h';
    EXPECT_FALSE(AddedAfterImportedPart(SplitDictionary(edited, kGerEng), added));
    const std::string cut = r.Header(kGerEng) + r.Entries(kGerEng).substr(0, 10);
    EXPECT_FALSE(AddedAfterImportedPart(SplitDictionary(cut, kGerEng), added));
    EXPECT_FALSE(FindImportedPart("Imported part: 12 bytes after the marker, FNV-1a 12345\r\n").recorded);
}

TEST(KeptEntries, AnEarlierImportWithoutRecordIsToldApartByItsWordList)
{
    const ImportResult v1 = Import("# Version :: 1\nHaus :: house\nHund :: dog\n");
    const ImportResult v2 = Import("# Version :: 2\nHaus :: house\nHund :: hound\n");
    const std::string user = Line("Igel ", "hedgehog");
    const std::string old = WithoutRecord(v1.Header(kGerEng)) + v1.Entries(kGerEng) + user;
    const std::string dog = Line("Hund", "dog");

    // Made from the same version: the new import holds every line it wrote.
    const KeptEntries same = FindKeptEntries(old, kGerEng, v1.Header(kGerEng), v1.Entries(kGerEng), "", nullptr);
    EXPECT_EQ(same.by, KeptBy::SameWordList);
    EXPECT_EQ(AsFileLines(same.lines), user);
    // From another version: the import of the word list it was made from.
    std::string asked;
    const KeptEntries earlier = FindKeptEntries(
        old, kGerEng, v2.Header(kGerEng), v2.Entries(kGerEng), "",
        [&](const OldDictionary& o, DictionaryDirection d, std::string& wordList) {
            asked = StatedVersion(o.header);
            wordList = "v1.txt";
            return &v1.Entries(d);
        });
    EXPECT_EQ(asked, "1");
    EXPECT_EQ(earlier.by, KeptBy::EarlierWordList);
    EXPECT_EQ(AsFileLines(earlier.lines), user) << "the line ding changed since is not the user's";
    // That word list gone: nothing is lost, the stale line stays.
    const KeptEntries notFound = FindKeptEntries(old, kGerEng, v2.Header(kGerEng), v2.Entries(kGerEng), "", nullptr);
    EXPECT_EQ(notFound.by, KeptBy::WordListNotFound);
    EXPECT_EQ(AsFileLines(notFound.lines), dog + user);
    // A form's line as an import before forms wrote it is the old import's,
    // not the user's.
    const ImportResult forms = Import("# Version :: 1\nHaus {n} | Häuser {pl} :: house | houses\n");
    const std::string plainPlural = Line(W("Häuser {pl}"), "houses");
    ASSERT_EQ(forms.formerLines[0], plainPlural);
    const std::string oldWithPlainPlural = WithoutRecord(forms.Header(kGerEng)) + plainPlural + user;
    const KeptEntries beforeForms = FindKeptEntries(oldWithPlainPlural, kGerEng, forms.Header(kGerEng),
                                                    forms.Entries(kGerEng), forms.formerLines[0], nullptr);
    EXPECT_EQ(AsFileLines(beforeForms.lines), user);
    // A word list that states no version is no evidence of sameness.
    const ImportResult bare = Import("Haus :: house\n");
    EXPECT_EQ(FindKeptEntries(WithoutRecord(bare.Header(kGerEng)) + bare.Entries(kGerEng), kGerEng,
                              bare.Header(kGerEng), bare.Entries(kGerEng), "", nullptr).by,
              KeptBy::WordListNotFound);
}

TEST(KeptEntries, AFileNotMadeByTheImporterKeepsEveryEntryTheNewImportLacks)
{
    const ImportResult r = Import("Haus :: house\n");
    const std::string hedgehog = Line("Igel", "hedgehog");
    const std::string fence = Line("Zaun", "fence");
    const std::string old = "my own\r\nGerEng Data Starts Here:\r\n" + Line("Haus", "house") + "  \r\n12\r\n" +
                            hedgehog + hedgehog + fence.substr(0, fence.size() - 1);
    const KeptEntries kept = FindKeptEntries(old, kGerEng, r.Header(kGerEng), r.Entries(kGerEng), "", nullptr);
    EXPECT_EQ(kept.by, KeptBy::NotImported);
    EXPECT_EQ(AsFileLines(kept.lines), hedgehog + hedgehog + fence)
        << "in their order, lines without a word left out, the last one given its CR LF";
    EXPECT_EQ(FindKeptEntries("EngGer Data Starts Here:\r\n" + hedgehog, kGerEng, r.Header(kGerEng),
                              r.Entries(kGerEng), "", nullptr).by,
              KeptBy::NoMarker);
}

class ImportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("vokabix-import-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    int Run(std::vector<std::string> args)
    {
        log_.str("");
        return RunImport(args, log_);
    }
    std::vector<std::string> Listing(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
    std::ostringstream log_;
};

TEST_F(ImportCommand, WritesBothFilesAndReports)
{
    const std::string input = Write("de-en", "# Version :: 7\nHaus :: house\nx :: <y>\nkaputt\n");
    const fs::path out = dir_ / "new" / "folder";
    ASSERT_EQ(Run({input, out.string()}), kImportOk) << log_.str();
    EXPECT_EQ(Listing(out), (std::vector<std::string>{"EngGer.dat", "GerEng.dat", "strongs.dat"}));
    const std::string gerEng = Read(out / "GerEng.dat");
    EXPECT_NE(gerEng.find("GerEng Data Starts Here:\r\nHaus" + std::string(39, ' ') + "*house\r\n"), std::string::npos);
    EXPECT_NE(Read(out / "EngGer.dat").find("EngGer Data Starts Here:\r\nhouse"), std::string::npos);

    const std::string log = log_.str();
    const std::string size = std::to_string(gerEng.size()) + " bytes";
    for (const std::string wanted : {"read 4 lines", "1 malformed", "skipped line 4", "GerEng.dat: 1 entries", size.c_str()})
        EXPECT_NE(log.find(wanted), std::string::npos) << wanted << "\n" << log;
    // Small inputs report no progress.
    EXPECT_EQ(log.find("10%"), std::string::npos);

    // Running again replaces the files, and keeps the old ones beside them.
    const std::string oldEngGer = Read(out / "EngGer.dat");
    Write("de-en", "Maus :: mouse\n");
    ASSERT_EQ(Run({input, out.string()}), kImportOk);
    EXPECT_EQ(Read(out / "GerEng.dat").find("Haus"), std::string::npos);
    EXPECT_EQ(Listing(out), (std::vector<std::string>{"EngGer.dat", "EngGer.dat.bak", "GerEng.dat", "GerEng.dat.bak",
                                                      "strongs.dat", "strongs.dat.bak"}));
    EXPECT_EQ(Read(out / "GerEng.dat.bak"), gerEng);
    EXPECT_EQ(Read(out / "EngGer.dat.bak"), oldEngGer);
    EXPECT_NE(log_.str().find("GerEng.dat: no entry of the old file kept"), std::string::npos) << log_.str();
    EXPECT_NE(log_.str().find("kept as " + (out / "GerEng.dat.bak").string()), std::string::npos) << log_.str();
}

TEST_F(ImportCommand, FailureLeavesTheOldFilesAlone)
{
    const std::string old = "old\r\nGerEng Data Starts Here:\r\nalt *old\r\n";
    Write("GerEng.dat", old);
    const std::vector<std::string> before = Listing(dir_);

    EXPECT_EQ(Run({Write("empty", ""), dir_.string()}), kImportRefused);
    EXPECT_NE(log_.str().find("Nothing was written"), std::string::npos);
    EXPECT_EQ(Run({Write("latin1", "H\xE4user :: houses\n"), dir_.string()}), kImportRefused);
    EXPECT_NE(log_.str().find("line 1 is not UTF-8"), std::string::npos);
    EXPECT_EQ(Run({(dir_ / "missing").string(), dir_.string()}), kImportFileError);
    EXPECT_EQ(Run({dir_.string(), dir_.string()}), kImportFileError);
    // The output folder is a file.
    EXPECT_EQ(Run({Write("good", "Haus :: house\n"), (dir_ / "empty").string()}), kImportFileError);
    EXPECT_EQ(Run({}), kImportUsage);
    EXPECT_EQ(Run({"a"}), kImportUsage);
    EXPECT_EQ(Run({"a", "b", "c"}), kImportUsage);
    EXPECT_EQ(Run({"--german-words", "a", "b"}), kImportUsage);
    EXPECT_EQ(Run({"--english-words", "x", "--english-words", "y", "a", "b"}), kImportUsage);
    EXPECT_EQ(Run({"--german-words", (dir_ / "missing").string(), Write("good", "Haus :: house\n"), dir_.string()}),
              kImportFileError);

    EXPECT_EQ(Read(dir_ / "GerEng.dat"), old);
    std::vector<std::string> after = Listing(dir_);
    after.erase(std::remove_if(after.begin(), after.end(),
                               [](const std::string& n) { return n == "empty" || n == "latin1" || n == "good"; }),
                after.end());
    EXPECT_EQ(after, before);
}

// A failure at any step of the writing leaves the folder as it was: the old
// files byte for byte, no new one, no temporary file. The message names the
// cause as the platform gave it.
TEST_F(ImportCommand, AFailedWriteLeavesTheOldFilesAsTheyWere)
{
    const std::string old = "old\r\nGerEng Data Starts Here:\r\nalt *old\r\n";
    Write("GerEng.dat", old);
    Write("strongs.dat.bak", "an older backup");
    const std::vector<std::string> before = Listing(dir_);
    const ImportResult result = ImportDing("Haus :: house\n", {"x", "y"});
    std::vector<OutputFile> files;
    for (DictionaryDirection d : {kGerEng, kEngGer})
        files.push_back({InfoFor(d).fileName, {result.Header(d), result.Entries(d)}});
    files.push_back({"strongs.dat", {result.strongs}});

    const struct {
        const char* step;
        FileFailure kind;
        const char* said;
    } cases[] = {{"write 2", FileFailure::DiskFull, "EngGer.dat.part: the disk is full"},
                 {"write 1", FileFailure::Denied, "the folder may not be written"},
                 {"check 1", FileFailure::InUse, "GerEng.dat: the file is in use by another program, probably Vokabix"},
                 {"move 1", FileFailure::Other, "cannot rename"},
                 {"move 3", FileFailure::Other, "EngGer.dat.part to"},
                 {"move 4", FileFailure::InUse, "Close Vokabix"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        std::map<std::string, int> calls;
        const auto failsHere = [&](const char* step, FileError& error) {
            const bool fail = std::string(step) + " " + std::to_string(++calls[step]) == c.step;
            if (fail)
                error = {c.kind, "as injected"};
            return fail;
        };
        FileCalls injected;
        injected.writeNew = [&](const std::string& path, const std::vector<std::string_view>& pieces, FileError& e) {
            return !failsHere("write", e) && WriteNewFile(path, pieces, e);
        };
        injected.canBeReplaced = [&](const std::string& path, FileError& e) {
            return !failsHere("check", e) && CanBeReplaced(path, e);
        };
        injected.moveReplacing = [&](const std::string& from, const std::string& to, FileError& e) {
            return !failsHere("move", e) && MoveReplacing(from, to, e);
        };
        std::vector<std::string> backups;
        std::string error;
        EXPECT_FALSE(WriteDictionaryFiles(dir_.string(), files, backups, error, injected));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_NE(error.find("Nothing was changed"), std::string::npos) << error;
        EXPECT_EQ(Read(dir_ / "GerEng.dat"), old);
        EXPECT_EQ(Read(dir_ / "strongs.dat.bak"), "an older backup");
        EXPECT_EQ(Listing(dir_), before);
    }
}

TEST_F(ImportCommand, TheCausesAreNamedFromThePlatformsCode)
{
    FileError error;
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile((dir_ / "none").string(), bytes, error));
    EXPECT_EQ(error.kind, FileFailure::Missing);
    EXPECT_FALSE(WriteNewFile((dir_ / "none" / "x.part").string(), {"x"}, error));
    EXPECT_EQ(error.kind, FileFailure::Missing);
    // Linux's own full disk: every write to /dev/full fails with ENOSPC.
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(WriteNewFile("/dev/full", {"x"}, error));
        EXPECT_EQ(error.kind, FileFailure::DiskFull);
        EXPECT_EQ(Reason(error, true), "the disk is full");
    }
    fs::create_directories(dir_ / "folder");
    EXPECT_FALSE(CanBeReplaced((dir_ / "folder").string(), error));
    EXPECT_TRUE(CanBeReplaced((dir_ / "none").string(), error));
}

// A file on disk, appended to by the program's own append.
class StringTarget : public AppendTarget {
public:
    explicit StringTarget(std::string& bytes) : bytes_(bytes) {}
    bool Size(uint64_t& size) override
    {
        size = bytes_.size();
        return true;
    }
    bool ReadAt(uint64_t offset, unsigned char* bytes, uint32_t count) override
    {
        return offset + count <= bytes_.size() && (std::memcpy(bytes, bytes_.data() + offset, count), true);
    }
    bool WriteAtEnd(const unsigned char* bytes, uint32_t length, uint32_t& written) override
    {
        bytes_.append(reinterpret_cast<const char*>(bytes), length);
        written = length;
        return true;
    }
    bool Truncate(uint64_t size) override
    {
        bytes_.resize(size);
        return true;
    }
    bool Flush() override { return true; }

private:
    std::string& bytes_;
};

// Adds an entry as the add-word box does; returns the line appended.
std::string AddEntry(const fs::path& file, DictionaryDirection d, const std::string& typed)
{
    EntryRecord record{};
    char message[kComposeMessageBytes];
    EXPECT_EQ(ComposeEntry(reinterpret_cast<const unsigned char*>(typed.data()), static_cast<uint32_t>(typed.size()),
                           d, record, message),
              ComposeOutcome::Composed);
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    StringTarget target(bytes);
    EXPECT_EQ(AppendLine(target, record.bytes, record.length), AppendResult::Appended);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return std::string(reinterpret_cast<const char*>(record.bytes), record.length);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(ImportCommand, TheUsersEntriesSurviveANewerWordList)
{
    const fs::path out = dir_ / "Vokabix";
    ASSERT_EQ(Run({Write("v1", "# Version :: 1\nHaus :: house\nHund :: dog\nKatze :: cat\nMaus :: mouse\n"),
                   out.string()}),
              kImportOk);
    // An editor saved EngGer.dat without its last CR LF.
    std::string english = Read(out / "EngGer.dat");
    english.resize(english.size() - 2);
    std::ofstream(out / "EngGer.dat", std::ios::binary | std::ios::trunc) << english;
    const std::string kale = AddEntry(out / "GerEng.dat", kGerEng, W("Grünkohl (m) kale"));
    const std::string fox = AddEntry(out / "GerEng.dat", kGerEng, "Fuchs (m) fox");
    const std::string owl = AddEntry(out / "EngGer.dat", kEngGer, W("owl: Eule (f)"));
    const std::string hedgehog = AddEntry(out / "GerEng.dat", kGerEng, "Igel hedgehog");
    const std::string oldGerman = Read(out / "GerEng.dat");
    const std::string oldEnglish = Read(out / "EngGer.dat");

    // ding changed the dog, dropped the cat and added the hedgehog.
    ASSERT_EQ(Run({Write("v2", "# Version :: 2\nHaus :: house\nHund :: hound\nIgel :: hedgehog\nMaus :: mouse\n"),
                   out.string()}),
              kImportOk)
        << log_.str();
    const std::string german = Read(out / "GerEng.dat");
    const std::string englishNow = Read(out / "EngGer.dat");
    EXPECT_EQ(german.substr(german.size() - kale.size() - fox.size()), kale + fox);
    EXPECT_EQ(englishNow.substr(englishNow.size() - owl.size()), owl);
    for (const std::string& line : {kale, fox, hedgehog})
        EXPECT_EQ(Count(german, line), 1u) << line;
    EXPECT_EQ(Count(englishNow, owl), 1u);
    for (const std::string& gone : {std::string("*dog"), std::string("Katze"), std::string("*cat")})
        EXPECT_EQ(Count(german, gone), 0u) << gone;
    EXPECT_EQ(Count(englishNow, "dog "), 0u);
    EXPECT_EQ(Read(out / "GerEng.dat.bak"), oldGerman);
    EXPECT_EQ(Read(out / "EngGer.dat.bak"), oldEnglish);
    const std::string log = log_.str();
    EXPECT_NE(log.find("GerEng.dat: 2 entries of the old file kept"), std::string::npos) << log;
    EXPECT_NE(log.find("Grünkohl (m) * kale"), std::string::npos) << log;
    EXPECT_NE(log.find("EngGer.dat: 1 entry of the old file kept"), std::string::npos) << log;
}

// Files of an earlier importer name the word list they came from; the de-en
// release ships it beside them, so a newer list finds the older one there.
TEST_F(ImportCommand, AnEarlierImportIsToldApartWithTheWordListBesideIt)
{
    const fs::path out = dir_ / "Vokabix";
    const std::string v1 = "# Version :: 1\nHaus :: house\nHund :: dog\n";
    ASSERT_EQ(Run({Write("gone.txt", v1), out.string()}), kImportOk);
    fs::remove(dir_ / "gone.txt");
    std::ofstream(out / "de-en.txt", std::ios::binary) << v1;
    for (const char* name : {"GerEng.dat", "EngGer.dat"}) {
        const std::string bytes = Read(out / name);
        std::ofstream(out / name, std::ios::binary | std::ios::trunc) << WithoutRecord(bytes);
    }
    const std::string fox = AddEntry(out / "GerEng.dat", kGerEng, "Fuchs (m) fox");
    EXPECT_EQ(WordListVersion(v1), "1");

    ASSERT_EQ(Run({Write("v2", "# Version :: 2\nHaus :: house\nHund :: hound\n"), out.string()}), kImportOk);
    const std::string german = Read(out / "GerEng.dat");
    EXPECT_EQ(german.substr(german.size() - fox.size()), fox);
    EXPECT_EQ(Count(german, "*dog"), 0u);
    EXPECT_NE(log_.str().find("the import of " + (out / "de-en.txt").string()), std::string::npos) << log_.str();
}

TEST_F(ImportCommand, TheProgramRunsAsACommand)
{
    const std::string input = Write("de-en", "Haus :: house\n");
    const std::string command = std::string("'") + VOKABIX_IMPORT + "' '" + input + "' '" + dir_.string() +
                                "/out' 2>'" + dir_.string() + "/log'";
    ASSERT_EQ(std::system(command.c_str()), 0) << Read(dir_ / "log");
    EXPECT_TRUE(fs::exists(dir_ / "out" / "GerEng.dat"));
    EXPECT_NE(Read(dir_ / "log").find("EngGer.dat: 1 entries"), std::string::npos);
    const std::string refused = std::string("'") + VOKABIX_IMPORT + "' '" + Write("e", "") + "' '" +
                                dir_.string() + "/out2' 2>/dev/null";
    const int status = std::system(refused.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kImportRefused);
    EXPECT_FALSE(fs::exists(dir_ / "out2"));
}

} // namespace
