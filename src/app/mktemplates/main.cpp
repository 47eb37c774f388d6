// tsy_mktemplates: writes the two template fonts of New Font with the
// program's own font model. Run by the build; the fonts go into the
// resources folder beside the program.
//   tsy_mktemplates GLYPHNAMES OUTDIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/newfont.h"
#include "fontfile/stream.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tsy_mktemplates GLYPHNAMES OUTDIR\n");
    return 2;
  }
  try {
    std::vector<std::string> lines;
    std::ifstream in(argv[1]);
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::filesystem::path folder(argv[2]);
    std::filesystem::create_directories(folder);
    for (auto [kind, name] : {std::pair{tsy::TTemplateKind::Unicode, "unicode.ttf"},
                              std::pair{tsy::TTemplateKind::Symbol, "symbol.ttf"}}) {
      const std::vector<uint8_t> bytes = tsy::BuildTemplateFont(kind, lines);
      tsy::WriteFileAtomically((folder / name).string(), bytes);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tsy_mktemplates: %s\n", e.what());
    return 1;
  }
  return 0;
}
