#include <unistd.h>

#include <cstdio>

#include "cli/commands.h"
#include "fontfile/truetypefont.h"

namespace tsytool {

int Fail(const std::string& File, const std::string& Message) {
  std::fprintf(stderr, "tsytool: %s: %s\n", File.c_str(), Message.c_str());
  return 1;
}

void AttachProgress(tsy::TTrueTypeFont& Font) {
  if (!isatty(STDERR_FILENO)) return;
  Font.SetProgressHandler([](tsy::TTrueTypeFont&, const std::string& Text, int Percent) {
    if (Percent <= 0) {
      std::fputs("\r\033[K", stderr);
      return;
    }
    const int filled = Percent * 30 / 100;
    std::fprintf(stderr, "\r%-16s [%.*s%*s] %3d%%", Text.c_str(), filled, "==============================",
                 30 - filled, "", Percent);
    std::fflush(stderr);
  });
}

std::string JsonEscape(const std::string& S) {
  std::string out;
  for (unsigned char c : S) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += char(c);
        }
    }
  }
  return out;
}

}  // namespace tsytool
