#pragma once
// Programs, windows and items addressed on the command line by 1-based numbers: "P", "P.W",
// "P.W.I".

#include <cstdint>
#include <string>
#include <vector>

#include "playbill/prg_list_doc.h"

namespace vantorel::cli {

// The records inside [begin, end) of `level`, in order.
std::vector<int> RecordsOfLevel(const PrgList& list, int begin, int end, std::int32_t level);

// The record of `address`; a CliError says which number does not exist.
int RecordAt(const CPrgListDoc& doc, const std::string& address);

}  // namespace vantorel::cli
