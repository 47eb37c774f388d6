#include "tools/extractfromttcform.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "fontfile/collection.h"
#include "settings/registrysettings.h"
#include "shell/tsyapplication.h"

namespace tsy {

TExtractFromTTCForm::TExtractFromTTCForm(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Extract TrueType Fonts from TrueType Collection Wizard"));
  auto* layout = new QVBoxLayout(this);
  FPages = new QStackedWidget(this);
  layout->addWidget(FPages, 1);

  auto* first = new QWidget(FPages);
  auto* grid = new QGridLayout(first);
  auto* heading1 = new QLabel(QStringLiteral("<b>TrueType Collection</b>"), first);
  grid->addWidget(heading1, 0, 0, 1, 3);
  FSource = new QLineEdit(first);
  FDestination = new QLineEdit(first);
  FPrefix = new QLineEdit(first);
  auto addRow = [&](int Row, const QString& Caption, QLineEdit* Field, bool Browse) {
    auto* label = new QLabel(Caption, first);
    label->setBuddy(Field);
    grid->addWidget(label, Row, 0);
    grid->addWidget(Field, Row, 1);
    if (!Browse) return static_cast<QToolButton*>(nullptr);
    auto* button = new QToolButton(first);
    button->setText(QStringLiteral("..."));
    grid->addWidget(button, Row, 2);
    return button;
  };
  QToolButton* browseSource = addRow(1, QStringLiteral("&Source file:"), FSource, true);
  QToolButton* browseDestination = addRow(2, QStringLiteral("&Destination folder:"), FDestination, true);
  addRow(3, QStringLiteral("Destination &file prefix:"), FPrefix, false);
  grid->setRowStretch(4, 1);
  grid->setColumnMinimumWidth(1, 320);
  FPages->addWidget(first);

  auto* second = new QWidget(FPages);
  auto* secondLayout = new QVBoxLayout(second);
  secondLayout->addWidget(new QLabel(QStringLiteral("<b>TrueType Fonts</b>"), second));
  secondLayout->addWidget(new QLabel(QStringLiteral("TrueType fonts:"), second));
  FList = new QTreeWidget(second);
  FList->setRootIsDecorated(false);
  FList->setSelectionBehavior(QAbstractItemView::SelectRows);
  FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FList->setHeaderLabels({QStringLiteral("Font Name"), QStringLiteral("Filename")});
  secondLayout->addWidget(FList);
  FPages->addWidget(second);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  FBack = new QPushButton(QStringLiteral("< &Back"), this);
  FNext = new QPushButton(QStringLiteral("&Next >"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  FNext->setDefault(true);
  buttons->addWidget(FBack);
  buttons->addWidget(FNext);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  FBack->hide();

  connect(FSource, &QLineEdit::textChanged, this, [this] { UpdateNext(); });
  connect(FDestination, &QLineEdit::textChanged, this, [this] { UpdateNext(); });
  connect(FNext, &QPushButton::clicked, this, Guarded([this] { OnFontsPage() ? Finish() : Next(); }));
  connect(FBack, &QPushButton::clicked, this, [this] { Back(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(browseSource, &QToolButton::clicked, this, Guarded([this] { BrowseSource(); }));
  connect(browseDestination, &QToolButton::clicked, this, Guarded([this] { BrowseDestination(); }));
  Preselect(QString());
  resize(560, 340);
}

void TExtractFromTTCForm::Preselect(const QString& FileName) {
  FSourceFile = FileName;
  const QFileInfo info(FileName);
  FSource->setText(FileName);
  FDestination->setText(FileName.isEmpty() ? QString() : QDir::toNativeSeparators(info.absolutePath()) + QDir::separator());
  FPrefix->setText((FileName.isEmpty() ? QString() : info.completeBaseName()) + QStringLiteral("_"));
  UpdateNext();
}

QString TExtractFromTTCForm::DestinationFolder() const { return FDestination->text().trimmed(); }

QString TExtractFromTTCForm::Prefix() const { return FPrefix->text(); }

bool TExtractFromTTCForm::OnFontsPage() const { return FPages->currentIndex() == 1; }

void TExtractFromTTCForm::UpdateNext() {
  if (OnFontsPage()) {
    FNext->setEnabled(FList->topLevelItemCount() > 0);
    return;
  }
  // Both are needed whatever changed last: without a destination the
  // extraction has nowhere to write.
  FNext->setEnabled(!DestinationFolder().isEmpty() &&
                    TTrueTypeCollection::IsCollectionFile(FSource->text().toStdString()));
}

void TExtractFromTTCForm::Next() {
  if (OnFontsPage() || !FNext->isEnabled()) return;
  FSourceFile = FSource->text();
  TTrueTypeCollection collection;
  collection.ReadFontNames(FSourceFile.toStdString());
  FNames = collection.Names;
  FList->clear();
  for (size_t i = 0; i < FNames.size(); ++i) {
    auto* item = new QTreeWidgetItem(FList);
    item->setText(0, QString::fromStdString(FNames[i]));
    item->setText(1, Prefix() + QString::number(i) + QStringLiteral(".ttf"));
    item->setCheckState(0, Qt::Checked);
  }
  FList->setColumnWidth(0, 151);
  FPages->setCurrentIndex(1);
  FNext->setText(QStringLiteral("&Finish"));
  FBack->show();
  UpdateNext();
}

void TExtractFromTTCForm::Back() {
  if (!OnFontsPage()) return;
  FPages->setCurrentIndex(0);
  FNext->setText(QStringLiteral("&Next >"));
  FBack->hide();
  UpdateNext();
}

void TExtractFromTTCForm::Finish() {
  FSelected.assign(size_t(FList->topLevelItemCount()), false);
  bool any = false;
  for (int i = 0; i < FList->topLevelItemCount(); ++i) {
    FSelected[size_t(i)] = FList->topLevelItem(i)->checkState(0) == Qt::Checked;
    any = any || FSelected[size_t(i)];
  }
  if (!any) {
    QMessageBox::information(this, QStringLiteral("Information"), QStringLiteral("No TrueType fonts selected."));
    return;
  }
  if (!QDir().mkpath(DestinationFolder())) {
    QMessageBox::information(this, QStringLiteral("Information"), QStringLiteral("The destination folder is invalid."));
    return;
  }
  accept();
}

void TExtractFromTTCForm::BrowseSource() {
  TRegistrySettings& settings = TRegistrySettings::Instance();
  const QString start = QString::fromStdString(settings.OpenDialogInitialDirExtractFromTTC());
  const QString name = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), start,
                                                    QStringLiteral("TrueType Collection Files (*.ttc)"));
  if (name.isEmpty()) return;
  settings.SetOpenDialogInitialDirExtractFromTTC(QFileInfo(name).absolutePath().toStdString());
  Preselect(name);
}

void TExtractFromTTCForm::BrowseDestination() {
  QString start = DestinationFolder();
  while (start.size() > 1 && start.endsWith(QDir::separator())) start.chop(1);
  const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Select a folder"), start);
  if (!folder.isEmpty()) FDestination->setText(QDir::toNativeSeparators(folder) + QDir::separator());
}

}  // namespace tsy
