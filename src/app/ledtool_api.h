#pragma once
// The C entry points of the optional tool plug-ins "libledtoolex.so" and "libledtool.so" in the
// program folder. A plug-in exports the ones it supports with C linkage; every text is UTF-8.
// `parent` is the QWidget* of the main window (or null); a plug-in that shows no window ignores it.

extern "C" {
using LedtoolHandle = void*;
using Ledtool_GetTypeCount_t = int (*)();
// Writes the name of tool `index` (at most `size` bytes with the NUL) and returns its type.
using Ledtool_GetTypeAndName_t = int (*)(int languageId, int index, char* name, int size);
using Ledtool_Create_t = LedtoolHandle (*)();
using Ledtool_SetLanguage_t = void (*)(LedtoolHandle, int languageId);
using Ledtool_SetDataPath_t = void (*)(LedtoolHandle, const char* dataFolder);
using Ledtool_SetCardType_t = void (*)(LedtoolHandle, int type);
using Ledtool_SetCardName_t = void (*)(LedtoolHandle, const char* name);
using Ledtool_SetPassword_t = void (*)(LedtoolHandle, const char* adminPassword, const char* advancedPassword);
using Ledtool_DoModal_t = int (*)(LedtoolHandle, void* parent);
using Ledtool_SearchCard_t = int (*)(LedtoolHandle, void* parent);
using Ledtool_SearchCardEx_t = int (*)(LedtoolHandle, void* parent);
using Ledtool_Destroy_t = void (*)(LedtoolHandle);
}
