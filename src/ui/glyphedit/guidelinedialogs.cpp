#include "glyphedit/guidelinedialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "controls/extendedspinedit.h"
#include "fontfile/stream.h"
#include "glyphedit/displaypainter.h"
#include "settings/registrysettings.h"

namespace tsy {

namespace {

QButtonGroup* RadioGroup(QGroupBox* Box, const QStringList& Labels) {
  auto* group = new QButtonGroup(Box);
  auto* layout = new QVBoxLayout(Box);
  for (int i = 0; i < Labels.size(); ++i) {
    auto* b = new QRadioButton(Labels[i], Box);
    group->addButton(b, i);
    layout->addWidget(b);
  }
  group->button(0)->setChecked(true);
  return group;
}

void ShowColor(QPushButton* Button, const QColor& C) {
  Button->setStyleSheet(QStringLiteral("background-color: %1").arg(C.name()));
}

QPushButton* ColorButton(QWidget* Parent, QColor& Value) {
  auto* b = new QPushButton(Parent);
  b->setMinimumWidth(60);
  ShowColor(b, Value);
  QObject::connect(b, &QPushButton::clicked, Parent, [b, &Value, Parent] {
    const QColor c = QColorDialog::getColor(Value, Parent);
    if (c.isValid()) {
      Value = c;
      ShowColor(b, c);
    }
  });
  return b;
}

template <class TGet>
auto SafeRead(TGet Get, decltype(Get()) Default) {
  try {
    return Get();
  } catch (const std::exception&) {
    return Default;
  }
}

}  // namespace

// ---- "Guideline" ---------------------------------------------------------------------

TGuideLineModifyForm::TGuideLineModifyForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Guideline"));
  auto* layout = new QVBoxLayout(this);
  auto* box = new QGroupBox(QStringLiteral(" &Line Type "), this);
  FType = RadioGroup(box, {QStringLiteral("Horizontal"), QStringLiteral("Vertical"), QStringLiteral("Diagonal - angle"),
                           QStringLiteral("Diagonal - points")});
  layout->addWidget(box);
  auto* form = new QFormLayout;
  const char* labels[] = {"Point 1 &x", "Poin&t 1 y", "&Point 2 x", "P&oint 2 y", "&Angle"};
  for (int i = 0; i < 5; ++i) {
    auto* f = new TvnxExtendedSpinEdit(this);
    f->SetDigits(i == 4 ? 3 : 0);
    f->SetMinValue(i == 4 ? 0 : -32768);
    f->SetMaxValue(i == 4 ? 360 : 32767);
    f->SetValue(0);
    auto* label = new QLabel(QString::fromLatin1(labels[i]), this);
    label->setBuddy(f);
    form->addRow(label, f);
    FFields.push_back(f);
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(FType, &QButtonGroup::idClicked, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

int TGuideLineModifyForm::LineType() const { return FType->checkedId(); }

void TGuideLineModifyForm::SetLineType(int Type) {
  if (QAbstractButton* b = FType->button(Type)) b->setChecked(true);
  UpdateEnabled();
}

void TGuideLineModifyForm::UpdateEnabled() {
  const int t = LineType();
  const bool on[4][5] = {{false, true, false, false, false},
                         {true, false, false, false, false},
                         {true, true, false, false, true},
                         {true, true, true, true, false}};
  for (int i = 0; i < 5; ++i) FFields[size_t(i)]->setEnabled(t >= 0 && t < 4 && on[t][i]);
}

void TGuideLineModifyForm::Load(const TGuideline& G) {
  for (auto* f : FFields) f->SetValue(0);
  if (auto* h = dynamic_cast<const TGuidelineHorizontal*>(&G)) {
    SetLineType(gkHorizontal);
    FFields[1]->SetValue(h->Y);
  } else if (auto* v = dynamic_cast<const TGuidelineVertical*>(&G)) {
    SetLineType(gkVertical);
    FFields[0]->SetValue(v->X);
  } else if (auto* d = dynamic_cast<const TGuidelineDiagonal*>(&G)) {
    SetLineType(d->Kind == gkDiagonalPoints ? gkDiagonalPoints : gkDiagonalAngle);
    FFields[0]->SetValue(d->Point1.X);
    FFields[1]->SetValue(d->Point1.Y);
    FFields[2]->SetValue(d->Point2.X);
    FFields[3]->SetValue(d->Point2.Y);
    FFields[4]->SetValue(d->GetAngle());
  }
}

TGuideline* TGuideLineModifyForm::Apply(TGuideLineSettings& Settings, const TGuideline* G) const {
  auto value = [&](int I) { return FFields[size_t(I)]->ValueDouble(); };
  const TIntPoint p1{RoundHalfUp(value(0)), RoundHalfUp(value(1))}, p2{RoundHalfUp(value(2)), RoundHalfUp(value(3))};
  // Two equal points give no line: keep the old guideline rather than add one
  // the guidelines file could not hold.
  if (LineType() == gkDiagonalPoints && p1 == p2) return const_cast<TGuideline*>(G);
  if (G) Settings.RemoveGuideline(G);
  switch (LineType()) {
    case gkHorizontal: return &Settings.Horizontal.Add(value(1));
    case gkVertical: return &Settings.Vertical.Add(value(0));
    default: return &Settings.Diagonal.Add(p1, p2, uint8_t(LineType()), value(4));
  }
}

bool EditGuideline(TGuideLineSettings& Settings, TGuideline*& G, QWidget* Parent) {
  TGuideLineModifyForm form(Parent);
  if (G) form.Load(*G);
  if (form.exec() != QDialog::Accepted) return false;
  G = form.Apply(Settings, G);
  return true;
}

// ---- "Guidelines Options" --------------------------------------------------------------

TGuideLinesForm::TGuideLinesForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Guidelines Options"));
  TRegistrySettings& s = TRegistrySettings::Instance();
  TMemoryStream snapshot;
  TGuideLineSettings::AccessInstance(1)->SaveToStream(snapshot);
  FSnapshot = snapshot.Bytes();

  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* styleBox = new QGroupBox(QStringLiteral(" &Line style "), this);
  FStyle = RadioGroup(styleBox, {QStringLiteral("Solid"), QStringLiteral("Dashed")});
  FStyle->button(SafeRead([&] { return s.GuideLineStyle(); }, 0) == 0 ? 0 : 1)->setChecked(true);
  left->addWidget(styleBox);
  auto* colorBox = new QGroupBox(QStringLiteral(" &Color "), this);
  FColorValue = ToQColor(TColor(SafeRead([&] { return s.GuideLineColor(); }, 0)));
  FColor = ColorButton(this, FColorValue);
  (new QVBoxLayout(colorBox))->addWidget(FColor);
  left->addWidget(colorBox);
  FSnap = new QCheckBox(QStringLiteral("&Snap"), this);
  FLock = new QCheckBox(QStringLiteral("&Lock"), this);
  FShow = new QCheckBox(QStringLiteral("&Show &Guidelines"), this);
  FSnap->setChecked(SafeRead([&] { return s.SnapToUserDefinedGuidelines(); }, false));
  FLock->setChecked(SafeRead([&] { return s.LockUserDefinedGuidelines(); }, false));
  FShow->setChecked(SafeRead([&] { return s.ShowUserDefinedGuidelines(); }, true));
  left->addWidget(FShow);
  left->addWidget(FSnap);
  left->addWidget(FLock);
  left->addStretch();
  layout->addLayout(left);

  auto* right = new QVBoxLayout;
  FList = new QListWidget(this);
  FList->setMinimumWidth(260);
  right->addWidget(FList);
  auto* row = new QHBoxLayout;
  FNew = new QPushButton(QStringLiteral("&New..."), this);
  FModify = new QPushButton(QStringLiteral("&Modify..."), this);
  FDelete = new QPushButton(QStringLiteral("&Delete"), this);
  FClear = new QPushButton(QStringLiteral("&Clear"), this);
  for (QPushButton* b : {FNew, FModify, FDelete, FClear}) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  right->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  right->addWidget(buttons);
  layout->addLayout(right);

  connect(FNew, &QPushButton::clicked, this, [this] { NewClick(); });
  connect(FModify, &QPushButton::clicked, this, [this] { ModifyClick(); });
  connect(FList, &QListWidget::itemDoubleClicked, this, [this] { ModifyClick(); });
  connect(FDelete, &QPushButton::clicked, this, [this] { DeleteClick(); });
  connect(FClear, &QPushButton::clicked, this, [this] {
    TGuideLineSettings::AccessInstance(1)->ClearAll();
    Fill(-1);
  });
  connect(FShow, &QCheckBox::toggled, this, [this] { UpdateButtons(); });
  connect(FList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
  Fill(-1);
}

TGuideline* TGuideLinesForm::GuidelineAt(int Row) const {
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  if (Row < 0) return nullptr;
  size_t r = size_t(Row);
  if (r < g.Horizontal.Count()) return &g.Horizontal.Items(r);
  r -= g.Horizontal.Count();
  if (r < g.Vertical.Count()) return &g.Vertical.Items(r);
  r -= g.Vertical.Count();
  if (r < g.Diagonal.Count()) return &g.Diagonal.Items(r);
  return nullptr;
}

void TGuideLinesForm::Fill(int Select) {
  FList->clear();
  for (int row = 0;; ++row) {
    const TGuideline* g = GuidelineAt(row);
    if (!g) break;
    FList->addItem(QString::fromStdString(g->GetDescription()));
  }
  if (Select >= FList->count()) Select = FList->count() - 1;
  FList->setCurrentRow(Select);
  UpdateButtons();
}

void TGuideLinesForm::UpdateButtons() {
  const bool show = FShow->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(FSnap), static_cast<QWidget*>(FLock), static_cast<QWidget*>(FList),
                     static_cast<QWidget*>(FNew), static_cast<QWidget*>(FColor)})
    w->setEnabled(show);
  const bool selected = show && FList->currentRow() >= 0;
  FModify->setEnabled(selected);
  FDelete->setEnabled(selected);
  FClear->setEnabled(show && FList->count() > 0);
}

void TGuideLinesForm::NewClick() {
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  TGuidelineHorizontal fresh(0);
  TGuideLineModifyForm form(this);
  form.Load(fresh);
  if (form.exec() != QDialog::Accepted) return;
  const TGuideline* added = form.Apply(g, nullptr);
  Fill(-1);
  for (int row = 0; row < FList->count(); ++row)
    if (GuidelineAt(row) == added) FList->setCurrentRow(row);
}

void TGuideLinesForm::ModifyClick() {
  TGuideline* g = GuidelineAt(FList->currentRow());
  if (!g) return;
  if (!EditGuideline(*TGuideLineSettings::AccessInstance(1), g, this)) return;
  Fill(-1);
  for (int row = 0; row < FList->count(); ++row)
    if (GuidelineAt(row) == g) FList->setCurrentRow(row);
}

void TGuideLinesForm::DeleteClick() {
  const int row = FList->currentRow();
  TGuideline* g = GuidelineAt(row);
  if (!g) return;
  TGuideLineSettings::AccessInstance(1)->RemoveGuideline(g);
  Fill(row);
}

void TGuideLinesForm::accept() {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetGuideLineColor(int32_t(FromQColor(FColorValue)));
  s.SetGuideLineStyle(FStyle->checkedId() == 0 ? 0 : 1);
  s.SetShowUserDefinedGuidelines(FShow->isChecked());
  s.SetSnapToUserDefinedGuidelines(FSnap->isChecked());
  s.SetLockUserDefinedGuidelines(FLock->isChecked());
  QDialog::accept();
}

void TGuideLinesForm::reject() {
  // The buttons changed the guidelines at once; Cancel takes them back.
  TReadOnlyStream s(FSnapshot.data(), FSnapshot.size());
  TGuideLineSettings::AccessInstance(1)->LoadFromStream(s);
  QDialog::reject();
}

bool ShowGuidelinesOptions(QWidget* Parent) {
  TGuideLinesForm form(Parent);
  return form.exec() == QDialog::Accepted;
}

// ---- "Grid Options" ------------------------------------------------------------------------

namespace {
int StepOf(const int (&Values)[10], int Value) {
  for (int i = 0; i < 10; ++i)
    if (Values[i] == Value) return i;
  return 4;  // a value not on the scale: the middle step
}
}  // namespace

TGridForm::TGridForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Grid Options"));
  TRegistrySettings& s = TRegistrySettings::Instance();
  auto* layout = new QVBoxLayout(this);
  FShowGrid = new QCheckBox(QStringLiteral("S&how Grid"), this);
  FShowGrid->setChecked(SafeRead([&] { return s.ShowGrid(); }, true));
  layout->addWidget(FShowGrid);

  auto slider = [&](const QString& Title, const int (&Values)[10], int Current, QSlider*& Slider, QLabel*& Label) {
    auto* box = new QGroupBox(Title, this);
    auto* row = new QHBoxLayout(box);
    Slider = new QSlider(Qt::Horizontal, box);
    Slider->setRange(0, 9);
    Slider->setPageStep(1);
    Slider->setTickPosition(QSlider::TicksBelow);
    Slider->setValue(StepOf(Values, Current));
    Label = new QLabel(box);
    Label->setMinimumWidth(40);
    row->addWidget(Slider);
    row->addWidget(Label);
    auto show = [Label, &Values](int Step) { Label->setText(QString::number(Values[Step])); };
    show(Slider->value());
    connect(Slider, &QSlider::valueChanged, this, show);
    layout->addWidget(box);
  };
  slider(QStringLiteral(" Minimum distance between grid points in &units "), kDistances,
         SafeRead([&] { return s.GridDistance(); }, 100), FDistance, FDistanceLabel);
  slider(QStringLiteral(" Minimum distance between grid points in pi&xels "), kPixels,
         SafeRead([&] { return s.GridDistancePixels(); }, 16), FPixels, FPixelsLabel);

  auto* styles = new QHBoxLayout;
  auto* styleBox = new QGroupBox(QStringLiteral(" &Line style "), this);
  FStyle = RadioGroup(styleBox, {QStringLiteral("Solid"), QStringLiteral("Dots")});
  FStyle->button(SafeRead([&] { return s.GridLineStyle(); }, 0) == 0 ? 0 : 1)->setChecked(true);
  styles->addWidget(styleBox);
  auto* colorBox = new QGroupBox(QStringLiteral(" &Color "), this);
  FColorValue = ToQColor(TColor(SafeRead([&] { return s.GridColor(); }, 0x00FFA6A6)));
  FColor = ColorButton(this, FColorValue);
  (new QVBoxLayout(colorBox))->addWidget(FColor);
  styles->addWidget(colorBox);
  layout->addLayout(styles);

  FShowFixed = new QCheckBox(QStringLiteral("Sho&w reference lines at x = 0, y = 0"), this);
  FShowFixed->setChecked(SafeRead([&] { return s.ShowFixedGridLines(); }, true));
  layout->addWidget(FShowFixed);
  auto* fixed = new QHBoxLayout;
  auto* fixedStyleBox = new QGroupBox(QStringLiteral(" Line &style "), this);
  FFixedStyle = RadioGroup(fixedStyleBox, {QStringLiteral("Solid"), QStringLiteral("Dots")});
  FFixedStyle->button(SafeRead([&] { return s.FixedGridLineStyle(); }, 0) == 0 ? 0 : 1)->setChecked(true);
  fixed->addWidget(fixedStyleBox);
  auto* fixedColorBox = new QGroupBox(QStringLiteral(" C&olor "), this);
  FFixedColorValue = ToQColor(TColor(SafeRead([&] { return s.FixedGridColor(); }, 255)));
  FFixedColor = ColorButton(this, FFixedColorValue);
  (new QVBoxLayout(fixedColorBox))->addWidget(FFixedColor);
  fixed->addWidget(fixedColorBox);
  layout->addLayout(fixed);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(FShowGrid, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(FShowFixed, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void TGridForm::UpdateEnabled() {
  for (QWidget* w : {static_cast<QWidget*>(FDistance), static_cast<QWidget*>(FPixels), static_cast<QWidget*>(FColor)})
    w->setEnabled(FShowGrid->isChecked());
  for (QAbstractButton* b : FStyle->buttons()) b->setEnabled(FShowGrid->isChecked());
  FFixedColor->setEnabled(FShowFixed->isChecked());
  for (QAbstractButton* b : FFixedStyle->buttons()) b->setEnabled(FShowFixed->isChecked());
}

void TGridForm::accept() {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetShowGrid(FShowGrid->isChecked());
  s.SetGridDistance(kDistances[FDistance->value()]);
  s.SetGridDistancePixels(kPixels[FPixels->value()]);
  s.SetGridLineStyle(FStyle->checkedId() == 0 ? 0 : 1);
  s.SetGridColor(int32_t(FromQColor(FColorValue)));
  s.SetShowFixedGridLines(FShowFixed->isChecked());
  s.SetFixedGridLineStyle(FFixedStyle->checkedId() == 0 ? 0 : 1);
  s.SetFixedGridColor(int32_t(FromQColor(FFixedColorValue)));
  QDialog::accept();
}

bool ShowGridOptions(QWidget* Parent) {
  TGridForm form(Parent);
  return form.exec() == QDialog::Accepted;
}

}  // namespace tsy
