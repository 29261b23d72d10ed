// vokabix-kbdgen OUTDIR
//
// Re-makes the three keyboard layout bitmaps (kbd_normal.bmp, kbd_shift.bmp,
// kbd_alt.bmp) that are compiled into the program as resources. Run it after
// changing the key table or the font and commit the results; the unit tests
// fail while the committed files and the drawing code disagree.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "kbd_picture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vokabix-kbdgen OUTDIR\n");
        return 2;
    }
    const std::string directory = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        std::fprintf(stderr, "vokabix-kbdgen: cannot create %s: %s\n", directory.c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::string error;
    if (!kbdgen::WritePictures(directory, &error)) {
        std::fprintf(stderr, "vokabix-kbdgen: %s\n", error.c_str());
        return 1;
    }
    for (kbdgen::Layout layout : kbdgen::kAllLayouts) {
        std::printf("%s/%s %dx%d\n", directory.c_str(), kbdgen::PictureFileName(layout),
                    kbdgen::PictureWidth(layout), kbdgen::PictureHeight(layout));
    }
    return 0;
}
