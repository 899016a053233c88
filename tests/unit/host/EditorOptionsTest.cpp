// The options of `korvex-host editor`: actions keep their order and their
// numbers, and every malformed argument is named in a one-line complaint.
#include <gtest/gtest.h>

#include <string>

#include "tools/host/EditorOptions.h"

namespace {

using Kind = EditorAction::Kind;

std::string parse(const Arguments& args, EditorOptions& o) { return parseEditorOptions(args, o); }

TEST(EditorOptions, DefaultsWaitHalfASecondAndPerformNoAction) {
    EditorOptions o;
    ASSERT_EQ(parse({"plug.dll"}, o), "");
    EXPECT_EQ(o.pluginPath, "plug.dll");
    EXPECT_EQ(o.waitMs, 500);
    EXPECT_EQ(o.width, 0);
    EXPECT_EQ(o.height, 0);
    EXPECT_FALSE(o.bypass);
    EXPECT_FALSE(o.logHostCalls);
    EXPECT_TRUE(o.actions.empty());
}

TEST(EditorOptions, ActionsKeepTheOrderGivenWithTheirNumbers) {
    EditorOptions o;
    ASSERT_EQ(parse({"--screenshot",
                     "a.png",
                     "--drag",
                     "195,343,225,-5",
                     "--click",
                     "162,11",
                     "--pause",
                     "250",
                     "--double-click",
                     "-3,4",
                     "plug.dll",
                     "--click-window",
                     "KORVEX52 VST Plug-In",
                     "400,395",
                     "--list-windows",
                     "--screenshot-window",
                     "KORVEX52 VST Plug-In",
                     "b.png",
                     "--print-params",
                     "--drag",
                     "1,2,3,4,7"},
                    o),
              "");
    ASSERT_EQ(o.actions.size(), 10u);
    const EditorAction* a = o.actions.data();
    EXPECT_EQ(a[0].kind, Kind::Screenshot);
    EXPECT_EQ(a[0].file, "a.png");
    EXPECT_EQ(a[1].kind, Kind::Drag);
    EXPECT_EQ(a[1].x, 195);
    EXPECT_EQ(a[1].y, 343);
    EXPECT_EQ(a[1].x2, 225);
    EXPECT_EQ(a[1].y2, -5);
    EXPECT_EQ(a[1].steps, kDefaultDragSteps);
    EXPECT_EQ(a[2].kind, Kind::Click);
    EXPECT_EQ(a[2].x, 162);
    EXPECT_EQ(a[2].y, 11);
    EXPECT_EQ(a[3].kind, Kind::Pause);
    EXPECT_EQ(a[3].ms, 250);
    EXPECT_EQ(a[4].kind, Kind::DoubleClick);
    EXPECT_EQ(a[4].x, -3);
    EXPECT_EQ(a[5].kind, Kind::ClickWindow);
    EXPECT_EQ(a[5].text, "KORVEX52 VST Plug-In");
    EXPECT_EQ(a[5].x, 400);
    EXPECT_EQ(a[5].y, 395);
    EXPECT_EQ(a[6].kind, Kind::ListWindows);
    EXPECT_EQ(a[7].kind, Kind::ScreenshotWindow);
    EXPECT_EQ(a[7].text, "KORVEX52 VST Plug-In");
    EXPECT_EQ(a[7].file, "b.png");
    EXPECT_EQ(a[8].kind, Kind::PrintParams);
    EXPECT_EQ(a[9].steps, 7);
    EXPECT_EQ(o.pluginPath, "plug.dll");
}

TEST(EditorOptions, SetUpOptionsShareTheRenderSyntax) {
    EditorOptions o;
    ASSERT_EQ(parse({"--size", "500x600", "--wait", "0", "--program", "7", "--param", "Mix=0.25",
                     "--param", "3=1", "--bypass", "--log-host-calls", "plug.dll"},
                    o),
              "");
    EXPECT_EQ(o.width, 500);
    EXPECT_EQ(o.height, 600);
    EXPECT_EQ(o.waitMs, 0);
    EXPECT_EQ(o.state.program, 7);
    ASSERT_EQ(o.state.params.size(), 2u);
    EXPECT_EQ(o.state.params[0].first, "Mix");
    EXPECT_EQ(o.state.params[0].second, 0.25f);
    EXPECT_EQ(o.state.params[1].first, "3");
    EXPECT_TRUE(o.bypass);
    EXPECT_TRUE(o.logHostCalls);
}

TEST(EditorOptions, EachMalformedArgumentIsNamed) {
    const struct {
        Arguments args;
        const char* complaint;
    } cases[] = {
        {{}, "editor: missing plug-in path (korvex-host editor PLUGIN)"},
        {{"--click", "5,6"}, "editor: missing plug-in path (korvex-host editor PLUGIN)"},
        {{"a.dll", "b.dll"}, "editor: unexpected argument 'b.dll'"},
        {{"--bogus", "a.dll"}, "editor: unknown option '--bogus'"},
        {{"a.dll", "--click"}, "editor: --click needs a value"},
        {{"--click", "5", "a.dll"}, "editor: bad --click '5' (use X,Y)"},
        {{"--click", "5,6,7", "a.dll"}, "editor: bad --click '5,6,7' (use X,Y)"},
        {{"--click", "5,x", "a.dll"}, "editor: bad --click '5,x' (use X,Y)"},
        {{"--click", ",6", "a.dll"}, "editor: bad --click ',6' (use X,Y)"},
        {{"--double-click", "-3,40000", "a.dll"},
         "editor: bad --double-click '-3,40000' (use X,Y)"},
        {{"--drag", "1,2,3", "a.dll"},
         "editor: bad --drag '1,2,3' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)"},
        {{"--drag", "1,2,3,4,0", "a.dll"},
         "editor: bad --drag '1,2,3,4,0' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)"},
        {{"--drag", "1,2,3,4,1001", "a.dll"},
         "editor: bad --drag '1,2,3,4,1001' (use X1,Y1,X2,Y2[,STEPS], 1 to 1000 steps)"},
        {{"--size", "500", "a.dll"}, "editor: bad --size '500' (use WIDTHxHEIGHT)"},
        {{"--size", "0x538", "a.dll"}, "editor: bad --size '0x538' (use WIDTHxHEIGHT)"},
        {{"--size", "500x600x2", "a.dll"}, "editor: bad --size '500x600x2' (use WIDTHxHEIGHT)"},
        {{"--wait", "-1", "a.dll"}, "editor: bad --wait '-1' (milliseconds, 0 to 600000)"},
        {{"--pause", "1.5", "a.dll"}, "editor: bad --pause '1.5' (milliseconds, 0 to 600000)"},
        {{"--screenshot", "shot.bmp", "a.dll"},
         "editor: --screenshot file 'shot.bmp' is not a .png"},
        {{"--screenshot-window", "About", "a.dll"},
         "editor: --screenshot-window file 'a.dll' is not a .png"},
        {{"--click-window", "", "1,2", "a.dll"}, "editor: --click-window needs a window title"},
        {{"--click-window", "About"}, "editor: --click-window needs a title and a value"},
        {{"--program", "x", "a.dll"}, "editor: --program needs a program number"},
        {{"--param", "Mix", "a.dll"}, "editor: bad --param 'Mix' (use INDEX=VALUE or NAME=VALUE)"},
    };
    for (const auto& c : cases) {
        EditorOptions o;
        EXPECT_EQ(parse(c.args, o), c.complaint);
    }
}

}  // namespace
