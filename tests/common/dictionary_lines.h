// Dictionary files for tests, in the form the program writes them.
#pragma once
#include <string>

// One line: source, blanks up to column 43, "*", translation, CR LF.
inline std::string FixedLine(const std::string& source, const std::string& translation)
{
    std::string line = source;
    if (line.size() < 43)
        line.append(43 - line.size(), ' ');
    return line + "*" + translation + "\r\n";
}

inline std::string GerEngFile(const std::string& data)
{
    return "Vokabix test dictionary\r\nGerEng Data Starts Here:\r\n" + data;
}

inline std::string EngGerFile(const std::string& data)
{
    return "Vokabix test dictionary\r\nEngGer Data Starts Here:\r\n" + data;
}

// count lines "<stem><i>", i from 0, each with the translation "t<i>".
inline std::string NumberedLines(const std::string& stem, int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += FixedLine(stem + std::to_string(i), "t" + std::to_string(i));
    return lines;
}
