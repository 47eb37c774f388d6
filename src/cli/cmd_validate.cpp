// tsytool validate: the glyph problem tests over every glyph, with the
// repairs first when asked, and the report in the layout of the saved
// validation report.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <sstream>
#include <thread>

#include "cli/commands.h"
#include "fontfile/stream.h"
#include "fontfile/truetypefont.h"
#include "settings/registrysettings.h"
#include "settings/settingsbackend.h"
#include "validation/reportbuilder.h"

namespace tsytool {

namespace {

struct TTestSwitch {
  const char* Name;
  bool tsy::TProblemReportBuilder::*Flag;
};

const TTestSwitch kTests[] = {
    {"duplicate-components", &tsy::TProblemReportBuilder::TestDuplicateComponents},
    {"empty-components", &tsy::TProblemReportBuilder::TestEmptyComponents},
    {"duplicate-contours", &tsy::TProblemReportBuilder::TestDuplicateContours},
    {"small-contours", &tsy::TProblemReportBuilder::TestContoursWithOneOrTwoPoints},
    {"off-curve-extremes", &tsy::TProblemReportBuilder::TestOffCurveExtremeCoordinates},
    {"redundant-points", &tsy::TProblemReportBuilder::TestRedundantPoints},
    {"duplicate-knots", &tsy::TProblemReportBuilder::TestDuplicateKnots},
    {"intersections", &tsy::TProblemReportBuilder::TestIntersectingCoordinates},
    {"directions", &tsy::TProblemReportBuilder::TestContoursWithIncorrectDirection},
};

// Sets every test named in the comma-separated List to On.
void SwitchTests(tsy::TProblemReportBuilder& Builder, const std::string& List, bool On) {
  std::stringstream in(List);
  std::string name;
  while (std::getline(in, name, ',')) {
    bool known = false;
    for (const TTestSwitch& t : kTests)
      if (name == t.Name) {
        Builder.*t.Flag = On;
        known = true;
      }
    if (!known) throw UsageError("unknown test \"" + name + "\"");
  }
}

std::string Summary(bool Fixing, int Fixed, int Problems) {
  char text[160];
  if (!Fixing)
    std::snprintf(text, sizeof text, "%d glyphs have problems.", Problems);
  else if (Fixed == 1)
    std::snprintf(text, sizeof text, "%d glyph has been (partially) fixed. %d glyphs still have problems.", Fixed,
                  Problems);
  else if (Fixed > 1)
    std::snprintf(text, sizeof text, "%d glyphs have been (partially) fixed. %d glyphs still have problems.", Fixed,
                  Problems);
  else if (Problems > 0)
    std::snprintf(text, sizeof text, "No glyphs have been fixed. %d glyphs still have problems.", Problems);
  else
    std::snprintf(text, sizeof text, "Congratulations! No problems were found.");
  return text;
}

void ShowProgress(const char* Text, int Done, int Count) {
  const int percent = Count > 0 ? int(int64_t(Done) * 100 / Count) : 100;
  const int filled = percent * 30 / 100;
  std::fprintf(stderr, "\r%-16s [%.*s%*s] %3d%%", Text, filled, "==============================", 30 - filled, "",
               percent);
  if (Done >= Count) std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
}

}  // namespace

int RunValidate(const std::vector<std::string>& Args) {
  std::string fontFile, fixFile, reportFile, only, skip;
  bool decimal = false;
  int jobs = int(std::thread::hardware_concurrency());
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= Args.size()) throw UsageError(a + " needs a value");
      return Args[++i];
    };
    if (a == "--fix") fixFile = value();
    else if (a == "--report") reportFile = value();
    else if (a == "--only") only = value();
    else if (a == "--skip") skip = value();
    else if (a == "--decimal") decimal = true;
    else if (a == "--jobs") {
      const std::string& v = value();
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (*end || n < 1 || n > 256) throw UsageError("--jobs needs a number from 1 to 256");
      jobs = int(n);
    } else if (!a.empty() && a[0] == '-') throw UsageError("unknown option " + a);
    else if (fontFile.empty()) fontFile = a;
    else throw UsageError("validate takes one FONT");
  }
  if (fontFile.empty()) throw UsageError("validate needs FONT");

  // The validation settings at their defaults; the program's own store is
  // not touched from the command line.
  tsy::TRegistrySettings settings(std::make_shared<tsy::TMemorySettingsBackend>());
  if (decimal) settings.SetValueHexadecimal(false);

  tsy::TTrueTypeFont font;
  tsy::TProblemReportBuilder builder(&font, &settings);
  builder.LoadTestSettings();
  builder.LoadRedundancySettings();
  if (!only.empty()) {
    for (const TTestSwitch& t : kTests) builder.*t.Flag = false;
    SwitchTests(builder, only, true);
  }
  if (!skip.empty()) SwitchTests(builder, skip, false);

  AttachProgress(font);
  try {
    font.LoadFromFile(fontFile);
  } catch (const std::exception& e) {
    return Fail(fontFile, e.what());
  }

  const bool terminal = isatty(STDERR_FILENO);
  const int count = int(font.GlyphCount());
  int fixed = 0;
  if (!fixFile.empty()) {
    builder.FixProblems = true;
    try {
      std::vector<bool> changed(size_t(count), false);
      for (int g = 0; g < count; ++g) {
        if (terminal && g % 64 == 0) ShowProgress("Repairing", g, count);
        if (builder.FixGlyph(g)) changed[size_t(g)] = true;
      }
      // A composite met before its members were repaired may now hold a
      // member that became empty: composites get a second turn.
      for (int g = 0; g < count; ++g)
        if (font.Outlines.Items(size_t(g))->GetKind() == tsy::okComposite && builder.FixGlyph(g))
          changed[size_t(g)] = true;
      fixed = int(std::count(changed.begin(), changed.end(), true));
      builder.RefreshCompositesOfFixedGlyphs();
      if (terminal) ShowProgress("Repairing", count, count);
    } catch (const std::exception& e) {
      return Fail(fontFile, std::string("repair failed: ") + e.what());
    }
    try {
      font.SaveToFile(fixFile);
    } catch (const std::exception& e) {
      return Fail(fixFile, e.what());
    }
  }

  tsy::TRecurReportList root;
  try {
    std::function<bool(int)> progress;
    if (terminal)
      progress = [&](int Done) {
        if (Done % 64 == 0 || Done == count) ShowProgress("Validating", Done, count);
        return true;
      };
    builder.AddFontReport(root, jobs, progress);
  } catch (const std::exception& e) {
    return Fail(fontFile, std::string("validation failed: ") + e.what());
  }

  const std::string text = tsy::ReportText(root);
  const std::string summary = Summary(!fixFile.empty(), fixed, root.Count());
  if (!reportFile.empty()) {
    try {
      tsy::WriteFileAtomically(reportFile, std::vector<uint8_t>(text.begin(), text.end()));
    } catch (const std::exception& e) {
      return Fail(reportFile, e.what());
    }
    std::printf("%s\n", summary.c_str());
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fprintf(stderr, "%s\n", summary.c_str());
  }
  return 0;
}

}  // namespace tsytool
