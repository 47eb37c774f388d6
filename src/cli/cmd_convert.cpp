#include <exception>
#include <filesystem>

#include "cli/commands.h"
#include "fontfile/collection.h"
#include "fontfile/truetypefont.h"

namespace tsytool {

namespace {

// "FILE#N" names member N of a collection, unless a file has that very name.
void SplitMember(const std::string& Arg, std::string& File, long& Member) {
  File = Arg;
  Member = -1;
  const size_t hash = Arg.rfind('#');
  std::error_code ec;
  if (hash == std::string::npos || std::filesystem::exists(Arg, ec)) return;
  const std::string number = Arg.substr(hash + 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 9)
    throw UsageError("convert: member number after # must be a number");
  File = Arg.substr(0, hash);
  Member = std::stol(number);
}

}  // namespace

int RunConvert(const std::vector<std::string>& Args) {
  if (Args.size() != 2) throw UsageError("convert needs IN[#N] and OUT");
  std::string file;
  long member;
  SplitMember(Args[0], file, member);
  tsy::TTrueTypeFont font;
  AttachProgress(font);
  try {
    const auto bytes = tsy::ReadWholeFile(file);
    tsy::TReadOnlyStream s(bytes);
    if (bytes->size() >= 4 && std::string(bytes->begin(), bytes->begin() + 4) == "ttcf") {
      const std::vector<uint32_t> offsets = tsy::TTrueTypeCollection::ReadOffsets(s);
      if (member < 0) member = 0;
      if (size_t(member) >= offsets.size())
        return Fail(file, "the collection has " + std::to_string(offsets.size()) + " fonts, no font " +
                              std::to_string(member));
      font.LoadFromStream(s, offsets[size_t(member)]);
    } else {
      if (member > 0) return Fail(file, "not a collection; only #0 names its font");
      font.LoadFromStream(s);
    }
  } catch (const std::exception& e) {
    return Fail(file, e.what());
  }
  try {
    font.SaveToFile(Args[1]);
  } catch (const std::exception& e) {
    return Fail(Args[1], e.what());
  }
  return 0;
}

}  // namespace tsytool
