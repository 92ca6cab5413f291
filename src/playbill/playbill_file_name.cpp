#include "playbill/playbill_file_name.h"

#include "app/text_table.h"

namespace vantorel {

std::filesystem::path WithPlaybillExtension(std::filesystem::path typed) {
  if (!typed.empty() && !typed.has_extension()) typed += "." + LoadText(kTextPlaybillExtension);
  return typed;
}

}  // namespace vantorel
