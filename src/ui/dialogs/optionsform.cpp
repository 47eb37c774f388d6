#include "dialogs/optionsform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "common/numeric.h"
#include "controls/extendedcustomedit.h"
#include "controls/extendedspinedit.h"
#include "dialogs/extendedwarningform.h"
#include "settings/registrysettings.h"
#include "shell/tsyapplication.h"

namespace tsy {

namespace {

const char* const kRemoveWarning =
    "This option will be used for all fonts openend with the Tessary. Are you sure you want to select this option?";

// Order of the "Advanced" list.
enum TWarnLine { wlSorting, wlFix, wlRemove, wlTransform };

QString ToQ(const std::string& Text) { return QString::fromStdString(Text); }

QGroupBox* Group(const QString& Title, QLayout* Layout) {
  // Frame captions are written with blanks around them (" Grid "); the style
  // spaces the title itself.
  auto* box = new QGroupBox(Title.trimmed());
  box->setLayout(Layout);
  return box;
}

// A page: its widgets from the top, the rest of the height left empty.
QWidget* PageOf(const std::vector<QWidget*>& Parts) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* part : Parts) layout->addWidget(part);
  layout->addStretch(1);
  return page;
}

QVBoxLayout* Column(const std::vector<QWidget*>& Widgets) {
  auto* layout = new QVBoxLayout;
  for (QWidget* w : Widgets) layout->addWidget(w);
  return layout;
}

}  // namespace

TOptionsForm::TOptionsForm(TRegistrySettings& Settings, QWidget* Parent) : QDialog(Parent), FSettings(Settings) {
  setWindowTitle(QStringLiteral("Options"));

  FPageList = new QListWidget(this);
  FPageList->setObjectName(QStringLiteral("PageList"));
  FPages = new QStackedWidget(this);
  const std::vector<QWidget*> pages = {BuildGeneralPage(),  BuildSamplePage(), BuildFontPage(),
                                       BuildOverviewPage(), BuildGlyphPage(),  BuildEditPage(),
                                       BuildNamingPage(),   BuildValidationPage(), BuildAdvancedPage()};
  const QStringList names = PageNames();
  for (size_t i = 0; i < pages.size(); ++i) {
    pages[i]->setObjectName(names[static_cast<int>(i)]);
    FPages->addWidget(pages[i]);
    FPageList->addItem(names[static_cast<int>(i)]);
  }
  FPageList->setSpacing(3);
  FPageList->setFixedWidth(FPageList->sizeHintForColumn(0) + 2 * FPageList->frameWidth() + 30);
  connect(FPageList, &QListWidget::currentRowChanged, FPages, &QStackedWidget::setCurrentIndex);
  FPageList->setCurrentRow(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("Buttons"));
  connect(buttons, &QDialogButtonBox::accepted, this, Guarded([this] { OkClicked(); }));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* body = new QHBoxLayout;
  body->addWidget(FPageList);
  body->addWidget(FPages, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(buttons);
  resize(640, sizeHint().height());

  LoadSettings();
}

QStringList TOptionsForm::PageNames() {
  return {"General", "Sample", "Font", "Overview", "Glyph", "Edit", "Naming", "Validation", "Advanced"};
}

bool TOptionsForm::ShowPage(const QString& Name) {
  const int index = PageNames().indexOf(Name);
  if (index < 0) return false;
  FPageList->setCurrentRow(index);
  return true;
}

QWidget* TOptionsForm::Page(const QString& Name) const {
  const int index = PageNames().indexOf(Name);
  return index < 0 ? nullptr : FPages->widget(index);
}

QString TOptionsForm::CurrentPage() const { return PageNames().value(FPages->currentIndex()); }

// ---------------------------------------------------------------------------
// Building blocks

QCheckBox* TOptionsForm::BoolBox(const QString& Caption, const char* Name, bool (TRegistrySettings::*Get)(),
                                 void (TRegistrySettings::*Set)(bool)) {
  auto* box = new QCheckBox(Caption);
  box->setObjectName(QString::fromLatin1(Name));
  FBools.push_back({box, Get, Set});
  return box;
}

TvnxExtendedSpinEdit* TOptionsForm::NumberField(const char* Name, double Min, double Max, int Digits,
                                                double Increment) {
  auto* field = new TvnxExtendedSpinEdit;
  field->setObjectName(QString::fromLatin1(Name));
  field->SetMinValue(Min);
  field->SetMaxValue(Max);
  field->SetDigits(Digits);
  field->SetIncrement(Increment);
  field->setMaximumWidth(110);
  return field;
}

TvnxExtendedSpinEdit* TOptionsForm::IntField(const char* Name, int32_t Min, int32_t Max,
                                             int32_t (TRegistrySettings::*Get)(),
                                             void (TRegistrySettings::*Set)(int32_t)) {
  TvnxExtendedSpinEdit* field = NumberField(Name, Min, Max, 0, 1);
  FInts.push_back({field, Get, Set});
  return field;
}

void TOptionsForm::EnableWhileChecked(QCheckBox* Box, QWidget* Field) {
  connect(Box, &QCheckBox::toggled, Field, &QWidget::setEnabled);
  Field->setEnabled(Box->isChecked());
}

// ---------------------------------------------------------------------------
// Pages

QWidget* TOptionsForm::BuildGeneralPage() {
  QCheckBox* hex =
      BoolBox("Show character codes and glyph indexes in &hexadecimal", "ValueHexadecimal",
              &TRegistrySettings::ValueHexadecimal, &TRegistrySettings::SetValueHexadecimal);
  QCheckBox* tips = BoolBox("Show the tip of the &day at start-up", "ShowTipOnStartup",
                            &TRegistrySettings::ShowTipOnStartup, &TRegistrySettings::SetShowTipOnStartup);

  FChildWindowState = new QButtonGroup(this);
  auto* states = new QVBoxLayout;
  const char* captions[] = {"&Normal", "Mi&nimized", "Ma&ximized"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(captions[i]);
    radio->setObjectName(QStringLiteral("ChildWindowState%1").arg(i));
    FChildWindowState->addButton(radio, i);
    states->addWidget(radio);
  }

  FUndoCountBox = new QCheckBox("Max. count");
  FUndoCountBox->setObjectName("UndoLimitMaxCountBox");
  FUndoCount = NumberField("OverviewUndoLimitMaxCount", 1, 999999, 0, 1);
  FUndoSizeBox = new QCheckBox("Max. size [KB]");
  FUndoSizeBox->setObjectName("UndoLimitMaxSizeBox");
  FUndoSize = NumberField("OverviewUndoLimitMaxSize", 1, 999999, 0, 1);
  EnableWhileChecked(FUndoCountBox, FUndoCount);
  EnableWhileChecked(FUndoSizeBox, FUndoSize);
  auto* undo = new QGridLayout;
  undo->addWidget(FUndoCountBox, 0, 0);
  undo->addWidget(FUndoCount, 0, 1);
  undo->addWidget(FUndoSizeBox, 1, 0);
  undo->addWidget(FUndoSize, 1, 1);
  undo->setColumnStretch(2, 1);
  auto* undoNote = new QLabel("Unchecked: no limit. The limits apply to each open font.");
  undoNote->setWordWrap(true);
  undo->addWidget(undoNote, 2, 0, 1, 3);

  return PageOf({Group(" Numbers ", Column({hex})),
                 Group(" State of the first font &window ", states),
                 Group(" &Undo limits ", undo),
                 Group(" Start-up ", Column({tips}))});
}

QWidget* TOptionsForm::BuildSamplePage() {
  FSampleFile = new TvnxExtendedEdit;
  FSampleFile->setObjectName("SampleFileName");
  FTexts.push_back({FSampleFile, &TRegistrySettings::SampleFileName, &TRegistrySettings::SetSampleFileName});
  auto* browse = new QPushButton("&Browse...");
  browse->setObjectName("SampleFileBrowse");
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, "Sample Font", FSampleFile->text(),
                                                      "TrueType fonts (*.ttf *.otf);;All files (*)");
    if (!file.isEmpty()) FSampleFile->setText(file);
  });
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FSampleFile, 1);
  fileRow->addWidget(browse);
  auto* fileColumn = new QVBoxLayout;
  fileColumn->addLayout(fileRow);
  auto* fileNote = new QLabel("Leave empty to show the built-in sample glyphs.");
  fileNote->setWordWrap(true);
  fileColumn->addWidget(fileNote);

  auto* cells = new QFormLayout;
  cells->addRow("Cell &width:", IntField("SampleSingleWidth", 32, 200, &TRegistrySettings::SampleSingleWidth,
                                         &TRegistrySettings::SetSampleSingleWidth));
  cells->addRow("Cell &height:", IntField("SampleSingleHeight", 24, 200, &TRegistrySettings::SampleSingleHeight,
                                          &TRegistrySettings::SetSampleSingleHeight));
  return PageOf({Group(" Sample &font file ", fileColumn), Group(" Samples window cells (pixels) ", cells)});
}

QWidget* TOptionsForm::BuildFontPage() {
  struct TRemoval {
    const char* Caption;
    const char* Name;
    bool (TRegistrySettings::*Get)();
    void (TRegistrySettings::*Set)(bool);
  } removals[] = {
      {"R&emove unsupported tables", "IgnoreUnsupportedTables", &TRegistrySettings::IgnoreUnsupportedTables,
       &TRegistrySettings::SetIgnoreUnsupportedTables},
      {"Remove hinting d&ata", "IgnoreHintingData", &TRegistrySettings::IgnoreHintingData,
       &TRegistrySettings::SetIgnoreHintingData},
      {"Remove &DSIG table", "RemoveDSIGTable", &TRegistrySettings::RemoveDSIGTable,
       &TRegistrySettings::SetRemoveDSIGTable},
      {"Remove &LTSH table", "RemoveLTSHTable", &TRegistrySettings::RemoveLTSHTable,
       &TRegistrySettings::SetRemoveLTSHTable},
      {"Remove &VDMX table", "RemoveVDMXTable", &TRegistrySettings::RemoveVDMXTable,
       &TRegistrySettings::SetRemoveVDMXTable},
      {"Remove hd&mx table", "RemoveHdmxTable", &TRegistrySettings::RemoveHdmxTable,
       &TRegistrySettings::SetRemoveHdmxTable},
  };
  auto* open = new QVBoxLayout;
  for (const auto& r : removals) {
    QCheckBox* box = BoolBox(r.Caption, r.Name, r.Get, r.Set);
    connect(box, &QCheckBox::clicked, this, [this, box](bool Checked) { RemovalBoxClicked(box, Checked); });
    open->addWidget(box);
  }

  QCheckBox* backup = BoolBox("Always create &backup copy (bak)", "AlwaysCreateBackupCopy",
                              &TRegistrySettings::AlwaysCreateBackupCopy, &TRegistrySettings::SetAlwaysCreateBackupCopy);
  QCheckBox* hmtx = BoolBox("Compress hmt&x table", "CompressHmtxTable", &TRegistrySettings::CompressHmtxTable,
                            &TRegistrySettings::SetCompressHmtxTable);
  QCheckBox* mono = BoolBox("Exclude m&onospaced fonts", "ExcludeMonospacedFonts",
                            &TRegistrySettings::ExcludeMonospacedFonts, &TRegistrySettings::SetExcludeMonospacedFonts);
  EnableWhileChecked(hmtx, mono);
  auto* monoRow = new QHBoxLayout;
  monoRow->addSpacing(20);
  monoRow->addWidget(mono);
  QCheckBox* name = BoolBox("Optimize &name table", "CompressNameTable", &TRegistrySettings::CompressNameTable,
                            &TRegistrySettings::SetCompressNameTable);
  QCheckBox* bbox = BoolBox("&Recalc glyph bounding boxes", "RecalcGlyphBoundingBoxes",
                            &TRegistrySettings::RecalcGlyphBoundingBoxes,
                            &TRegistrySettings::SetRecalcGlyphBoundingBoxes);
  QCheckBox* date = BoolBox("&Update Modified DateTime field", "UpdateModifiedDateTimeField",
                            &TRegistrySettings::UpdateModifiedDateTimeField,
                            &TRegistrySettings::SetUpdateModifiedDateTimeField);
  QCheckBox* avg = BoolBox("Re&calc average char width", "RecalcAverageCharWidth",
                           &TRegistrySettings::RecalcAverageCharWidth, &TRegistrySettings::SetRecalcAverageCharWidth);
  QCheckBox* loca = BoolBox("Long-aligned local o&ffsets", "LongAlignedLocalOffsets",
                            &TRegistrySettings::LongAlignedLocalOffsets,
                            &TRegistrySettings::SetLongAlignedLocalOffsets);
  QCheckBox* lsb = BoolBox("Set left side bearing point at x=0", "SetLeftSideBearingPointAtX0",
                           &TRegistrySettings::SetLeftSideBearingPointAtX0,
                           &TRegistrySettings::SetSetLeftSideBearingPointAtX0);
  auto* save = new QVBoxLayout;
  save->addWidget(backup);
  save->addWidget(hmtx);
  save->addLayout(monoRow);
  for (QWidget* w : {name, bbox, date, avg, loca, lsb}) save->addWidget(w);

  return PageOf({Group(" When a font is opened ", open), Group(" When a font is saved ", save)});
}

QWidget* TOptionsForm::BuildOverviewPage() {
  auto* cells = new QFormLayout;
  cells->addRow("Cell &width:", IntField("OverviewSingleWidth", 32, 200, &TRegistrySettings::OverviewSingleWidth,
                                         &TRegistrySettings::SetOverviewSingleWidth));
  cells->addRow("Cell &height:", IntField("OverviewSingleHeight", 24, 200, &TRegistrySettings::OverviewSingleHeight,
                                          &TRegistrySettings::SetOverviewSingleHeight));

  QCheckBox* caption = BoolBox("&Show caption", "OverviewShowCaption", &TRegistrySettings::OverviewShowCaption,
                               &TRegistrySettings::SetOverviewShowCaption);
  QCheckBox* color = BoolBox("&Use type color in glyph caption", "OverviewUseColor",
                             &TRegistrySettings::OverviewUseColor, &TRegistrySettings::SetOverviewUseColor);
  FCaptionType = new QComboBox;
  FCaptionType->setObjectName("GlyphCaptionType");
  FCaptionType->addItems({"PostScript name", "Unicode mappings", "Macintosh mappings", "ISO mappings",
                          "Microsoft mappings", "Glyph index"});
  auto* captionForm = new QFormLayout;
  captionForm->addRow(caption);
  captionForm->addRow(color);
  captionForm->addRow("Caption &text:", FCaptionType);

  QCheckBox* sample = BoolBox("Sh&ow sample in empty glyphs", "OverviewShowSample",
                              &TRegistrySettings::OverviewShowSample, &TRegistrySettings::SetOverviewShowSample);
  FSampleFont = new QComboBox;
  FSampleFont->setObjectName("OverviewSampleFont");
  FSampleFont->addItems(QFontDatabase::families());
  FSampleFont->setMaximumWidth(260);
  EnableWhileChecked(sample, FSampleFont);
  QCheckBox* smooth = BoolBox("S&mooth glyphs", "OverviewSmoothGlyphs", &TRegistrySettings::OverviewSmoothGlyphs,
                              &TRegistrySettings::SetOverviewSmoothGlyphs);
  auto* glyphs = new QFormLayout;
  glyphs->addRow(sample);
  glyphs->addRow("Sample &font:", FSampleFont);
  glyphs->addRow(smooth);

  return PageOf({Group(" Cells (pixels) ", cells), Group(" Caption ", captionForm), Group(" Glyphs ", glyphs)});
}

QWidget* TOptionsForm::BuildGlyphPage() {
  FZoomAutoFit = new QRadioButton("Auto Fit Glyph in Window");
  FZoomAutoFit->setObjectName("AutoFitGlyphInWindow");
  FZoomFactorChoice = new QRadioButton("Zoom factor [%]:");
  FZoomFactorChoice->setObjectName("ZoomFactorChoice");
  FZoomFactor = NumberField("DefaultZoomFactor", 0.1, 1000, 1, 10);
  auto* zoom = new QGridLayout;
  zoom->addWidget(FZoomAutoFit, 0, 0, 1, 2);
  zoom->addWidget(FZoomFactorChoice, 1, 0);
  zoom->addWidget(FZoomFactor, 1, 1);
  zoom->setColumnStretch(2, 1);
  connect(FZoomFactorChoice, &QRadioButton::toggled, FZoomFactor, &QWidget::setEnabled);

  QCheckBox* filled = BoolBox("&Filled outline", "FilledOutline", &TRegistrySettings::FilledOutline,
                              &TRegistrySettings::SetFilledOutline);
  QCheckBox* connections = BoolBox("Show &connections between points", "ShowConnectionsBetweenPoints",
                                   &TRegistrySettings::ShowConnectionsBetweenPoints,
                                   &TRegistrySettings::SetShowConnectionsBetweenPoints);
  QCheckBox* firstLast = BoolBox("Show first and &last point indicators", "ShowFirstAndLastPointIndicators",
                                 &TRegistrySettings::ShowFirstAndLastPointIndicators,
                                 &TRegistrySettings::SetShowFirstAndLastPointIndicators);
  return PageOf({Group(" &Zoom Simple Glyph Edit Window ", zoom),
                 Group(" Drawing ", Column({filled, connections, firstLast}))});
}

QWidget* TOptionsForm::BuildEditPage() {
  QCheckBox* grid =
      BoolBox("Show &grid", "ShowGrid", &TRegistrySettings::ShowGrid, &TRegistrySettings::SetShowGrid);
  QCheckBox* snapGrid =
      BoolBox("S&nap to grid", "SnapToGrid", &TRegistrySettings::SnapToGrid, &TRegistrySettings::SetSnapToGrid);
  QCheckBox* fixed = BoolBox("Show &reference lines at x = 0, y = 0", "ShowFixedGridLines",
                             &TRegistrySettings::ShowFixedGridLines, &TRegistrySettings::SetShowFixedGridLines);
  QCheckBox* bearings = BoolBox("Show side &bearings", "ShowBearings", &TRegistrySettings::ShowBearings,
                                &TRegistrySettings::SetShowBearings);
  auto* distance = new QFormLayout;
  distance->addRow("Grid &distance (units):", IntField("GridDistance", 1, 32767, &TRegistrySettings::GridDistance,
                                                       &TRegistrySettings::SetGridDistance));

  QCheckBox* guides = BoolBox("Show g&uidelines", "ShowUserDefinedGuidelines",
                              &TRegistrySettings::ShowUserDefinedGuidelines,
                              &TRegistrySettings::SetShowUserDefinedGuidelines);
  QCheckBox* snapGuides = BoolBox("Sn&ap to guidelines", "SnapToUserDefinedGuidelines",
                                  &TRegistrySettings::SnapToUserDefinedGuidelines,
                                  &TRegistrySettings::SetSnapToUserDefinedGuidelines);
  QCheckBox* lockGuides = BoolBox("&Lock guidelines", "LockUserDefinedGuidelines",
                                  &TRegistrySettings::LockUserDefinedGuidelines,
                                  &TRegistrySettings::SetLockUserDefinedGuidelines);

  QCheckBox* transform = BoolBox("Show the &Transform tool window", "ShowToolbarWindowTransformation",
                                 &TRegistrySettings::ShowToolbarWindowTransformation,
                                 &TRegistrySettings::SetShowToolbarWindowTransformation);
  QCheckBox* background = BoolBox("Show the Background &Image tool window", "ShowToolbarWindowBackground",
                                  &TRegistrySettings::ShowToolbarWindowBackground,
                                  &TRegistrySettings::SetShowToolbarWindowBackground);
  QCheckBox* preview = BoolBox("Show the &Preview tool window", "ShowToolbarWindowPreview",
                               &TRegistrySettings::ShowToolbarWindowPreview,
                               &TRegistrySettings::SetShowToolbarWindowPreview);

  auto* gridColumn = Column({grid, snapGrid, fixed, bearings});
  gridColumn->addLayout(distance);
  return PageOf({Group(" Grid ", gridColumn), Group(" Guidelines ", Column({guides, snapGuides, lockGuides})),
                 Group(" Tool windows ", Column({transform, background, preview}))});
}

QWidget* TOptionsForm::BuildNamingPage() {
  QCheckBox* revision = BoolBox("Build the &version string from the font revision", "AutoNamingUseFontRevision",
                                &TRegistrySettings::AutoNamingUseFontRevision,
                                &TRegistrySettings::SetAutoNamingUseFontRevision);
  struct TNamingRow {
    const char* Caption;
    const char* BoxName;
    const char* EditName;
    bool (TRegistrySettings::*GetIncluded)();
    void (TRegistrySettings::*SetIncluded)(bool);
    std::string (TRegistrySettings::*GetText)();
    void (TRegistrySettings::*SetText)(const std::string&);
  } rows[] = {
      {"&Copyright", "DefaultNamingCopyrightIncluded", "DefaultNamingCopyrightText",
       &TRegistrySettings::DefaultNamingCopyrightIncluded, &TRegistrySettings::SetDefaultNamingCopyrightIncluded,
       &TRegistrySettings::DefaultNamingCopyrightText, &TRegistrySettings::SetDefaultNamingCopyrightText},
      {"&Trademark", "DefaultNamingTrademarkIncluded", "DefaultNamingTrademarkText",
       &TRegistrySettings::DefaultNamingTrademarkIncluded, &TRegistrySettings::SetDefaultNamingTrademarkIncluded,
       &TRegistrySettings::DefaultNamingTrademarkText, &TRegistrySettings::SetDefaultNamingTrademarkText},
      {"Font &designer", "DefaultNamingFontDesignerIncluded", "DefaultNamingFontDesignerText",
       &TRegistrySettings::DefaultNamingFontDesignerIncluded,
       &TRegistrySettings::SetDefaultNamingFontDesignerIncluded, &TRegistrySettings::DefaultNamingFontDesignerText,
       &TRegistrySettings::SetDefaultNamingFontDesignerText},
      {"Designer &URL", "DefaultNamingFontDesignerLinkIncluded", "DefaultNamingFontDesignerLinkText",
       &TRegistrySettings::DefaultNamingFontDesignerLinkIncluded,
       &TRegistrySettings::SetDefaultNamingFontDesignerLinkIncluded,
       &TRegistrySettings::DefaultNamingFontDesignerLinkText,
       &TRegistrySettings::SetDefaultNamingFontDesignerLinkText},
      {"&License", "DefaultNamingLicenseAgreementIncluded", "DefaultNamingLicenseAgreementText",
       &TRegistrySettings::DefaultNamingLicenseAgreementIncluded,
       &TRegistrySettings::SetDefaultNamingLicenseAgreementIncluded,
       &TRegistrySettings::DefaultNamingLicenseAgreementText,
       &TRegistrySettings::SetDefaultNamingLicenseAgreementText},
      {"License U&RL", "DefaultNamingLicenseAgreementLinkIncluded", "DefaultNamingLicenseAgreementLinkText",
       &TRegistrySettings::DefaultNamingLicenseAgreementLinkIncluded,
       &TRegistrySettings::SetDefaultNamingLicenseAgreementLinkIncluded,
       &TRegistrySettings::DefaultNamingLicenseAgreementLinkText,
       &TRegistrySettings::SetDefaultNamingLicenseAgreementLinkText},
  };
  auto* grid = new QGridLayout;
  int row = 0;
  for (const auto& r : rows) {
    QCheckBox* box = BoolBox(r.Caption, r.BoxName, r.GetIncluded, r.SetIncluded);
    auto* edit = new TvnxExtendedEdit;
    edit->setObjectName(QString::fromLatin1(r.EditName));
    edit->setMinimumWidth(260);
    FTexts.push_back({edit, r.GetText, r.SetText});
    EnableWhileChecked(box, edit);
    grid->addWidget(box, row, 0);
    grid->addWidget(edit, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  auto* note = new QLabel("New fonts get the checked entries. <your company>, <year> and <font family> "
                          "are placeholders to replace in the new font.");
  note->setWordWrap(true);
  grid->addWidget(note, row, 0, 1, 2);
  return PageOf({Group(" Automatic naming ", Column({revision})), Group(" Default naming of new fonts ", grid)});
}

QWidget* TOptionsForm::BuildValidationPage() {
  QCheckBox* enable = BoolBox("&Enable real-time glyph validation", "EnableGlyphProblemDetection",
                              &TRegistrySettings::EnableGlyphProblemDetection,
                              &TRegistrySettings::SetEnableGlyphProblemDetection);
  QCheckBox* intersections = BoolBox("Show &intersections", "ShowIntersections",
                                     &TRegistrySettings::ShowIntersections, &TRegistrySettings::SetShowIntersections);
  QCheckBox* warnings = BoolBox("Show &warning points", "ShowWarningPoints", &TRegistrySettings::ShowWarningPoints,
                                &TRegistrySettings::SetShowWarningPoints);

  auto* limits = new QFormLayout;
  limits->addRow("Max. &points:", IntField("ValidationMaxNumberOfPoints", 0, INT32_MAX,
                                           &TRegistrySettings::ValidationMaxNumberOfPoints,
                                           &TRegistrySettings::SetValidationMaxNumberOfPoints));
  limits->addRow("Max. c&ontours:", IntField("ValidationMaxNumberOfContours", 0, INT32_MAX,
                                             &TRegistrySettings::ValidationMaxNumberOfContours,
                                             &TRegistrySettings::SetValidationMaxNumberOfContours));
  limits->addRow("Max. composite &members:",
                 IntField("ValidationMaxNumberOfCompositeGlyphMembers", 0, INT32_MAX,
                          &TRegistrySettings::ValidationMaxNumberOfCompositeGlyphMembers,
                          &TRegistrySettings::SetValidationMaxNumberOfCompositeGlyphMembers));

  FExtremeGlobal = new QRadioButton("&Global");
  FExtremeGlobal->setObjectName("ExtremeGlobal");
  FExtremeLocal = new QRadioButton("L&ocal");
  FExtremeLocal->setObjectName("LocalExtremeCoordinatesDetection");
  auto* extremes = new QHBoxLayout;
  extremes->addWidget(FExtremeGlobal);
  extremes->addWidget(FExtremeLocal);
  extremes->addStretch(1);

  QCheckBox* onCurve = BoolBox("Max. on-curve dist.", "DiagonalRedundantOnCurvePointsDetection",
                               &TRegistrySettings::DiagonalRedundantOnCurvePointsDetection,
                               &TRegistrySettings::SetDiagonalRedundantOnCurvePointsDetection);
  FOnCurveDistance = NumberField("MaximumRedundantOnCurvePointsDistance", 0, 4, 2, 0.1);
  QCheckBox* offCurve = BoolBox("Max. off-curve dist.", "DiagonalRedundantOffCurvePointsDetection",
                                &TRegistrySettings::DiagonalRedundantOffCurvePointsDetection,
                                &TRegistrySettings::SetDiagonalRedundantOffCurvePointsDetection);
  FOffCurveDistance = NumberField("MaximumRedundantOffCurvePointsDistance", 0, 4, 2, 0.1);
  EnableWhileChecked(onCurve, FOnCurveDistance);
  EnableWhileChecked(offCurve, FOffCurveDistance);
  auto* redundant = new QGridLayout;
  redundant->addWidget(onCurve, 0, 0);
  redundant->addWidget(FOnCurveDistance, 0, 1);
  redundant->addWidget(offCurve, 1, 0);
  redundant->addWidget(FOffCurveDistance, 1, 1);
  redundant->setColumnStretch(2, 1);

  return PageOf({Group(" Real-time validation ", Column({enable, intersections, warnings})),
                 Group(" Switched off for glyphs with more than ", limits),
                 Group(" Off-curve extreme detection ", extremes),
                 Group(" Diagonal redundant points ", redundant)});
}

QWidget* TOptionsForm::BuildAdvancedPage() {
  FWarnList = new QListWidget;
  FWarnList->setObjectName("WarnList");
  for (const char* caption : {"Warn before sorting glyphs", "Warn before activating the fix feature",
                              "Warn before activating a remove feature",
                              "Warn before executing a glyph transform program"}) {
    auto* item = new QListWidgetItem(caption, FWarnList);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Checked);
  }
  FWarnList->setSpacing(2);
  FWarnList->setFixedHeight(4 * (FWarnList->sizeHintForRow(0) + 2 * FWarnList->spacing()) +
                            2 * FWarnList->frameWidth() + 4);
  auto* note = new QLabel("Checked warnings are shown before the action; a warning switched off with "
                          "\"Don't Show this Warning Again\" can be switched on here.");
  note->setWordWrap(true);
  auto* column = new QVBoxLayout;
  column->addWidget(FWarnList);
  column->addWidget(note);
  return PageOf({Group(" Warnings ", column)});
}

// ---------------------------------------------------------------------------
// Loading, the removal warning and saving

void TOptionsForm::LoadSettings() {
  TRegistrySettings& s = FSettings;
  for (const auto& b : FBools) b.Box->setChecked((s.*b.Get)());
  for (const auto& i : FInts) i.Field->SetValue((s.*i.Get)());
  for (const auto& t : FTexts) {
    t.Edit->setText(ToQ((s.*t.Get)()));
    t.Edit->setCursorPosition(0);  // long texts show their beginning
  }

  if (QAbstractButton* state = FChildWindowState->button(s.ChildWindowState())) state->setChecked(true);

  const int32_t count = s.OverviewUndoLimitMaxCount();
  FUndoCountBox->setChecked(count != 0);
  FUndoCount->SetValue(count != 0 ? count : 100);
  const int32_t size = s.OverviewUndoLimitMaxSize();
  FUndoSizeBox->setChecked(size != 0);
  FUndoSize->SetValue(size != 0 ? size : 1024);

  const QString sampleFont = ToQ(s.OverviewSampleFont());
  if (FSampleFont->findText(sampleFont) < 0) FSampleFont->addItem(sampleFont);  // keep a font not installed here
  FSampleFont->setCurrentText(sampleFont);
  FCaptionType->setCurrentIndex(s.GlyphCaptionType());

  const bool autoFit = s.AutoFitGlyphInWindow();
  (autoFit ? FZoomAutoFit : FZoomFactorChoice)->setChecked(true);
  FZoomFactor->setEnabled(!autoFit);
  FZoomFactor->SetValue(static_cast<long double>(s.DefaultZoomFactor()) * 100);

  (s.LocalExtremeCoordinatesDetection() ? FExtremeLocal : FExtremeGlobal)->setChecked(true);
  FOnCurveDistance->SetValue(s.MaximumRedundantOnCurvePointsDistance());
  FOffCurveDistance->SetValue(s.MaximumRedundantOffCurvePointsDistance());

  const bool warns[] = {s.WarnBeforeSortingGlyphs(), s.WarnBeforeActivatingFixFeature(),
                        s.WarnBeforeActivatingRemoveFeature(), s.WarnBeforeExecutingGlyphTransformProgram()};
  for (int i = 0; i < 4; ++i) FWarnList->item(i)->setCheckState(warns[i] ? Qt::Checked : Qt::Unchecked);
}

void TOptionsForm::RemovalBoxClicked(QCheckBox* Box, bool Checked) {
  QListWidgetItem* warnLine = FWarnList->item(wlRemove);
  if (!Checked || warnLine->checkState() != Qt::Checked) return;
  bool dontShowAgain = false;
  if (!TExtendedWarningForm::Ask(this, kRemoveWarning, dontShowAgain)) {
    Box->setChecked(false);
    return;
  }
  if (dontShowAgain) warnLine->setCheckState(Qt::Unchecked);
}

void TOptionsForm::SaveSettings() {
  TRegistrySettings& s = FSettings;
  for (const auto& b : FBools) (s.*b.Set)(b.Box->isChecked());
  for (const auto& i : FInts) (s.*i.Set)(RoundHalfUp(i.Field->ValueDouble()));
  for (const auto& t : FTexts) (s.*t.Set)(t.Edit->ContentText().toStdString());

  s.SetChildWindowState(std::max(0, FChildWindowState->checkedId()));
  s.SetOverviewUndoLimitMaxCount(FUndoCountBox->isChecked() ? RoundHalfUp(FUndoCount->ValueDouble()) : 0);
  s.SetOverviewUndoLimitMaxSize(FUndoSizeBox->isChecked() ? RoundHalfUp(FUndoSize->ValueDouble()) : 0);
  s.SetOverviewSampleFont(FSampleFont->currentText().toStdString());
  s.SetGlyphCaptionType(std::max(0, FCaptionType->currentIndex()));
  s.SetAutoFitGlyphInWindow(FZoomAutoFit->isChecked());
  s.SetDefaultZoomFactor(FZoomFactor->ValueDouble() / 100);
  s.SetLocalExtremeCoordinatesDetection(FExtremeLocal->isChecked());
  s.SetMaximumRedundantOnCurvePointsDistance(FOnCurveDistance->ValueDouble());
  s.SetMaximumRedundantOffCurvePointsDistance(FOffCurveDistance->ValueDouble());
  s.SetWarnBeforeSortingGlyphs(FWarnList->item(wlSorting)->checkState() == Qt::Checked);
  s.SetWarnBeforeActivatingFixFeature(FWarnList->item(wlFix)->checkState() == Qt::Checked);
  s.SetWarnBeforeActivatingRemoveFeature(FWarnList->item(wlRemove)->checkState() == Qt::Checked);
  s.SetWarnBeforeExecutingGlyphTransformProgram(FWarnList->item(wlTransform)->checkState() == Qt::Checked);
}

void TOptionsForm::OkClicked() {
  // A failing write leaves the dialog open; the error is shown by the caller.
  SaveSettings();
  accept();
}

}  // namespace tsy
