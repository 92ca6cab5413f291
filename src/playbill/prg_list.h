#pragma once
// Walking the flat record list. A record's subtree is the record and every following record of a
// higher level, up to the next record of its own level or lower.

#include "playbill/prg_item.h"

namespace vantorel {

// One past the last record of the subtree of `index`.
int SubtreeEnd(const PrgList& list, int index);
// The program record that contains `index` (itself for a program); -1 when there is none.
int ProgramRecordOf(const PrgList& list, int index);
// The window record that contains `index` (itself for a window); -1 for programs and when there is none.
int WindowRecordOf(const PrgList& list, int index);
// The record index of the `program`-th program; -1 when there is no such program.
int ProgramRecordAt(const PrgList& list, int program);
// How many records of `level` lie in [begin, end).
int CountLevel(const PrgList& list, int begin, int end, std::int32_t level);
int RecordCount(const PrgList& list);

// Recomputes every position key: program p has p << 20; window w of program p has
// ((p + 1) << 20) | ((w mod 16) << 16); item i of a window has the window's key plus i.
// Returns whether any key changed.
bool Renumber(PrgList& list);

}  // namespace vantorel
