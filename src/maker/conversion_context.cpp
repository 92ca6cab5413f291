#include "maker/conversion_context.h"

#include "render/font_library.h"
#include "screen/controller_types.h"
#include "screen/part_list.h"

namespace vantorel {

ConversionContext ContextForScreen(const tagScreenInfo& screen, const tagCommInfo& comm,
                                   const std::filesystem::path& workFolder, const std::filesystem::path& outputFolder) {
  ConversionContext context;
  context.screenId = screen.number;
  context.colourMode = screen.color;
  context.rotation = IsRotated(comm.special) ? 1 : 0;
  context.width = screen.width;
  context.height = screen.height;
  context.model = screen.model;
  context.controllerClass = ControllerClassOf(screen.model);
  context.codePage = FontCodePageOf(screen);
  context.workFolder = workFolder;
  context.outputFolder = outputFolder;
  return context;
}

}  // namespace vantorel
