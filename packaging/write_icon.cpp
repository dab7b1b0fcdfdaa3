// Writes a program's icon, kept as PNG bytes beside its resources, to a
// file for the desktop's icon theme: the one picture serves both.
#include <cstdio>

namespace {

constexpr unsigned char kIcon[] = {
#include KESTRO_ICON
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_icon FILE.png\n", stderr);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(kIcon, 1, sizeof kIcon, out) == sizeof kIcon;
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
