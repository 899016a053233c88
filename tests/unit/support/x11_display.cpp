// Puts a native X11 test program on the project's private Xvfb display before
// any test runs: tools/wine-env.sh, started by a CTest fixture, writes the
// display's name into its state folder (KORVEX_WINE_DIR when set).
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const bool kOnTheProjectDisplay = [] {
    const char* dir = std::getenv("KORVEX_WINE_DIR");
    std::ifstream file(std::string(dir ? dir : KORVEX_WINE_STATE) + "/display");
    std::string name;
    return file >> name && setenv("DISPLAY", name.c_str(), 1) == 0;
}();

}  // namespace
