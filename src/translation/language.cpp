#include "translation/language.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>
#include <QTranslator>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>


bool EnglishWanted(const char* lcAll, const char* lcMessages, const char* lang) {
  const char* chosen = "";
  for (const char* v : {lcAll, lcMessages, lang})
    if (v != nullptr && *v != '\0') {
      chosen = v;
      break;
    }
  return std::strncmp(chosen, "en", 2) == 0 && (chosen[2] == '\0' || chosen[2] == '_' || chosen[2] == '.');
}

bool EnglishWanted() {
  return EnglishWanted(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

bool InstallTranslations(QCoreApplication& app, bool english, const QString& qtDir) {
  auto* translator = new QTranslator(&app);
  const bool found = english ? translator->load(QStringLiteral(":/i18n/zarnik_en.qm"))
                             : translator->load(QStringLiteral("qtbase_de"), qtDir);
  if (!found) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QString CoreText(const char* context, const char* text) {
  // Source texts are looked up as UTF-8; without a translation the text itself comes back.
  return QCoreApplication::translate(context, QString::fromLatin1(text).toUtf8().constData());
}

QString LoadReasonText(const char* reason, qint64 found, qint64 expected) {
  // The core's texts are UTF-8 here, unlike the string table.
  const QString text = QCoreApplication::translate("LoadReason", reason);
  return text.contains(QLatin1String("%1")) ? text.arg(found).arg(expected) : text;
}

QString MissingEntryText(int generation, const std::vector<int>& nearest) {
  if (nearest.empty())
    return QCoreApplication::translate("zarnik-train", "Generation %1 fehlt, der Lernweg ist leer").arg(generation);
  QStringList near;
  for (const int g : nearest) near << QString::number(g);
  return QCoreApplication::translate("zarnik-train", "Generation %1 fehlt im Lernweg; die nächsten: %2")
      .arg(generation)
      .arg(near.join(QStringLiteral(", ")));
}

const char* TrainerText(const char* text) {
  // Each marked text is a literal with an address of its own: translated once.
  static std::mutex mutex;
  static std::unordered_map<const char*, QByteArray> translated;
  const std::lock_guard lock(mutex);
  auto it = translated.find(text);
  if (it == translated.end()) it = translated.emplace(text, QCoreApplication::translate("zarnik-train", text).toUtf8()).first;
  return it->second.constData();
}
