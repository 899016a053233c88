// korvex-assets: regenerates the committed images and font data under the
// resources folder from code and font files. Run from the repository root:
//   build/native/korvex-assets --out resources
// Outputs are deterministic: a second run rewrites nothing.
#include <cstdio>
#include <cstring>

#include "asset_stages.h"

namespace {

struct Stage {
    const char* name;
    const char* what;
    bool (*run)(const AssetContext&);
};

const Stage kStages[] = {
    {"fonts", "distance-field font atlases and glyph tables", runSdfFontStage},
    {"bitmap-font", "the read-out's bitmap font", runBitmapFontStage},
    {"artwork", "panel, picture buttons, dialog images and icons", runArtworkStage},
};

void usage() {
    std::printf(
        "usage: korvex-assets [--out DIR] [--preview DIR] [--npm DIR] [--only STAGE]...\n"
        "  --out DIR      committed outputs (default: resources)\n"
        "  --preview DIR  preview pictures (default: build/assets)\n"
        "  --npm DIR      node_modules with the web-font packages\n"
        "  --only STAGE   run only this stage (may repeat); stages:\n");
    for (const Stage& stage : kStages) std::printf("    %-12s %s\n", stage.name, stage.what);
}

}  // namespace

int main(int argc, char** argv) {
    AssetContext context = defaultAssetContext();
    bool selected[sizeof(kStages) / sizeof(kStages[0])] = {};
    bool anySelected = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--out") && hasValue) {
            context.outDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--preview") && hasValue) {
            context.previewDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--npm") && hasValue) {
            context.npmDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--only") && hasValue) {
            const char* name = argv[++i];
            bool known = false;
            for (size_t s = 0; s < sizeof(kStages) / sizeof(kStages[0]); ++s) {
                if (!std::strcmp(kStages[s].name, name)) selected[s] = known = true;
            }
            if (!known) {
                std::fprintf(stderr, "korvex-assets: unknown stage '%s'\n", name);
                return 2;
            }
            anySelected = true;
        } else {
            usage();
            return !std::strcmp(argv[i], "--help") ? 0 : 2;
        }
    }
    bool ok = true;
    for (size_t s = 0; s < sizeof(kStages) / sizeof(kStages[0]); ++s) {
        if (anySelected && !selected[s]) continue;
        if (!kStages[s].run(context)) {
            std::fprintf(stderr, "korvex-assets: stage '%s' failed\n", kStages[s].name);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
