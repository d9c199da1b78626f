#include "train_text.h"

#include <QByteArray>
#include <QCoreApplication>

#include <mutex>
#include <unordered_map>

const char* Tr(const char* text) {
  // Each marked text is a literal with an address of its own: translated once.
  static std::mutex mutex;
  static std::unordered_map<const char*, QByteArray> translated;
  const std::lock_guard lock(mutex);
  auto it = translated.find(text);
  if (it == translated.end()) it = translated.emplace(text, QCoreApplication::translate("zarnik-train", text).toUtf8()).first;
  return it->second.constData();
}
