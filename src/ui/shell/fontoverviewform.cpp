#include "shell/fontoverviewform.h"

#include "document/openfont.h"
#include "settings/registrysettings.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QVBoxLayout>

#include "document/fontmanager.h"
#include "fontfile/fontexception.h"
#include "shell/glyphgrid.h"
#include "shell/tsyapplication.h"

namespace tsy {

namespace {
TFontOverviewForm::TQuestion& Question() {
  static TFontOverviewForm::TQuestion question;
  return question;
}
TFontOverviewForm::TSaveName& SaveNameDialog() {
  static TFontOverviewForm::TSaveName dialog;
  return dialog;
}
QString Native(const std::string& Name) { return QString::fromStdString(Name); }
}  // namespace

TFontOverviewForm::TQuestion TFontOverviewForm::SetQuestion(TQuestion NewQuestion) {
  TQuestion previous = std::move(Question());
  Question() = std::move(NewQuestion);
  return previous;
}

TFontOverviewForm::TSaveName TFontOverviewForm::SetSaveNameDialog(TSaveName Dialog) {
  TSaveName previous = std::move(SaveNameDialog());
  SaveNameDialog() = std::move(Dialog);
  return previous;
}

TFontOverviewForm::TFontOverviewForm(std::unique_ptr<TTrueTypeFontManager> Manager, QWidget* Parent)
    : QWidget(Parent), FManager(std::move(Manager)) {
  setAttribute(Qt::WA_DeleteOnClose);
  FGrid = new TGlyphGrid(*FManager, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FGrid);
  connect(FGrid, &TGlyphGrid::selectionChanged, this, &TFontOverviewForm::stateChanged);
  // The manager's events call back into this window, which outlives none of
  // them: the manager is destroyed with it.
  FManager->OnChange = [this](TTrueTypeFontManager&) { FontChanged(); };
  FManager->OnAfterUndo = [this](TTrueTypeFontManager&) { FontChanged(); };
  FManager->OnFileNameChange = [this](TTrueTypeFontManager&, const std::string&) { UpdateTitle(); };
  UpdateTitle();
  resize(640, 480);
}

TFontOverviewForm::~TFontOverviewForm() {
  FManager->OnChange = nullptr;
  FManager->OnAfterUndo = nullptr;
  FManager->OnFileNameChange = nullptr;
}

void TFontOverviewForm::UpdateTitle() {
  setWindowTitle(QFileInfo(Native(FManager->FileName())).fileName() + QStringLiteral("[*]"));
  setWindowModified(FManager->IsModified());
}

void TFontOverviewForm::FontChanged() {
  FGrid->FontChanged();
  UpdateTitle();
  emit stateChanged();
}

bool TFontOverviewForm::NeedsNewName() const {
  return QFileInfo(Native(FManager->FileName())).suffix().compare(QLatin1String("ttf"), Qt::CaseInsensitive) != 0;
}

bool TFontOverviewForm::SaveFont() {
  if (NeedsNewName()) return SaveFontAs();
  return WriteFont(Native(FManager->FileName()));
}

bool TFontOverviewForm::SaveFontAs() {
  const QFileInfo current(Native(FManager->FileName()));
  const QString proposed = current.dir().filePath(current.completeBaseName() + QStringLiteral(".ttf"));
  QString name;
  if (SaveNameDialog())
    name = SaveNameDialog()(this, proposed);
  else
    name = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), proposed, QStringLiteral("Font files (*.ttf)"));
  if (name.isEmpty()) return false;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".ttf");
  FManager->SetFileName(name.toStdString());
  return WriteFont(name);
}

bool TFontOverviewForm::WriteFont(const QString& FileName) {
  try {
    TRegistrySettings& settings = TRegistrySettings::Instance();
    FManager->RunSaveTimeCommands(settings);
    PrepareFontForSave(FManager->Font(), settings);
    FManager->Font().SaveToFile(FileName.toStdString());
  } catch (const EStreamError&) {
    TTsyApplication::ShowError(
        QStringLiteral("Cannot save font file %1 (the file is probably in use by Windows or another application).")
            .arg(FileName));
    return false;
  } catch (...) {
    TTsyApplication::ShowException(std::current_exception());
    return false;
  }
  FManager->History().MarkSaved();
  UpdateTitle();
  emit stateChanged();
  return true;
}

bool TFontOverviewForm::CanClose() {
  if (!FManager->IsModified()) return true;
  const QString text = QStringLiteral("Do you want to save changes you made to font %1?").arg(Native(FManager->FileName()));
  QMessageBox::StandardButton answer;
  if (Question())
    answer = Question()(this, text);
  else
    answer = QMessageBox::question(this, QStringLiteral("Confirm"), text,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveFont();
  return answer == QMessageBox::No;
}

void TFontOverviewForm::closeEvent(QCloseEvent* Event) {
  if (CanClose()) {
    emit closing(Native(FManager->FileName()));
    Event->accept();
  }
  else
    Event->ignore();
}

}  // namespace tsy
