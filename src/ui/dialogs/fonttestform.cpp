#include "dialogs/fonttestform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "controls/extendedspinedit.h"
#include "fontfile/tables/name.h"
#include "settings/registrysettings.h"

namespace tsy {

namespace {

constexpr int kMinSize = 6, kMaxSize = 512;

// Each line is kept in the name table's escaped 8-bit form, so any Unicode
// text survives a file written as plain bytes.
QString DecodeLine(const QByteArray& Line) {
  return QString::fromStdU16String(EscapedToNameText(Line.toStdString(), 3));
}

QByteArray EncodeLine(const QString& Line) {
  return QByteArray::fromStdString(NameTextToEscaped(Line.toStdU16String(), 3));
}

}  // namespace

QStringList TFontTestForm::DefaultText() {
  return {"Tessary !",
          "Type your own text here and it ",
          "will be remembered next time ",
          "you test a font.",
          "abcdefg ABCDEFG",
          "0123456789 !@#$%^&*()",
          "Neque porro quisquam est",
          "qui dolorem ipsum quia ",
          "dolor sit amet,  consectetur,",
          "adipisci velit..."};
}

QString TFontTestForm::DefaultSampleFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/tsypreview.txt";
}

TFontTestForm::TFontTestForm(TRegistrySettings& Settings, const QString& Family, int StyleCode, QWidget* Parent,
                             const QString& SampleFile)
    : QDialog(Parent), FSettings(Settings), FSampleFile(SampleFile.isEmpty() ? DefaultSampleFile() : SampleFile) {
  setWindowTitle("Test Font");
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  auto* tools = new QHBoxLayout;
  FSize = new TvnxExtendedSpinEdit(this);
  FSize->SetDigits(0);
  FSize->SetMinValue(kMinSize);
  FSize->SetMaxValue(kMaxSize);
  FSize->setMaxLength(4);
  FSize->setFixedWidth(80);
  tools->addWidget(FSize);
  const char* styles[4] = {"Bold", "Italic", "Underline", "Strike out"};
  for (int i = 0; i < 4; ++i) {
    FStyles[i] = new QToolButton(this);
    FStyles[i]->setText(styles[i]);
    FStyles[i]->setCheckable(true);
    tools->addWidget(FStyles[i]);
  }
  FWritingSystems = new QComboBox(this);
  tools->addWidget(FWritingSystems, 1);
  FPrint = new QPushButton("&Print", this);
  tools->addWidget(FPrint);
  layout->addLayout(tools);
  FEditor = new QPlainTextEdit(this);
  FEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
  FEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(FEditor, 1);

  FFont = QFont(Family);
  const int size = std::clamp<int>(Settings.PreviewFontSize(), kMinSize, kMaxSize);
  FFont.setPointSize(size);
  FSize->SetValue(size);
  // The buttons show the font's own style; the text starts plain.
  FStyles[1]->setChecked(StyleCode & 1);
  FStyles[0]->setChecked(StyleCode & 2);

  if (Settings.PreviewPosWidth() >= 0) {
    setGeometry(Settings.PreviewPosLeft(), Settings.PreviewPosTop(), Settings.PreviewPosWidth(),
                Settings.PreviewPosHeight());
  } else {
    resize(640, 400);
  }

  QStringList lines = DefaultText();
  QFile sample(FSampleFile);
  if (sample.open(QIODevice::ReadOnly)) {
    lines.clear();
    for (QByteArray line : sample.readAll().split('\n')) {
      if (line.endsWith('\r')) line.chop(1);
      lines << DecodeLine(line);
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  }
  FEditor->setPlainText(lines.join('\n'));

  // What the desktop says the face covers stands where the character sets were.
  for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(Family))
    FWritingSystems->addItem(QFontDatabase::writingSystemName(ws), int(ws));
  if (FWritingSystems->count() == 0) FWritingSystems->addItem(QFontDatabase::writingSystemName(QFontDatabase::Any));

  connect(FSize, &QLineEdit::textChanged, this, &TFontTestForm::SizeTextChanged);
  for (int i = 0; i < 4; ++i) connect(FStyles[i], &QToolButton::toggled, this, &TFontTestForm::ApplyFont);
  connect(FPrint, &QPushButton::clicked, this, &TFontTestForm::Print);
  FFont.setBold(false);
  FFont.setItalic(false);
  FEditor->setFont(FFont);
}

void TFontTestForm::ApplyFont() {
  FFont.setBold(FStyles[0]->isChecked());
  FFont.setItalic(FStyles[1]->isChecked());
  FFont.setUnderline(FStyles[2]->isChecked());
  FFont.setStrikeOut(FStyles[3]->isChecked());
  FEditor->setFont(FFont);
}

void TFontTestForm::SizeTextChanged() {
  bool ok = false;
  const double value = QLocale().toDouble(FSize->text(), &ok);
  if (!ok || !std::isfinite(value) || value < kMinSize || value > kMaxSize) return;
  FFont.setPointSize(int(std::lround(value)));
  FEditor->setFont(FFont);
}

void TFontTestForm::Print() {
  QPrinter printer;
  printer.setDocName("Tessary -- Testing font");
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QTextDocument document;
  document.setDefaultFont(FFont);
  document.setPlainText(FEditor->toPlainText());
  document.print(&printer);
}

void TFontTestForm::done(int Result) {
  FSettings.SetPreviewFontSize(FFont.pointSize());
  QDir().mkpath(QFileInfo(FSampleFile).absolutePath());
  QSaveFile file(FSampleFile);
  if (file.open(QIODevice::WriteOnly)) {
    for (const QString& line : FEditor->toPlainText().split('\n')) file.write(EncodeLine(line) + "\n");
    file.commit();  // a sample text that cannot be written is not worth an error
  }
  const QRect r = geometry();
  FSettings.SetPreviewPosLeft(r.left());
  FSettings.SetPreviewPosTop(r.top());
  FSettings.SetPreviewPosWidth(r.width());
  FSettings.SetPreviewPosHeight(r.height());
  QDialog::done(Result);
}

}  // namespace tsy
