#include "widgets/window_place.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <optional>

QRect PlaceBeside(const QRect& main, QSize size, QSize minimum, const QRect& screen, const QList<QRect>& taken) {
  size = size.boundedTo(screen.size());
  minimum = minimum.boundedTo(size);
  // Aligned with the main window's top (or left) edge, moved back onto the screen if need be.
  const auto top = [&](int h) { return std::clamp(main.top(), screen.top(), screen.bottom() + 1 - h); };
  const auto left = [&](int w) { return std::clamp(main.left(), screen.left(), screen.right() + 1 - w); };
  const int roomRight = screen.right() - main.right(), roomLeft = main.left() - screen.left();
  const int roomBelow = screen.bottom() - main.bottom(), roomAbove = main.top() - screen.top();
  const QRect sides[] = {
      {main.right() + 1, top(size.height()), std::min(size.width(), roomRight), size.height()},
      {main.left() - std::min(size.width(), roomLeft), top(size.height()), std::min(size.width(), roomLeft),
       size.height()},
      {left(size.width()), main.bottom() + 1, size.width(), std::min(size.height(), roomBelow)},
      {left(size.width()), main.top() - std::min(size.height(), roomAbove), size.width(),
       std::min(size.height(), roomAbove)},
  };
  const auto clear = [&](const QRect& r) {
    return std::none_of(taken.begin(), taken.end(), [&](const QRect& t) { return r.intersects(t); });
  };
  for (const QRect& r : sides)
    if (r.size() == size && clear(r)) return r;
  // Right or left of the main window, below a window that is already there.
  for (const QRect& side : {sides[0], sides[1]}) {
    if (side.size() != size) continue;
    for (const QRect& t : taken) {
      const QRect below(side.left(), t.bottom() + 1, size.width(), size.height());
      if (below.bottom() <= screen.bottom() && clear(below)) return below;
    }
  }
  for (const QRect& r : sides)
    if (r.size() == size) return r;
  // Smaller, down to the minimum: first clear of the windows already open (a
  // side cut short above the first of them in its way), then over them.
  const auto cutShort = [&](QRect r) {
    for (const QRect& t : taken)
      if (r.intersects(t) && t.top() > r.top()) r.setBottom(t.top() - 1);
    return r;
  };
  for (const bool keepClear : {true, false}) {
    std::optional<QRect> best;
    for (const QRect& side : sides) {
      const QRect r = keepClear ? cutShort(side) : side;
      if (r.width() >= minimum.width() && r.height() >= minimum.height() && (!keepClear || clear(r)) &&
          (!best || r.width() * r.height() > best->width() * best->height()))
        best = r;
    }
    if (best) return *best;
  }
  return {screen.right() + 1 - size.width(), top(size.height()), size.width(), size.height()};
}

QRect FitInside(const QRect& frame, const QRect& screen) {
  const QSize size = frame.size().boundedTo(screen.size());
  const int left = std::clamp(frame.left(), screen.left(), screen.right() + 1 - size.width());
  const int top = std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - size.height());
  return {left, top, size.width(), size.height()};
}

namespace {

QSettings Settings() { return QSettings(QStringLiteral("Zarnik32"), QStringLiteral("Zarnik32")); }

QString SettingsKey(const QString& key) { return QStringLiteral("Fenster/") + key; }

void KeepOnScreen(QWidget* window);

// Keeps the window's geometry in the settings whenever it changes.
class TPlaceKeeper : public QObject {
 public:
  TPlaceKeeper(QWidget* window, const QString& key) : QObject(window), Key(SettingsKey(key)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type t = event->type();
    if (t == QEvent::Show && watched->isWidgetType()) {
      // The window manager adds the frame after the show: look once it has, and again a little later.
      QPointer<QWidget> window = static_cast<QWidget*>(watched);
      for (int ms : {0, 300})
        QTimer::singleShot(ms, this, [window] {
          if (window != nullptr && window->isVisible()) KeepOnScreen(window);
        });
    }
    if ((t == QEvent::Move || t == QEvent::Resize || t == QEvent::Hide) && watched->isWidgetType()) {
      auto* window = static_cast<QWidget*>(watched);
      if (window->isVisible() || t == QEvent::Hide) Settings().setValue(Key, window->saveGeometry());
    }
    return false;
  }

 private:
  QString Key;
};

void KeepOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) return;
  const QRect frame = window->frameGeometry();
  const QRect fitted = FitInside(frame, screen->availableGeometry());
  if (fitted == frame) return;
  const QSize margins = frame.size() - window->geometry().size();
  window->resize(fitted.size() - margins);
  window->move(fitted.topLeft());
}

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
    const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    QList<QRect> taken;
    for (const QWidget* other : QApplication::topLevelWidgets())
      if (other != main && other != window && other->isVisible()) taken.append(other->frameGeometry());
    const QRect frame = PlaceBeside(mainFrame, window->size().grownBy(margins),
                                    window->minimumSizeHint().expandedTo(window->minimumSize()).grownBy(margins),
                                    screen->availableGeometry(), taken);
    window->resize(frame.size().shrunkBy(margins));
    window->move(frame.topLeft());  // move() places the frame's top-left corner
  }
  window->installEventFilter(new TPlaceKeeper(window, key));
}
