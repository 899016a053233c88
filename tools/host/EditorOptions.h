// The options of `korvex-host editor`: how the plug-in is set up before its
// editor opens, and the actions performed on the open editor, in the order
// they were given.
#pragma once

#include <string>
#include <vector>

#include "tools/host/Commands.h"
#include "tools/host/PluginState.h"

struct EditorAction {
    enum class Kind {
        Click,             // x, y in the host window's client area
        DoubleClick,       // x, y
        Drag,              // x, y to x2, y2 in steps moves
        ClickWindow,       // x, y in the client area of the window titled text
        Pause,             // ms of message pumping
        Screenshot,        // the host window's client area to file
        ScreenshotWindow,  // the window titled text to file
        ListWindows,       // the process's top-level windows on stdout
        PrintParams,       // every parameter's value on stdout
    };
    Kind kind = Kind::Click;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int steps = 0;
    int ms = 0;
    std::string text;  // a window title
    std::string file;
};

struct EditorOptions {
    int waitMs = 500;           // pumping before the first action and before each report
    int width = 0, height = 0;  // --size; 0 keeps the stored size
    bool bypass = false;
    bool logHostCalls = false;
    StateOptions state;  // --bank, --preset, --program, --param
    std::vector<EditorAction> actions;
    std::string pluginPath;
};

constexpr int kDefaultDragSteps = 10;

// Parses the arguments after "editor". Answers an empty text when they are
// fine, else the one-line complaint naming the argument ("editor: ...").
std::string parseEditorOptions(const Arguments& args, EditorOptions& options);
