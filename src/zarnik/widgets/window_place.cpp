#include "widgets/window_place.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& screen) {
  // Top-aligned beside, bottom-aligned if the top would push it off the screen.
  const int top = std::clamp(main.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
  const int left = std::clamp(main.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
  const QPoint candidates[] = {
      {main.right() + 1, top},             // right
      {main.left() - size.width(), top},   // left
      {left, main.bottom() + 1},           // below
      {left, main.top() - size.height()},  // above
  };
  for (const QPoint& p : candidates)
    if (screen.contains(QRect(p, size))) return p;
  // No room anywhere beside it: on screen, as far right as it goes.
  return {std::max(screen.left(), screen.right() + 1 - size.width()), top};
}

namespace {

QSettings Settings() { return QSettings(QStringLiteral("Zarnik32"), QStringLiteral("Zarnik32")); }

QString SettingsKey(const QString& key) { return QStringLiteral("Fenster/") + key; }

// Keeps the window's geometry in the settings whenever it changes.
class TPlaceKeeper : public QObject {
 public:
  TPlaceKeeper(QWidget* window, const QString& key) : QObject(window), Key(SettingsKey(key)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type t = event->type();
    if ((t == QEvent::Move || t == QEvent::Resize || t == QEvent::Hide) && watched->isWidgetType()) {
      auto* window = static_cast<QWidget*>(watched);
      if (window->isVisible() || t == QEvent::Hide) Settings().setValue(Key, window->saveGeometry());
    }
    return false;
  }

 private:
  QString Key;
};

bool OnSomeScreen(const QRect& frame) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(frame)) return true;
  return false;
}

}  // namespace

void KeepWindowPlace(QWidget* window, const QWidget* main, const QString& key) {
  const QByteArray saved = Settings().value(SettingsKey(key)).toByteArray();
  if (saved.isEmpty() || !window->restoreGeometry(saved) || !OnSomeScreen(window->frameGeometry())) {
    // Before the first show the frame is not known yet: the main window's margins stand in for it.
    const QRect mainFrame = main->frameGeometry();
    const QMargins margins(main->geometry().left() - mainFrame.left(), main->geometry().top() - mainFrame.top(),
                           mainFrame.right() - main->geometry().right(),
                           mainFrame.bottom() - main->geometry().bottom());
    const QSize frameSize = window->size().grownBy(margins);
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QPoint topLeft = PlaceBeside(mainFrame, frameSize, screen->availableGeometry());
    window->move(topLeft);  // move() places the frame's top-left corner
  }
  window->installEventFilter(new TPlaceKeeper(window, key));
}
