// korvex-host: a small command-line VST 2.4 host for users and tests.
#include <cstdio>
#include <string>

#include "tools/host/Commands.h"
#include "tools/host/PluginLibrary.h"

int usageError(const std::string& message) {
    std::fprintf(stderr, "korvex-host: %s\n", message.c_str());
    return 2;
}

int main(int argc, char** argv) {
    initHostPlatform();
    if (argc < 2)
        return usageError(
            "missing command (info, render, compare, testsignal, preset, bank, validate, editor)");
    const std::string command = argv[1];
    Arguments args(argv + 2, argv + argc);
    if (command == "info") return runInfo(args);
    if (command == "render") return runRender(args);
    if (command == "compare") return runCompare(args);
    if (command == "testsignal") return runTestSignal(args);
    if (command == "preset") return runPreset(args);
    if (command == "bank") return runBank(args);
    if (command == "validate") return runValidate(args);
    if (command == "editor") return runEditor(args);
    if (command == "--help" || command == "help") {
        std::printf(
            "usage: korvex-host info [--json] [--trace] PLUGIN\n"
            "       korvex-host render [--rate HZ] [--block FRAMES] [--tail SECONDS]\n"
            "                          [--bank IN.fxb] [--preset IN.fxp] [--program N]\n"
            "                          [--param INDEX=VALUE | --param NAME=VALUE]... [--bypass]\n"
            "                          PLUGIN [IN.wav] OUT.wav\n"
            "       korvex-host preset save [--bank IN.fxb] [--preset IN.fxp] [--program N]\n"
            "                               [--param KEY=VALUE]... PLUGIN OUT.fxp\n"
            "       korvex-host bank save [--bank IN.fxb] [--preset IN.fxp] [--program N]\n"
            "                             [--param KEY=VALUE]... PLUGIN OUT.fxb\n"
            "       korvex-host preset load PLUGIN IN.fxp\n"
            "       korvex-host bank load PLUGIN IN.fxb\n"
            "       korvex-host validate [--strictness 1..10] [--seed N] [--require-editor]\n"
            "                            [--only TEXT] PLUGIN\n"
            "       korvex-host editor [--wait MS] [--size WxH] [--program N] [--param "
            "KEY=VALUE]...\n"
            "                          [--bypass] [--log-host-calls] [ACTION]... PLUGIN\n"
            "         actions, in the order given (coordinates in the window's client area):\n"
            "           --click X,Y  --double-click X,Y  --drag X1,Y1,X2,Y2[,STEPS]  --pause MS\n"
            "           --click-window TITLE X,Y  --screenshot FILE.png\n"
            "           --screenshot-window TITLE FILE.png  --list-windows  --print-params\n"
            "       korvex-host compare [--tolerance RELATIVE] A.wav B.wav\n"
            "       korvex-host testsignal [--rate HZ] OUT.wav\n");
        return 0;
    }
    return usageError("unknown command '" + command + "'");
}
