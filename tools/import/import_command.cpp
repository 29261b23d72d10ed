#include "import_command.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "data/strongs_list.h"
#include "kept_entries.h"

namespace fs = std::filesystem;

namespace {

const char kStrongsFileName[] = "strongs.dat";

// The example names the word list where a user of this build finds it: the
// release zip ships it as de-en.txt, Debian's trans-de-en installs it.
#ifdef _WIN32
#define VOKABIX_DING_EXAMPLE "de-en.txt"
#else
#define VOKABIX_DING_EXAMPLE "/usr/share/trans/de-en"
#endif

const char kUsage[] =
    "usage: vokabix-import [--german-words FILE] [--english-words FILE] INPUT OUTDIR\n"
    "  INPUT   a ding word list in UTF-8 (\"German :: English\" lines), such as " VOKABIX_DING_EXAMPLE "\n"
    "  OUTDIR  the folder for GerEng.dat, EngGer.dat and strongs.dat; it is made if missing. Files of those\n"
    "          names in it are replaced and kept as NAME.bak; entries added to the old dictionaries are\n"
    "          carried over to the end of the new ones\n"
    "  --german-words FILE, --english-words FILE\n"
    "          a spell checker's word list, one word per line in UTF-8 (Debian's wngerman and\n"
    "          wamerican: /usr/share/dict/ngerman, /usr/share/dict/american-english): regular forms\n"
    "          that ding leaves out (\"erzählte\", \"closer\") are added where the list holds them\n"
    "exit status: 0 done, 1 a file could not be read or written, 2 wrong arguments,\n"
    "             3 INPUT is not a ding word list in UTF-8\n";

// Below this an import takes a blink; progress lines would only be noise.
constexpr size_t kProgressFromBytes = 1u << 20;

const DictionaryDirection kDirections[] = {DictionaryDirection::GermanToEnglish,
                                           DictionaryDirection::EnglishToGerman};

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char text[16] = "unknown date";
    if (local != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d", local);
    return text;
}

// Reads the word list, or a dictionary file when it is there. A file the
// user cannot read is named with its cause before anything is imported.
bool ReadFileOf(const std::string& path, std::string& bytes, std::string& error)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "it is a folder";
        return false;
    }
    FileError failure;
    if (ReadWholeFile(path, bytes, failure))
        return true;
    error = Reason(failure, false);
    return false;
}

std::string PathIn(const std::string& folder, const std::string& name)
{
    return (fs::path(folder) / name).string();
}

std::string Percent(uint64_t part, uint64_t whole)
{
    if (whole == 0)
        return "0%";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return text;
}

uint64_t LinesBytes(const std::vector<std::string_view>& lines)
{
    uint64_t bytes = 0;
    for (const std::string_view line : lines)
        bytes += line.size() + 2;
    return bytes;
}

void PrintSummary(const ImportResult& result, const KeptEntries* kept, const std::string& folder, double seconds,
                  std::ostream& log)
{
    const ImportStats& s = result.stats;
    log << "vokabix-import: read " << s.linesRead << " lines: " << s.entryLines << " entry lines, "
        << s.commentLines << " comments, " << s.blankLines << " blank, " << s.MalformedTotal()
        << " malformed (skipped)\n";
    for (int why = 0; why < kMalformedKinds; ++why) {
        if (s.malformed[why] != 0)
            log << "vokabix-import:   " << s.malformed[why] << " with " << MalformedName(static_cast<Malformed>(why))
                << "\n";
    }
    for (const SkippedLine& skipped : result.firstSkipped)
        log << "vokabix-import:   skipped line " << skipped.lineNumber << ": " << MalformedName(skipped.why) << "\n";
    if (s.MalformedTotal() > result.firstSkipped.size())
        log << "vokabix-import:   (only the first " << result.firstSkipped.size() << " are listed)\n";

    for (DictionaryDirection d : kDirections) {
        const DirectionStats& ds = s.Of(d);
        const fs::path file = fs::path(folder) / InfoFor(d).fileName;
        const uint64_t bytes =
            result.Header(d).size() + result.Entries(d).size() + LinesBytes(kept[static_cast<int>(d)].lines);
        log << "vokabix-import: " << file.string() << ": " << ds.entries << " entries, " << bytes << " bytes; "
            << ds.longSources << " sources over " << kMaxSourceBytes << " bytes (" << Percent(ds.longSources, ds.entries)
            << ") written without padding\n";
        log << "vokabix-import:   left out: " << ds.noLetter << " sources without a letter to search from, "
            << ds.noTranslation << " without a translation; in sources: " << ds.starsDropped << " \"*\" dropped, "
            << ds.quotesPlain << " typographic quotes typed as ' or \"\n";
        log << "vokabix-import:   " << ds.wordFirst << " entries written a second time with their word first (\"sehen (etw.) {vt}\", \"go {v}\")\n";
        log << "vokabix-import:   " << ds.forms << " entries of a form that name its base word (\"ging (past of gehen)\")\n";
    }
    const StrongVerbStats& strong = result.strongStats;
    log << "vokabix-import: " << (fs::path(folder) / kStrongsFileName).string() << ": " << strong.verbs
        << " strong and irregular verbs; left out: " << strong.compounds << " made of a prefix and another of them, "
        << strong.beyondTable << " beyond the " << kStrongsCapacity << " the list holds, " << strong.tooLong
        << " with a form too long for its column\n";
    log << "vokabix-import: hidden <...> text left out " << s.hiddenDropped << " times; " << s.emptySynonyms
        << " empty synonyms passed over\n";
    log << "vokabix-import: characters outside Windows-1252: " << s.fixes.Total();
    const char* joiner = " (";
    for (int kind = 0; kind < kFixKinds; ++kind) {
        const Fix fix = static_cast<Fix>(kind);
        log << joiner << FixName(fix) << ": " << s.fixes[fix];
        joiner = ", ";
    }
    log << ")\n";
    char took[32];
    std::snprintf(took, sizeof took, "%.2f", seconds);
    log << "vokabix-import: done in " << took << " s\n";
}

// How many kept entries the report shows of each file.
constexpr size_t kKeptShown = 5;

// A kept line as the user typed it: the source without its padding, then
// the translation.
std::string Shown(std::string_view line)
{
    const size_t star = line.find('*');
    if (star == std::string_view::npos)
        return ForTheConsole(std::string(line));
    std::string_view source = line.substr(0, star);
    while (!source.empty() && source.back() == ' ')
        source.remove_suffix(1);
    return ForTheConsole(std::string(source) + " * " + std::string(line.substr(star + 1)));
}

std::string HowKept(const KeptEntries& kept, const std::string& name)
{
    switch (kept.by) {
    case KeptBy::ImportedPart:
        return "the entries added after the part its import wrote";
    case KeptBy::SameWordList:
        return "the lines that this import, of the same word list, lacks";
    case KeptBy::EarlierWordList:
        return "the lines that the import of " + kept.wordList + ", the word list it was made from, lacks";
    case KeptBy::WordListNotFound:
        return "the old " + name + " was made from another version of the word list, which was not found (neither "
               "the file its header names nor de-en.txt in the folder): every line the new import lacks, so none of "
               "yours is lost, but some may be entries that ding has changed or dropped since";
    case KeptBy::NotImported:
        return "the old " + name + " was not made by vokabix-import: every entry the new import lacks";
    case KeptBy::NoMarker:
    case KeptBy::NoOldFile:
        break;
    }
    return std::string();
}

void PrintKept(const KeptEntries& kept, const std::string& path, std::ostream& log)
{
    const std::string name = fs::path(path).filename().string();
    if (kept.by == KeptBy::NoOldFile)
        return;
    if (kept.by == KeptBy::NoMarker) {
        log << "vokabix-import: the old " << path << " has no data marker, so it holds no entries: none kept\n";
        return;
    }
    const size_t count = kept.lines.size();
    log << "vokabix-import: " << path << ": "
        << (count == 0 ? std::string("no entry") : std::to_string(count) + (count == 1 ? " entry" : " entries"))
        << " of the old file kept, at the end after the imported ones (" << HowKept(kept, name) << ")"
        << (count == 0 ? "\n" : ":\n");
    for (size_t i = 0; i < kept.lines.size() && i < kKeptShown; ++i)
        log << "vokabix-import:   " << Shown(kept.lines[i]) << "\n";
    if (kept.lines.size() > kKeptShown)
        log << "vokabix-import:   and " << kept.lines.size() - kKeptShown << " more\n";
}

void PrintBackups(const std::vector<std::string>& backups, std::ostream& log)
{
    if (backups.empty())
        return;
    log << "vokabix-import: the files it replaced are kept as";
    for (size_t i = 0; i < backups.size(); ++i)
        log << (i == 0 ? " " : i + 1 == backups.size() ? " and " : ", ") << backups[i];
    log << " (one generation: the next import replaces them)\n";
}

// One file's place in the writing: where it goes, and how far it got.
struct Replacement {
    std::string target;
    std::string part;
    std::string backup;
    bool existed = false;
    bool movedAway = false; // the old file is the .bak now
    bool placed = false;    // the new file is in place
};

// Undoes every step taken: the old files back, the new ones and every
// temporary file gone. Says what could not be put back, if anything.
std::string PutBack(std::vector<Replacement>& steps, const FileCalls& calls)
{
    std::string trouble;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        FileError ignored;
        if (step->movedAway && !calls.moveReplacing(step->backup, step->target, ignored))
            trouble += " The old " + step->target + " could not be put back: it is " + step->backup + ".";
        else if (!step->movedAway && step->placed)
            RemoveFileQuietly(step->target);
        RemoveFileQuietly(step->part);
    }
    return trouble.empty() ? " Nothing was changed." : trouble;
}

// Every old file, and the .bak it will become, must be replaceable before
// the first is replaced: an import replaces all of them or none.
bool CheckReplaceable(std::vector<Replacement>& steps, const FileCalls& calls, std::string& error)
{
    for (Replacement& step : steps) {
        step.existed = FileExists(step.target);
        FileError failure;
        for (const std::string* path : {&step.target, &step.backup}) {
            if (step.existed && !calls.canBeReplaced(*path, failure)) {
                error = "cannot replace " + *path + ": " + Reason(failure, false) + ".";
                return false;
            }
        }
    }
    return true;
}

bool ReplaceAll(std::vector<Replacement>& steps, const FileCalls& calls, std::string& error)
{
    for (Replacement& step : steps) {
        FileError failure;
        if (step.existed && !calls.moveReplacing(step.target, step.backup, failure)) {
            error = "cannot rename " + step.target + " to " + step.backup + ": " + Reason(failure, false) + ".";
            return false;
        }
        step.movedAway = step.existed;
        if (!calls.moveReplacing(step.part, step.target, failure)) {
            error = "cannot rename " + step.part + " to " + step.target + ": " + Reason(failure, false) + ".";
            return false;
        }
        step.placed = true;
    }
    return true;
}

} // namespace

std::string Reason(const FileError& error, bool creating)
{
    switch (error.kind) {
    case FileFailure::InUse:
        return "the file is in use by another program, probably Vokabix. Close Vokabix, then run the import again";
    case FileFailure::Denied:
        return creating ? "the folder may not be written: it is read-only, or you lack the right to write there"
                        : "it may not be changed: it or its folder is read-only, or you lack the right to change it";
    case FileFailure::DiskFull:
        return "the disk is full";
    case FileFailure::Missing:
        return "it is not there";
    case FileFailure::None:
    case FileFailure::Other:
        break;
    }
    return error.detail;
}

bool WriteDictionaryFiles(const std::string& folder, const std::vector<OutputFile>& files,
                          std::vector<std::string>& backups, std::string& error, const FileCalls& calls)
{
    std::vector<Replacement> steps;
    for (const OutputFile& file : files) {
        Replacement step;
        step.target = PathIn(folder, file.name);
        step.part = step.target + ".part";
        step.backup = step.target + ".bak";
        steps.push_back(step);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        FileError failure;
        if (!calls.writeNew(steps[i].part, files[i].pieces, failure)) {
            error = "cannot write " + steps[i].part + ": " + Reason(failure, true) + "." + PutBack(steps, calls);
            return false;
        }
    }
    if (!CheckReplaceable(steps, calls, error) || !ReplaceAll(steps, calls, error)) {
        error += PutBack(steps, calls);
        return false;
    }
    backups.clear();
    for (const Replacement& step : steps)
        if (step.existed)
            backups.push_back(step.backup);
    return true;
}

std::string WordListVersion(const std::string& wordList)
{
    DingImporter leading;
    size_t pos = wordList.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < wordList.size() && leading.Stats().entryLines == 0) {
        size_t end = wordList.find('\n', pos);
        if (end == std::string::npos)
            end = wordList.size();
        leading.AddLine(wordList.substr(pos, end - pos));
        pos = end + 1;
    }
    return StatedVersion(BuildHeader(DictionaryDirection::GermanToEnglish, {}, leading.LeadingComments(), {}));
}

namespace {

// The import of the word list an old file was made from, found beside it or
// where its header says, made once for both files.
class EarlierImports {
public:
    explicit EarlierImports(const std::string& folder) : folder_(folder) {}

    const std::string* Find(const OldDictionary& old, DictionaryDirection d, std::string& wordList)
    {
        const std::string version = StatedVersion(old.header);
        if (version.empty())
            return nullptr;
        if (version != version_)
            Load(version, HeaderField(old.header, "Source"));
        wordList = path_;
        return path_.empty() ? nullptr : &lines_[static_cast<int>(d)];
    }

private:
    void Load(const std::string& version, std::string source)
    {
        version_ = version;
        path_.clear();
        const std::string kSourceSuffix = " (ding word list)";
        if (source.size() > kSourceSuffix.size() && source.compare(source.size() - kSourceSuffix.size(),
                                                                   kSourceSuffix.size(), kSourceSuffix) == 0)
            source.resize(source.size() - kSourceSuffix.size());
        for (const std::string& path : {source, PathIn(folder_, "de-en.txt")}) {
            std::string text;
            std::string unused;
            if (path.empty() || !ReadFileOf(path, text, unused) || WordListVersion(text) != version)
                continue;
            ImportResult earlier = ImportDing(text, {path, ""});
            if (earlier.refusal == Refusal::None) {
                path_ = path;
                for (int i = 0; i < 2; ++i)
                    lines_[i] = std::move(earlier.entries[i]) + earlier.formerLines[i];
                return;
            }
        }
    }

    std::string folder_;
    std::string version_;
    std::string path_;
    std::string lines_[2]; // each direction's entries and former lines
};

struct OldFiles {
    bool there[2] = {};
    std::string bytes[2];
};

// The dictionary files already in the folder. One that is there but cannot
// be read stops the import: its user's entries would be lost.
bool ReadOldFiles(const std::string& folder, OldFiles& old, std::ostream& log)
{
    for (DictionaryDirection d : kDirections) {
        const std::string path = PathIn(folder, InfoFor(d).fileName);
        FileError failure;
        old.there[static_cast<int>(d)] = FileExists(path);
        if (!old.there[static_cast<int>(d)] || ReadWholeFile(path, old.bytes[static_cast<int>(d)], failure))
            continue;
        log << "vokabix-import: cannot read " << path << ": " << Reason(failure, false)
            << ". Nothing was written.\n";
        return false;
    }
    return true;
}

bool Refused(const ImportResult& result, const std::string& inputPath, std::ostream& log)
{
    switch (result.refusal) {
    case Refusal::NotUtf8:
        log << "vokabix-import: " << inputPath << " is not a ding word list in UTF-8: line " << result.refusedLine
            << " is not UTF-8 text (a Latin-1 or UTF-16 file must be converted first). Nothing was written.\n";
        return true;
    case Refusal::NoEntries:
        log << "vokabix-import: " << inputPath << " is not a ding word list: it has no usable line of the form "
            << "\"German :: English\" (" << result.stats.linesRead << " lines, " << result.stats.MalformedTotal()
            << " malformed). Nothing was written.\n";
        return true;
    case Refusal::None:
        break;
    }
    return false;
}

ImportResult ImportInput(std::string& input, ImportSettings settings, std::ostream& log)
{
    ImportProgress progress;
    if (input.size() >= kProgressFromBytes) {
        progress = [&log](uint64_t lines, int percent) {
            log << "vokabix-import: " << percent << "% (" << lines << " lines)\n";
        };
    }
    settings.date = Today();
    ImportResult result = ImportDing(input, settings, progress);
    input = std::string();
    return result;
}

bool MakeFolder(const std::string& folder, std::ostream& log)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec && fs::is_directory(folder, ec))
        return true;
    log << "vokabix-import: cannot use " << folder << " as the output folder"
        << (ec ? ": " + ec.message() : std::string()) << "\n";
    return false;
}

// The entries to carry over from each old file, by the rules of
// FindKeptEntries; the old word list, if needed, is imported once for both.
void FindAllKept(const std::string& folder, const OldFiles& old, const ImportResult& result, KeptEntries* kept)
{
    EarlierImports earlier(folder);
    const EarlierImportFinder finder = [&earlier](const OldDictionary& o, DictionaryDirection d, std::string& list) {
        return earlier.Find(o, d, list);
    };
    for (DictionaryDirection d : kDirections) {
        const int i = static_cast<int>(d);
        if (old.there[i])
            kept[i] = FindKeptEntries(old.bytes[i], d, result.header[i], result.entries[i], result.formerLines[i],
                                      finder);
    }
}

struct ImportArguments {
    std::string input;
    std::string folder;
    std::string wordLists[2]; // German, English; empty when not given
};

bool ParseArguments(const std::vector<std::string>& args, ImportArguments& out)
{
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const int list = args[i] == "--german-words" ? 0 : args[i] == "--english-words" ? 1 : -1;
        if (list >= 0) {
            if (i + 1 == args.size() || args[i + 1].empty() || !out.wordLists[list].empty())
                return false;
            out.wordLists[list] = args[++i];
        } else if (args[i].empty() || args[i][0] == '-') {
            return false;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2)
        return false;
    out.input = positional[0];
    out.folder = positional[1];
    return true;
}

// The header names each list by its file name, so that the same import can
// be made again.
bool ReadWordLists(const ImportArguments& arguments, KnownWords (&known)[2], ImportSettings& settings,
                   std::ostream& log)
{
    for (int i = 0; i < 2; ++i) {
        const std::string& path = arguments.wordLists[i];
        if (path.empty())
            continue;
        std::string text;
        std::string error;
        if (!ReadFileOf(path, text, error)) {
            log << "vokabix-import: cannot read " << path << ": " << error << "\n";
            return false;
        }
        known[i].AddList(text);
        const size_t slash = path.find_last_of("/\\");
        settings.wordListNames += (settings.wordListNames.empty() ? "" : ", ") +
                                  (slash == std::string::npos ? path : path.substr(slash + 1));
    }
    settings.germanWords = known[0].Empty() ? nullptr : &known[0];
    settings.englishWords = known[1].Empty() ? nullptr : &known[1];
    return true;
}

} // namespace

int RunImport(const std::vector<std::string>& args, std::ostream& log)
{
    ImportArguments arguments;
    if (!ParseArguments(args, arguments)) {
        log << kUsage;
        return kImportUsage;
    }
    const std::string& inputPath = arguments.input;
    const std::string& folder = arguments.folder;
    const auto started = std::chrono::steady_clock::now();

    std::string input;
    std::string error;
    OldFiles old;
    KnownWords known[2];
    ImportSettings settings;
    settings.sourceName = inputPath;
    if (!ReadWordLists(arguments, known, settings, log))
        return kImportFileError;
    if (!ReadFileOf(inputPath, input, error)) {
        log << "vokabix-import: cannot read " << inputPath << ": " << error << "\n";
        return kImportFileError;
    }
    if (!ReadOldFiles(folder, old, log))
        return kImportFileError;
    const ImportResult result = ImportInput(input, settings, log);
    if (Refused(result, inputPath, log))
        return kImportRefused;
    if (!MakeFolder(folder, log))
        return kImportFileError;

    KeptEntries kept[2];
    FindAllKept(folder, old, result, kept);
    const std::string keptLines[2] = {AsFileLines(kept[0].lines), AsFileLines(kept[1].lines)};
    std::vector<OutputFile> outputs;
    for (DictionaryDirection d : kDirections) {
        const int i = static_cast<int>(d);
        outputs.push_back({InfoFor(d).fileName, {result.header[i], result.entries[i], keptLines[i]}});
    }
    outputs.push_back({kStrongsFileName, {result.strongs}});

    std::vector<std::string> backups;
    if (!WriteDictionaryFiles(folder, outputs, backups, error)) {
        log << "vokabix-import: " << error << "\n";
        return kImportFileError;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    PrintSummary(result, kept, folder, took.count(), log);
    for (DictionaryDirection d : kDirections)
        PrintKept(kept[static_cast<int>(d)], PathIn(folder, InfoFor(d).fileName), log);
    PrintBackups(backups, log);
    return kImportOk;
}
