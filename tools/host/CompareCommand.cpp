// korvex-host compare [--tolerance T] A.wav B.wav: the largest difference
// between two renders, relative to A's peak. Exit 0 when within tolerance
// (default 0: bit-exact), 1 when not, 2 when a file cannot be read.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/host/Commands.h"
#include "tools/host/WavFile.h"

int runCompare(const Arguments& args) {
    double tolerance = 0.0;
    std::string paths[2];
    int count = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--tolerance") {
            char* end = nullptr;
            if (i + 1 >= args.size()) return usageError("compare: --tolerance needs a value");
            tolerance = std::strtod(args[++i].c_str(), &end);
            if (!end || *end || !(tolerance >= 0.0))
                return usageError("compare: bad --tolerance '" + args[i] + "'");
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return usageError("compare: unknown option '" + args[i] + "'");
        } else if (count < 2) {
            paths[count++] = args[i];
        } else {
            return usageError("compare: unexpected argument '" + args[i] + "'");
        }
    }
    if (count != 2) return usageError("compare: expected A.wav B.wav");
    StereoAudio a, b;
    std::string error;
    if (!readWav(paths[0], a, error) || !readWav(paths[1], b, error)) return usageError(error);
    if (a.frames() != b.frames() || a.sampleRate != b.sampleRate) {
        std::printf("differ: %zu frames at %g Hz against %zu frames at %g Hz\n", a.frames(),
                    double(a.sampleRate), b.frames(), double(b.sampleRate));
        return 1;
    }
    double peak = 0.0, worst = 0.0;
    size_t worstFrame = 0, differing = 0;
    for (size_t i = 0; i < a.frames(); ++i) {
        for (int c = 0; c < 2; ++c) {
            const double x = c ? a.right[i] : a.left[i];
            const double y = c ? b.right[i] : b.left[i];
            peak = std::fmax(peak, std::fabs(x));
            // NaN in either file counts as the largest possible difference.
            const double d = (std::isfinite(x) && std::isfinite(y)) ? std::fabs(x - y) : INFINITY;
            if (d > 0.0) ++differing;
            if (d > worst) {
                worst = d;
                worstFrame = i;
            }
        }
    }
    const double relative = peak > 0.0 ? worst / peak : worst;
    std::printf(
        "frames %zu, peak %.9g, differing samples %zu, largest difference %.9g "
        "(%.3g of peak) at frame %zu\n",
        a.frames(), peak, differing, worst, relative, worstFrame);
    return relative <= tolerance ? 0 : 1;
}
