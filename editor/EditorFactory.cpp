// Creates the plug-in's editor: the windowed panel built on the GUI toolkit.
#include "editor/EditorLink.h"

#include <new>

#include "editor/CEditorGUI.h"

EditorLink* createEditorLink(AudioEffectX* effect) {
    return new (std::nothrow) ZEPHRA2F9C41D07::CEditorGUI(effect);
}
