#include "dialogs/tipofthedayform.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextStream>
#include <QVBoxLayout>

#include "common/resources.h"
#include "settings/registrysettings.h"
#include "shell/tsyapplication.h"

namespace tsy {

TTipOfTheDayForm::TTipOfTheDayForm(TRegistrySettings& Settings, QWidget* Parent, const QString& TipFile)
    : QDialog(Parent), FSettings(Settings) {
  setWindowTitle(QStringLiteral("Tip of the day"));
  FTips = LoadTips(TipFile.isEmpty() ? QString::fromStdString(ResourceFile("tsy.tip")) : TipFile);

  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  auto* heading = new QLabel(QStringLiteral("Did you know..."), this);
  QFont headingFont = heading->font();
  headingFont.setBold(true);
  headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
  heading->setFont(headingFont);
  FTipText = new QLabel(this);
  FTipText->setObjectName(QStringLiteral("TipText"));
  FTipText->setWordWrap(true);
  FTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FTipText->setMinimumSize(360, 90);
  FTipText->setTextFormat(Qt::PlainText);

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setBackgroundRole(QPalette::Base);
  panel->setAutoFillBackground(true);
  auto* text = new QVBoxLayout;
  text->addWidget(heading);
  text->addWidget(FTipText, 1);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->addWidget(icon);
  panelLayout->addLayout(text, 1);

  FShowOnStartup = new QCheckBox(QStringLiteral("&Show this screen next time you start the Tessary"), this);
  FShowOnStartup->setChecked(FSettings.ShowTipOnStartup());

  auto* buttons = new QDialogButtonBox(this);
  FNext = buttons->addButton(QStringLiteral("&Next tip"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setDefault(true);
  connect(FNext, &QPushButton::clicked, this, &TTipOfTheDayForm::NextTip);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel, 1);
  layout->addWidget(FShowOnStartup);
  layout->addWidget(buttons);

  FCurrent = FSettings.CurrentTip();
  NextTip();  // every opening shows the next tip
}

QStringList TTipOfTheDayForm::LoadTips(const QString& FileName) {
  QStringList tips;
  QFile file(FileName);
  if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    QTextStream in(&file);
    while (!in.atEnd()) {
      const QString line = in.readLine().trimmed();
      if (!line.isEmpty()) tips << line;
    }
  }
  // An empty file has no line to show either.
  if (tips.isEmpty()) tips << QStringLiteral("There are no tips available.");
  return tips;
}

QString TTipOfTheDayForm::ShownTip() const { return FTipText->text(); }

void TTipOfTheDayForm::NextTip() {
  // A stored index from a longer tips file (or a damaged one) starts over.
  FCurrent = (FCurrent >= 0 && FCurrent + 1 < FTips.size()) ? FCurrent + 1 : 0;
  FTipText->setText(FTips[FCurrent]);
}

void TTipOfTheDayForm::done(int Result) {
  // A store that cannot be written must not keep the dialog open.
  try {
    FSettings.SetCurrentTip(FCurrent);
    FSettings.SetShowTipOnStartup(FShowOnStartup->isChecked());
  } catch (...) {
    TTsyApplication::ShowException(std::current_exception());
  }
  QDialog::done(Result);
}

}  // namespace tsy
