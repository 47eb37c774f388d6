#pragma once
// Test Font: the font as the desktop renders it, under a unique test name,
// without a trace afterwards: no file, no registered face, the names as they
// were, no undo level and no change to the modified state.
#include <QString>
#include <functional>

class QWidget;

namespace tsy {

class TTrueTypeFontManager;
class TRegistrySettings;

// Shows the test window on the registered family (modally); replaceable for
// tests.
using TShowFontTest = std::function<void(const QString& Family, int StyleCode)>;

// Runs the test; raises FontException for a font that cannot be tested. A
// font without Microsoft name records is not tested at all (false).
bool TestFont(TTrueTypeFontManager& Manager, uint16_t Language, const TShowFontTest& Show);
// The test window of the program, as TestFont shows it.
TShowFontTest FontTestWindow(TRegistrySettings& Settings, QWidget* Parent);

}  // namespace tsy
