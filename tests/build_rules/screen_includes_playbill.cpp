// Compiled with the include folders of the screen library only: the screen library comes before
// the playbill library, so this include must not be found.
#include "playbill/prg_item.h"
