#pragma once
// Checks made before a playbill is sent.

#include "playbill/prg_item.h"

namespace vantorel {

// Items of the media-file kinds (1, 2, 3, 4, 7) whose MEDIA is set but names no existing regular
// file.
int CountMissingMedia(const PrgList& list);

}  // namespace vantorel
