// Inflected forms as a reader meets them in a text: "ging", "Häuser",
// "besser", "went", "children". ding lists them in the parts after a word,
// in a fixed order for each kind of word (a verb's participles, present and
// preterite; a noun's plural after the singular; an adjective's comparison),
// and the other side lists the same forms in the same order. The import
// writes such a part's entries with the form first and a note that names
// the word it is a form of: "ging (past of gehen)", "went (past of go)".
// Everything here works on the Windows-1252 text of one line's parts.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/dictionary_format.h"

enum class FormKind : uint8_t {
    None,
    PresentParticiple, // "gehend", "going"
    PastParticiple,    // "gegangen", "gone"
    Present,           // "er/sie geht", "he/she goes": the third person
    PresentOther,      // "ich bin", "du isst", "wir sind": the other persons, after the third in rank
    Past,              // "ich/er/sie ging", "wir/sie gingen", "I/he/she went"
    Subjunctive,       // "ich/er/sie ginge", "I/he/she would go"
    Plural,            // "Häuser {pl}", "houses"
    Comparative,       // "besser", "better"
    Superlative,       // "am besten", "best"
};

// The words of the note: "past" in "ging (past of gehen)".
const char* FormName(FormKind kind);

// The kind of form each part of a line lists, judged from its German side
// (the English side follows its order); None for a part that is no form:
// the word itself, examples, phrases, the perfect ("er/sie ist/war
// gegangen"), the first and second persons.
std::vector<FormKind> FormKindsOf(const std::vector<std::string>& germanParts,
                                  const std::vector<std::string>& englishParts);

// The part whose synonyms are the words that part `index` lists forms of:
// the line's first part, or for a plural the part before it ("Reihenhaus
// {n} | Reihenhäuser {pl}" in the middle of a line).
size_t BasePartOf(const std::vector<FormKind>& kinds, size_t index);

// Which of the base part's synonyms the form at formIndex (of formCount)
// is a form of: the one in the same place, where the base part has as many
// or more (the later are other spellings: "spazierengehen [alt]"); else
// the one whose word it begins most alike, as ding lists a verb's
// alternative forms together ("shown; showed; shewn" of "to show; to
// shew"). kNoBase where the base part has none.
constexpr size_t kNoBase = static_cast<size_t>(-1);
size_t BaseIndexOf(const std::vector<std::string>& bases, size_t formIndex, size_t formCount, const std::string& form,
                   DictionaryDirection language);

// A form without the persons that ding names before it: "ich/er/sie ging"
// is "ging", "I/he/she would go" is "would go". language is the side the
// text is from. Each "; " synonym of a part loses its own persons.
std::string WithoutPersons(const std::string& text, DictionaryDirection language);

// The word a reader learns, from a synonym of the base part: without its
// notes, labels and forms in brackets, without the objects and reflexives
// it is written with, without the "to" of an English infinitive:
// "etw. schreiben {vt}" is "schreiben", "to go {went; gone}" is "go",
// "Haus {n}" is "Haus".
std::string BaseWord(const std::string& synonym, DictionaryDirection language);

// The spellings a form lists as one synonym: "got, gotten" is "got" and
// "gotten"; a form with words of more than one word between its commas
// ("to stand up, to rise") is left whole.
std::vector<std::string> FormAlternatives(const std::string& form);

// The source of a form's entry: "ging (past of gehen)"; the form keeps its
// own labels ("Häuser {pl} (plural of Haus)").
std::string FormSource(const std::string& form, FormKind kind, const std::string& base);

// The form's words outside brackets, blanks collapsed: what is compared
// with its base to see whether the form is a word of its own.
std::string BareForm(const std::string& form);

// The past participle that a verb line's perfect names ("er/sie hat/hatte
// gewusst" gives "gewusst"), or an empty string. It mends the participle
// part where ding misspells it ("wissen | wissend | gewissen").
std::string ParticipleOfPerfect(const std::vector<std::string>& germanParts);

// The irregular forms an English verb carries in braces: "to think
// {thought; thought}" gives "thought" for the past and the participle,
// "saw {v} {sawed; sawn, sawed}" "sawn" and "sawed" for the participle.
// Nothing for other kinds, or where the braces hold no such pair.
std::vector<std::string> BracedForms(const std::string& englishSynonym, FormKind kind);

// The one-word forms of German verbs and the comparison of adjectives
// that some line lists, for lines about the same word that list none: "an
// etw. denken | ... | dachte daran" gives "dachte" as the past of "denken",
// "nah {adj} | näher | am nächsten" gives "näher" for "nah". Where several
// lines give a form, the one with most parts, where ding says most about
// the word, wins.
class FormTable {
public:
    // form as a form part of a line with `parts` parts writes it, base
    // that part's base synonym ("an etw. denken").
    void Add(const std::string& base, FormKind kind, const std::string& form, uint32_t parts);
    // The form, or an empty string.
    std::string Of(const std::string& verb, FormKind kind) const;

private:
    struct Known {
        std::string form;
        uint32_t parts;
    };
    std::map<std::pair<std::string, FormKind>, Known> forms_;
};
