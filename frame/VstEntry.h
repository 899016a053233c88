// Declaration of the exported entry point and the export marker it needs.
#pragma once

#include "frame/vst_abi.h"

#if defined(_WIN32)
// The Windows DLL names its exports in frame/win32/korvex52.def.
#define KORVEX_EXPORT
#else
#define KORVEX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KORVEX_EXPORT AEffect* VSTPluginMain(audioMasterCallback host);
