#include "app/Settings.h"

namespace ortolan {

void Settings::setLanguage(const QString &currentLanguage)
{
    CurrentLanguage = currentLanguage;
    messages = isEnglish() ? MessageCatalogue::english() : MessageCatalogue::italian();
}

Settings &settings()
{
    static Settings instance;
    return instance;
}

}  // namespace ortolan
