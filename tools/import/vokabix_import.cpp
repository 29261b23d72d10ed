// vokabix-import INPUT OUTDIR: builds the program's dictionary files from a
// ding word list such as /usr/share/trans/de-en.
#include <iostream>
#include <string>
#include <vector>

#include "import_command.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return RunImport(args, std::cerr);
}
