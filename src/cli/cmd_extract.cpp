#include <cstdio>
#include <exception>

#include "cli/commands.h"
#include "fontfile/collection.h"

namespace tsytool {

namespace {

// "0,2,5-7" as member flags.
std::vector<bool> ParseMembers(const std::string& List) {
  std::vector<bool> flags;
  size_t pos = 0;
  while (pos <= List.size()) {
    const size_t comma = std::min(List.find(',', pos), List.size());
    const std::string item = List.substr(pos, comma - pos);
    const size_t dash = item.find('-');
    auto number = [&](const std::string& T) {
      if (T.empty() || T.size() > 6 || T.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("extract: --members takes numbers and ranges like 0,2,5-7");
      return size_t(std::stoul(T));
    };
    const size_t first = number(item.substr(0, dash));
    const size_t last = dash == std::string::npos ? first : number(item.substr(dash + 1));
    if (last < first) throw UsageError("extract: a member range runs backwards");
    if (flags.size() <= last) flags.resize(last + 1, false);
    for (size_t i = first; i <= last; ++i) flags[i] = true;
    pos = comma + 1;
  }
  return flags;
}

}  // namespace

int RunExtract(const std::vector<std::string>& Args) {
  std::vector<std::string> positional;
  std::string prefix;
  std::vector<bool> members;
  bool someMembers = false;
  for (size_t i = 0; i < Args.size(); ++i) {
    if (Args[i] == "--prefix" || Args[i] == "--members") {
      if (i + 1 >= Args.size()) throw UsageError("extract: " + Args[i] + " needs a value");
      if (Args[i] == "--prefix") prefix = Args[++i];
      else members = ParseMembers(Args[++i]), someMembers = true;
    } else {
      positional.push_back(Args[i]);
    }
  }
  if (positional.size() != 2) throw UsageError("extract needs COLLECTION and DIR");
  tsy::TTrueTypeCollection collection;
  try {
    collection.ReadFontNames(positional[0]);
    if (someMembers) {
      // Members the list does not name stay in the collection.
      members.resize(std::max(members.size(), collection.Names.size()), false);
      for (size_t i = collection.Names.size(); i < members.size(); ++i)
        if (members[i]) return Fail(positional[0], "the collection has no font " + std::to_string(i));
      collection.Selected = members;
    }
    collection.Extract(positional[0], positional[1], prefix);
  } catch (const std::exception& e) {
    for (const std::string& f : collection.Written) std::printf("%s\n", f.c_str());
    return Fail(positional[0], e.what());
  }
  for (const std::string& f : collection.Written) std::printf("%s\n", f.c_str());
  return 0;
}

}  // namespace tsytool
