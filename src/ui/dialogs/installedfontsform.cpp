#include "dialogs/installedfontsform.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tsy {

namespace {

enum { kNameColumn, kFileColumn, kSizeColumn };
constexpr int kPathRole = Qt::UserRole;
constexpr int kSizeRole = Qt::UserRole + 1;

// Names and file names compare without case first, with case breaking ties;
// sizes compare as numbers.
class TFontItem : public QTreeWidgetItem {
public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& Other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == kSizeColumn) return data(kSizeColumn, kSizeRole).toLongLong() < Other.data(kSizeColumn, kSizeRole).toLongLong();
    const QString a = text(column), b = Other.text(column);
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.compare(b, Qt::CaseSensitive) < 0;
  }
};

}  // namespace

QString TInstalledFontsForm::SizeText(int64_t Bytes) {
  return QStringLiteral("%1K").arg(Bytes < 0 ? 0 : Bytes / 1024);
}

TInstalledFontsForm::TInstalledFontsForm(const TFontList& Fonts, QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Installed Fonts (%1)").arg(Fonts.Count()));
  auto* layout = new QVBoxLayout(this);
  FList = new QTreeWidget(this);
  FList->setRootIsDecorated(false);
  FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FList->setHeaderLabels({QStringLiteral("Font Name"), QStringLiteral("Filename"), QStringLiteral("Size    ")});
  FList->headerItem()->setTextAlignment(kSizeColumn, Qt::AlignRight | Qt::AlignVCenter);
  for (size_t i = 0; i < Fonts.Count(); ++i) {
    const TFontInfo& info = Fonts.Items(i);
    const QString path = QString::fromStdString(info.FileName);
    auto* item = new TFontItem(FList);
    item->setText(kNameColumn, QString::fromStdString(info.FontName));
    item->setText(kFileColumn, QFileInfo(path).fileName());
    item->setText(kSizeColumn, SizeText(info.FileSize));
    item->setTextAlignment(kSizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(kNameColumn, kPathRole, path);
    item->setData(kSizeColumn, kSizeRole, qlonglong(info.FileSize));
  }
  FList->header()->setSectionsClickable(true);
  FList->header()->setSortIndicatorShown(false);
  FList->setColumnWidth(kNameColumn, 260);
  FList->setColumnWidth(kFileColumn, 200);
  layout->addWidget(FList);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Filename:"), this));
  FFileName = new QLabel(this);
  FFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
  row->addWidget(FFileName, 1);
  layout->addLayout(row);

  FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(FButtons);
  connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FList, &QTreeWidget::itemSelectionChanged, this, &TInstalledFontsForm::SelectionChanged);
  connect(FList, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
  connect(FList->header(), &QHeaderView::sectionClicked, this, &TInstalledFontsForm::SortByColumn);

  if (FList->topLevelItemCount() > 0) FList->setCurrentItem(FList->topLevelItem(0));
  SelectionChanged();
  resize(620, 440);
}

void TInstalledFontsForm::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  FList->setFocus();
}

void TInstalledFontsForm::SortByColumn(int Column) {
  if (Column == FSortColumn)
    FSortOrder = FSortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
  else
    FSortOrder = Qt::AscendingOrder;
  FSortColumn = Column;
  // The items read the sort column from the header while they are compared.
  FList->header()->setSortIndicatorShown(true);
  FList->header()->setSortIndicator(Column, FSortOrder);
  FList->sortItems(Column, FSortOrder);
}

QStringList TInstalledFontsForm::SelectedFiles() const {
  QStringList result;
  for (int i = 0; i < FList->topLevelItemCount() && result.size() < kMaxChosen; ++i) {
    QTreeWidgetItem* item = FList->topLevelItem(i);
    if (item->isSelected()) result.append(item->data(kNameColumn, kPathRole).toString());
  }
  return result;
}

void TInstalledFontsForm::SelectionChanged() {
  QString first;
  for (int i = 0; i < FList->topLevelItemCount() && first.isEmpty(); ++i)
    if (FList->topLevelItem(i)->isSelected()) first = FList->topLevelItem(i)->data(kNameColumn, kPathRole).toString();
  FFileName->setText(first);
  FButtons->button(QDialogButtonBox::Ok)->setEnabled(!first.isEmpty());
}

}  // namespace tsy
