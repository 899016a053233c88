// Creates the plug-in's editor. The windowed editor is built on the GUI
// toolkit; until it is part of the library the plug-in runs headless, which
// every operation that talks to an editor already copes with.
#include "editor/EditorLink.h"

EditorLink* createEditorLink(AudioEffectX* /*effect*/) { return nullptr; }
