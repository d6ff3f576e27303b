#include "app/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "app/qt_text.h"

namespace quorvant {

bool QtDesktop::SetClipboardText(const Text& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  const QString plain = ToQString(text);
  clipboard->setText(plain);
  // Qt reports no failure of its own; reading back tells whether the clipboard took the text.
  return clipboard->text() == plain;
}

bool QtDesktop::OpenUrl(const Text& address) {
  const QUrl url(ToQString(address), QUrl::StrictMode);
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace quorvant
