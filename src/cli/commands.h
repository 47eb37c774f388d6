#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tsy {
class TTrueTypeFont;
class TFontTable;
}

namespace tsytool {

// Wrong arguments: reported with the usage text and exit status 2.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

int RunInfo(const std::vector<std::string>& Args);
int RunSave(const std::vector<std::string>& Args);
int RunGlyph(const std::vector<std::string>& Args);
int RunConvert(const std::vector<std::string>& Args);
int RunExtract(const std::vector<std::string>& Args);
int RunValidate(const std::vector<std::string>& Args);

// Prints "tsytool: FILE: message" and returns exit status 1.
int Fail(const std::string& File, const std::string& Message);
// A progress bar on stderr while the font works, when stderr is a terminal.
void AttachProgress(tsy::TTrueTypeFont& Font);
std::string JsonEscape(const std::string& S);
// One line with a typed table's main values; empty for raw tables.
std::string DescribeTable(const tsy::TFontTable& Table);

}  // namespace tsytool
