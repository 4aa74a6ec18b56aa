#include "platform/interface/BScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QScreen* ScreenAt(int32 index)
{
  if (QGuiApplication::instance() == nullptr || index < 0)
    return nullptr;
  // The primary screen is the main one; the others follow in Qt's order.
  QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr && screens.removeOne(primary))
    screens.prepend(primary);
  return index < screens.size() ? screens.at(index) : nullptr;
}

} // namespace

BScreen::BScreen(screen_id id) : fIndex(id.id) {}

bool BScreen::IsValid() const
{
  return ScreenAt(fIndex) != nullptr;
}

status_t BScreen::SetToNext()
{
  if (!IsValid())
    return B_ERROR;
  fIndex++;
  return IsValid() ? B_OK : B_ERROR;
}

BRect BScreen::Frame() const
{
  const QScreen* screen = ScreenAt(fIndex);
  if (screen == nullptr)
    return BRect();
  const QRect r = screen->geometry();
  return BRect(r.left(), r.top(), r.left() + r.width() - 1, r.top() + r.height() - 1);
}
