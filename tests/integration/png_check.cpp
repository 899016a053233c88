// Verdicts on PNG pictures for the editor tests (stb_image from libstb-dev):
//   png_check size A.png                  prints WIDTHxHEIGHT
//   png_check same A.png B.png            exit 0 when every pixel is equal
//   png_check differs A.png B.png X,Y,W,H exit 0 when some pixel in the box differs
//   png_check pixel A.png X,Y             prints the pixel's RED,GREEN,BLUE
// Exit 1 with a line saying why when the verdict is no, 2 on bad usage.
// Pixels are compared as red, green and blue; alpha is ignored. The pictures
// come from windows under Wine, or from the native editor under X11.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

bool load(const char* path, Picture& p) {
    int channels = 0;
    unsigned char* data = stbi_load(path, &p.width, &p.height, &channels, 3);
    if (!data) {
        std::printf("cannot read '%s'\n", path);
        return false;
    }
    p.rgb.assign(data, data + size_t(p.width) * p.height * 3);
    stbi_image_free(data);
    return true;
}

bool parseBox(const char* text, Box& b) {
    return std::sscanf(text, "%d,%d,%d,%d", &b.x, &b.y, &b.w, &b.h) == 4 && b.w > 0 && b.h > 0;
}

bool sameSize(const Picture& a, const Picture& b) {
    if (a.width == b.width && a.height == b.height) return true;
    std::printf("sizes differ: %dx%d and %dx%d\n", a.width, a.height, b.width, b.height);
    return false;
}

bool inside(const Picture& p, const Box& b) {
    if (b.x >= 0 && b.y >= 0 && b.x + b.w <= p.width && b.y + b.h <= p.height) return true;
    std::printf("box %d,%d,%d,%d leaves the %dx%d picture\n", b.x, b.y, b.w, b.h, p.width,
                p.height);
    return false;
}

// Counts the differing pixels of a and b inside box, reporting the first.
long countDifferences(const Picture& a, const Picture& b, const Box& box) {
    long count = 0;
    for (int y = box.y; y < box.y + box.h; ++y) {
        for (int x = box.x; x < box.x + box.w; ++x) {
            const unsigned char* p = a.at(x, y);
            const unsigned char* q = b.at(x, y);
            if (p[0] == q[0] && p[1] == q[1] && p[2] == q[2]) continue;
            if (count == 0)
                std::printf("first difference at %d,%d: %d,%d,%d against %d,%d,%d\n", x, y, p[0],
                            p[1], p[2], q[0], q[1], q[2]);
            ++count;
        }
    }
    return count;
}

int usage() {
    std::fprintf(stderr,
                 "usage: png_check size A | same A B | differs A B X,Y,W,H | pixel A X,Y\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Binary output: under Wine a text-mode CR would end up in the scripts' comparisons.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 3) return usage();
    const std::string verb = argv[1];
    Picture a, b;
    Box box;
    if (verb == "size" && argc == 3) {
        if (!load(argv[2], a)) return 1;
        std::printf("%dx%d\n", a.width, a.height);
        return 0;
    }
    if (verb == "same" && argc == 4) {
        if (!load(argv[2], a) || !load(argv[3], b) || !sameSize(a, b)) return 1;
        const long n = countDifferences(a, b, Box{0, 0, a.width, a.height});
        if (n == 0) return 0;
        std::printf("%ld of %d pixels differ\n", n, a.width * a.height);
        return 1;
    }
    if (verb == "differs" && argc == 5) {
        if (!parseBox(argv[4], box)) return usage();
        if (!load(argv[2], a) || !load(argv[3], b) || !sameSize(a, b) || !inside(a, box)) return 1;
        const long n = countDifferences(a, b, box);
        if (n > 0) return 0;
        std::printf("no pixel differs in %d,%d,%d,%d\n", box.x, box.y, box.w, box.h);
        return 1;
    }
    if (verb == "pixel" && argc == 4) {
        int x = 0, y = 0;
        if (std::sscanf(argv[3], "%d,%d", &x, &y) != 2) return usage();
        if (!load(argv[2], a) || !inside(a, Box{x, y, 1, 1})) return 1;
        std::printf("%d,%d,%d\n", a.at(x, y)[0], a.at(x, y)[1], a.at(x, y)[2]);
        return 0;
    }
    return usage();
}
