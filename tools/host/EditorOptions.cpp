// Parsing the options of `korvex-host editor`.
#include "tools/host/EditorOptions.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Window coordinates may lie outside the window (a drag that leaves it),
// but not beyond what a screen can hold.
constexpr long kCoordinateLimit = 32767;
constexpr long kSizeLimit = 16384;
constexpr long kMillisecondLimit = 600000;
constexpr long kStepLimit = 1000;

bool parseWhole(const std::string& text, long min, long max, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == 0 && value >= min && value <= max;
}

// Splits "a<sep>b<sep>c" into whole numbers within [min, max]; the count
// must lie within [fewest, most].
bool parseList(const std::string& text, char separator, size_t fewest, size_t most, long min,
               long max, std::vector<long>& values) {
    values.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        long value = 0;
        if (!parseWhole(text.substr(start, end - start), min, max, value)) return false;
        values.push_back(value);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return values.size() >= fewest && values.size() <= most;
}

bool isPngName(const std::string& path) {
    return path.size() > 4 && (path.compare(path.size() - 4, 4, ".png") == 0 ||
                               path.compare(path.size() - 4, 4, ".PNG") == 0);
}

class Parser {
public:
    Parser(const Arguments& args, EditorOptions& options) : args_(args), o_(options) {}

    std::string run() {
        for (i_ = 0; i_ < args_.size(); ++i_) {
            std::string complaint;
            const int taken = parseStateOption(args_, i_, o_.state, "editor", complaint);
            if (taken < 0) return complaint;
            if (taken > 0) continue;
            complaint = option(args_[i_]);
            if (!complaint.empty()) return complaint;
        }
        if (o_.pluginPath.empty())
            return "editor: missing plug-in path (korvex-host editor PLUGIN)";
        return "";
    }

private:
    bool value(std::string& out) {
        if (i_ + 1 >= args_.size()) return false;
        out = args_[++i_];
        return true;
    }

    std::string point(const std::string& arg, const std::string& v, EditorAction& a) {
        std::vector<long> n;
        if (!parseList(v, ',', 2, 2, -kCoordinateLimit, kCoordinateLimit, n))
            return "editor: bad " + arg + " '" + v + "' (use X,Y)";
        a.x = static_cast<int>(n[0]);
        a.y = static_cast<int>(n[1]);
        return "";
    }

    std::string option(const std::string& arg) {
        std::string v, w;
        long number = 0;
        std::vector<long> n;
        EditorAction a;
        if (arg == "--bypass") {
            o_.bypass = true;
        } else if (arg == "--log-host-calls") {
            o_.logHostCalls = true;
        } else if (arg == "--list-windows" || arg == "--print-params") {
            a.kind = arg == "--list-windows" ? EditorAction::Kind::ListWindows
                                             : EditorAction::Kind::PrintParams;
            o_.actions.push_back(a);
        } else if (arg == "--wait" || arg == "--pause") {
            if (!value(v)) return "editor: " + arg + " needs a value";
            if (!parseWhole(v, 0, kMillisecondLimit, number))
                return "editor: bad " + arg + " '" + v + "' (milliseconds, 0 to 600000)";
            if (arg == "--wait") {
                o_.waitMs = static_cast<int>(number);
            } else {
                a.kind = EditorAction::Kind::Pause;
                a.ms = static_cast<int>(number);
                o_.actions.push_back(a);
            }
        } else if (arg == "--size") {
            if (!value(v)) return "editor: --size needs a value";
            if (!parseList(v, 'x', 2, 2, 1, kSizeLimit, n))
                return "editor: bad --size '" + v + "' (use WIDTHxHEIGHT)";
            o_.width = static_cast<int>(n[0]);
            o_.height = static_cast<int>(n[1]);
        } else if (arg == "--click" || arg == "--double-click") {
            if (!value(v)) return "editor: " + arg + " needs a value";
            std::string complaint = point(arg, v, a);  // not const: returned by move
            if (!complaint.empty()) return complaint;
            a.kind = arg == "--click" ? EditorAction::Kind::Click : EditorAction::Kind::DoubleClick;
            o_.actions.push_back(a);
        } else if (arg == "--drag") {
            if (!value(v)) return "editor: --drag needs a value";
            if (!parseList(v, ',', 4, 5, -kCoordinateLimit, kCoordinateLimit, n) ||
                (n.size() == 5 && (n[4] < 1 || n[4] > kStepLimit)))
                return "editor: bad --drag '" + v + "' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)";
            a.kind = EditorAction::Kind::Drag;
            a.x = static_cast<int>(n[0]);
            a.y = static_cast<int>(n[1]);
            a.x2 = static_cast<int>(n[2]);
            a.y2 = static_cast<int>(n[3]);
            a.steps = n.size() == 5 ? static_cast<int>(n[4]) : kDefaultDragSteps;
            o_.actions.push_back(a);
        } else if (arg == "--click-window" || arg == "--screenshot-window") {
            if (!value(v) || !value(w)) return "editor: " + arg + " needs a title and a value";
            if (v.empty()) return "editor: " + arg + " needs a window title";
            a.text = v;
            if (arg == "--click-window") {
                std::string complaint = point(arg, w, a);  // not const: returned by move
                if (!complaint.empty()) return complaint;
                a.kind = EditorAction::Kind::ClickWindow;
            } else {
                if (!isPngName(w)) return "editor: " + arg + " file '" + w + "' is not a .png";
                a.kind = EditorAction::Kind::ScreenshotWindow;
                a.file = w;
            }
            o_.actions.push_back(a);
        } else if (arg == "--screenshot") {
            if (!value(v)) return "editor: --screenshot needs a value";
            if (!isPngName(v)) return "editor: --screenshot file '" + v + "' is not a .png";
            a.kind = EditorAction::Kind::Screenshot;
            a.file = v;
            o_.actions.push_back(a);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "editor: unknown option '" + arg + "'";
        } else if (o_.pluginPath.empty()) {
            o_.pluginPath = arg;
        } else {
            return "editor: unexpected argument '" + arg + "'";
        }
        return "";
    }

    const Arguments& args_;
    EditorOptions& o_;
    size_t i_ = 0;
};

}  // namespace

std::string parseEditorOptions(const Arguments& args, EditorOptions& options) {
    return Parser(args, options).run();
}
