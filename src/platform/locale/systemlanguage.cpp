#include "locale/systemlanguage.h"

#include <QLocale>

#include "fontfile/tables/name.h"

namespace tsy {

uint16_t SystemLanguageID() {
  const QLocale locale = QLocale::system();
  const auto id = FindLocaleLanguage(QLocale::languageToString(locale.language()).toStdString(),
                                     QLocale::territoryToString(locale.territory()).toStdString());
  return id.value_or(1033);
}

}  // namespace tsy
