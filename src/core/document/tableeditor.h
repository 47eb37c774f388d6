#pragma once
// What the table dialogs do for the manager's table commands: each edits a
// working copy of its table (or tables) and answers OK (true) or Cancel
// (false). The copies are detached from the font, so a dialog can change them
// freely; the command compares them with the live tables afterwards and
// records only what differs. The user interface implements this with modal
// dialogs; tests drive it directly. Every method defaults to Cancel.
#include <string>
#include <vector>

namespace tsy {

class TTrueTypeFontManager;
class TTableCmap;
class TTableGasp;
class TTableHead;
class TTableHhea;
class TTableKern;
class TTableName;
class TTableOS_2;
class TTablePCLT;
class TTablePost;

class TFontTableEditor {
public:
  virtual ~TFontTableEditor() = default;

  virtual bool EditGrayscale(const TTrueTypeFontManager&, TTableGasp&) { return false; }
  // The manager's PlatformInformation is filled before the call.
  virtual bool EditPlatforms(const TTrueTypeFontManager&, TTableCmap&, TTableName&) { return false; }
  // Only the post table's header fields count; its glyph names are not edited here.
  virtual bool EditFontSettings(const TTrueTypeFontManager&, TTableOS_2&, TTableHead&, TTableHhea&, TTablePost&) {
    return false;
  }
  virtual bool EditNaming(const TTrueTypeFontManager&, TTableName&) { return false; }
  virtual bool EditKerning(const TTrueTypeFontManager&, TTableKern&) { return false; }
  // Include starts true when the font has a PCLT table.
  virtual bool EditPCL5(const TTrueTypeFontManager&, TTablePCLT&, bool& /*Include*/) { return false; }
  virtual bool EditPostscriptNames(const TTrueTypeFontManager&, TTablePost&) { return false; }
  virtual bool EditCharacterMappings(const TTrueTypeFontManager&, TTableCmap&) { return false; }
  // Fills the tags of tables to delete, in the order chosen, and whether the
  // hinting is to be removed.
  virtual bool EditFontTables(const TTrueTypeFontManager&, std::vector<std::string>& /*DeleteTags*/,
                              bool& /*RemoveHinting*/) {
    return false;
  }
  virtual void ShowFontInformation(const TTrueTypeFontManager&, const std::string& /*FileName*/) {}
};

}  // namespace tsy
