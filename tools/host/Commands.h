// The host's commands. Each takes the arguments after its name and answers
// the process exit status: 0 done, 1 the plug-in misbehaved, 2 bad usage or
// an unreadable input (after a one-line message on stderr).
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int runInfo(const Arguments& args);
int runRender(const Arguments& args);
int runCompare(const Arguments& args);
int runTestSignal(const Arguments& args);
int runPreset(const Arguments& args);
int runBank(const Arguments& args);
int runValidate(const Arguments& args);
int runEditor(const Arguments& args);

// Prints "korvex-host: <message>" on stderr and answers 2.
int usageError(const std::string& message);
