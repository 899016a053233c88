// korvex-host validate [--strictness 1..10] [--seed N] [--require-editor]
//                      [--only TEXT] PLUGIN
// Puts any VST 2.4 effect through the validation battery: one line per check
// ("PASS", "FAIL" or "SKIP", its name, what it covered or why), then
// "N passed, N failed (N skipped)". Exit 0 when nothing failed, 1 when a
// check failed, 2 when the plug-in cannot be loaded at all.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tools/host/Commands.h"
#include "tools/host/PluginLibrary.h"
#include "tools/host/PresetFile.h"
#include "tools/host/validator/CheckAudio.h"
#include "tools/host/validator/Validator.h"

namespace {

struct ValidateOptions {
    int strictness = 5;
    uint32_t seed = 1;
    bool requireEditor = false;
    std::string only;  // run only the checks whose name contains this
    std::string path;
};

bool parseWhole(const std::string& text, long min, long max, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0 && value >= min && value <= max;
}

std::string parseOptions(const Arguments& args, ValidateOptions& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        long number = 0;
        if (arg == "--strictness" || arg == "--seed" || arg == "--only") {
            if (i + 1 >= args.size()) return "validate: " + arg + " needs a value";
            const std::string& v = args[++i];
            if (arg == "--only") {
                o.only = v;
            } else if (arg == "--strictness") {
                if (!parseWhole(v, 1, 10, number))
                    return "validate: --strictness " + v + " is not 1 to 10";
                o.strictness = static_cast<int>(number);
            } else {
                if (!parseWhole(v, 0, 0xFFFFFFFFL, number))
                    return "validate: bad --seed '" + v + "'";
                o.seed = static_cast<uint32_t>(number);
            }
        } else if (arg == "--require-editor") {
            o.requireEditor = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "validate: unknown option '" + arg + "'";
        } else if (o.path.empty()) {
            o.path = arg;
        } else {
            return "validate: unexpected argument '" + arg + "'";
        }
    }
    if (o.path.empty())
        return "validate: missing plug-in path (korvex-host validate [--strictness N] PLUGIN)";
    return "";
}

const char* statusWord(CheckResult::Status status) {
    switch (status) {
        case CheckResult::Status::Pass: return "PASS";
        case CheckResult::Status::Fail: return "FAIL";
        default: return "SKIP";
    }
}

}  // namespace

int runValidate(const Arguments& args) {
    ValidateOptions o;
    const std::string complaint = parseOptions(args, o);
    if (!complaint.empty()) return usageError(complaint);

    std::string error;
    std::unique_ptr<PluginLibrary> library(PluginLibrary::open(o.path, error));
    if (!library) return usageError(error);
    if (!library->entryPoint())
        return usageError("plug-in '" + o.path + "' exports neither VSTPluginMain nor main");
    {
        std::unique_ptr<PluginInstance> probe = PluginInstance::create(library->entryPoint());
        if (!probe)
            return usageError("plug-in '" + o.path + "' returned no effect from its entry point");
        std::string name;
        probe->text(effGetEffectName, 0, 0, 256, name);
        std::printf("validating %s ('%s' version %d) at strictness %d, seed %u\n",
                    name.empty() ? o.path.c_str() : name.c_str(),
                    fourCharacters(probe->effect()->uniqueID).c_str(), probe->effect()->version,
                    o.strictness, o.seed);
    }

    std::vector<Check> checks;
    addLifecycleChecks(checks);
    addAudioChecks(checks);
    addStateChecks(checks);
    addThreadChecks(checks);
    addEditorChecks(checks);

    int passed = 0, failed = 0, skipped = 0;
    for (const Check& check : checks) {
        if (!o.only.empty() && std::string(check.name).find(o.only) == std::string::npos) continue;
        CheckContext ctx;
        ctx.pluginPath = o.path;
        ctx.strictness = o.strictness;
        ctx.seed = o.seed;
        ctx.requireEditor = o.requireEditor;
        ctx.random.seed(o.seed);
        // A check that loads the library itself runs while ours is unloaded,
        // so that its unloading really unloads.
        if (check.loadsLibraryItself) library.reset();
        ctx.entry = library ? library->entryPoint() : nullptr;
        const auto start = std::chrono::steady_clock::now();
        const CheckResult result = check.run(ctx);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!library) {
            library.reset(PluginLibrary::open(o.path, error));
            if (!library) return usageError("reloading: " + error);
        }
        switch (result.status) {
            case CheckResult::Status::Pass: ++passed; break;
            case CheckResult::Status::Fail: ++failed; break;
            case CheckResult::Status::Skip: ++skipped; break;
        }
        std::printf("%s  %s%s%s  [%.2f s]\n", statusWord(result.status), check.name,
                    result.detail.empty() ? "" : ": ", result.detail.c_str(), seconds);
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed (%d skipped)\n", passed, failed, skipped);
    return failed ? 1 : 0;
}
