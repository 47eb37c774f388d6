// tsytool: the font engine without a window.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "common/heap.h"

namespace {

void Usage(std::FILE* out) {
  std::fputs(
      "usage: tsytool COMMAND ARGS\n"
      "\n"
      "  info FONT [--json]   tables, glyph count and the warnings of loading\n"
      "  save IN OUT          open as the editor opens and save as the editor saves\n"
      "  glyph FONT GID       the glyph's points (contour point x y on|off) and metrics\n"
      "  convert IN[#N] OUT   an OpenType font (CFF outlines) or member N of a collection as a TrueType file\n"
      "  extract COLLECTION DIR [--prefix P] [--members LIST]\n"
      "                       write members of a collection (LIST like 0,2,5-7) as single fonts\n"
      "  validate FONT [--fix OUT] [--report FILE] [--only TESTS | --skip TESTS] [--decimal] [--jobs N]\n"
      "                       the glyph problem tests over every glyph (repairs first with --fix);\n"
      "                       TESTS is a comma list of duplicate-components, empty-components,\n"
      "                       duplicate-contours, small-contours, off-curve-extremes, redundant-points,\n"
      "                       duplicate-knots, intersections, directions\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    Usage(args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  tsy::PrepareHeapForLargeFonts();
  try {
    if (command == "info") return tsytool::RunInfo(args);
    if (command == "save") return tsytool::RunSave(args);
    if (command == "glyph") return tsytool::RunGlyph(args);
    if (command == "convert") return tsytool::RunConvert(args);
    if (command == "extract") return tsytool::RunExtract(args);
    if (command == "validate") return tsytool::RunValidate(args);
  } catch (const tsytool::UsageError& e) {
    std::fprintf(stderr, "tsytool: %s\n", e.what());
    Usage(stderr);
    return 2;
  }
  std::fprintf(stderr, "tsytool: unknown command \"%s\"\n", command.c_str());
  Usage(stderr);
  return 2;
}
