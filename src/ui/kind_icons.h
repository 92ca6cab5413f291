#pragma once
// Icons of the program tree: one for programs, one for windows and one per item kind, drawn by
// the program itself so they scale and need no image files.

#include <QIcon>

#include "playbill/prg_item.h"

namespace vantorel {

QIcon RecordIcon(const tagPrgItem& record);

}  // namespace vantorel
