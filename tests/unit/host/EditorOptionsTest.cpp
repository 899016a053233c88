// `korvex-host editor` names each kind of malformed argument in a one-line
// complaint; well-formed actions are editor_test.sh's.
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
    const struct {
        const char* line;
        std::string complaint;
    } cases[] = {
        {"", "missing plug-in path (korvex-host editor PLUGIN)"},
        {"a.dll --click", "--click needs a value"},
        {"--click 5,x a.dll", "bad --click '5,x' (use X,Y)"},
        {"--drag 1,2,3,4,1001 a.dll",
         "bad --drag '1,2,3,4,1001' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)"},
        {"--bogus a.dll", "unknown option '--bogus'"},
        {"--screenshot shot.bmp a.dll", "--screenshot file 'shot.bmp' is not a .png"},
        {"a.dll b.dll", "unexpected argument 'b.dll'"},
    };
    for (const auto& c : cases) {
        EditorOptions o;
        EXPECT_EQ(parse(c.line, o), "editor: " + c.complaint);
    }
}

}  // namespace
