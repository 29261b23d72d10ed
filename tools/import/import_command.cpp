#include "import_command.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "data/strongs_list.h"

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
    "usage: vokabix-import INPUT OUTDIR\n"
    "  INPUT   a ding word list in UTF-8 (\"German :: English\" lines), such as " VOKABIX_DING_EXAMPLE "\n"
    "  OUTDIR  the folder for GerEng.dat, EngGer.dat and strongs.dat; it is made if missing, and files of\n"
    "          those names in it are replaced\n"
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

bool ReadWhole(const std::string& path, std::string& bytes, std::string& error)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = "it is a folder";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = errno != 0 ? std::strerror(errno) : "cannot open it";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        error = "cannot tell its size";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(&bytes[0], size)) {
        error = "reading failed";
        return false;
    }
    return true;
}

void RemoveQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

std::string Percent(uint64_t part, uint64_t whole)
{
    if (whole == 0)
        return "0%";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return text;
}

void PrintSummary(const ImportResult& result, const std::string& folder, double seconds, std::ostream& log)
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
        const uint64_t bytes = result.Header(d).size() + result.Entries(d).size();
        log << "vokabix-import: " << file.string() << ": " << ds.entries << " entries, " << bytes << " bytes; "
            << ds.longSources << " sources over " << kMaxSourceBytes << " bytes (" << Percent(ds.longSources, ds.entries)
            << ") written without padding\n";
        log << "vokabix-import:   left out: " << ds.noLetter << " sources without a letter to search from, "
            << ds.noTranslation << " without a translation; in sources: " << ds.starsDropped << " \"*\" dropped, "
            << ds.quotesPlain << " typographic quotes typed as ' or \"\n";
        log << "vokabix-import:   " << ds.wordFirst << " entries written a second time with their word first (\"sehen (etw.) {vt}\", \"go {v}\")\n";
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

} // namespace

bool WriteDictionaryFiles(const std::string& folder, const ImportResult& result, std::string& error)
{
    struct Output {
        std::string name;
        const std::string* head;
        const std::string* body;
    };
    const std::string none;
    std::vector<Output> outputs;
    for (DictionaryDirection d : kDirections)
        outputs.push_back({InfoFor(d).fileName, &result.Header(d), &result.Entries(d)});
    outputs.push_back({kStrongsFileName, &none, &result.strongs});

    std::vector<fs::path> temporaries;
    const auto fail = [&](const std::string& why) {
        error = why;
        for (const fs::path& temporary : temporaries)
            RemoveQuietly(temporary);
        return false;
    };
    for (const Output& output : outputs) {
        const fs::path temporary = fs::path(folder) / (output.name + ".part");
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return fail("cannot create " + temporary.string());
        temporaries.push_back(temporary);
        out.write(output.head->data(), static_cast<std::streamsize>(output.head->size()));
        out.write(output.body->data(), static_cast<std::streamsize>(output.body->size()));
        out.close();
        if (out.fail())
            return fail("cannot write " + temporary.string() + " (disk full?)");
    }
    for (size_t i = 0; i < temporaries.size(); ++i) {
        const fs::path final = fs::path(folder) / outputs[i].name;
        std::error_code ec;
        fs::rename(temporaries[i], final, ec);
        if (ec) {
            // Files already renamed stay: each is complete on its own.
            temporaries.erase(temporaries.begin(), temporaries.begin() + static_cast<std::ptrdiff_t>(i));
            return fail("cannot replace " + final.string() + ": " + ec.message());
        }
    }
    return true;
}

int RunImport(const std::vector<std::string>& args, std::ostream& log)
{
    if (args.size() != 2 || args[0].empty() || args[1].empty() || args[0][0] == '-') {
        log << kUsage;
        return kImportUsage;
    }
    const std::string& inputPath = args[0];
    const std::string& folder = args[1];
    const auto started = std::chrono::steady_clock::now();

    std::string input;
    std::string error;
    if (!ReadWhole(inputPath, input, error)) {
        log << "vokabix-import: cannot read " << inputPath << ": " << error << "\n";
        return kImportFileError;
    }

    ImportProgress progress;
    if (input.size() >= kProgressFromBytes) {
        progress = [&log](uint64_t lines, int percent) {
            log << "vokabix-import: " << percent << "% (" << lines << " lines)\n";
        };
    }
    const ImportResult result = ImportDing(input, {inputPath, Today()}, progress);
    input = std::string();

    switch (result.refusal) {
    case Refusal::NotUtf8:
        log << "vokabix-import: " << inputPath << " is not a ding word list in UTF-8: line " << result.refusedLine
            << " is not UTF-8 text (a Latin-1 or UTF-16 file must be converted first). Nothing was written.\n";
        return kImportRefused;
    case Refusal::NoEntries:
        log << "vokabix-import: " << inputPath << " is not a ding word list: it has no usable line of the form "
            << "\"German :: English\" (" << result.stats.linesRead << " lines, " << result.stats.MalformedTotal()
            << " malformed). Nothing was written.\n";
        return kImportRefused;
    case Refusal::None:
        break;
    }

    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        log << "vokabix-import: cannot use " << folder << " as the output folder"
            << (ec ? ": " + ec.message() : std::string()) << "\n";
        return kImportFileError;
    }
    if (!WriteDictionaryFiles(folder, result, error)) {
        log << "vokabix-import: " << error << "\n";
        return kImportFileError;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    PrintSummary(result, folder, took.count(), log);
    return kImportOk;
}
