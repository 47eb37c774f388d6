#include "shell/fonttest.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <random>

#include "dialogs/fonttestform.h"
#include "document/fontmanager.h"
#include "document/testfont.h"
#include "fontfile/fontexception.h"

namespace tsy {

namespace {

// Runs its action when the scope ends, also by an exception.
template <class F>
class TCleanup {
public:
  explicit TCleanup(F Action) : FAction(std::move(Action)) {}
  ~TCleanup() {
    try {
      FAction();
    } catch (...) {
    }
  }
  TCleanup(const TCleanup&) = delete;
  TCleanup& operator=(const TCleanup&) = delete;

private:
  F FAction;
};

}  // namespace

bool TestFont(TTrueTypeFontManager& Manager, uint16_t Language, const TShowFontTest& Show) {
  TTrueTypeFont& font = Manager.Font();
  std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<int> draw(0, 79999);
  int number = 0;
  QString file;
  do {
    number = 10000 + draw(random);
    file = QDir::temp().filePath(QString("TSY%1.ttf").arg(number));
  } while (QFile::exists(file));
  const std::string testName = TestFontName(number);

  std::vector<TRenamedRecord> renamed;
  if (!RenameForTest(font, Language, std::u16string(testName.begin(), testName.end()), renamed)) return false;
  TCleanup restoreNames([&] { RestoreTestNames(font, renamed); });

  TCleanup removeFile([&] { QFile::remove(file); });
  font.SaveToFile(file.toStdString());

  const int id = QFontDatabase::addApplicationFont(file);
  if (id < 0) throw FontException("Font is not valid, make sure all required Microsoft Naming Fields are available.");
  TCleanup removeFace([&] { QFontDatabase::removeApplicationFont(id); });

  Show(QString::fromStdString(testName), font.StyleFlags());
  return true;
}

TShowFontTest FontTestWindow(TRegistrySettings& Settings, QWidget* Parent) {
  return [&Settings, Parent](const QString& Family, int StyleCode) {
    TFontTestForm form(Settings, Family, StyleCode, Parent);
    form.exec();
  };
}

}  // namespace tsy
