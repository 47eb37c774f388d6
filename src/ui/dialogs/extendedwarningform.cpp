#include "dialogs/extendedwarningform.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tsy {

TExtendedWarningForm::TExtendedWarningForm(const QString& Message, QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Warning"));
  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  auto* text = new QLabel(Message, this);
  text->setWordWrap(true);
  text->setMinimumWidth(300);
  text->setObjectName(QStringLiteral("Message"));

  FDontShow = new QCheckBox(QStringLiteral("Don't Show this Warning Again"), this);
  auto* buttons = new QDialogButtonBox(this);
  FYes = buttons->addButton(QDialogButtonBox::Yes);
  FNo = buttons->addButton(QDialogButtonBox::No);
  FYes->setDefault(true);
  connect(FYes, &QPushButton::clicked, this, &QDialog::accept);
  connect(FNo, &QPushButton::clicked, this, &QDialog::reject);
  connect(FDontShow, &QCheckBox::toggled, FNo, [this](bool Checked) { FNo->setEnabled(!Checked); });

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(FDontShow);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TExtendedWarningForm::DontShowAgain() const { return FDontShow->isChecked(); }

bool TExtendedWarningForm::Ask(QWidget* Parent, const QString& Message, bool& DontShowAgain) {
  TExtendedWarningForm form(Message, Parent);
  const bool yes = form.exec() == QDialog::Accepted;
  DontShowAgain = form.DontShowAgain();
  return yes;
}

}  // namespace tsy
