#include "platform/messaging/BClipboard.h"

#include "platform/messaging/BMessage.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

constexpr const char* kTextType = "text/plain";

QClipboard* DesktopClipboard()
{
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

BClipboard sSystemClipboard("system");

} // namespace

BClipboard* be_clipboard = &sSystemClipboard;

BClipboard::BClipboard(const char* name) : fName(name ? name : ""), fData(std::make_unique<BMessage>()) {}

BClipboard::~BClipboard() = default;

bool BClipboard::Lock()
{
  if (fLockCount++ == 0)
    Revert();
  return true;
}

void BClipboard::Unlock()
{
  if (fLockCount > 0)
    fLockCount--;
}

BMessage* BClipboard::Data() const
{
  return IsLocked() ? fData.get() : nullptr;
}

status_t BClipboard::Clear()
{
  if (!IsLocked())
    return B_NOT_ALLOWED;
  fData->MakeEmpty();
  return B_OK;
}

status_t BClipboard::Commit()
{
  if (!IsLocked())
    return B_NOT_ALLOWED;
  QClipboard* clipboard = DesktopClipboard();
  if (!clipboard)
    return B_NO_INIT;
  const void* bytes = nullptr;
  ssize_t size = 0;
  if (fData->FindData(kTextType, B_MIME_TYPE, &bytes, &size) == B_OK)
    clipboard->setText(QString::fromUtf8(static_cast<const char*>(bytes), qsizetype(size)));
  else
    clipboard->clear();
  return B_OK;
}

status_t BClipboard::Revert()
{
  if (!IsLocked())
    return B_NOT_ALLOWED;
  fData->MakeEmpty();
  QClipboard* clipboard = DesktopClipboard();
  if (!clipboard)
    return B_NO_INIT;
  const QByteArray text = clipboard->text().toUtf8();
  if (!text.isEmpty())
    fData->AddData(kTextType, B_MIME_TYPE, text.constData(), ssize_t(text.size()));
  return B_OK;
}
