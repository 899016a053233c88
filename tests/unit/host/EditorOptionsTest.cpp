// The options of `korvex-host editor`: every malformed argument is named in
// a one-line complaint. (Well-formed actions are the editor scenarios' own,
// in editor_test.sh.)
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>

#include "tools/host/EditorOptions.h"

namespace {

// A command line as the shell splits it.
std::string parse(const std::string& line, EditorOptions& o) {
    std::istringstream in(line);
    const Arguments args{std::istream_iterator<std::string>(in), {}};
    return parseEditorOptions(args, o);
}

TEST(EditorOptions, EachMalformedArgumentIsNamed) {
    const char* const kDrag = " (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)";
    const struct {
        const char* line;
        std::string complaint;
    } cases[] = {
        {"", "missing plug-in path (korvex-host editor PLUGIN)"},
        {"a.dll b.dll", "unexpected argument 'b.dll'"},
        {"--bogus a.dll", "unknown option '--bogus'"},
        {"a.dll --click", "--click needs a value"},
        {"--click 5,x a.dll", "bad --click '5,x' (use X,Y)"},
        {"--click 5,6,7 a.dll", "bad --click '5,6,7' (use X,Y)"},
        {"--double-click -3,40000 a.dll", "bad --double-click '-3,40000' (use X,Y)"},
        {"--drag 1,2,3 a.dll", std::string("bad --drag '1,2,3'") + kDrag},
        {"--drag 1,2,3,4,1001 a.dll", std::string("bad --drag '1,2,3,4,1001'") + kDrag},
        {"--size 0x538 a.dll", "bad --size '0x538' (use WIDTHxHEIGHT)"},
        {"--size 500x600x2 a.dll", "bad --size '500x600x2' (use WIDTHxHEIGHT)"},
        {"--wait -1 a.dll", "bad --wait '-1' (milliseconds, 0 to 600000)"},
        {"--pause 1.5 a.dll", "bad --pause '1.5' (milliseconds, 0 to 600000)"},
        {"--screenshot shot.bmp a.dll", "--screenshot file 'shot.bmp' is not a .png"},
        {"--click-window About", "--click-window needs a title and a value"},
        {"--program x a.dll", "--program needs a program number"},
        {"--param Mix a.dll", "bad --param 'Mix' (use INDEX=VALUE or NAME=VALUE)"},
    };
    for (const auto& c : cases) {
        EditorOptions o;
        EXPECT_EQ(parse(c.line, o), "editor: " + c.complaint);
    }
}

}  // namespace
