#include <exception>

#include "cli/commands.h"
#include "fontfile/truetypefont.h"

namespace tsytool {

int RunSave(const std::vector<std::string>& Args) {
  if (Args.size() != 2) throw UsageError("save needs IN and OUT");
  tsy::TTrueTypeFont font;
  AttachProgress(font);
  try {
    font.LoadFromFile(Args[0]);
  } catch (const std::exception& e) {
    return Fail(Args[0], e.what());
  }
  try {
    font.SaveToFile(Args[1]);
  } catch (const std::exception& e) {
    return Fail(Args[1], e.what());
  }
  return 0;
}

}  // namespace tsytool
