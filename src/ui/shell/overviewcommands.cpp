#include "shell/overviewcommands.h"

#include <QMessageBox>

#include "clipboard/systemclipboard.h"
#include "dialogs/fontinstallwizardform.h"
#include "dialogs/insertglyphform.h"
#include "dialogs/pastepartsform.h"
#include "document/clipboardcommands.h"
#include "document/fontmanager.h"
#include "document/testfont.h"
#include "locale/systemlanguage.h"
#include "shell/fontoverviewform.h"
#include "shell/fonttest.h"

namespace tsy::overview {

namespace {

bool HasSelection(TFontOverviewForm& Form) { return Form.Manager().SelectedGlyphs().Count() > 0; }

}  // namespace

bool CanCopy(TFontOverviewForm& Form) { return HasSelection(Form); }

bool CanPaste(TFontOverviewForm& Form) { return CanPasteGlyphData(Form.Manager(), TSystemClipboard()); }

bool CanPasteSpecial(TFontOverviewForm& Form) {
  return CanPasteSpecialGlyphData(Form.Manager(), TSystemClipboard());
}

void Copy(TFontOverviewForm& Form) {
  TSystemClipboard clipboard;
  CopyGlyphs(Form.Manager(), clipboard);
}

void Cut(TFontOverviewForm& Form) {
  if (!HasSelection(Form)) return;
  Form.Manager().CutGlyphs([](TTrueTypeFontManager& Manager, const TSelectedGlyphList&) {
    TSystemClipboard clipboard;
    CopyGlyphs(Manager, clipboard);
  });
}

void Paste(TFontOverviewForm& Form) {
  if (!CanPaste(Form)) return;
  PasteGlyphData(Form.Manager(), TSystemClipboard());
}

void PasteSpecial(TFontOverviewForm& Form) {
  if (!CanPasteSpecial(Form)) return;
  TPasteSpecialForm dialog(&Form);
  if (dialog.exec() != QDialog::Accepted) return;
  PasteSpecialGlyphData(Form.Manager(), TSystemClipboard(), dialog.Options());
}

void AddGlyph(TFontOverviewForm& Form) {
  Form.Manager().InsertGlyphs(1, HasSelection(Form) ? TTrueTypeFontManager::ipAfterEachSelected
                                                    : TTrueTypeFontManager::ipAfterLast);
}

void InsertGlyphs(TFontOverviewForm& Form) {
  TTrueTypeFontManager& m = Form.Manager();
  TInsertGlyphForm dialog(int(m.Font().GlyphCount()), m.SelectedGlyphs().Count(), &Form);
  if (dialog.exec() != QDialog::Accepted) return;
  m.InsertGlyphs(dialog.Count(), dialog.Position());
}

void Delete(TFontOverviewForm& Form) {
  if (HasSelection(Form)) Form.Manager().DeleteGlyphs();
}

void MakeEmpty(TFontOverviewForm& Form) {
  if (HasSelection(Form)) Form.Manager().MakeEmpty();
}

void MakeSimple(TFontOverviewForm& Form) {
  if (HasSelection(Form)) Form.Manager().MakeSimple();
}

void TestFont(TFontOverviewForm& Form, TRegistrySettings& Settings) {
  tsy::TestFont(Form.Manager(), SystemLanguageID(), FontTestWindow(Settings, &Form));
}

void InstallFont(TFontOverviewForm& Form, TRegistrySettings& Settings) {
  TTrueTypeFontManager& m = Form.Manager();
  std::optional<QString> name;
  if (auto n = FontInstallName(m.Font(), SystemLanguageID())) name = QString::fromStdU16String(*n);
  TFontInstallWizardForm wizard(Settings, QString::fromStdString(m.FileName()), name, &Form);
  if (wizard.exec() == QDialog::Accepted)
    QMessageBox::information(&Form, wizard.windowTitle(), "Font succesfully installed.");
}

}  // namespace tsy::overview
